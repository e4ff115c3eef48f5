#pragma once
#include <windows.h>
#include <objbase.h>
#include <string>

namespace standin {

// Per-DLL facts of a stand-in control library: its module handle (set by
// DllMain), its path, and the machine-wide registration of its class. This
// Wine merges no per-user classes into HKEY_CLASSES_ROOT, so the classes are
// written there; the test helpers restore whatever was registered before.
class ControlModule {
public:
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE Instance();
    static std::wstring Path();

    // HKCR\CLSID\{clsid}: description, InprocServer32 (this module, apartment
    // threaded), Control and, unless progId is null, ProgID and
    // HKCR\<progId>\CLSID.
    static HRESULT Register(const CLSID& clsid, const wchar_t* description, const wchar_t* progId);
    // Removes the InprocServer32 and ProgID entries written by Register.
    static HRESULT Unregister(const CLSID& clsid, const wchar_t* progId);
};

// Class factory of one control class T (constructed with no arguments, one
// reference owned by its creator). Static: it lives as long as the module.
template <class T>
class ControlFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        T* control = new (std::nothrow) T();
        if (!control)
            return E_OUTOFMEMORY;
        HRESULT hr = control->QueryInterface(iid, out);
        control->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace standin

// Defines DllMain and the four exports of a COM server DLL that serves the
// one control class `Control` under `clsid` (registered with `description`
// and `progId`, which may be null). One use per DLL, at file scope.
#define STANDIN_CONTROL_SERVER(Control, clsid, description, progId)                                   \
    static standin::ControlFactory<Control> g_standInFactory;                                          \
    extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)                           \
    {                                                                                                  \
        if (reason == DLL_PROCESS_ATTACH) {                                                            \
            standin::ControlModule::SetInstance(instance);                                             \
            DisableThreadLibraryCalls(instance);                                                       \
        }                                                                                              \
        return TRUE;                                                                                   \
    }                                                                                                  \
    extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid,    \
                                                                      void** out)                      \
    {                                                                                                  \
        if (!out)                                                                                      \
            return E_POINTER;                                                                          \
        *out = nullptr;                                                                                \
        if (classId != (clsid))                                                                        \
            return CLASS_E_CLASSNOTAVAILABLE;                                                          \
        return g_standInFactory.QueryInterface(iid, out);                                              \
    }                                                                                                  \
    extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()                                  \
    {                                                                                                  \
        return S_FALSE;                                                                                \
    }                                                                                                  \
    extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()                                \
    {                                                                                                  \
        return standin::ControlModule::Register((clsid), (description), (progId));                     \
    }                                                                                                  \
    extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()                              \
    {                                                                                                  \
        return standin::ControlModule::Unregister((clsid), (progId));                                  \
    }
