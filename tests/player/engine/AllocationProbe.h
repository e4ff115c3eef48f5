#pragma once
#include <cstddef>

// Watches the size of single heap requests (malloc, realloc, calloc and so
// operator new) made by the test process while the probe lives.
class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    // The largest single request since the probe was made.
    size_t Largest() const;
};
