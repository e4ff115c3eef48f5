#pragma once
#include <windows.h>

// The server module's lock: every live object and every LockServer(TRUE)
// holds one. The last unlock tells the shutdown monitor (TrampolineServer),
// when one runs, that the server has become idle.
void TrampolineLock();
void TrampolineUnlock();
LONG TrampolineLockCount();
// The event the last unlock sets; null for none.
void SetTrampolineIdleEvent(HANDLE event);
