#pragma once
#include <windows.h>

// Process-wide state of VistelloUpdaterAddIn: its module instance, kept by
// the entry point, and the lock count that every live class factory holds.
// The first lock starts the module (fault translation on the calling thread
// and the shared security record of the updater folder); the last unlock
// stops it again.
HINSTANCE UpdaterModuleInstance();
void SetUpdaterModuleInstance(HINSTANCE instance);
LONG UpdaterLockCount();
// False, with no lock taken, when the first lock cannot start the module.
bool LockUpdaterModule();
void UnlockUpdaterModule();

// "{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}".
extern const CLSID CLSID_VistelloUpdaterAddIn;
extern const wchar_t kUpdaterClassIdText[];
