#pragma once
#include <stdint.h>

// Milliseconds that never go back, as MKClock::ElapsedMs answers them.
using MKClockFunction = int64_t (*)();

// A pausable stopwatch on the process-relative clock (MKClock::ElapsedMs), or
// on another clock of the same kind that the owner names (tests use their own
// to drive time).
class MKStopwatch {
public:
    explicit MKStopwatch(bool running = false, MKClockFunction clock = nullptr);

    // Starts unless running; answers the start time.
    int64_t Start();
    // Stops when running, keeping the time run; answers the accumulated time.
    int64_t Stop();
    // Stopped at 0.
    void Reset();
    // Accumulated time plus the current run.
    int64_t ElapsedMs() const;
    // Takes `ms` off a running watch, as if it had been stopped for that
    // long; restarts it from 0 when that is all it ran. Nothing when stopped.
    void Discount(int64_t ms);
    // The reading of the watch's clock.
    int64_t ClockNow() const { return m_clock(); }
    bool IsRunning() const { return m_start >= 0; }
    // Takes another clock; the watch is reset first, since times of two clocks
    // do not mix.
    void SetClock(MKClockFunction clock);

private:
    MKClockFunction m_clock;
    int64_t m_start;
    int64_t m_accumulated = 0;
};
