#pragma once
#include <windows.h>

// Process-wide state of VistelloLoaderAddIn: its module instance, kept by the
// entry point, and the lock count that every live class factory holds and
// DllCanUnloadNow reads.
HINSTANCE LoaderModuleInstance();
void SetLoaderModuleInstance(HINSTANCE instance);
volatile LONG* LoaderLockCount();

// "{DF9F1320-DF9A-4e86-B183-6D843E885D4B}" and its ProgID.
extern const CLSID CLSID_VistelloLoaderAddIn;
extern const wchar_t kLoaderClassIdText[];
extern const wchar_t kLoaderProgId[];
