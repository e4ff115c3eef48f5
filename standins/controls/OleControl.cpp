#include "standins/controls/OleControl.h"

#include "standins/controls/ControlLog.h"
#include "standins/controls/ControlModule.h"

#include <olectl.h>
#include <algorithm>
#include <cwctype>

namespace standin {
namespace {

const wchar_t kWindowClass[] = L"VistelloStandInControl";
const UINT_PTR kClockTimer = 1;

const wchar_t* MessageName(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: return L"WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return L"WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return L"WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return L"WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return L"WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return L"WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return L"WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return L"WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK: return L"WM_MBUTTONDBLCLK";
    case WM_MOUSEWHEEL: return L"WM_MOUSEWHEEL";
    case WM_XBUTTONDOWN: return L"WM_XBUTTONDOWN";
    case WM_XBUTTONUP: return L"WM_XBUTTONUP";
    case WM_XBUTTONDBLCLK: return L"WM_XBUTTONDBLCLK";
    case WM_MOUSEHWHEEL: return L"WM_MOUSEHWHEEL";
    case WM_KEYDOWN: return L"WM_KEYDOWN";
    case WM_KEYUP: return L"WM_KEYUP";
    case WM_CHAR: return L"WM_CHAR";
    case WM_DEADCHAR: return L"WM_DEADCHAR";
    case WM_SYSKEYDOWN: return L"WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return L"WM_SYSKEYUP";
    case WM_SYSCHAR: return L"WM_SYSCHAR";
    case WM_SYSDEADCHAR: return L"WM_SYSDEADCHAR";
    case WM_UNICHAR: return L"WM_UNICHAR";
    default: return nullptr;
    }
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// The text form of a property value; false for values with none.
bool ValueText(const VARIANT& value, std::wstring& text)
{
    VARIANT converted;
    VariantInit(&converted);
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR)))
        return false;
    text = converted.bstrVal ? converted.bstrVal : L"";
    VariantClear(&converted);
    return true;
}

// What the log adds after a property's value: nothing for text, the type of
// anything else (" as VT_I4").
std::wstring TypeNote(const VARIANT& value)
{
    switch (value.vt) {
    case VT_BSTR: return L"";
    case VT_I4: return L" as VT_I4";
    case VT_I2: return L" as VT_I2";
    case VT_BOOL: return L" as VT_BOOL";
    default: return L" as vt " + std::to_wstring(value.vt);
    }
}

template <class I>
void Replace(I*& field, I* value)
{
    if (value)
        value->AddRef();
    if (field)
        field->Release();
    field = value;
}

}  // namespace

OleControl::OleControl(const wchar_t* name, const CLSID& clsid, const IID* events, const wchar_t* eventsName)
    : m_name(name), m_clsid(clsid)
{
    auto log = [this](const std::wstring& line) { Log(line); };
    m_propertyNotify = std::make_unique<EventPoint>(this, IID_IPropertyNotifySink, false, L"IPropertyNotifySink", log);
    if (events)
        m_events = std::make_unique<EventPoint>(this, *events, true, eventsName, log);
}

OleControl::~OleControl()
{
    StopClock();
    if (m_window)
        DestroyWindow(m_window);
    Replace<IOleInPlaceSiteWindowless>(m_windowlessSite, nullptr);
    Replace<IOleInPlaceSite>(m_inPlaceSite, nullptr);
    Replace<IOleClientSite>(m_site, nullptr);
    Replace<IAdviseSink>(m_oleAdvise, nullptr);
    Replace<IAdviseSink>(m_viewAdvise, nullptr);
}

void OleControl::Log(const std::wstring& line) const
{
    ControlLog::Write(m_name, line);
}

HRESULT OleControl::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject || iid == IID_IOleInPlaceObjectWindowless)
        *out = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx)
        *out = static_cast<IViewObjectEx*>(this);
    else if (iid == IID_IPersist || iid == IID_IPersistPropertyBag)
        *out = static_cast<IPersistPropertyBag*>(this);
    else if (iid == IID_IPersistPropertyBag2)
        *out = static_cast<IPersistPropertyBag2*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else
        *out = QueryOwn(iid);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG OleControl::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

