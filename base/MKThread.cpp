#include "base/MKThread.h"

#include "base/MKAlloc.h"
#include "base/MKCallable.h"
#include "base/MKCrashGuard.h"

namespace {

struct StartBlock {
    HANDLE thread;
    MKThreadFunction function;
    void* argument;
};

DWORD s_threadInfoSlot = TLS_OUT_OF_INDEXES;

DWORD WINAPI MKThreadStartRoutine(void* parameter)
{
    auto* block = static_cast<StartBlock*>(parameter);
    MKExceptionInfo info{};
    DWORD result = MKCrashGuard(info, static_cast<DWORD>(-1),
                                [block] { return block->function(block->argument); });
    HANDLE thread = block->thread;
    MKFree(block);
    CloseHandle(thread);
    return result;
}

// The thread starts suspended so that its handle is in the block before it can
// run; a caller's copy is made before it can end and close its own.
HANDLE StartThread(MKThreadFunction function, void* argument, HANDLE* callerCopy)
{
    auto* block = static_cast<StartBlock*>(MKAlloc(sizeof(StartBlock)));
    if (!block)
        return nullptr;
    *block = {nullptr, function, argument};
    HANDLE thread = CreateThread(nullptr, 0, MKThreadStartRoutine, block, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        MKFree(block);
        return nullptr;
    }
    block->thread = thread;
    if (callerCopy && !DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), callerCopy, 0, FALSE,
                                       DUPLICATE_SAME_ACCESS)) {
        // Never runs: the block still belongs to this side.
        TerminateThread(thread, 0);
        CloseHandle(thread);
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
    if (s_threadInfoSlot != TLS_OUT_OF_INDEXES) {
        if (auto* record = static_cast<HANDLE*>(TlsGetValue(s_threadInfoSlot))) {
            CloseHandle(*record);
            MKFree(record);
            TlsSetValue(s_threadInfoSlot, nullptr);
        }
    }
    return result;
}

}  // namespace

HANDLE MKCreateThread(MKThreadFunction function, void* argument)
{
    return StartThread(function, argument, nullptr);
}

bool MKRunOnThread(MKCallable* task, HANDLE* handle)
{
    *handle = nullptr;
    return task && StartThread(RunTask, task, handle);
}

bool MKThreadInfoInit()
{
    if (s_threadInfoSlot == TLS_OUT_OF_INDEXES)
        s_threadInfoSlot = TlsAlloc();
    return s_threadInfoSlot != TLS_OUT_OF_INDEXES;
}

void MKThreadInfoTerm()
{
    if (s_threadInfoSlot != TLS_OUT_OF_INDEXES) {
        TlsFree(s_threadInfoSlot);
        s_threadInfoSlot = TLS_OUT_OF_INDEXES;
    }
}

DWORD MKThreadInfoSlot()
{
    return s_threadInfoSlot;
}
