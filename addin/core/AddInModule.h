#pragma once
#include <windows.h>

// Process-wide state of the add-in library. Office reaches the library through
// COM (the class factory) or through the loader link; both meet in two counts:
// the server lock count (live class factories, read by DllCanUnloadNow) and
// the module runtime count (references on the library's run-time support).

// Set by the entry point when the process attaches the library; null in a
// program that links the add-in's code directly.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

// The server lock count, changed with locked operations by the factories.
volatile LONG* ServerLockCount();

// The first reference reserves the thread-information slot, installs the
// fault translator on the calling thread and creates the module critical
// section. Always true.
bool AcquireModuleRuntime();
// Nothing without a reference; the last one deletes the critical section,
// removes the translator and frees the thread-information slot.
void ReleaseModuleRuntime();

// The shared machinery behind the first live class factory: shared security
// attributes, COM on the calling thread and the content hosting layer. False, with nothing started, when
// the security attributes cannot be built. CoInitialize stays unbalanced: the
// thread is PowerPoint's and keeps COM.
bool StartModule(HINSTANCE instance);
// Undoes a StartModule that succeeded; nothing otherwise.
void StopModule();

// Serialises the records the update engine's thread shares with the add-in;
// null while no module runtime reference is held.
CRITICAL_SECTION* GetModuleCriticalSection();
void EnterModuleLock();
void LeaveModuleLock();
