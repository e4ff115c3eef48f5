#include "addin/hosting/BscProxy.h"

#include "addin/hosting/HttpNegotiateProxy.h"
#include "addin/hosting/UrlMonLibrary.h"
#include "base/MKCrashGuard.h"

#include <new>

namespace {

// Runs one forwarding call guarded: E_FAIL without an inner callback,
// E_UNEXPECTED when an exception escapes.
template <class Call>
HRESULT Forward(MKExceptionInfo& info, IBindStatusCallback* inner, Call&& call)
{
    return MKCrashGuard(info, static_cast<HRESULT>(E_UNEXPECTED),
                        [&]() -> HRESULT { return inner ? call(inner) : E_FAIL; });
}

}  // namespace

BscProxy::~BscProxy() = default;

HRESULT BscProxy::Register(IBindCtx* context)
{
    const UrlMonEntryPoints* urlmon = UrlMonLibrary::Get();
    if (!context || !urlmon)
        return E_FAIL;
    IBindStatusCallback* previous = nullptr;
    const HRESULT hr = urlmon->registerBindStatusCallback(context, this, &previous, 0);
    if (FAILED(hr))
        return hr;
    if (!previous) {
        // With nobody to report to, urlmon's notifications would be lost.
        urlmon->revokeBindStatusCallback(context, this);
        return E_NOINTERFACE;
    }
    m_inner.Attach(previous);
    return S_OK;
}

void BscProxy::Revoke(IBindCtx* context)
{
    const UrlMonEntryPoints* urlmon = UrlMonLibrary::Get();
    if (!context || !urlmon)
        return;
    urlmon->revokeBindStatusCallback(context, this);
    if (!m_inner)
        return;
    IBindStatusCallback* previous = nullptr;
    if (SUCCEEDED(urlmon->registerBindStatusCallback(context, m_inner.Get(), &previous, 0)) && previous)
        previous->Release();
}

HRESULT STDMETHODCALLTYPE BscProxy::QueryInterface(REFIID iid, void** out)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IBindStatusCallback) {
            *out = static_cast<IBindStatusCallback*>(this);
            AddRef();
            return S_OK;
        }
        if (iid == IID_IHttpNegotiate)
            return QueryNegotiate(out);
        *out = nullptr;
        return E_NOINTERFACE;
    });
}

HRESULT BscProxy::QueryNegotiate(void** out)
{
    *out = nullptr;
    if (!m_negotiate) {
        if (!m_inner)
            return E_NOINTERFACE;
        IHttpNegotiate* negotiate = nullptr;
        const HRESULT hr = m_inner->QueryInterface(IID_IHttpNegotiate, reinterpret_cast<void**>(&negotiate));
        if (FAILED(hr) || !negotiate)
            return FAILED(hr) ? hr : E_NOINTERFACE;
        HttpNegotiateProxy* proxy = new (std::nothrow) HttpNegotiateProxy(negotiate);
        negotiate->Release();
        if (!proxy)
            return E_OUTOFMEMORY;
        m_negotiate.Assign(proxy);
    }
    *out = m_negotiate.Get();
    m_negotiate->AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE BscProxy::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE BscProxy::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE BscProxy::OnStartBinding(DWORD reserved, IBinding* binding)
{
    static MKExceptionInfo s_info;
    return Forward(s_info, m_inner.Get(), [&](IBindStatusCallback* inner) { return inner->OnStartBinding(reserved, binding); });
}

HRESULT STDMETHODCALLTYPE BscProxy::OnProgress(ULONG progress, ULONG total, ULONG status, LPCWSTR text)
{
    static MKExceptionInfo s_info;
    return Forward(s_info, m_inner.Get(),
                   [&](IBindStatusCallback* inner) { return inner->OnProgress(progress, total, status, text); });
}

HRESULT STDMETHODCALLTYPE BscProxy::OnStopBinding(HRESULT result, LPCWSTR error)
{
    static MKExceptionInfo s_info;
    return Forward(s_info, m_inner.Get(), [&](IBindStatusCallback* inner) { return inner->OnStopBinding(result, error); });
}

HRESULT STDMETHODCALLTYPE BscProxy::GetBindInfo(DWORD* flags, BINDINFO* info)
{
    static MKExceptionInfo s_info;
    return Forward(s_info, m_inner.Get(), [&](IBindStatusCallback* inner) { return inner->GetBindInfo(flags, info); });
}

HRESULT STDMETHODCALLTYPE BscProxy::OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format, STGMEDIUM* medium)
{
    static MKExceptionInfo s_info;
    return Forward(s_info, m_inner.Get(),
                   [&](IBindStatusCallback* inner) { return inner->OnDataAvailable(flags, size, format, medium); });
}
