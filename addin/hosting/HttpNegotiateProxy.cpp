#include "addin/hosting/HttpNegotiateProxy.h"

#include "base/MKCrashGuard.h"

HRESULT STDMETHODCALLTYPE HttpNegotiateProxy::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IHttpNegotiate) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IHttpNegotiate*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE HttpNegotiateProxy::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE HttpNegotiateProxy::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE HttpNegotiateProxy::BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                                   LPWSTR* additionalHeaders)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        return m_inner ? m_inner->BeginningTransaction(url, headers, reserved, additionalHeaders) : E_NOTIMPL;
    });
}

HRESULT STDMETHODCALLTYPE HttpNegotiateProxy::OnResponse(DWORD code, LPCWSTR responseHeaders,
                                                         LPCWSTR requestHeaders, LPWSTR* additionalHeaders)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        return m_inner ? m_inner->OnResponse(code, responseHeaders, requestHeaders, additionalHeaders) : E_NOTIMPL;
    });
}
