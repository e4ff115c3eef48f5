// The exports of VistelloLoaderAddIn.dll and its entry point.
#include "companions/loader/LoaderClassFactory.h"
#include "companions/loader/LoaderModule.h"

#include "addin/core/ComClassRegistry.h"
#include "addin/core/OfficeAddInKeys.h"

#include <new>

namespace {

const wchar_t kLoaderName[] = L"Vistello Loader";
const wchar_t kLoaderDescription[] = L"Vistello Loader Add-In";
const DWORD kLoadAtStartup = 3;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetLoaderModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return *LoaderLockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (classId != CLSID_VistelloLoaderAddIn)
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) LoaderClassFactory(LoaderLockCount(), LoaderModuleInstance());
    if (!factory)
        return E_OUTOFMEMORY;
    factory->AddRef();
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[512];
    DWORD length = GetModuleFileNameW(LoaderModuleInstance(), path, 512);
    if (length == 0 || length >= 512)
        return E_FAIL;
    if (!RegisterComClass(kLoaderClassIdText, kLoaderProgId, MKString::MKStringFromChars(path, length), kLoaderName))
        return E_FAIL;
    // Per-user entries of the loader would hide the machine's own.
    OfficeAddInKeys::Remove(kOfficePowerPoint, kLoaderProgId, kScopeEveryUser);
    return OfficeAddInKeys::Write(kOfficePowerPoint, kLoaderProgId, kLoaderName, kLoaderDescription, kLoadAtStartup,
                                  kScopeMachine)
               ? S_OK
               : E_FAIL;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    OfficeAddInKeys::Remove(kOfficePowerPoint, kLoaderProgId, kScopeEveryUser);
    OfficeAddInKeys::Remove(kOfficePowerPoint, kLoaderProgId, kScopeMachine);
    UnregisterComClass(kLoaderClassIdText, kLoaderProgId);
    return S_OK;
}
