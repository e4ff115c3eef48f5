#pragma once
#include <stddef.h>

// Every container and string of the base library allocates through these three
// functions, so one thread can route all its library allocations to a heap of
// its own. Blocks must be freed (or reallocated) through the same routing that
// made them: a thread that installs hooks must free its blocks while they are in
// place, or use hooks that share the run-time heap.
void* MKAlloc(size_t size);
void MKFree(void* block);  // null is ignored
void* MKRealloc(void* block, size_t size);

// A thread's allocation hooks; all three must be set.
struct MKAllocHooks {
    void* (*alloc)(size_t size);
    void (*free)(void* block);
    void* (*realloc)(void* block, size_t size);
};

// Turns the per-thread hooks on (reserves the thread-local slot) or off (frees
// it); a request equal to the current state does nothing. Not thread-safe: call
// at module start and stop only. Returns false when no slot could be reserved.
bool MKEnableThreadAllocHooks(bool on);

// Stores hooks (or null for the run-time heap) for the calling thread; the
// previous hooks go to *previous when it is given. The hooks must outlive their
// use. False, storing nothing, while per-thread hooks are disabled.
bool MKSetThreadAllocHooks(const MKAllocHooks* hooks, const MKAllocHooks** previous = nullptr);
