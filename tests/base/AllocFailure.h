#pragma once
#include "base/MKAlloc.h"

// Routes the calling thread's library allocations to the run-time heap through
// counting hooks that let `allowed` allocations and reallocations succeed and
// fail every later one. Frees always go through. The previous hooks come back
// when the scope ends.
class AllocFailureScope {
public:
    explicit AllocFailureScope(int allowed);
    ~AllocFailureScope();
    AllocFailureScope(const AllocFailureScope&) = delete;
    AllocFailureScope& operator=(const AllocFailureScope&) = delete;

    // Allocations and reallocations asked for so far, failed ones included.
    int Requests() const;
    // Lets `allowed` more requests succeed from now on.
    void Allow(int allowed);

private:
    const MKAllocHooks* m_previous = nullptr;
};