ULONG OleControl::Release()
{
    LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) {
        Log(L"released");
        delete this;
    }
    return left;
}

// IOleObject

HRESULT OleControl::SetClientSite(IOleClientSite* site)
{
    Log(std::wstring(L"IOleObject.SetClientSite(") + (site ? L"site" : L"null") + L")");
    Replace(m_site, site);
    if (site)
        OnClientSiteSet();
    return S_OK;
}

HRESULT OleControl::GetClientSite(IOleClientSite** site)
{
    Log(L"IOleObject.GetClientSite");
    if (!site)
        return E_POINTER;
    *site = m_site;
    if (m_site)
        m_site->AddRef();
    return S_OK;
}

HRESULT OleControl::SetHostNames(LPCOLESTR app, LPCOLESTR object)
{
    Log(L"IOleObject.SetHostNames(" + Quote(app) + L", " + Quote(object) + L")");
    return S_OK;
}

HRESULT OleControl::Close(DWORD option)
{
    Log(L"IOleObject.Close(" + std::to_wstring(option) + L")");
    AddRef();
    Deactivate();
    StopClock();
    Release();
    return S_OK;
}

HRESULT OleControl::SetMoniker(DWORD, IMoniker*)
{
    Log(L"IOleObject.SetMoniker");
    return E_NOTIMPL;
}

HRESULT OleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    Log(L"IOleObject.GetMoniker");
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::InitFromData(IDataObject*, BOOL, DWORD)
{
    Log(L"IOleObject.InitFromData");
    return E_NOTIMPL;
}

