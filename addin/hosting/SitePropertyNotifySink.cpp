#include "addin/hosting/SitePropertyNotifySink.h"

#include "addin/hosting/ControlSite.h"
#include "addin/hosting/ControlSiteOwner.h"
#include "base/MKCrashGuard.h"

HRESULT STDMETHODCALLTYPE SitePropertyNotifySink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IPropertyNotifySink) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IPropertyNotifySink*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE SitePropertyNotifySink::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE SitePropertyNotifySink::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE SitePropertyNotifySink::OnChanged(DISPID id)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED), [&] {
        m_site->GetOwner()->OnPropertyChanged(id);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE SitePropertyNotifySink::OnRequestEdit(DISPID id)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, HRESULT(E_UNEXPECTED),
                        [&] { return m_site->GetOwner()->OnRequestEdit(id) ? S_OK : S_FALSE; });
}
