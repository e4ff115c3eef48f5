#include "addin/hosting/ControlHost.h"

#include "addin/hosting/ControlPropertyBag.h"
#include "addin/hosting/ControlSite.h"

ControlHost::ControlHost() : m_bag(new ControlPropertyBag())
{
    m_bag->AddRef();
}

ControlHost::~ControlHost()
{
    DestroySite();
    m_bag->Release();
}

HRESULT ControlHost::CreateSite()
{
    if (m_site)
        return S_OK;
    m_site = new ControlSite(this);
    m_site->AddRef();
    HRESULT hr = m_site->CreateControl();
    if (SUCCEEDED(hr) && !OnSiteCreated())
        hr = E_FAIL;
    if (FAILED(hr))
        DestroySite();
    return hr;
}

void ControlHost::DestroySite()
{
    if (!m_site)
        return;
    ControlSite* site = m_site;
    m_site = nullptr;
    site->DestroyControl();
    site->Release();
}

bool ControlHost::IsInPlaceActive() const
{
    return m_site && m_site->IsInPlaceActive();
}

HRESULT ControlHost::LoadControl(int width, int height)
{
    if (!m_site)
        return E_FAIL;
    m_bag->SetExtent(width, height);
    return m_site->LoadProperties(m_bag);
}

HRESULT ControlHost::Activate()
{
    if (!m_site)
        return E_FAIL;
    if (m_site->IsInPlaceActive())
        return S_OK;
    return m_site->InPlaceActivate(RECT{0, 0, m_width, m_height});
}

void ControlHost::SetExtent(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    if (m_site && m_site->HasControl())
        m_site->SetObjectRect(RECT{0, 0, width, height});
}

void ControlHost::SetProperty(const MKString& name, const MKString& value)
{
    m_bag->SetString(name, value);
}

HRESULT ControlHost::QueryControl(REFIID iid, void** out) const
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    IOleObject* object = m_site ? m_site->GetOleObject() : nullptr;
    if (!object)
        return E_FAIL;
    return object->QueryInterface(iid, out);
}

IViewObject* ControlHost::GetViewObject() const
{
    return m_site ? m_site->GetViewObject() : nullptr;
}

HRESULT ControlHost::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = nullptr;
    return S_OK;
}

HRESULT ControlHost::GetDC(const RECT*, DWORD, HDC* dc)
{
    if (!dc)
        return E_POINTER;
    *dc = nullptr;
    return S_OK;
}

HRESULT ControlHost::QueryService(REFGUID, REFIID, void** object)
{
    if (object)
        *object = nullptr;
    return E_NOINTERFACE;
}