HRESULT OleControl::GetClipboardData(DWORD, IDataObject** data)
{
    Log(L"IOleObject.GetClipboardData");
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect)
{
    Log(L"IOleObject.DoVerb(" + std::to_wstring(verb) + L")");
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_INPLACEACTIVATE:
        return ActivateInPlace(site ? site : m_site, parent, rect);
    case OLEIVERB_HIDE:
        if (m_window)
            ShowWindow(m_window, SW_HIDE);
        return S_OK;
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT OleControl::EnumVerbs(IEnumOLEVERB** verbs)
{
    Log(L"IOleObject.EnumVerbs");
    if (verbs)
        *verbs = nullptr;
    return OLE_S_USEREG;
}

HRESULT OleControl::Update()
{
    Log(L"IOleObject.Update");
    return S_OK;
}

HRESULT OleControl::IsUpToDate()
{
    Log(L"IOleObject.IsUpToDate");
    return S_OK;
}

HRESULT OleControl::GetUserClassID(CLSID* clsid)
{
    Log(L"IOleObject.GetUserClassID");
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT OleControl::GetUserType(DWORD, LPOLESTR* type)
{
    Log(L"IOleObject.GetUserType");
    if (type)
        *type = nullptr;
    return OLE_S_USEREG;
}

HRESULT OleControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    Log(L"IOleObject.SetExtent(" + std::to_wstring(aspect) + L", " + std::to_wstring(size->cx) + L"," +
        std::to_wstring(size->cy) + L")");
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    m_extent = *size;
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, SIZEL* size)
{
    Log(L"IOleObject.GetExtent");
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = m_extent;
    return S_OK;
}

HRESULT OleControl::Advise(IAdviseSink* sink, DWORD* cookie)
{
    Log(std::wstring(L"IOleObject.Advise(") + (sink ? L"sink" : L"null") + L")");
    if (!sink || !cookie)
        return E_POINTER;
    Replace(m_oleAdvise, sink);
    *cookie = 1;
    return S_OK;
}

HRESULT OleControl::Unadvise(DWORD cookie)
{
    Log(L"IOleObject.Unadvise(" + std::to_wstring(cookie) + L")");
    if (cookie != 1 || !m_oleAdvise)
        return OLE_E_NOCONNECTION;
    Replace<IAdviseSink>(m_oleAdvise, nullptr);
    return S_OK;
}

HRESULT OleControl::EnumAdvise(IEnumSTATDATA** advise)
{
    Log(L"IOleObject.EnumAdvise");
    if (advise)
        *advise = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::GetMiscStatus(DWORD, DWORD* status)
{
    Log(L"IOleObject.GetMiscStatus");
    if (!status)
        return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
              OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

HRESULT OleControl::SetColorScheme(LOGPALETTE*)
{
    Log(L"IOleObject.SetColorScheme");
    return E_NOTIMPL;
}

HRESULT OleControl::ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT rect)
{
    if (m_inPlace)
        return S_OK;
    if (!site)
        return E_UNEXPECTED;
    HRESULT hr = site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_inPlaceSite));
    if (FAILED(hr) || !m_inPlaceSite) {
        m_inPlaceSite = nullptr;
        Log(L"host IOleInPlaceSite missing");
        return E_NOINTERFACE;
    }
    hr = m_inPlaceSite->CanInPlaceActivate();
    if (hr != S_OK) {
        Log(L"host CanInPlaceActivate = " + Hex(hr));
        Replace<IOleInPlaceSite>(m_inPlaceSite, nullptr);
        return E_FAIL;
    }
    bool windowless = false;
    if (SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&m_windowlessSite))) &&
        m_windowlessSite)
        windowless = WantsWindowless() && m_windowlessSite->CanWindowlessActivate() == S_OK;
    else
        m_windowlessSite = nullptr;
    if (m_windowlessSite) {
        BOOL noRedraw = TRUE;
        m_windowlessSite->OnInPlaceActivateEx(&noRedraw, windowless ? ACTIVATE_WINDOWLESS : 0);
    } else {
        m_inPlaceSite->OnInPlaceActivate();
    }

    HWND siteWindow = nullptr;
    if (FAILED(m_inPlaceSite->GetWindow(&siteWindow)) || !siteWindow)
        siteWindow = parent;
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position = rect ? *rect : RECT{};
    RECT clip = position;
    OLEINPLACEFRAMEINFO info = {sizeof(info)};
    if (SUCCEEDED(m_inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &info)))
        m_position = position;
    else if (rect)
        m_position = *rect;
    if (frame)
        frame->Release();
    if (document)
        document->Release();
    Log(std::wstring(L"host in place ") + (windowless ? L"windowless" : L"windowed") + L" at " +
        RectText(m_position));

    if (!windowless) {
        m_window = CreateWindowExW(0, MAKEINTATOM(WindowClass()), L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                   m_position.left, m_position.top, m_position.right - m_position.left,
                                   m_position.bottom - m_position.top, siteWindow, nullptr, ControlModule::Instance(),
                                   this);
        if (!m_window) {
            Log(L"host window refused");
            m_inPlaceSite->OnInPlaceDeactivate();
            Replace<IOleInPlaceSiteWindowless>(m_windowlessSite, nullptr);
            Replace<IOleInPlaceSite>(m_inPlaceSite, nullptr);
            return E_FAIL;
        }
    }
    m_inPlace = true;
    m_windowless = windowless;
    OnActivated();
    Invalidate();
    return S_OK;
}

// IOleInPlaceObjectWindowless

HRESULT OleControl::GetWindow(HWND* window)
{
    Log(L"IOleInPlaceObject.GetWindow");
    if (!window)
        return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
}

HRESULT OleControl::ContextSensitiveHelp(BOOL)
{
    Log(L"IOleInPlaceObject.ContextSensitiveHelp");
    return E_NOTIMPL;
}

HRESULT OleControl::InPlaceDeactivate()
{
    Log(L"IOleInPlaceObject.InPlaceDeactivate");
    Deactivate();
    return S_OK;
}

