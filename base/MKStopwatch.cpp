#include "base/MKStopwatch.h"

#include "base/MKClock.h"

MKStopwatch::MKStopwatch(bool running, MKClockFunction clock)
    : clock_(clock ? clock : MKClock::ElapsedMs), start_(running ? clock_() : -1)
{
}

int64_t MKStopwatch::Start()
{
    if (start_ < 0)
        start_ = clock_();
    return start_;
}

int64_t MKStopwatch::Stop()
{
    if (start_ >= 0) {
        accumulated_ += clock_() - start_;
        start_ = -1;
    }
    return accumulated_;
}

void MKStopwatch::Reset()
{
    start_ = -1;
    accumulated_ = 0;
}

int64_t MKStopwatch::ElapsedMs() const
{
    return start_ >= 0 ? accumulated_ + clock_() - start_ : accumulated_;
}

void MKStopwatch::SetClock(MKClockFunction clock)
{
    Reset();
    clock_ = clock ? clock : MKClock::ElapsedMs;
}
