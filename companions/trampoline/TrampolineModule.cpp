#include "companions/trampoline/TrampolineModule.h"

namespace {

volatile LONG s_locks = 0;
HANDLE s_idleEvent = nullptr;

}  // namespace

void TrampolineLock()
{
    InterlockedIncrement(&s_locks);
}

void TrampolineUnlock()
{
    if (InterlockedDecrement(&s_locks) == 0 && s_idleEvent)
        SetEvent(s_idleEvent);
}

LONG TrampolineLockCount()
{
    return s_locks;
}

void SetTrampolineIdleEvent(HANDLE event)
{
    s_idleEvent = event;
}
