#pragma once
#include <windows.h>

#include "base/MKAlloc.h"
#include "base/MKExceptionInfo.h"

// Translation of structured exceptions into MKSystemException, per thread.
// A thread opts in with MKSehInstall; from then on a fault inside a crash guard
// (MKCrashGuard.h) on that thread is caught by that guard. Threads that never
// install are left alone: their faults take the system's usual course.

// Called with the record of a failure a guard caught, after any stack-overflow
// recovery. Runs on the failing thread with its library allocations routed to a
// private heap that is destroyed afterwards; exceptions it throws are dropped.
using MKSehReportCallback = void (*)(MKExceptionInfo& record);

struct MKGuardFrame;

// One level of MKSehPushPrivateHeap: the heap, the hooks that route to it, and
// the hooks it replaced.
struct MKSehPrivateHeap {
    HANDLE heap;
    MKAllocHooks hooks;
    const MKAllocHooks* previousHooks;
    MKSehPrivateHeap* next;
};

// One thread's translation state: made zero-filled from the process heap at
// the thread's first install and kept for the thread's life.
struct MKSehThreadState {
    int installCount;
    MKSehReportCallback report;
    MKSehPrivateHeap* privateHeaps;
    MKGuardFrame* guard;  // innermost running guard, null outside guards
    // Copies of the fault being handed to a guard; the dispatcher's own records
    // are gone once execution continues.
    EXCEPTION_RECORD faultRecord;
    CONTEXT faultContext;
};

// Process attach / detach of the module that links this library. Init reserves
// the thread slot, turns on per-thread allocation hooks and hooks the fault
// handler in (false when a slot or the handler cannot be had); calling it again
// does nothing. Term unhooks the handler and frees the slot; nothing when Init
// never ran.
bool MKSehModuleInit();
void MKSehModuleTerm();

// The calling thread's state, created on first use; null when it cannot be had.
MKSehThreadState* MKSehThreadContext();
// The calling thread's state, or null when it never installed.
MKSehThreadState* MKSehCurrentState();

// Counted per thread: nested installs keep one translator and only the last
// matching uninstall removes it. Install initialises the module when needed and
// stores the report callback (null for none).
void MKSehInstall(MKSehReportCallback report);
void MKInstallSehTranslator();
void MKUninstallSehTranslator();

// Hands the record to the thread's report callback, if any (see above).
void MKSehReport(MKExceptionInfo& record);

// Routes the calling thread's library allocations to a new private heap (the
// process heap when none can be made) until the matching pop, which destroys
// that heap with everything still allocated from it.
bool MKSehPushPrivateHeap();
void MKSehPopPrivateHeap();
