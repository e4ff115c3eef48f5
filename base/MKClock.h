#pragma once
#include <stdint.h>

// Wall-clock and process-relative time, the time-stamp counter and a sleep.

// Milliseconds since 1970-01-01 UTC.
int64_t MKUnixTimeMs();
// Seconds since 1970-01-01 UTC, with a 100 ns fraction.
double MKUnixTimeSeconds();
// ms unless it is 0 (no sleep then); answers ms.
unsigned long MKSleep(unsigned long ms);
// The processor's 64-bit time-stamp counter.
uint64_t MKReadTimeStampCounter();

class MKClock {
public:
    // Milliseconds since the process's first read of this clock (which answers
    // 0 and fixes the base); never goes back, whatever the wall clock does. The
    // base is set without a lock: the first reads happen on the user-interface
    // thread.
    static int64_t ElapsedMs();
};
