#pragma once
#include "base/MKComHolder.h"

#include <urlmon.h>

// What urlmon gets when it asks our callback proxy for IHttpNegotiate: the
// control's own negotiation, passed through. Count 0 at construction.
class HttpNegotiateProxy final : public IHttpNegotiate {
public:
    explicit HttpNegotiateProxy(IHttpNegotiate* inner) : m_inner(inner) {}
    HttpNegotiateProxy(const HttpNegotiateProxy&) = delete;
    HttpNegotiateProxy& operator=(const HttpNegotiateProxy&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                   LPWSTR* additionalHeaders) override;
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD code, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                                         LPWSTR* additionalHeaders) override;

private:
    ~HttpNegotiateProxy() = default;

    LONG m_refs = 0;
    MKComHolder<IHttpNegotiate> m_inner;
};
