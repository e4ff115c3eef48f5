#include "tests/standins/controlsupport/TestControlSite.h"

#include <olectl.h>

TestControlSite::TestControlSite(HWND window, const RECT& position, bool allowWindowless, IBindHost* bindHost)
    : m_window(window), m_position(position), m_allowWindowless(allowWindowless), m_bindHost(bindHost)
{
    if (m_bindHost)
        m_bindHost->AddRef();
}

TestControlSite::~TestControlSite()
{
    if (m_bindHost)
        m_bindHost->Release();
    if (m_container)
        m_container->Release();
}

void TestControlSite::SetContainer(IOleContainer* container)
{
    if (container)
        container->AddRef();
    if (m_container)
        m_container->Release();
    m_container = container;
}

HRESULT TestControlSite::CreateFromStream(const CLSID& clsid, IStream* stream, IOleObject** control)
{
    *control = nullptr;
    IOleObject* object = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object));
    if (FAILED(hr))
        return hr;
    hr = object->SetClientSite(this);
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(hr))
        hr = object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(hr)) {
        hr = stream ? persist->Load(stream) : persist->InitNew();
        persist->Release();
    }
    if (SUCCEEDED(hr))
        hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_window, &m_position);
    if (FAILED(hr)) {
        Destroy(object);
        object->Release();
        return hr;
    }
    *control = object;
    return S_OK;
}

HRESULT TestControlSite::Create(const CLSID& clsid, IPropertyBag2* properties, IOleObject** control)
{
    *control = nullptr;
    IOleObject* object = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, reinterpret_cast<void**>(&object));
    if (FAILED(hr))
        return hr;
    hr = object->SetClientSite(this);
    if (SUCCEEDED(hr) && properties) {
        IPersistPropertyBag2* persist = nullptr;
        hr = object->QueryInterface(IID_IPersistPropertyBag2, reinterpret_cast<void**>(&persist));
        if (SUCCEEDED(hr)) {
            hr = persist->Load(properties, nullptr);
            persist->Release();
        }
    }
    if (SUCCEEDED(hr))
        hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_window, &m_position);
    if (FAILED(hr)) {
        Destroy(object);
        object->Release();
        return hr;
    }
    *control = object;
    return S_OK;
}

void TestControlSite::Destroy(IOleObject* control)
{
    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
        inPlace->InPlaceDeactivate();
        inPlace->Release();
    }
    control->Close(OLECLOSE_NOSAVE);
    control->SetClientSite(nullptr);
}

HRESULT TestControlSite::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx ||
             iid == IID_IOleInPlaceSiteWindowless)
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IServiceProvider)
        *out = static_cast<IServiceProvider*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IAdviseSink)
        *out = static_cast<IAdviseSink*>(this);
    else if (iid == IID_IDocHostUIHandler)
        *out = static_cast<IDocHostUIHandler*>(this);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TestControlSite::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT TestControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT TestControlSite::GetContainer(IOleContainer** container)
{
    if (!container)
        return E_POINTER;
    *container = m_container;
    if (!m_container)
        return E_NOINTERFACE;
    m_container->AddRef();
    return S_OK;
}

HRESULT TestControlSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_window;
    return S_OK;
}

HRESULT TestControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                          LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (frame)
        *frame = nullptr;
    if (document)
        *document = nullptr;
    if (position)
        *position = m_position;
    if (clip)
        *clip = m_position;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = m_window;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT TestControlSite::OnInPlaceDeactivate()
{
    m_windowless = false;
    return S_OK;
}

HRESULT TestControlSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
    if (noRedraw)
        *noRedraw = FALSE;
    m_windowless = (flags & ACTIVATE_WINDOWLESS) != 0;
    return S_OK;
}

HRESULT TestControlSite::GetDC(LPCRECT, DWORD, HDC* dc)
{
    if (!dc)
        return E_POINTER;
    *dc = ::GetDC(m_window);
    return *dc ? S_OK : E_FAIL;
}

HRESULT TestControlSite::ReleaseDC(HDC dc)
{
    ::ReleaseDC(m_window, dc);
    return S_OK;
}

HRESULT TestControlSite::InvalidateRect(LPCRECT rect, BOOL erase)
{
    ::InvalidateRect(m_window, rect ? rect : &m_position, erase);
    return S_OK;
}

HRESULT TestControlSite::QueryService(REFGUID service, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (service != SID_IBindHost || !m_bindHost)
        return E_NOINTERFACE;
    return m_bindHost->QueryInterface(iid, object);
}

HRESULT TestControlSite::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT TestControlSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    VARIANT value;
    VariantInit(&value);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        value.vt = VT_BOOL;
        value.boolVal = VARIANT_TRUE;
        break;
    case DISPID_AMBIENT_UIDEAD:
        value.vt = VT_BOOL;
        value.boolVal = VARIANT_FALSE;
        break;
    case DISPID_AMBIENT_BACKCOLOR:
    case DISPID_AMBIENT_APPEARANCE:
        value.vt = VT_I4;
        value.lVal = 0;
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (result)
        *result = value;
    return S_OK;
}

HRESULT TestControlSite::ShowContextMenu(DWORD id, POINT*, IUnknown*, IDispatch*)
{
    questions.push_back(L"ShowContextMenu(" + std::to_wstring(id) + L")");
    return S_FALSE;
}

HRESULT TestControlSite::GetHostInfo(DOCHOSTUIINFO* info)
{
    questions.push_back(L"GetHostInfo");
    if (!info)
        return E_POINTER;
    info->cbSize = 20;
    info->dwFlags = 0x240090;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT TestControlSite::GetExternal(IDispatch** external)
{
    if (external)
        *external = nullptr;
    return E_NOTIMPL;
}

HRESULT TestControlSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out)
{
    if (out)
        *out = nullptr;
    return S_FALSE;
}