void OleControl::Deactivate()
{
    if (!m_inPlace)
        return;
    m_inPlace = false;
    m_windowless = false;
    if (m_window) {
        HWND window = m_window;
        m_window = nullptr;
        DestroyWindow(window);
    }
    IOleInPlaceSite* site = m_inPlaceSite;
    m_inPlaceSite = nullptr;
    Replace<IOleInPlaceSiteWindowless>(m_windowlessSite, nullptr);
    site->OnInPlaceDeactivate();
    site->Release();
}

HRESULT OleControl::UIDeactivate()
{
    Log(L"IOleInPlaceObject.UIDeactivate");
    return S_OK;
}

HRESULT OleControl::SetObjectRects(LPCRECT position, LPCRECT clip)
{
    if (!position)
        return E_POINTER;
    Log(L"IOleInPlaceObject.SetObjectRects(" + RectText(*position) + L", " + (clip ? RectText(*clip) : L"null") +
        L")");
    m_position = *position;
    if (m_window)
        MoveWindow(m_window, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    else
        Invalidate();
    return S_OK;
}

HRESULT OleControl::ReactivateAndUndo()
{
    Log(L"IOleInPlaceObject.ReactivateAndUndo");
    return E_NOTIMPL;
}

HRESULT OleControl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    const wchar_t* name = MessageName(message);
    Log(L"IOleInPlaceObjectWindowless.OnWindowMessage(" +
        (name ? std::wstring(name) : std::to_wstring(message)) + L", " + std::to_wstring(wParam) + L")");
    if (result)
        *result = 0;
    return S_FALSE;
}

HRESULT OleControl::GetDropTarget(IDropTarget** target)
{
    Log(L"IOleInPlaceObjectWindowless.GetDropTarget");
    if (target)
        *target = nullptr;
    return E_NOTIMPL;
}

// IViewObjectEx

HRESULT OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC draw, LPCRECTL bounds, LPCRECTL,
                         BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    RECT area = bounds ? RECT{bounds->left, bounds->top, bounds->right, bounds->bottom} : m_position;
    Log(L"IViewObject.Draw(" + RectText(area) + L")");
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!draw)
        return E_INVALIDARG;
    Paint(draw, area, m_windowless || (!m_inPlace && WantsWindowless()));
    return S_OK;
}

HRESULT OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours)
{
    Log(L"IViewObject.GetColorSet");
    if (colours)
        *colours = nullptr;
    return S_FALSE;
}

HRESULT OleControl::Freeze(DWORD, LONG, void*, DWORD* freeze)
{
    Log(L"IViewObject.Freeze");
    if (freeze)
        *freeze = 0;
    return E_NOTIMPL;
}

HRESULT OleControl::Unfreeze(DWORD)
{
    Log(L"IViewObject.Unfreeze");
    return E_NOTIMPL;
}

HRESULT OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    Log(L"IViewObject.SetAdvise(" + std::to_wstring(aspects) + L", " + std::to_wstring(flags) + L", " +
        (sink ? L"sink" : L"null") + L")");
    Replace(m_viewAdvise, sink);
    m_viewAspects = aspects;
    m_viewFlags = flags;
    if (sink && (flags & ADVF_PRIMEFIRST))
        sink->OnViewChange(DVASPECT_CONTENT, -1);
    return S_OK;
}

HRESULT OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    Log(L"IViewObject.GetAdvise");
    if (aspects)
        *aspects = m_viewAspects;
    if (flags)
        *flags = m_viewFlags;
    if (sink) {
        *sink = m_viewAdvise;
        if (m_viewAdvise)
            m_viewAdvise->AddRef();
    }
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    Log(L"IViewObject2.GetExtent");
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = m_extent;
    return S_OK;
}

HRESULT OleControl::GetRect(DWORD aspect, LPRECTL rect)
{
    Log(L"IViewObjectEx.GetRect");
    if (!rect)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *rect = {m_position.left, m_position.top, m_position.right, m_position.bottom};
    return S_OK;
}

