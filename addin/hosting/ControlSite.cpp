#include "addin/hosting/ControlSite.h"

#include "addin/hosting/ControlPropertyBag.h"
#include "addin/hosting/ControlSiteOwner.h"
#include "addin/hosting/SitePropertyNotifySink.h"
#include "addin/hosting/SiteUIWindow.h"
#include "base/MKCrashGuard.h"

#include <olectl.h>

// Declared by mshtmhst.h, missing from mingw's uuid library.
extern "C" const IID IID_IDocHostUIHandler2 = {
    0x3050F6D0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

namespace {

// Every call that reaches the owner or another object runs guarded: a fault
// there answers E_UNEXPECTED (or `failure`) to the control.
template <class Body>
HRESULT Guarded(MKExceptionInfo& info, Body&& body, HRESULT failure = E_UNEXPECTED)
{
    return MKCrashGuard(info, failure, [&]() -> HRESULT { return body(); });
}

template <class I>
void ReleaseInto(I*& field)
{
    if (field) {
        I* old = field;
        field = nullptr;
        old->Release();
    }
}

}  // namespace

ControlSite::ControlSite(ControlSiteOwner* owner) : m_owner(owner)
{
    m_propertyNotify = new SitePropertyNotifySink(this);
    m_propertyNotify->AddRef();
}

ControlSite::~ControlSite()
{
    if (m_control)
        TearDown();
    ReleaseInto(m_uiWindow);
    ReleaseInto(m_propertyNotify);
    BalanceComInit();
}

int ControlSite::PixelsToHimetric(int pixels, int dpi)
{
    if (dpi <= 0)
        return 0;
    return (pixels * 2540 + (dpi >> 1)) / dpi;
}

IViewObject* ControlSite::GetViewObject() const
{
    return m_viewObjectEx ? static_cast<IViewObject*>(m_viewObjectEx) : m_viewObject;
}

// --- The owner's operations --------------------------------------------------

HRESULT ControlSite::CreateControl()
{
    if (m_control)
        return S_OK;
    // Balanced once the control is gone (DestroyControl): the control must not
    // outlive the apartment it was made in.
    if (!m_comInitialized)
        m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
    const CLSID* clsid = m_owner->GetControlClsid();
    if (!clsid)
        return E_FAIL;
    HRESULT hr =
        CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&m_control));
    if (FAILED(hr) || !m_control) {
        m_control = nullptr;
        return FAILED(hr) ? hr : E_FAIL;
    }
    hr = m_control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&m_oleObject));
    if (FAILED(hr))
        return hr;
    hr = m_oleObject->SetClientSite(static_cast<IOleClientSite*>(this));
    if (FAILED(hr))
        return hr;
    m_oleObject->Advise(static_cast<IAdviseSink*>(this), &m_adviseCookie);

    hr = m_control->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&m_viewObjectEx));
    if (FAILED(hr)) {
        m_viewObjectEx = nullptr;
        hr = m_control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&m_viewObject));
        if (FAILED(hr)) {
            m_viewObject = nullptr;
            return hr;
        }
    }
    GetViewObject()->SetAdvise(DVASPECT_CONTENT, ADVF_PRIMEFIRST, static_cast<IAdviseSink*>(this));

    hr = m_control->QueryInterface(IID_IOleInPlaceObjectWindowless, reinterpret_cast<void**>(&m_windowless));
    if (FAILED(hr)) {
        m_windowless = nullptr;
        hr = m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlaceObject));
        if (FAILED(hr)) {
            m_inPlaceObject = nullptr;
            return hr;
        }
    }
    Connect(IID_IPropertyNotifySink, static_cast<IPropertyNotifySink*>(m_propertyNotify));
    return S_OK;
}

