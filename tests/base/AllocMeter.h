#pragma once
#include "base/MKAlloc.h"

#include <stddef.h>

// Routes the calling thread's library allocations to the run-time heap through
// hooks that record the largest single request and refuse any request above
// `refuseAbove` bytes, so a test sees what a decoder tried to reserve without
// the machine having to supply it. The previous hooks come back when the scope
// ends.
class AllocMeter {
public:
    explicit AllocMeter(size_t refuseAbove = 64 * 1024 * 1024);
    ~AllocMeter();
    AllocMeter(const AllocMeter&) = delete;
    AllocMeter& operator=(const AllocMeter&) = delete;

    // Largest allocation or reallocation asked for, refused ones included.
    size_t Largest() const;
    // Requests refused so far.
    int Refused() const;

private:
    const MKAllocHooks* m_previous = nullptr;
};
