#include "player/engine/PVReplySignal.h"

#include <new>

#include "player/engine/PVWaiterList.h"

PVReplySignal::PVReplySignal()
{
    InitializeCriticalSection(&outerLock_);
    InitializeCriticalSection(&waiterLock_);
}

PVReplySignal::~PVReplySignal()
{
    DeleteCriticalSection(&waiterLock_);
    DeleteCriticalSection(&outerLock_);
}

PVReplySignal* PVReplySignal::Create()
{
    return new (std::nothrow) PVReplySignal;
}

void PVReplySignal::Release()
{
    if (InterlockedDecrement(&refCount_) == 0)
        delete this;
}

bool PVReplySignal::Wait(DWORD timeoutMs)
{
    ThreadWaiter* waiter = GetThreadWaiter();
    return waiter && PVWaiterList::Wait(outerLock_, waiterLock_, waiters_, waiter, timeoutMs);
}

void PVReplySignal::Signal()
{
    EnterCriticalSection(&outerLock_);
    EnterCriticalSection(&waiterLock_);
    PVWaiterList::WakeHead(waiters_);
    LeaveCriticalSection(&waiterLock_);
    LeaveCriticalSection(&outerLock_);
}
