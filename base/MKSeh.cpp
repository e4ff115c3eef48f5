#include "base/MKSeh.h"

#include "base/MKCrashGuard.h"

namespace {

SRWLOCK s_moduleLock = SRWLOCK_INIT;
DWORD s_stateSlot = TLS_OUT_OF_INDEXES;

HANDLE TopPrivateHeap()
{
    MKSehThreadState* state = MKSehCurrentState();
    return state && state->privateHeaps ? state->privateHeaps->heap : nullptr;
}

void* PrivateAlloc(size_t size)
{
    HANDLE heap = TopPrivateHeap();
    return heap ? HeapAlloc(heap, 0, size) : nullptr;
}

void PrivateFree(void* block)
{
    HANDLE heap = TopPrivateHeap();
    if (block && heap)
        HeapFree(heap, 0, block);
}

void* PrivateRealloc(void* block, size_t size)
{
    HANDLE heap = TopPrivateHeap();
    if (!heap)
        return nullptr;
    return block ? HeapReAlloc(heap, 0, block, size) : HeapAlloc(heap, 0, size);
}

}  // namespace

bool MKSehModuleInit()
{
    AcquireSRWLockExclusive(&s_moduleLock);
    bool ok = s_stateSlot != TLS_OUT_OF_INDEXES;
    if (!ok) {
        DWORD slot = TlsAlloc();
        if (slot != TLS_OUT_OF_INDEXES) {
            if (MKEnableThreadAllocHooks(true) && MKCrashGuardAttach()) {
                s_stateSlot = slot;
                ok = true;
            } else {
                TlsFree(slot);
            }
        }
    }
    ReleaseSRWLockExclusive(&s_moduleLock);
    return ok;
}

void MKSehModuleTerm()
{
    AcquireSRWLockExclusive(&s_moduleLock);
    if (s_stateSlot != TLS_OUT_OF_INDEXES) {
        MKCrashGuardDetach();
        TlsFree(s_stateSlot);
        s_stateSlot = TLS_OUT_OF_INDEXES;
    }
    ReleaseSRWLockExclusive(&s_moduleLock);
}

MKSehThreadState* MKSehCurrentState()
{
    if (s_stateSlot == TLS_OUT_OF_INDEXES)
        return nullptr;
    return static_cast<MKSehThreadState*>(TlsGetValue(s_stateSlot));
}

MKSehThreadState* MKSehThreadContext()
{
    if (s_stateSlot == TLS_OUT_OF_INDEXES)
        return nullptr;
    MKSehThreadState* state = MKSehCurrentState();
    if (!state) {
        state = static_cast<MKSehThreadState*>(
            HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(MKSehThreadState)));
        if (state && !TlsSetValue(s_stateSlot, state)) {
            HeapFree(GetProcessHeap(), 0, state);
            state = nullptr;
        }
    }
    return state;
}

void MKSehInstall(MKSehReportCallback report)
{
    if (!MKSehModuleInit())
        return;
    MKSehThreadState* state = MKSehThreadContext();
    if (!state)
        return;
    ++state->installCount;
    state->report = report;
}

void MKInstallSehTranslator()
{
    MKSehInstall(nullptr);
}

void MKUninstallSehTranslator()
{
    MKSehThreadState* state = MKSehCurrentState();
    if (!state || state->installCount == 0)
        return;
    if (--state->installCount == 0)
        state->report = nullptr;
}

void MKSehReport(MKExceptionInfo& record)
{
    MKSehThreadState* state = MKSehCurrentState();
    if (!state || !state->report)
        return;
    bool routed = MKSehPushPrivateHeap();
    try {
        state->report(record);
    } catch (...) {
    }
    if (routed)
        MKSehPopPrivateHeap();
}

bool MKSehPushPrivateHeap()
{
    MKSehThreadState* state = MKSehThreadContext();
    if (!state)
        return false;
    HANDLE heap = HeapCreate(0, 0, 0);
    if (!heap)
        heap = GetProcessHeap();
    auto* node = static_cast<MKSehPrivateHeap*>(HeapAlloc(heap, 0, sizeof(MKSehPrivateHeap)));
    if (!node) {
        if (heap != GetProcessHeap())
            HeapDestroy(heap);
        return false;
    }
    node->heap = heap;
    node->hooks = {PrivateAlloc, PrivateFree, PrivateRealloc};
    node->next = state->privateHeaps;
    state->privateHeaps = node;
    if (!MKSetThreadAllocHooks(&node->hooks, &node->previousHooks))
        node->previousHooks = nullptr;
    return true;
}

void MKSehPopPrivateHeap()
{
    MKSehThreadState* state = MKSehCurrentState();
    MKSehPrivateHeap* node = state ? state->privateHeaps : nullptr;
    if (!node)
        return;
    state->privateHeaps = node->next;
    MKSetThreadAllocHooks(node->previousHooks);
    HANDLE heap = node->heap;
    HeapFree(heap, 0, node);
    if (heap != GetProcessHeap())
        HeapDestroy(heap);
}
