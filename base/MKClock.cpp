#include "base/MKClock.h"

#include <windows.h>
#include <x86intrin.h>

namespace {

constexpr int64_t kFileTimeTo1970Ms = 11644473600000LL;

uint64_t SystemFileTime()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// The process-relative clock runs on the performance counter, which never goes
// back: wall-clock changes must not give negative readings, which would make
// a running stopwatch look stopped.
int64_t MonotonicMs()
{
    static const int64_t s_frequency = [] {
        LARGE_INTEGER frequency;
        return QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0 ? frequency.QuadPart : 0;
    }();
    LARGE_INTEGER counter;
    if (!s_frequency || !QueryPerformanceCounter(&counter))
        return static_cast<int64_t>(GetTickCount());
    return counter.QuadPart / s_frequency * 1000 + counter.QuadPart % s_frequency * 1000 / s_frequency;
}

bool s_haveBase = false;
int64_t s_baseMs = 0;

}  // namespace

int64_t MKUnixTimeMs()
{
    return static_cast<int64_t>(SystemFileTime() / 10000) - kFileTimeTo1970Ms;
}

double MKUnixTimeSeconds()
{
    uint64_t ticks = SystemFileTime();
    return static_cast<double>(static_cast<int64_t>(ticks / 10000000) - 11644473600LL) +
           static_cast<double>(ticks % 10000000) * 1e-7;
}

unsigned long MKSleep(unsigned long ms)
{
    if (ms)
        Sleep(ms);
    return ms;
}

uint64_t MKReadTimeStampCounter()
{
    return __rdtsc();
}

int64_t MKClock::ElapsedMs()
{
    int64_t now = MonotonicMs();
    if (!s_haveBase) {
        s_baseMs = now;
        s_haveBase = true;
    }
    return now - s_baseMs;
}
