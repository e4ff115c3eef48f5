#pragma once
#include <windows.h>

// The COM server exports of VistelloAddIn (VistelloLoader_Create is declared
// in LoaderRecords.h).

// S_OK once no class factory (and so no add-in) is alive, else S_FALSE.
extern "C" HRESULT WINAPI DllCanUnloadNow();
// A new class factory for the add-in's class id; CLASS_E_CLASSNOTAVAILABLE
// for any other, E_FAIL when the module cannot start. The first call leaves
// the library's run-time support installed for the life of the process.
extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out);
// The COM class keys and the current user's Office add-in entry, after the
// machine's and every user's entries are removed. E_FAIL when any of it fails.
extern "C" HRESULT WINAPI DllRegisterServer();
// Removes every Office add-in entry and the COM class keys; E_FAIL when any
// of them remains.
extern "C" HRESULT WINAPI DllUnregisterServer();
