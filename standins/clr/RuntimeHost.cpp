#include "standins/clr/RuntimeHost.h"

#include "hostapi/ClrInterfaces.h"
#include "standins/clr/AppDomainObject.h"
#include "standins/clr/ClrLog.h"

namespace standin_clr {

RuntimeHost::~RuntimeHost()
{
    if (m_defaultDomain)
        m_defaultDomain->Release();
}

HRESULT RuntimeHost::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != Clr::kIidCorRuntimeHost)
        return E_NOINTERFACE;
    *out = static_cast<ICorRuntimeHost*>(this);
    AddRef();
    return S_OK;
}

ULONG RuntimeHost::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG RuntimeHost::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) {
        ClrLog::Note(L"Runtime.Released");
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT RuntimeHost::Start()
{
    return ClrLog::Enter(L"Runtime.Start");
}

HRESULT RuntimeHost::Stop()
{
    return ClrLog::Enter(L"Runtime.Stop");
}

HRESULT RuntimeHost::CreateDomain(LPCWSTR friendlyName, IUnknown*, IUnknown** domain)
{
    std::wstring name = friendlyName ? friendlyName : L"";
    HRESULT hr = ClrLog::Enter(L"Runtime.CreateDomain(" + name + L")");
    if (FAILED(hr))
        return hr;
    if (!domain)
        return E_POINTER;
    *domain = static_cast<Clr::_AppDomain*>(new AppDomainObject(name));
    return S_OK;
}

HRESULT RuntimeHost::GetDefaultDomain(IUnknown** domain)
{
    HRESULT hr = ClrLog::Enter(L"Runtime.GetDefaultDomain");
    if (FAILED(hr))
        return hr;
    if (!domain)
        return E_POINTER;
    if (!m_defaultDomain)
        m_defaultDomain = static_cast<Clr::_AppDomain*>(new AppDomainObject(L"DefaultDomain"));
    m_defaultDomain->AddRef();
    *domain = m_defaultDomain;
    return S_OK;
}

HRESULT RuntimeHost::UnloadDomain(IUnknown* domain)
{
    Clr::_AppDomain* appDomain = nullptr;
    std::wstring name;
    if (domain && SUCCEEDED(domain->QueryInterface(Clr::kIidAppDomain, reinterpret_cast<void**>(&appDomain)))) {
        name = static_cast<AppDomainObject*>(appDomain)->Name();
        appDomain->Release();
    }
    return ClrLog::Enter(L"Runtime.UnloadDomain(" + name + L")");
}

}  // namespace standin_clr
