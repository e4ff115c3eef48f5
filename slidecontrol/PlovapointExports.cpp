// The library's entry point and exports: kept apart so that test programs
// linking the control's code directly never pull them in.
#include "base/MKSeh.h"
#include "slidecontrol/ControlClassFactory.h"
#include "slidecontrol/FlashPresenceCheck.h"
#include "slidecontrol/IFOfficeDoc.h"
#include "slidecontrol/PlovapointModule.h"
#include "slidecontrol/PlovapointResources.h"
#include "slidecontrol/RegistryScript.h"
#include "slidecontrol/RegistryScriptWriter.h"

#include <oleauto.h>

namespace {

// The registry script resource with %MODULE% set to the library's path.
HRESULT LoadRegistryScript(RegistryScript& script)
{
    HINSTANCE instance = PlovapointModule::Instance();
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(kRegistryScriptId), "REGISTRY");
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!text)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    MKString path = PlovapointModule::Path();
    if (path.IsEmpty())
        return E_FAIL;
    script.Substitute("MODULE", path);
    MKString error;
    return script.Parse(text, int(SizeofResource(instance, found)), error) ? S_OK : E_UNEXPECTED;
}

HRESULT RegisterTypeLibrary()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(PlovapointModule::Instance(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return E_FAIL;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &library);
    if (FAILED(hr))
        return hr;
    hr = RegisterTypeLib(library, path, nullptr);
    library->Release();
    return hr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        PlovapointModule::Attach(instance);
        DisableThreadLibraryCalls(instance);
        MKSehModuleInit();
    } else if (reason == DLL_PROCESS_DETACH) {
        PlovapointModule::Detach();
        MKSehModuleTerm();
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return PlovapointModule::LockCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_FOfficeDoc)
        return CLASS_E_CLASSNOTAVAILABLE;
    return ControlClassFactory::Instance().QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return PlovapointModule::Guard([] {
        RegistryScript script;
        HRESULT hr = LoadRegistryScript(script);
        if (SUCCEEDED(hr))
            hr = RegistryScriptWriter::Register(script);
        if (SUCCEEDED(hr))
            hr = RegisterTypeLibrary();
        // A missing Flash Player does not fail the registration.
        CheckFlashAfterRegistration();
        return hr;
    });
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return PlovapointModule::Guard([] {
        RegistryScript script;
        HRESULT hr = LoadRegistryScript(script);
        if (SUCCEEDED(hr))
            hr = RegistryScriptWriter::Unregister(script);
        HRESULT typeLib = UnRegisterTypeLib(LIBID_FOFFICELib, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
        if (SUCCEEDED(hr) && FAILED(typeLib) && typeLib != TYPE_E_REGISTRYACCESS)
            hr = typeLib;
        return hr;
    });
}
