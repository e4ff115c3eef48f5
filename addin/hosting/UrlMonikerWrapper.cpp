#include "addin/hosting/UrlMonikerWrapper.h"

#include "addin/hosting/BscProxy.h"
#include "addin/hosting/UrlMonLibrary.h"
#include "base/MKCrashGuard.h"

#include <new>

UrlMonikerWrapper::~UrlMonikerWrapper() = default;

bool UrlMonikerWrapper::CreateInner(const wchar_t* name)
{
    if (m_inner || !name)
        return false;
    const UrlMonEntryPoints* urlmon = UrlMonLibrary::Get();
    if (!urlmon)
        return false;
    IMoniker* inner = nullptr;
    if (FAILED(urlmon->createUrlMoniker(nullptr, name, &inner)) || !inner)
        return false;
    m_inner.Attach(inner);
    return true;
}

HRESULT STDMETHODCALLTYPE UrlMonikerWrapper::BindToStorage(IBindCtx* context, IMoniker* left, REFIID iid,
                                                           void** object)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (!m_inner)
            return E_FAIL;
        BscProxy* proxy = new (std::nothrow) BscProxy();
        if (!proxy)
            return E_OUTOFMEMORY;
        m_proxy.Assign(proxy);
        HRESULT hr = proxy->Register(context);
        if (FAILED(hr))
            return hr;
        hr = m_inner->BindToStorage(context, left, iid, object);
        // urlmon took the proxy when the binding started; the context goes
        // back to the control as it was.
        proxy->Revoke(context);
        return hr;
    });
}

HRESULT STDMETHODCALLTYPE UrlMonikerWrapper::GetDisplayName(IBindCtx* context, IMoniker* left, LPOLESTR* name)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        return m_inner ? m_inner->GetDisplayName(context, left, name) : E_FAIL;
    });
}
