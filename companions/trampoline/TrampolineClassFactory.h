#pragma once
#include <windows.h>
#include <unknwn.h>

// The class object of VistelloTrampolineObject, registered for local-server
// activation. One static instance lives for the whole process: its count only
// serves COM's bookkeeping; LockServer locks the module.
class TrampolineClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    volatile LONG m_refs = 0;
};
