#include "player/engine/PVEngineStart.h"

#include <windows.h>

#include "player/engine/PVMp3DecoderCache.h"
#include "player/engine/ThreadStart.h"

namespace {

CRITICAL_SECTION g_lock;
bool g_lockNeedsInit = true;
int g_count = 0;

}  // namespace

bool InitEngine(bool openMp3Cache)
{
    if (g_lockNeedsInit) {
        g_lockNeedsInit = false;
        InitializeCriticalSection(&g_lock);
    }
    EnterCriticalSection(&g_lock);
    if (g_count <= 0) {
        if (!InitThreadWaiterSlot() || (openMp3Cache && !OpenMp3DecoderCache())) {
            LeaveCriticalSection(&g_lock);
            return false;
        }
        g_count = 1;
    } else {
        ++g_count;
    }
    LeaveCriticalSection(&g_lock);
    return true;
}

void TermEngine(bool closeMp3Cache)
{
    if (g_lockNeedsInit)
        return;
    EnterCriticalSection(&g_lock);
    if (g_count > 0 && --g_count == 0) {
        if (closeMp3Cache)
            CloseMp3DecoderCache();
        FreeThreadWaiterSlot();
        LeaveCriticalSection(&g_lock);
        DeleteCriticalSection(&g_lock);
        g_lockNeedsInit = true;
        return;
    }
    LeaveCriticalSection(&g_lock);
}

int EngineStartCount()
{
    return g_count;
}