HRESULT OleControl::GetViewStatus(DWORD* status)
{
    Log(L"IViewObjectEx.GetViewStatus");
    if (!status)
        return E_POINTER;
    *status = WantsWindowless() ? 0 : VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
    return S_OK;
}

HRESULT OleControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* result)
{
    Log(L"IViewObjectEx.QueryHitPoint(" + std::to_wstring(point.x) + L"," + std::to_wstring(point.y) + L")");
    if (!bounds || !result)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *result = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT OleControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* result)
{
    Log(L"IViewObjectEx.QueryHitRect");
    if (!bounds || !rect || !result)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    RECT overlap;
    *result = IntersectRect(&overlap, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT OleControl::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL)
{
    Log(L"IViewObjectEx.GetNaturalExtent");
    return E_NOTIMPL;
}

// Persistence

HRESULT OleControl::GetClassID(CLSID* clsid)
{
    Log(L"IPersist.GetClassID");
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT OleControl::InitNew()
{
    Log(L"IPersistPropertyBag.InitNew");
    return S_OK;
}

HRESULT OleControl::Load(IPropertyBag* bag, IErrorLog*)
{
    ++m_loads;
    Log(L"IPersistPropertyBag.Load" + (m_loads > 1 ? L" (load " + std::to_wstring(m_loads) + L")" : std::wstring()));
    if (!bag)
        return E_POINTER;
    LoadFromBag(bag);
    OnPropertiesLoaded();
    return S_OK;
}

void OleControl::LoadFromBag(IPropertyBag* bag)
{
    std::vector<std::wstring> names = BagNames();
    names.push_back(L"_cx");
    names.push_back(L"_cy");
    for (const std::wstring& name : names) {
        VARIANT value;
        VariantInit(&value);
        // A bag may hand out a text only when asked for one; numbers stored
        // as numbers then need the second read.
        HRESULT hr = bag->Read(name.c_str(), &value, nullptr);
        if (FAILED(hr)) {
            VariantClear(&value);
            value.vt = VT_I4;
            value.lVal = 0;
            hr = bag->Read(name.c_str(), &value, nullptr);
        }
        std::wstring text;
        if (SUCCEEDED(hr) && ValueText(value, text)) {
            Log(L"property " + name + L"=" + Quote(text.c_str()) + TypeNote(value));
            ApplyProperty(Lower(name), text);
        }
        VariantClear(&value);
    }
}

HRESULT OleControl::Save(IPropertyBag*, BOOL, BOOL)
{
    Log(L"IPersistPropertyBag.Save");
    return E_NOTIMPL;
}

HRESULT OleControl::Load(IPropertyBag2* bag, IErrorLog*)
{
    ++m_loads;
    Log(L"IPersistPropertyBag2.Load" + (m_loads > 1 ? L" (load " + std::to_wstring(m_loads) + L")" : std::wstring()));
    if (!bag)
        return E_POINTER;
    ULONG count = 0;
    HRESULT hr = bag->CountProperties(&count);
    if (FAILED(hr))
        return hr;
    if (count == 0) {
        OnPropertiesLoaded();
        return S_OK;
    }
    std::vector<PROPBAG2> infos(count);
    ULONG filled = 0;
    hr = bag->GetPropertyInfo(0, count, infos.data(), &filled);
    if (FAILED(hr))
        return hr;
    filled = std::min(filled, count);
    std::vector<VARIANT> values(filled);
    std::vector<HRESULT> results(filled, E_FAIL);
    for (VARIANT& value : values)
        VariantInit(&value);
    hr = bag->Read(filled, infos.data(), nullptr, values.data(), results.data());
    for (ULONG i = 0; i < filled; ++i) {
        std::wstring name = infos[i].pstrName ? infos[i].pstrName : L"";
        std::wstring text;
        if (SUCCEEDED(hr) && SUCCEEDED(results[i]) && ValueText(values[i], text)) {
            Log(L"property " + name + L"=" + Quote(text.c_str()) + TypeNote(values[i]));
            ApplyProperty(Lower(name), text);
        }
        VariantClear(&values[i]);
        CoTaskMemFree(infos[i].pstrName);
    }
    OnPropertiesLoaded();
    return S_OK;
}

HRESULT OleControl::Save(IPropertyBag2*, BOOL, BOOL)
{
    Log(L"IPersistPropertyBag2.Save");
    return E_NOTIMPL;
}

HRESULT OleControl::IsDirty()
{
    Log(L"IPersistPropertyBag2.IsDirty");
    return S_FALSE;
}

// IConnectionPointContainer

HRESULT OleControl::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    Log(L"IConnectionPointContainer.EnumConnectionPoints");
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    EventPoint* found = nullptr;
    if (iid == m_propertyNotify->Interface())
        found = m_propertyNotify.get();
    else if (m_events && iid == m_events->Interface())
        found = m_events.get();
    wchar_t text[40];
    StringFromGUID2(iid, text, 40);
    Log(std::wstring(L"IConnectionPointContainer.FindConnectionPoint(") + text + L") = " +
        Hex(found ? S_OK : CONNECT_E_NOCONNECTION));
    if (!found)
        return CONNECT_E_NOCONNECTION;
    *point = found;
    found->AddRef();
    return S_OK;
}

// Drawing, window and clock

void OleControl::Invalidate()
{
    if (m_window) {
        InvalidateRect(m_window, nullptr, FALSE);
    } else if (m_inPlace && m_windowless && m_windowlessSite) {
        if (FAILED(m_windowlessSite->InvalidateRect(nullptr, FALSE))) {
            HWND siteWindow = nullptr;
            if (SUCCEEDED(m_windowlessSite->GetWindow(&siteWindow)) && siteWindow)
                InvalidateRect(siteWindow, &m_position, FALSE);
        }
    }
    if (m_viewAdvise)
        m_viewAdvise->OnViewChange(DVASPECT_CONTENT, -1);
}

void OleControl::StartClock(UINT milliseconds)
{
    if (!m_clock)
        m_clock = CreateWindowExW(0, MAKEINTATOM(WindowClass()), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  ControlModule::Instance(), this);
    if (m_clock)
        SetTimer(m_clock, kClockTimer, milliseconds, nullptr);
}

void OleControl::StopClock()
{
    if (!m_clock)
        return;
    HWND clock = m_clock;
    m_clock = nullptr;
    KillTimer(clock, kClockTimer);
    DestroyWindow(clock);
}

ATOM OleControl::WindowClass()
{
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXW windowClass = {sizeof(windowClass)};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ControlModule::Instance();
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        atom = RegisterClassExW(&windowClass);
    }
    return atom;
}

