#include "base/MKAlloc.h"

#include <windows.h>

#include <stdlib.h>

namespace {

bool s_threadHooksOn = false;
DWORD s_threadSlot = TLS_OUT_OF_INDEXES;

const MKAllocHooks* ThreadHooks()
{
    if (!s_threadHooksOn)
        return nullptr;
    return static_cast<const MKAllocHooks*>(TlsGetValue(s_threadSlot));
}

}  // namespace

void* MKAlloc(size_t size)
{
    if (const MKAllocHooks* hooks = ThreadHooks())
        return hooks->alloc(size);
    return malloc(size);
}

void MKFree(void* block)
{
    if (!block)
        return;
    if (const MKAllocHooks* hooks = ThreadHooks())
        hooks->free(block);
    else
        free(block);
}

void* MKRealloc(void* block, size_t size)
{
    if (const MKAllocHooks* hooks = ThreadHooks())
        return hooks->realloc(block, size);
    return realloc(block, size);
}

bool MKEnableThreadAllocHooks(bool on)
{
    if (on == s_threadHooksOn)
        return true;
    if (on) {
        DWORD slot = TlsAlloc();
        if (slot == TLS_OUT_OF_INDEXES)
            return false;
        s_threadSlot = slot;
        s_threadHooksOn = true;
    } else {
        s_threadHooksOn = false;
        TlsFree(s_threadSlot);
        s_threadSlot = TLS_OUT_OF_INDEXES;
    }
    return true;
}

bool MKSetThreadAllocHooks(const MKAllocHooks* hooks, const MKAllocHooks** previous)
{
    if (previous)
        *previous = ThreadHooks();
    if (!s_threadHooksOn)
        return false;
    return TlsSetValue(s_threadSlot, const_cast<MKAllocHooks*>(hooks)) != FALSE;
}
