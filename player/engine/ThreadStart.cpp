#include "player/engine/ThreadStart.h"

#include <new>

#include <windows.h>

#include "base/MKCrashGuard.h"
#include "base/MKThread.h"
#include "player/engine/PVWaiterList.h"

namespace {

constexpr DWORD kStartWaitMs = 2000;
volatile LONG g_slot = static_cast<LONG>(TLS_OUT_OF_INDEXES);

DWORD Slot()
{
    return static_cast<DWORD>(g_slot);
}

void FreeWaiter(ThreadWaiter* waiter)
{
    CloseHandle(waiter->semaphore);
    delete waiter;
}

// Frees the calling thread's waiter, if it has one.
void FreeOwnWaiter()
{
    if (Slot() == TLS_OUT_OF_INDEXES)
        return;
    if (auto* waiter = static_cast<ThreadWaiter*>(TlsGetValue(Slot()))) {
        TlsSetValue(Slot(), nullptr);
        FreeWaiter(waiter);
    }
}

}  // namespace

// Counted by its two users so that a late signal never touches freed memory.
struct ThreadStartBlock {
    ThreadStartFunction function = nullptr;
    void* argument = nullptr;
    CRITICAL_SECTION startLock;
    CRITICAL_SECTION listLock;
    ThreadWaiter* waiters = nullptr;
    bool abandoned = false;  // the starter gave up; set under startLock
    LONG refCount = 2;

    ThreadStartBlock()
    {
        InitializeCriticalSection(&startLock);
        InitializeCriticalSection(&listLock);
    }
    ~ThreadStartBlock()
    {
        DeleteCriticalSection(&listLock);
        DeleteCriticalSection(&startLock);
    }
    void Release()
    {
        if (InterlockedDecrement(&refCount) == 0)
            delete this;
    }
    // Wakes and unlinks the waiting starter.
    void WakeFirst()
    {
        EnterCriticalSection(&startLock);
        EnterCriticalSection(&listLock);
        PVWaiterList::WakeHead(waiters);
        LeaveCriticalSection(&listLock);
        LeaveCriticalSection(&startLock);
    }
};

bool InitThreadWaiterSlot()
{
    return MKThreadSlotAlloc(g_slot);
}

ThreadWaiter* GetThreadWaiter()
{
    if (Slot() == TLS_OUT_OF_INDEXES)
        return nullptr;
    if (auto* waiter = static_cast<ThreadWaiter*>(TlsGetValue(Slot())))
        return waiter;
    auto* waiter = new (std::nothrow) ThreadWaiter;
    if (!waiter)
        return nullptr;
    waiter->semaphore = CreateSemaphoreW(nullptr, 0, 1, nullptr);
    if (!waiter->semaphore) {
        delete waiter;
        return nullptr;
    }
    if (!TlsSetValue(Slot(), waiter)) {
        FreeWaiter(waiter);
        return nullptr;
    }
    return waiter;
}

void FreeThreadWaiterSlot()
{
    if (Slot() == TLS_OUT_OF_INDEXES)
        return;
    FreeOwnWaiter();
    MKThreadSlotFree(g_slot);
}

bool SignalThreadStarted(ThreadStartBlock* block, bool ok)
{
    // Under the start lock the starter either still waits and takes the
    // signal, or has marked the block abandoned: never something between.
    EnterCriticalSection(&block->startLock);
    const bool taken = !block->abandoned;
    if (taken && ok)
        block->function = nullptr;
    EnterCriticalSection(&block->listLock);
    PVWaiterList::WakeHead(block->waiters);
    LeaveCriticalSection(&block->listLock);
    LeaveCriticalSection(&block->startLock);
    return taken;
}

namespace {

DWORD WINAPI StartTrampoline(void* parameter)
{
    auto* block = static_cast<ThreadStartBlock*>(parameter);
    DWORD result;
    if (!GetThreadWaiter()) {
        block->WakeFirst();  // start failure: the function stays set
        result = static_cast<DWORD>(-1);
    } else {
        // An exception that leaves the function ends this thread alone; when
        // it came before the start was signalled, the starter learns of the
        // failure at once instead of at its time-out.
        MKExceptionInfo info{};
        result = static_cast<DWORD>(-1);
        const bool completed = MKCrashGuard(
            info, [block, &result] { result = static_cast<DWORD>(block->function(block, block->argument)); });
        if (!completed && block->function)
            block->WakeFirst();
        FreeOwnWaiter();
    }
    block->Release();
    return result;
}

}  // namespace

bool StartThreadAndWait(ThreadStartFunction function, void* argument, void*& handle)
{
    handle = nullptr;
    if (!function)
        return false;
    // The starter's waiter is made before the thread exists so that no
    // thread is left running when it cannot be made.
    ThreadWaiter* self = GetThreadWaiter();
    if (!self)
        return false;
    auto* block = new (std::nothrow) ThreadStartBlock;
    if (!block)
        return false;
    block->function = function;
    block->argument = argument;

    EnterCriticalSection(&block->startLock);
    HANDLE thread = CreateThread(nullptr, 0, StartTrampoline, block, 0, nullptr);
    if (!thread) {
        LeaveCriticalSection(&block->startLock);
        delete block;
        return false;
    }
    // The starter is listed before the new thread can signal; a signal
    // that comes just after the time-out still counts.
    const bool woken =
        PVWaiterList::Wait(block->startLock, block->listLock, block->waiters, self, kStartWaitMs);
    const bool started = woken && block->function == nullptr;
    if (!woken)
        block->abandoned = true;
    LeaveCriticalSection(&block->startLock);
    block->Release();

    if (!started) {
        CloseHandle(thread);
        return false;
    }
    handle = thread;
    return true;
}
