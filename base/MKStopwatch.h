#pragma once
#include <stdint.h>

// A pausable stopwatch on the process-relative clock (MKClock::ElapsedMs).
class MKStopwatch {
public:
    explicit MKStopwatch(bool running = false);

    // Starts unless running; answers the start time.
    int64_t Start();
    // Stops when running, keeping the time run; answers the accumulated time.
    int64_t Stop();
    // Accumulated time plus the current run.
    int64_t ElapsedMs() const;
    bool IsRunning() const { return start_ >= 0; }

private:
    int64_t start_;
    int64_t accumulated_ = 0;
};
