// The exports of VistelloUpdaterAddIn.dll and its entry point.
#include "companions/updateaddin/UpdaterAddIn.h"
#include "companions/updateaddin/UpdaterAddInModule.h"
#include "companions/updateaddin/UpdaterClassFactory.h"

#include "addin/core/ComClassRegistry.h"
#include "addin/core/OfficeAddInKeys.h"
#include "base/MKCrashGuard.h"

#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetUpdaterModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return UpdaterLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, E_UNEXPECTED, [&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (classId != CLSID_VistelloUpdaterAddIn)
            return CLASS_E_CLASSNOTAVAILABLE;
        if (!LockUpdaterModule())
            return E_FAIL;
        auto* factory = new (std::nothrow) UpdaterClassFactory(UpdaterModuleInstance());
        if (!factory) {
            UnlockUpdaterModule();
            return E_OUTOFMEMORY;
        }
        factory->AddRef();
        HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    });
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[512];
    DWORD length = GetModuleFileNameW(UpdaterModuleInstance(), path, 512);
    if (length == 0 || length >= 512)
        return E_FAIL;
    // Entries of earlier runs; the main add-in writes a fresh per-user entry
    // just before it connects this add-in.
    OfficeAddInKeys::Remove(kOfficePowerPoint, UpdaterAddIn::kProgId, kScopeMachine);
    OfficeAddInKeys::Remove(kOfficePowerPoint, UpdaterAddIn::kProgId, kScopeEveryUser);
    return RegisterComClass(kUpdaterClassIdText, UpdaterAddIn::kProgId, MKString::MKStringFromChars(path, length),
                            L"Vistello Updater")
               ? S_OK
               : E_FAIL;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    OfficeAddInKeys::Remove(kOfficePowerPoint, UpdaterAddIn::kProgId, kScopeEveryUser);
    OfficeAddInKeys::Remove(kOfficePowerPoint, UpdaterAddIn::kProgId, kScopeMachine);
    UnregisterComClass(kUpdaterClassIdText, UpdaterAddIn::kProgId);
    return S_OK;
}
