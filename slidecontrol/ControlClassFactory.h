#pragma once
#include <windows.h>
#include <unknwn.h>

// The class object of the control: makes plain or aggregated FOfficeDoc
// objects. Static, one per module; LockServer counts in the module's locks.
class ControlClassFactory final : public IClassFactory {
public:
    static ControlClassFactory& Instance();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};
