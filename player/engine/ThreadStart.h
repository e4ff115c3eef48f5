#pragma once

// Starting a thread and waiting until it reports that it is ready.
//
// Every thread that ever waits owns a ThreadWaiter (a semaphore with count 0,
// maximum 1) kept in one process-wide thread-local slot of its own (not the
// base library's thread records), which the engine start allocates
// (InitThreadWaiterSlot) and FreeThreadWaiterSlot frees. The audio message
// queue waits on the same semaphores.

struct ThreadWaiter {
    void* semaphore = nullptr;
    ThreadWaiter* next = nullptr;  // link in a list of waiting threads
};

// Shared by the starter and the new thread until both are done with it.
struct ThreadStartBlock;

// The thread's function: it must call SignalThreadStarted(block, ...) once
// ready; its result becomes the thread's exit code.
typedef int (*ThreadStartFunction)(ThreadStartBlock* block, void* argument);

// Allocates the waiters' slot once per process; true when it exists.
bool InitThreadWaiterSlot();
// The calling thread's waiter, made on first use; null when the slot is
// missing or the waiter cannot be made (nothing is then left behind).
ThreadWaiter* GetThreadWaiter();
// Frees the calling thread's waiter and then the slot itself.
void FreeThreadWaiterSlot();

// Starts `function`(block, argument) on a new thread and waits at most
// 2000 ms for its signal. True only when the thread signalled success in
// time; `handle` then receives the thread's handle, which the caller owns
// and closes. Otherwise `handle` is null. A thread that signals after the
// starter has given up finds its block still valid.
bool StartThreadAndWait(ThreadStartFunction function, void* argument, void*& handle);
// Reports the new thread's start (success when `ok`) and wakes the starter.
// False when the starter had already given up: the start has failed, and the
// thread must not touch its argument, which the starter's caller may have
// freed. A thread function therefore signals before it uses the argument.
bool SignalThreadStarted(ThreadStartBlock* block, bool ok);
