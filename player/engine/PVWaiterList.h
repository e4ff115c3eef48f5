#pragma once
#include <windows.h>

#include "player/engine/ThreadStart.h"

// A list of waiting threads' waiters, linked through their `next` words.
// The owner guards it with a lock of its own.
namespace PVWaiterList {

inline void Push(ThreadWaiter*& head, ThreadWaiter* waiter)
{
    waiter->next = head;
    head = waiter;
}

// Takes `waiter` off the list; false when it was not there (a waker took
// it).
inline bool Remove(ThreadWaiter*& head, ThreadWaiter* waiter)
{
    for (ThreadWaiter** link = &head; *link; link = &(*link)->next) {
        if (*link == waiter) {
            *link = waiter->next;
            waiter->next = nullptr;
            return true;
        }
    }
    return false;
}

// Wakes the waiter at the head (the one registered last) and unlinks it.
inline void WakeHead(ThreadWaiter*& head)
{
    if (ThreadWaiter* waiter = head) {
        head = waiter->next;
        waiter->next = nullptr;
        ReleaseSemaphore(waiter->semaphore, 1, nullptr);
    }
}

// Waits on `waiter`'s semaphore with `lock` left meanwhile; `listLock`
// guards `head`. On a time-out the waiter is taken off the list, unless a
// waker took it meanwhile: then its pending release is consumed and the
// wait counts as woken. Returns with `lock` held; true when woken.
inline bool Wait(CRITICAL_SECTION& lock, CRITICAL_SECTION& listLock, ThreadWaiter*& head, ThreadWaiter* waiter,
                 DWORD timeoutMs)
{
    EnterCriticalSection(&listLock);
    Push(head, waiter);
    LeaveCriticalSection(&listLock);
    LeaveCriticalSection(&lock);
    const bool woken = WaitForSingleObject(waiter->semaphore, timeoutMs) == WAIT_OBJECT_0;
    EnterCriticalSection(&lock);
    if (woken)
        return true;
    EnterCriticalSection(&listLock);
    const bool stillListed = Remove(head, waiter);
    LeaveCriticalSection(&listLock);
    if (stillListed)
        return false;
    WaitForSingleObject(waiter->semaphore, 0);
    return true;
}

}  // namespace PVWaiterList
