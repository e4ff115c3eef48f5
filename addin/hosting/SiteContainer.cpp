#include "addin/hosting/SiteContainer.h"

#include "base/MKCrashGuard.h"

#include <new>

HRESULT SiteContainer::Create(IOleContainer** container)
{
    if (!container)
        return E_POINTER;
    SiteContainer* created = new (std::nothrow) SiteContainer();
    *container = created;
    if (!created)
        return E_OUTOFMEMORY;
    created->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SiteContainer::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IOleContainer && iid != IID_IParseDisplayName) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IOleContainer*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE SiteContainer::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE SiteContainer::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}
