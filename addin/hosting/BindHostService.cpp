#include "addin/hosting/BindHostService.h"

#include "addin/hosting/BindingManager.h"
#include "addin/hosting/UrlMonLibrary.h"
#include "addin/hosting/UrlMonikerWrapper.h"
#include "addin/hosting/UrlParts.h"
#include "addin/hosting/VirtualRoot.h"
#include "addin/hosting/VirtualRootMoniker.h"
#include "base/MKComHolder.h"
#include "base/MKCrashGuard.h"
#include "base/MKQueryParams.h"

#include <new>

namespace {

// Hosts of the video sites whose embedded player is pointed at a movie of
// ours through its "eurl" parameter.
const wchar_t* const kVideoSiteSuffixes[] = {L".youtube.com", L".youtube-nocookie.com"};
// What such a player is given instead of a name below the virtual root.
const wchar_t kEmbedMovieUrl[] = L"file:///C|/VistelloEmbed.swf";

}  // namespace

BindHostService::BindHostService(BindingManager* manager) : m_thread(GetCurrentThreadId()), m_manager(manager)
{
    if (m_manager)
        m_manager->AddRef();
}

BindHostService::~BindHostService()
{
    if (m_manager)
        m_manager->Release();
}

HRESULT BindHostService::Offer(BindingManager* manager, void** out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (!manager)
        return E_NOINTERFACE;
    BindHostService* service = new (std::nothrow) BindHostService(manager);
    if (!service)
        return E_OUTOFMEMORY;
    *out = static_cast<IBindHost*>(service);
    service->AddRef();
    return S_OK;
}

bool BindHostService::RewriteEmbedUrl(UrlParts& parts)
{
    if (parts.schemeKind != kSchemeHttp || parts.query.Find(kVirtualRootId) < 0)
        return false;
    bool videoSite = false;
    for (const wchar_t* suffix : kVideoSiteSuffixes)
        videoSite = videoSite || parts.host.EndsWith(suffix, false);
    if (!videoSite)
        return false;
    MKQueryParams params;
    params.Parse(parts.query.GetText());
    bool replaced = false;
    for (int i = 0; i < params.GetCount(); ++i) {
        if (!params.GetName(i).EqualsText(L"eurl"))
            continue;
        UrlParts value;
        if (value.Parse(params.GetValue(i)) && value.IsUnderVirtualRoot()) {
            MKString name = params.GetName(i);
            params.Set(name, MKString(kEmbedMovieUrl));
            replaced = true;
        }
    }
    if (!replaced)
        return false;
    parts.query = params.ToString(true);
    return true;
}

HRESULT STDMETHODCALLTYPE BindHostService::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IBindHost) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IBindHost*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE BindHostService::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE BindHostService::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

HRESULT STDMETHODCALLTYPE BindHostService::CreateMoniker(LPOLESTR name, IBindCtx*, IMoniker** moniker, DWORD)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (moniker)
            *moniker = nullptr;
        if (!m_manager || GetCurrentThreadId() != m_thread)
            return E_FAIL;
        if (!name || !moniker || !*name)
            return E_INVALIDARG;
        return CreateMonikerFor(MKString(name), moniker);
    });
}

HRESULT BindHostService::CreateMonikerFor(const MKString& name, IMoniker** moniker)
{
    UrlParts parts;
    if (parts.Parse(name) && parts.IsUnderVirtualRoot()) {
        VirtualRootMoniker* served = new (std::nothrow) VirtualRootMoniker(name, m_manager);
        if (!served)
            return E_OUTOFMEMORY;
        served->AddRef();
        *moniker = served;
        return S_OK;
    }
    const MKString bound = RewriteEmbedUrl(parts) ? parts.Rebuild() : name;
    UrlMonikerWrapper* wrapper = new (std::nothrow) UrlMonikerWrapper();
    if (!wrapper)
        return E_OUTOFMEMORY;
    wrapper->AddRef();
    // Without urlmon the wrapper has no inner moniker and its binding fails.
    wrapper->CreateInner(bound.GetText());
    *moniker = wrapper;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BindHostService::MonikerBindToStorage(IMoniker* moniker, IBindCtx* context,
                                                                IBindStatusCallback* callback, REFIID iid,
                                                                void** object)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (!moniker)
            return E_INVALIDARG;
        MKComHolder<IBindCtx> made;
        if (!context) {
            const UrlMonEntryPoints* urlmon = UrlMonLibrary::Get();
            if (!urlmon)
                return E_FAIL;
            IBindCtx* created = nullptr;
            const HRESULT hr = urlmon->createAsyncBindCtx(0, callback, nullptr, &created);
            if (FAILED(hr))
                return hr;
            made.Attach(created);
            context = created;
        }
        return moniker->BindToStorage(context, nullptr, iid, object);
    });
}
