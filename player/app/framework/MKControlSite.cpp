#include "player/app/framework/MKControlSite.h"

#include <olectl.h>

MKControlSite::MKControlSite() = default;

MKControlSite::~MKControlSite()
{
    Destroy();
}

HRESULT MKControlSite::Create(REFCLSID clsid, HWND parent, const RECT& rect, DWORD style, UINT id)
{
    Destroy();
    m_parent = parent;
    m_rect = rect;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_object));
    if (FAILED(hr)) {
        m_object = nullptr;
        return hr;
    }
    // No persisted state: a control that wants one starts from its defaults.
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        persist->InitNew();
        persist->Release();
    }
    hr = m_object->SetClientSite(this);
    if (SUCCEEDED(hr))
        hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, parent, &rect);
    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(hr))
        hr = m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    if (SUCCEEDED(hr)) {
        hr = inPlace->GetWindow(&m_controlWindow);
        inPlace->Release();
        if (SUCCEEDED(hr) && !m_controlWindow)
            hr = E_FAIL;
    }
    if (SUCCEEDED(hr))
        hr = m_object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_dispatch));
    if (FAILED(hr)) {
        m_dispatch = nullptr;
        Destroy();
        return hr;
    }
    SetWindowLongPtr(m_controlWindow, GWLP_ID, LONG_PTR(id));
    SetWindowLongPtr(m_controlWindow, GWL_STYLE, LONG_PTR(style | WS_CHILD));
    ShowWindow(m_controlWindow, (style & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    return S_OK;
}

void MKControlSite::Destroy()
{
    if (m_dispatch) {
        m_dispatch->Release();
        m_dispatch = nullptr;
    }
    if (m_object) {
        IOleObject* object = m_object;
        m_object = nullptr;
        IOleInPlaceObject* inPlace = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
            inPlace->InPlaceDeactivate();
            inPlace->Release();
        }
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        object->Release();
    }
    m_controlWindow = nullptr;
}

void MKControlSite::Move(const RECT& rect)
{
    m_rect = rect;
    IOleInPlaceObject* inPlace = nullptr;
    if (m_object && SUCCEEDED(m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
        inPlace->SetObjectRects(&rect, &rect);
        inPlace->Release();
    }
}

HRESULT MKControlSite::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IOleControlSite)
        *out = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG MKControlSite::AddRef()
{
    return ULONG(++m_refs);
}

ULONG MKControlSite::Release()
{
    LONG left = --m_refs;
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT MKControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT MKControlSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT MKControlSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_parent;
    return S_OK;
}

HRESULT MKControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                        LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !document || !position || !clip || !info)
        return E_POINTER;
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = m_rect;
    *clip = m_rect;
    info->fMDIApp = FALSE;
    info->hwndFrame = m_parent;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT MKControlSite::OnPosRectChange(LPCRECT rect)
{
    if (rect)
        Move(*rect);
    return S_OK;
}

HRESULT MKControlSite::GetExtendedControl(IDispatch** control)
{
    if (control)
        *control = nullptr;
    return E_NOTIMPL;
}

HRESULT MKControlSite::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT MKControlSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (!result)
        return DISP_E_PARAMNOTOPTIONAL;
    VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
