#include "base/MKThread.h"

#include "base/MKAlloc.h"
#include "base/MKCallable.h"
#include "base/MKCrashGuard.h"

namespace {

struct StartBlock {
    HANDLE thread;
    MKThreadFunction function;
    void* argument;
    HMODULE pinned;  // released by the thread's very last call; null when not pinned
};

volatile LONG s_threadInfoSlot = static_cast<LONG>(TLS_OUT_OF_INDEXES);

DWORD WINAPI MKThreadStartRoutine(void* parameter)
{
    auto* block = static_cast<StartBlock*>(parameter);
    MKExceptionInfo info{};
    DWORD result = MKCrashGuard(info, static_cast<DWORD>(-1),
                                [block] { return block->function(block->argument); });
    HANDLE thread = block->thread;
    HMODULE pinned = block->pinned;
    MKFree(block);
    CloseHandle(thread);
    // The module may have been let go while this thread ran: this call drops
    // the last reference and never returns into code that may be unmapped.
    if (pinned)
        FreeLibraryAndExitThread(pinned, result);
    return result;
}

// A reference on the module that holds this code; null when none was taken.
HMODULE PinThisModule()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&PinThisModule),
                            &module))
        return nullptr;
    return module;
}

// The thread starts suspended so that its handle is in the block before it can
// run; a caller's copy is made before it can end and close its own.
HANDLE StartThread(MKThreadFunction function, void* argument, HANDLE* callerCopy, bool pin)
{
    auto* block = static_cast<StartBlock*>(MKAlloc(sizeof(StartBlock)));
    if (!block)
        return nullptr;
    *block = {nullptr, function, argument, nullptr};
    if (pin && !(block->pinned = PinThisModule())) {
        MKFree(block);
        return nullptr;
    }
    HANDLE thread = CreateThread(nullptr, 0, MKThreadStartRoutine, block, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        if (block->pinned)
            FreeLibrary(block->pinned);
        MKFree(block);
        return nullptr;
    }
    block->thread = thread;
    if (callerCopy && !DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), callerCopy, 0, FALSE,
                                       DUPLICATE_SAME_ACCESS)) {
        // Never runs: the block still belongs to this side.
        TerminateThread(thread, 0);
        CloseHandle(thread);
        if (block->pinned)
            FreeLibrary(block->pinned);
        MKFree(block);
        *callerCopy = nullptr;
        return nullptr;
    }
    ResumeThread(thread);
    return thread;
}

DWORD RunTask(void* task)
{
    DWORD result = static_cast<MKCallable*>(task)->Run();
    const DWORD slot = MKThreadInfoSlot();
    if (slot != TLS_OUT_OF_INDEXES) {
        if (auto* record = static_cast<HANDLE*>(TlsGetValue(slot))) {
            CloseHandle(*record);
            MKFree(record);
            TlsSetValue(slot, nullptr);
        }
    }
    return result;
}

}  // namespace

HANDLE MKCreateThread(MKThreadFunction function, void* argument)
{
    return StartThread(function, argument, nullptr, false);
}

bool MKRunOnThread(MKCallable* task, HANDLE* handle)
{
    *handle = nullptr;
    return task && StartThread(RunTask, task, handle, false);
}

bool MKRunOnPinnedThread(MKCallable* task, HANDLE* handle)
{
    *handle = nullptr;
    return task && StartThread(RunTask, task, handle, true);
}

bool MKThreadSlotAlloc(volatile LONG& slot)
{
    constexpr LONG kNone = static_cast<LONG>(TLS_OUT_OF_INDEXES);
    if (slot != kNone)
        return true;
    DWORD made = TlsAlloc();
    if (made == TLS_OUT_OF_INDEXES)
        return false;
    if (InterlockedCompareExchange(&slot, static_cast<LONG>(made), kNone) != kNone)
        TlsFree(made);  // another thread was first
    return true;
}

void MKThreadSlotFree(volatile LONG& slot)
{
    const LONG old = InterlockedExchange(&slot, static_cast<LONG>(TLS_OUT_OF_INDEXES));
    if (static_cast<DWORD>(old) != TLS_OUT_OF_INDEXES)
        TlsFree(static_cast<DWORD>(old));
}

bool MKThreadInfoInit()
{
    return MKThreadSlotAlloc(s_threadInfoSlot);
}

void MKThreadInfoTerm()
{
    MKThreadSlotFree(s_threadInfoSlot);
}

DWORD MKThreadInfoSlot()
{
    return static_cast<DWORD>(s_threadInfoSlot);
}
