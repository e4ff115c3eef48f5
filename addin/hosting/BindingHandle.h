#pragma once
#include <urlmon.h>

// The IBinding a served binding hands to OnStartBinding. Delivery is
// synchronous, so there is nothing left to abort, suspend or reprioritise:
// Abort answers S_OK without effect, the rest E_NOTIMPL. Count 0 at
// construction; locked.
class BindingHandle final : public IBinding {
public:
    BindingHandle() = default;
    BindingHandle(const BindingHandle&) = delete;
    BindingHandle& operator=(const BindingHandle&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Abort() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Suspend() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPriority(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBindResult(CLSID*, DWORD*, LPOLESTR*, DWORD*) override { return E_NOTIMPL; }

private:
    virtual ~BindingHandle() = default;

    LONG m_refs = 0;
};