LRESULT CALLBACK OleControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<OleControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!control || message == WM_NCCREATE || message == WM_NCDESTROY)
        return DefWindowProcW(window, message, wParam, lParam);
    return control->OnMessage(window, message, wParam, lParam);
}

LRESULT OleControl::OnChildMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

void OleControl::PaintWindow(HDC dc)
{
    RECT client;
    GetClientRect(m_window, &client);
    Paint(dc, client, false);
}

LRESULT OleControl::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == m_clock) {
        if (message == WM_TIMER && wParam == kClockTimer) {
            AddRef();
            OnTick();
            Release();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    bool handled = false;
    LRESULT answer = OnChildMessage(message, wParam, lParam, handled);
    if (handled)
        return answer;
    if (message == WM_PAINT) {
        if (wParam) {
            PaintWindow(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintWindow(dc);
            EndPaint(window, &paint);
        }
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    if (const wchar_t* name = MessageName(message)) {
        if (message >= WM_MOUSEFIRST)
            Log(L"window " + std::wstring(name) + L"(" + std::to_wstring(static_cast<short>(LOWORD(lParam))) + L"," +
                std::to_wstring(static_cast<short>(HIWORD(lParam))) + L")");
        else
            Log(L"window " + std::wstring(name) + L"(" + Hex(static_cast<HRESULT>(wParam)) + L")");
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace standin
