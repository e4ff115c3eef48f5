#pragma once
#include "base/MKComHolder.h"

#include <urlmon.h>


// Stands in a bind context in place of the control's bind-status callback
// while urlmon binds one of our URL monikers: urlmon's notifications go on to
// the control's callback unchanged, and urlmon's request for IHttpNegotiate is
// answered by a proxy of the control's own. Nothing else of the control is
// reachable through it (no IServiceProvider). Count 0 at construction.
class BscProxy final : public IBindStatusCallback {
public:
    BscProxy() = default;
    BscProxy(const BscProxy&) = delete;
    BscProxy& operator=(const BscProxy&) = delete;

    // Puts this proxy into the bind context; the callback it replaces becomes
    // the inner callback. S_OK when there was one; the registration's failure,
    // E_FAIL without a context or urlmon, E_NOINTERFACE when the context held
    // no callback (the proxy is then taken out again).
    HRESULT Register(IBindCtx* context);
    // Takes this proxy out of the context and puts the inner callback back.
    void Revoke(IBindCtx* context);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG total, ULONG status, LPCWSTR text) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                              STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }

private:
    ~BscProxy();

    HRESULT QueryNegotiate(void** out);

    LONG m_refs = 0;
    MKComHolder<IBindStatusCallback> m_inner;
    MKComHolder<IHttpNegotiate> m_negotiate;
};
