#pragma once
#include <windows.h>

// Seconds on the performance counter, for timing runs.
inline double BenchSeconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}