HRESULT ControlSite::LoadProperties(ControlPropertyBag* bag)
{
    if (!m_oleObject || !bag)
        return E_FAIL;
    bag->AddRef();
    HRESULT hr;
    IPersistPropertyBag2* persist2 = nullptr;
    IPersistPropertyBag* persist = nullptr;
    if (SUCCEEDED(hr = m_oleObject->QueryInterface(IID_IPersistPropertyBag2, reinterpret_cast<void**>(&persist2)))) {
        // A control that refuses some of the values still runs with the
        // rest: its Load answer does not stop it from being shown.
        persist2->Load(static_cast<IPropertyBag2*>(bag), nullptr);
        persist2->Release();
    } else if (SUCCEEDED(
                   hr = m_oleObject->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist)))) {
        persist->Load(static_cast<IPropertyBag*>(bag), nullptr);
        persist->Release();
    }
    bag->Release();
    return hr;
}

void ControlSite::SetObjectRect(const RECT& rect)
{
    if (EqualRect(&rect, &m_position))
        return;
    const RECT previous = m_position;
    m_position = rect;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (m_oleObject && (width != previous.right - previous.left || height != previous.bottom - previous.top)) {
        HDC screen = ::GetDC(nullptr);
        const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        SIZEL size = {PixelsToHimetric(width, dpiX), PixelsToHimetric(height, dpiY)};
        m_oleObject->SetExtent(DVASPECT_CONTENT, &size);
    }
    if (!m_inPlaceActive)
        return;
    if (m_windowless) {
        ++m_positionChangeDepth;
        m_windowless->SetObjectRects(&m_position, &m_position);
        --m_positionChangeDepth;
    } else if (m_inPlaceObject) {
        m_inPlaceObject->SetObjectRects(&m_position, &m_position);
    }
}

HRESULT ControlSite::InPlaceActivate(const RECT& rect)
{
    if (!m_oleObject)
        return E_POINTER;
    SetObjectRect(rect);
    if (m_inPlaceActive)
        return S_OK;
    AddRef();
    HRESULT hr =
        m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, nullptr, nullptr);
    Release();
    return hr;
}

HRESULT ControlSite::Connect(REFIID iid, IUnknown* sink)
{
    if (!m_oleObject)
        return E_FAIL;
    if (!m_connectionPoints) {
        HRESULT hr =
            m_oleObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&m_connectionPoints));
        if (FAILED(hr)) {
            m_connectionPoints = nullptr;
            return hr;
        }
        if (!m_connectionPoints)
            return E_UNEXPECTED;
    }
    IConnectionPoint* point = nullptr;
    HRESULT hr = m_connectionPoints->FindConnectionPoint(iid, &point);
    if (FAILED(hr))
        return hr;
    if (!point)
        return E_UNEXPECTED;
    DWORD cookie = 0;
    hr = point->Advise(sink, &cookie);
    // Kept also when Advise failed: the point is released with the others.
    if (!m_connections.Add(Connection{point, cookie})) {
        // Not recorded, so never undone later: undone now.
        if (SUCCEEDED(hr))
            point->Unadvise(cookie);
        point->Release();
        return E_OUTOFMEMORY;
    }
    return hr;
}

void ControlSite::DisconnectAll()
{
    for (int i = 0; i < m_connections.GetCount(); ++i) {
        Connection& connection = m_connections[i];
        if (!connection.point)
            continue;
        if (connection.cookie) {
            connection.point->Unadvise(connection.cookie);
            connection.cookie = 0;
        }
        ReleaseInto(connection.point);
    }
    m_connections.RemoveAll();
    ReleaseInto(m_connectionPoints);
}

void ControlSite::DestroyControl()
{
    if (!m_control) {
        BalanceComInit();
        return;
    }
    // The control's last calls may drop the references it holds on the site.
    AddRef();
    TearDown();
    Release();
}

void ControlSite::TearDown()
{
    if (m_inPlaceActive) {
        if (m_windowless)
            m_windowless->InPlaceDeactivate();
        else if (m_inPlaceObject)
            m_inPlaceObject->InPlaceDeactivate();
    }
    if (m_oleObject) {
        m_oleObject->Unadvise(m_adviseCookie);
        m_adviseCookie = 0;
    }
    if (IViewObject* view = GetViewObject())
        view->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
    DisconnectAll();
    if (m_oleObject)
        m_oleObject->Close(OLECLOSE_NOSAVE);
    ReleaseInto(m_activeObject);
    ReleaseInto(m_windowless);
    ReleaseInto(m_inPlaceObject);
    ReleaseInto(m_viewObjectEx);
    ReleaseInto(m_viewObject);
    if (m_oleObject) {
        m_oleObject->SetClientSite(nullptr);
        ReleaseInto(m_oleObject);
    }
    ReleaseInto(m_control);
    ReleaseInto(m_frame);
    ReleaseInto(m_uiWindow);
    BalanceComInit();
}

