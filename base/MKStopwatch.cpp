#include "base/MKStopwatch.h"

#include "base/MKClock.h"

MKStopwatch::MKStopwatch(bool running) : start_(running ? MKClock::ElapsedMs() : -1) {}

int64_t MKStopwatch::Start()
{
    if (start_ < 0)
        start_ = MKClock::ElapsedMs();
    return start_;
}

int64_t MKStopwatch::Stop()
{
    if (start_ >= 0) {
        accumulated_ += MKClock::ElapsedMs() - start_;
        start_ = -1;
    }
    return accumulated_;
}

int64_t MKStopwatch::ElapsedMs() const
{
    return start_ >= 0 ? accumulated_ + MKClock::ElapsedMs() - start_ : accumulated_;
}
