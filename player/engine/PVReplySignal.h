#pragma once
#include <windows.h>

struct ThreadWaiter;

// A one-shot reply that a poster waits for while another thread handles its
// message. Counted, with atomic counts: the poster and the message each hold
// one, so a reply whose wait timed out stays valid until the handler has
// signalled and released it. The poster holds the outer lock from before
// the post until its wait starts, so the signal cannot come first.
class PVReplySignal {
public:
    // A reply with one reference; null when out of memory.
    static PVReplySignal* Create();
    PVReplySignal(const PVReplySignal&) = delete;
    PVReplySignal& operator=(const PVReplySignal&) = delete;

    void AddRef() { InterlockedIncrement(&refCount_); }
    void Release();

    void Lock() { EnterCriticalSection(&outerLock_); }
    void Unlock() { LeaveCriticalSection(&outerLock_); }
    // Called with the outer lock held, which it leaves while waiting and
    // holds again on return. True when the reply was signalled within
    // `timeoutMs`; false on a time-out or when the calling thread has no
    // waiter (GetThreadWaiter).
    bool Wait(DWORD timeoutMs);
    // Wakes the first waiting thread, if any.
    void Signal();

private:
    PVReplySignal();
    ~PVReplySignal();

    volatile LONG refCount_ = 1;
    CRITICAL_SECTION outerLock_;
    CRITICAL_SECTION waiterLock_;
    ThreadWaiter* waiters_ = nullptr;
};