void ControlSite::BalanceComInit()
{
    if (m_comInitialized) {
        m_comInitialized = false;
        CoUninitialize();
    }
}

// --- IUnknown ----------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IStorage)
        *out = static_cast<IStorage*>(this);
    else if (iid == IID_IOleControlSite)
        *out = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx || iid == IID_IOleInPlaceSiteWindowless)
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IServiceProvider)
        *out = static_cast<IServiceProvider*>(this);
    else if (iid == IID_IDocHostUIHandler || iid == IID_IDocHostUIHandler2)
        *out = static_cast<IDocHostUIHandler2*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ControlSite::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG STDMETHODCALLTYPE ControlSite::Release()
{
    static MKExceptionInfo s_info;
    const LONG count = InterlockedDecrement(&m_refs);
    if (count == 0)
        MKCrashGuard(s_info, [&] { delete this; });
    return count;
}

// --- IDispatch ---------------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                              VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&]() -> HRESULT {
        switch (id) {
        case DISPID_AMBIENT_APPEARANCE:
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_USERMODE:
        case DISPID_AMBIENT_BACKCOLOR: break;
        default: return m_owner->InvokeAmbient(id, iid, locale, flags, params, result, exception, argumentError);
        }
        if (!result)
            return E_POINTER;
        VariantInit(result);
        switch (id) {
        case DISPID_AMBIENT_APPEARANCE:
            result->vt = VT_I4;
            result->lVal = m_appearance;
            break;
        case DISPID_AMBIENT_UIDEAD:
            result->vt = VT_BOOL;
            result->boolVal = m_uiDead ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case DISPID_AMBIENT_USERMODE:
            result->vt = VT_BOOL;
            result->boolVal = m_userMode ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        default:
            result->vt = VT_I4;
            result->lVal = m_backColor;
            break;
        }
        return S_OK;
    });
}

// --- IOleClientSite ----------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::GetMoniker(DWORD assign, DWORD which, IMoniker** moniker)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->GetMoniker(assign, which, moniker); });
}

HRESULT STDMETHODCALLTYPE ControlSite::GetContainer(IOleContainer** container)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->GetContainer(container); });
}

HRESULT STDMETHODCALLTYPE ControlSite::ShowObject()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->ShowObject(); });
}

HRESULT STDMETHODCALLTYPE ControlSite::OnShowWindow(BOOL show)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->OnShowWindow(show != FALSE); });
}

// --- IAdviseSink -------------------------------------------------------------

void STDMETHODCALLTYPE ControlSite::OnViewChange(DWORD aspect, LONG index)
{
    static MKExceptionInfo s_info;
    MKCrashGuard(s_info, [&] { m_owner->OnViewChange(aspect, index); });
}

void STDMETHODCALLTYPE ControlSite::OnSave()
{
    static MKExceptionInfo s_info;
    MKCrashGuard(s_info, [&] { m_owner->OnSave(); });
}

// --- In-place site -----------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::GetWindow(HWND* window)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->GetWindow(window); });
}

HRESULT STDMETHODCALLTYPE ControlSite::CanInPlaceActivate()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->CanInPlaceActivate(); });
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceActivate()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] {
        m_inPlaceActive = true;
        m_owner->OnInPlaceActivate();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlSite::OnUIActivate()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->OnUIActivate(); });
}

