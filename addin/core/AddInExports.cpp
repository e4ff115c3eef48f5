#include "addin/core/AddInExports.h"

#include "addin/core/AddInClassFactory.h"
#include "addin/core/AddInGuard.h"
#include "addin/core/AddInIds.h"
#include "addin/core/AddInModule.h"
#include "addin/core/ComClassRegistry.h"
#include "addin/core/OfficeAddInKeys.h"

#include <new>

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return *ServerLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, E_UNEXPECTED, [&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        if (!AcquireModuleRuntime())
            return E_UNEXPECTED;
        *out = nullptr;
        if (classId != CLSID_VistelloAddIn)
            return CLASS_E_CLASSNOTAVAILABLE;
        AddInClassFactory* factory = new (std::nothrow) AddInClassFactory(ModuleInstance());
        if (!factory)
            return E_OUTOFMEMORY;
        factory->AddRef();
        HRESULT hr = factory->Initialize() ? factory->QueryInterface(iid, out) : E_FAIL;
        factory->Release();
        return hr;
    });
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, E_UNEXPECTED, []() -> HRESULT {
        wchar_t path[512];
        DWORD length = GetModuleFileNameW(ModuleInstance(), path, 512);
        if (length == 0 || length >= 512)
            return E_FAIL;
        if (!RegisterComClass(kAddInClassIdText, kAddInProgId, MKString::MKStringFromChars(path, length), kAddInName))
            return E_FAIL;
        // Entries of earlier installations would hide or double the new one.
        // An entry that cannot be removed does not stop the registration:
        // only the current user's entry decides it.
        OfficeAddInKeys::Remove(kOfficePowerPoint, kAddInProgId, kScopeMachine);
        OfficeAddInKeys::Remove(kOfficePowerPoint, kAddInProgId, kScopeEveryUser);
        bool written = OfficeAddInKeys::Write(kOfficePowerPoint, kAddInProgId, kAddInName, kAddInDescription,
                                                  kAddInLoadBehavior, kScopeCurrentUser);
        return written ? S_OK : E_FAIL;
    });
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, nullptr, E_UNEXPECTED, []() -> HRESULT {
        // Whatever is left behind, the uninstaller goes on: never a failure.
        OfficeAddInKeys::Remove(kOfficePowerPoint, kAddInProgId, kScopeEveryUser);
        OfficeAddInKeys::Remove(kOfficePowerPoint, kAddInProgId, kScopeMachine);
        UnregisterComClass(kAddInClassIdText, kAddInProgId);
        return HRESULT(S_OK);
    });
}