HRESULT STDMETHODCALLTYPE ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                        LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&]() -> HRESULT {
        if (frame)
            *frame = nullptr;
        if (document)
            *document = nullptr;
        if (info && info->cb >= sizeof(OLEINPLACEFRAMEINFO)) {
            info->fMDIApp = FALSE;
            info->hwndFrame = nullptr;
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        if (position)
            *position = m_position;
        if (clip)
            *clip = m_position;
        if (!m_frame) {
            m_frame = static_cast<IOleInPlaceFrame*>(this);
            m_frame->AddRef();
        }
        if (frame) {
            *frame = m_frame;
            m_frame->AddRef();
        }
        if (!m_uiWindow) {
            m_uiWindow = new SiteUIWindow();
            m_uiWindow->AddRef();
        }
        if (document) {
            *document = m_uiWindow;
            m_uiWindow->AddRef();
        }
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlSite::OnUIDeactivate(BOOL undoable)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->OnUIDeactivate(undoable); });
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceDeactivate()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] {
        m_inPlaceActive = false;
        ReleaseInto(m_frame);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] {
        m_inPlaceActive = true;
        if (noRedraw)
            *noRedraw = FALSE;
        m_owner->OnInPlaceActivateEx();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlSite::RequestUIActivate()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->RequestUIActivate(); });
}

HRESULT STDMETHODCALLTYPE ControlSite::GetDC(LPCRECT rect, DWORD flags, HDC* dc)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->GetDC(rect, flags, dc); });
}

HRESULT STDMETHODCALLTYPE ControlSite::ReleaseDC(HDC dc)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->ReleaseDC(dc); });
}

HRESULT STDMETHODCALLTYPE ControlSite::InvalidateRect(LPCRECT rect, BOOL erase)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->InvalidateRect(rect, erase != FALSE, m_positionChangeDepth == 0); });
}

// --- In-place frame ----------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] {
        if (object)
            object->AddRef();
        ReleaseInto(m_activeObject);
        m_activeObject = object;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE ControlSite::SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->SetMenu(shared, descriptor, activeObject); });
}

HRESULT STDMETHODCALLTYPE ControlSite::SetStatusText(LPCOLESTR text)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->SetStatusText(text); });
}

// --- IOleControlSite ---------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::OnFocus(BOOL gained)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] {
        if (gained)
            m_owner->OnFocusGained();
        else
            m_owner->OnFocusLost();
        return S_OK;
    });
}

// --- IServiceProvider --------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::QueryService(REFGUID service, REFIID iid, void** object)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->QueryService(service, iid, object); });
}

// --- IDocHostUIHandler2 ------------------------------------------------------

HRESULT STDMETHODCALLTYPE ControlSite::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                                       IDispatch* object)
{
    static MKExceptionInfo s_info;
    // After a fault the control goes on with its own menu.
    return Guarded(
        s_info, [&] { return m_owner->ShowContextMenu(id, point, commandTarget, object); }, S_FALSE);
}

HRESULT STDMETHODCALLTYPE ControlSite::GetHostInfo(DOCHOSTUIINFO* info)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->GetHostInfo(info); });
}

HRESULT STDMETHODCALLTYPE ControlSite::ShowUI(DWORD id, IOleInPlaceActiveObject* active,
                                              IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                                              IOleInPlaceUIWindow* document)
{
    static MKExceptionInfo s_info;
    return Guarded(
        s_info, [&] { return m_owner->ShowUI(id, active, commandTarget, frame, document); }, S_FALSE);
}

HRESULT STDMETHODCALLTYPE ControlSite::HideUI()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->HideUI(); });
}

HRESULT STDMETHODCALLTYPE ControlSite::UpdateUI()
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&] { return m_owner->UpdateUI(); });
}

HRESULT STDMETHODCALLTYPE ControlSite::GetOverrideKeyPath(LPOLESTR* key, DWORD reserved)
{
    static MKExceptionInfo s_info;
    return Guarded(s_info, [&]() -> HRESULT {
        if (!key)
            return E_INVALIDARG;
        *key = nullptr;
        MKString path;
        HRESULT hr = m_owner->GetOverrideKeyPath(path, reserved);
        if (FAILED(hr) || path.IsEmpty())
            return hr;
        const size_t bytes = (size_t(path.GetLength()) + 1) * sizeof(wchar_t);
        wchar_t* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
        if (!copy)
            return E_OUTOFMEMORY;
        memcpy(copy, path.GetText(), bytes);
        *key = copy;
        return hr;
    });
}
