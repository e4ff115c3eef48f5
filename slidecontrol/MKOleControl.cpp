#include "slidecontrol/MKOleControl.h"

#include "slidecontrol/PlovapointModule.h"

#include <olectl.h>

namespace {

const char kWindowClass[] = "PlovaPointControlWindow";
const wchar_t kContentsStream[] = L"Contents";
constexpr LONG kDefaultExtent = 2540 * 2;  // two inches in HIMETRIC

// HIMETRIC to device pixels of the screen.
SIZE HimetricToPixels(const SIZEL& himetric)
{
    HDC screen = GetDC(nullptr);
    SIZE pixels = {MulDiv(himetric.cx, GetDeviceCaps(screen, LOGPIXELSX), 2540),
                   MulDiv(himetric.cy, GetDeviceCaps(screen, LOGPIXELSY), 2540)};
    ReleaseDC(nullptr, screen);
    return pixels;
}

template <class I>
void ReleaseAndClear(I*& pointer)
{
    if (pointer) {
        I* held = pointer;
        pointer = nullptr;
        held->Release();
    }
}

}  // namespace

MKOleControl::MKOleControl(IUnknown* outer, const CLSID& clsid, const IID& dispatchIid)
    : m_inner(this), m_outer(outer ? outer : &m_inner), m_clsid(clsid), m_dispatchIid(dispatchIid)
{
    m_extent.cx = kDefaultExtent;
    m_extent.cy = kDefaultExtent;
    PlovapointModule::Lock();
}

MKOleControl::~MKOleControl()
{
    if (m_window)
        DestroyWindow(m_window);
    ReleaseAndClear(m_inPlaceSite);
    ReleaseAndClear(m_clientSite);
    ReleaseAndClear(m_oleAdviseHolder);
    ReleaseAndClear(m_dataAdviseHolder);
    ReleaseAndClear(m_viewSink);
    ReleaseAndClear(m_typeLib);
    PlovapointModule::Unlock();
}

// IUnknown

HRESULT MKOleControl::InnerUnknown::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    MKOleControl* c = m_owner;
    void* found = nullptr;
    if (iid == IID_IUnknown)
        found = static_cast<IUnknown*>(this);
    else if (iid == IID_IViewObjectEx || iid == IID_IViewObject2 || iid == IID_IViewObject)
        found = static_cast<IViewObjectEx*>(c);
    else if (iid == IID_IOleInPlaceObjectWindowless || iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
        found = static_cast<IOleInPlaceObjectWindowless*>(c);
    else if (iid == IID_IOleInPlaceActiveObject)
        found = static_cast<IOleInPlaceActiveObject*>(c);
    else if (iid == IID_IOleControl)
        found = static_cast<IOleControl*>(c);
    else if (iid == IID_IOleObject)
        found = static_cast<IOleObject*>(c);
    else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
        found = static_cast<IPersistStreamInit*>(c);
    else if (iid == IID_ISupportErrorInfo)
        found = static_cast<ISupportErrorInfo*>(c);
    else if (iid == IID_ISpecifyPropertyPages)
        found = static_cast<ISpecifyPropertyPages*>(c);
    else if (iid == IID_IQuickActivate)
        found = static_cast<IQuickActivate*>(c);
    else if (iid == IID_IPersistStorage)
        found = static_cast<IPersistStorage*>(c);
    else if (iid == IID_IDataObject)
        found = static_cast<IDataObject*>(c);
    else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
        found = static_cast<IProvideClassInfo2*>(c);
    else
        found = c->QueryOwn(iid);
    if (!found)
        return E_NOINTERFACE;
    static_cast<IUnknown*>(found)->AddRef();
    *out = found;
    return S_OK;
}

ULONG MKOleControl::InnerUnknown::AddRef()
{
    return ULONG(++m_owner->m_refs);
}

ULONG MKOleControl::InnerUnknown::Release()
{
    LONG left = --m_owner->m_refs;
    if (left == 0) {
        // Guards against a release from inside the destructor.
        m_owner->m_refs = 1;
        delete m_owner;
    }
    return ULONG(left);
}

HRESULT MKOleControl::QueryInterface(REFIID iid, void** out)
{
    return m_outer->QueryInterface(iid, out);
}

ULONG MKOleControl::AddRef()
{
    return m_outer->AddRef();
}

ULONG MKOleControl::Release()
{
    return m_outer->Release();
}

// IOleObject

HRESULT MKOleControl::SetClientSite(IOleClientSite* site)
{
    if (site)
        site->AddRef();
    ReleaseAndClear(m_clientSite);
    m_clientSite = site;
    return S_OK;
}

HRESULT MKOleControl::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    *site = m_clientSite;
    if (m_clientSite)
        m_clientSite->AddRef();
    return S_OK;
}

HRESULT MKOleControl::Close(DWORD saveOption)
{
    if (m_inPlaceActive)
        MKOleControl::InPlaceDeactivate();
    if ((saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE) && m_requiresSave && m_clientSite) {
        m_clientSite->SaveObject();
        if (m_oleAdviseHolder)
            m_oleAdviseHolder->SendOnSave();
    }
    ReleaseAndClear(m_inPlaceSite);
    if (m_oleAdviseHolder)
        m_oleAdviseHolder->SendOnClose();
    return S_OK;
}

HRESULT MKOleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT MKOleControl::GetClipboardData(DWORD, IDataObject** data)
{
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

HRESULT MKOleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT rect)
{
    if (site && !m_clientSite)
        SetClientSite(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(verb, rect);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (m_window)
            ShowWindow(m_window, SW_HIDE);
        return S_OK;
    case OLEIVERB_OPEN:
    case OLEIVERB_PROPERTIES:
        return E_NOTIMPL;
    default:
        return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT MKOleControl::EnumVerbs(IEnumOLEVERB** verbs)
{
    return OleRegEnumVerbs(m_clsid, verbs);
}

HRESULT MKOleControl::GetUserClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT MKOleControl::GetUserType(DWORD form, LPOLESTR* type)
{
    return OleRegGetUserType(m_clsid, form, type);
}

HRESULT MKOleControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!size)
        return E_POINTER;
    if (size->cx != m_extent.cx || size->cy != m_extent.cy) {
        m_extent = *size;
        m_requiresSave = true;
        SendOnDataChange();
        FireViewChange();
    }
    return S_OK;
}

HRESULT MKOleControl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!size)
        return E_POINTER;
    *size = m_extent;
    return S_OK;
}

HRESULT MKOleControl::Advise(IAdviseSink* sink, DWORD* cookie)
{
    if (!m_oleAdviseHolder) {
        HRESULT hr = CreateOleAdviseHolder(&m_oleAdviseHolder);
        if (FAILED(hr))
            return hr;
    }
    return m_oleAdviseHolder->Advise(sink, cookie);
}

HRESULT MKOleControl::Unadvise(DWORD cookie)
{
    return m_oleAdviseHolder ? m_oleAdviseHolder->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT MKOleControl::EnumAdvise(IEnumSTATDATA** advise)
{
    if (advise)
        *advise = nullptr;
    return m_oleAdviseHolder ? m_oleAdviseHolder->EnumAdvise(advise) : E_FAIL;
}

HRESULT MKOleControl::GetMiscStatus(DWORD aspect, DWORD* status)
{
    return OleRegGetMiscStatus(m_clsid, aspect, status);
}

// In-place activation

HRESULT MKOleControl::InPlaceActivate(LONG verb, const RECT*)
{
    if (!m_clientSite)
        return S_OK;
    if (!m_inPlaceActive) {
        if (!m_inPlaceSite &&
            FAILED(m_clientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_inPlaceSite))))
            return E_FAIL;
        if (m_inPlaceSite->CanInPlaceActivate() != S_OK)
            return verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_UIACTIVATE ? E_FAIL : S_OK;
        m_inPlaceActive = true;
        m_inPlaceSite->OnInPlaceActivate();
    }
    HWND parent = nullptr;
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position = {};
    RECT clip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    HRESULT hr = m_inPlaceSite->GetWindow(&parent);
    if (SUCCEEDED(hr))
        hr = m_inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &frameInfo);
    if (FAILED(hr)) {
        MKOleControl::InPlaceDeactivate();
        return hr;
    }
    m_position = position;
    if (!m_window) {
        if (!CreateControlWindow(parent, position)) {
            if (frame)
                frame->Release();
            if (document)
                document->Release();
            MKOleControl::InPlaceDeactivate();
            return E_FAIL;
        }
    } else {
        if (GetParent(m_window) != parent)
            SetParent(m_window, parent);
        SetObjectRects(&position, &clip);
    }
    if (m_window)
        ShowWindow(m_window, SW_SHOW);
    if (verb == OLEIVERB_UIACTIVATE && !m_uiActive) {
        m_uiActive = true;
        m_inPlaceSite->OnUIActivate();
        if (m_window && !IsChild(m_window, GetFocus()))
            SetFocus(m_window);
        if (frame)
            frame->SetActiveObject(this, nullptr);
        if (document)
            document->SetActiveObject(this, nullptr);
        if (frame)
            frame->SetBorderSpace(nullptr);
    }
    if (frame)
        frame->Release();
    if (document)
        document->Release();
    if (m_clientSite)
        m_clientSite->ShowObject();
    return S_OK;
}

bool MKOleControl::CreateControlWindow(HWND parent, const RECT& position)
{
    if (!PlovapointModule::RegisterWindowClass(kWindowClass, &MKOleControl::WindowProc))
        return false;
    CreateWindowExA(0, kWindowClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    position.left, position.top, position.right - position.left, position.bottom - position.top,
                    parent, nullptr, PlovapointModule::Instance(), this);
    // m_window is set by WM_NCCREATE; a failed WM_CREATE has destroyed it.
    return m_window != nullptr;
}

LRESULT CALLBACK MKOleControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MKOleControl* control = nullptr;
    if (message == WM_NCCREATE) {
        control = static_cast<MKOleControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(control));
        control->m_window = window;
    } else {
        control = reinterpret_cast<MKOleControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = PlovapointModule::GuardMessage(window, message, wParam, lParam, [&] {
        bool handled = false;
        LRESULT answer = control->OnMessage(message, wParam, lParam, handled);
        return handled ? answer : DefWindowProcA(window, message, wParam, lParam);
    });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        control->m_window = nullptr;
    }
    return result;
}

LRESULT MKOleControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(m_window, message, wParam, lParam);
}

LRESULT MKOleControl::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    if (dc) {
        RECT client;
        GetClientRect(m_window, &client);
        OnDraw(dc, client);
        EndPaint(m_window, &paint);
    }
    return 0;
}

void MKOleControl::OnKillFocus()
{
    IOleControlSite* site = nullptr;
    if (m_inPlaceActive && m_clientSite &&
        SUCCEEDED(m_clientSite->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&site)))) {
        site->OnFocus(FALSE);
        site->Release();
    }
}

// IOleWindow, IOleInPlaceObject

HRESULT MKOleControl::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
}

HRESULT MKOleControl::InPlaceDeactivate()
{
    if (!m_inPlaceActive)
        return S_OK;
    if (m_uiActive)
        MKOleControl::UIDeactivate();
    m_inPlaceActive = false;
    if (m_window)
        DestroyWindow(m_window);
    if (m_inPlaceSite)
        m_inPlaceSite->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT MKOleControl::UIDeactivate()
{
    if (!m_uiActive)
        return S_OK;
    m_uiActive = false;
    if (m_inPlaceSite) {
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT position = {};
        RECT clip = {};
        OLEINPLACEFRAMEINFO frameInfo = {};
        frameInfo.cb = sizeof frameInfo;
        if (SUCCEEDED(m_inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &frameInfo))) {
            if (document) {
                document->SetActiveObject(nullptr, nullptr);
                document->Release();
            }
            if (frame) {
                frame->SetActiveObject(nullptr, nullptr);
                frame->Release();
            }
        }
        m_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

HRESULT MKOleControl::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position)
        return E_POINTER;
    m_position = *position;
    if (m_window)
        SetWindowPos(m_window, nullptr, position->left, position->top, position->right - position->left,
                     position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

HRESULT MKOleControl::GetDropTarget(IDropTarget** target)
{
    if (target)
        *target = nullptr;
    return E_NOTIMPL;
}

// IOleControl

HRESULT MKOleControl::FreezeEvents(BOOL freeze)
{
    if (freeze)
        ++m_freezeCount;
    else if (m_freezeCount > 0)
        --m_freezeCount;
    return S_OK;
}

// IViewObject

HRESULT MKOleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                           BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!dc)
        return E_INVALIDARG;
    RECT area;
    if (bounds) {
        area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    } else if (m_inPlaceActive) {
        area = m_position;
    } else {
        return E_INVALIDARG;
    }
    return PlovapointModule::Guard([&] { return OnDraw(dc, area); });
}

HRESULT MKOleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** palette)
{
    if (palette)
        *palette = nullptr;
    return E_NOTIMPL;
}

HRESULT MKOleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    if (sink)
        sink->AddRef();
    ReleaseAndClear(m_viewSink);
    m_viewSink = sink;
    m_viewAspects = aspects;
    m_viewFlags = flags;
    return S_OK;
}

HRESULT MKOleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = m_viewAspects;
    if (flags)
        *flags = m_viewFlags;
    if (sink) {
        *sink = m_viewSink;
        if (m_viewSink)
            m_viewSink->AddRef();
    }
    return S_OK;
}

HRESULT MKOleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return MKOleControl::GetExtent(aspect, size);
}

HRESULT MKOleControl::GetViewStatus(DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = VIEWSTATUS_SOLIDBKGND | VIEWSTATUS_OPAQUE;
    return S_OK;
}

HRESULT MKOleControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* result)
{
    if (aspect != DVASPECT_CONTENT)
        return E_FAIL;
    if (!bounds || !result)
        return E_POINTER;
    *result = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT MKOleControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* result)
{
    if (aspect != DVASPECT_CONTENT)
        return E_FAIL;
    if (!bounds || !rect || !result)
        return E_POINTER;
    RECT common;
    *result = IntersectRect(&common, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

void MKOleControl::FireViewChange()
{
    if (m_inPlaceActive && m_window)
        InvalidateRect(m_window, nullptr, TRUE);
    else if (m_viewSink)
        m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

// IPersist, IPersistStorage

HRESULT MKOleControl::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT MKOleControl::InitNew(IStorage*)
{
    return static_cast<IPersistStreamInit*>(this)->InitNew();
}

HRESULT MKOleControl::Load(IStorage* storage)
{
    if (!storage)
        return E_POINTER;
    IStream* stream = nullptr;
    HRESULT hr = storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
    if (FAILED(hr))
        return hr;
    hr = static_cast<IPersistStreamInit*>(this)->Load(stream);
    stream->Release();
    return hr;
}

HRESULT MKOleControl::Save(IStorage* storage, BOOL)
{
    if (!storage)
        return E_POINTER;
    IStream* stream = nullptr;
    HRESULT hr = storage->CreateStream(kContentsStream, STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, 0, &stream);
    if (FAILED(hr))
        return hr;
    hr = static_cast<IPersistStreamInit*>(this)->Save(stream, TRUE);
    stream->Release();
    return hr;
}

// IDataObject

HRESULT MKOleControl::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!format || !medium)
        return E_POINTER;
    HRESULT hr = QueryGetData(format);
    if (hr != S_OK)
        return hr;
    return DrawMetafile(medium);
}

HRESULT MKOleControl::DrawMetafile(STGMEDIUM* medium)
{
    SIZE pixels = HimetricToPixels(m_extent);
    HDC dc = CreateMetaFileA(nullptr);
    if (!dc)
        return E_OUTOFMEMORY;
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, pixels.cx, pixels.cy, nullptr);
    RECT bounds = {0, 0, pixels.cx, pixels.cy};
    OnDraw(dc, bounds);
    HMETAFILE metafile = CloseMetaFile(dc);
    if (!metafile)
        return E_OUTOFMEMORY;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(METAFILEPICT));
    METAFILEPICT* picture = memory ? static_cast<METAFILEPICT*>(GlobalLock(memory)) : nullptr;
    if (!picture) {
        if (memory)
            GlobalFree(memory);
        DeleteMetaFile(metafile);
        return E_OUTOFMEMORY;
    }
    picture->mm = MM_ANISOTROPIC;
    picture->xExt = m_extent.cx;
    picture->yExt = m_extent.cy;
    picture->hMF = metafile;
    GlobalUnlock(memory);
    medium->tymed = TYMED_MFPICT;
    medium->hMetaFilePict = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT MKOleControl::QueryGetData(FORMATETC* format)
{
    if (!format)
        return E_POINTER;
    if (format->cfFormat != CF_METAFILEPICT)
        return DV_E_FORMATETC;
    if (format->dwAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!(format->tymed & TYMED_MFPICT))
        return DV_E_TYMED;
    return S_OK;
}

HRESULT MKOleControl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out)
        out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT MKOleControl::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
    return OleRegEnumFormatEtc(m_clsid, direction, formats);
}

HRESULT MKOleControl::EnsureDataAdviseHolder()
{
    return m_dataAdviseHolder ? S_OK : CreateDataAdviseHolder(&m_dataAdviseHolder);
}

HRESULT MKOleControl::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* cookie)
{
    HRESULT hr = EnsureDataAdviseHolder();
    if (FAILED(hr))
        return hr;
    return m_dataAdviseHolder->Advise(static_cast<IDataObject*>(this), format, flags, sink, cookie);
}

HRESULT MKOleControl::DUnadvise(DWORD cookie)
{
    HRESULT hr = EnsureDataAdviseHolder();
    if (FAILED(hr))
        return hr;
    return m_dataAdviseHolder->Unadvise(cookie);
}

HRESULT MKOleControl::EnumDAdvise(IEnumSTATDATA** advise)
{
    HRESULT hr = EnsureDataAdviseHolder();
    if (FAILED(hr))
        return hr;
    return m_dataAdviseHolder->EnumAdvise(advise);
}

void MKOleControl::SendOnDataChange()
{
    if (m_dataAdviseHolder)
        m_dataAdviseHolder->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
}

// IQuickActivate

HRESULT MKOleControl::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control || container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    SetClientSite(container->pClientSite);
    if (container->pAdviseSink) {
        SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
        DWORD cookie = 0;
        Advise(container->pAdviseSink, &cookie);
    }
    control->dwMiscStatus = 0;
    OleRegGetMiscStatus(m_clsid, DVASPECT_CONTENT, &control->dwMiscStatus);
    GetViewStatus(&control->dwViewStatus);
    control->dwEventCookie = 0;
    control->dwPropNotifyCookie = 0;
    control->dwPointerActivationPolicy = 0;
    return S_OK;
}

HRESULT MKOleControl::SetContentExtent(LPSIZEL size)
{
    return SetExtent(DVASPECT_CONTENT, size);
}

HRESULT MKOleControl::GetContentExtent(LPSIZEL size)
{
    return MKOleControl::GetExtent(DVASPECT_CONTENT, size);
}

// ISupportErrorInfo, ISpecifyPropertyPages, IProvideClassInfo2

HRESULT MKOleControl::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == m_dispatchIid ? S_OK : S_FALSE;
}

HRESULT MKOleControl::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    return S_OK;
}

HRESULT MKOleControl::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = TypeInfoOf(m_clsid);
    return *info ? S_OK : E_FAIL;
}

HRESULT MKOleControl::GetGUID(DWORD, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    // The control has no event interface.
    *guid = GUID_NULL;
    return E_FAIL;
}

ITypeInfo* MKOleControl::TypeInfoOf(const GUID& guid)
{
    if (!m_typeLib && FAILED(PlovapointModule::LoadTypeLibrary(&m_typeLib)))
        return nullptr;
    ITypeInfo* info = nullptr;
    if (FAILED(m_typeLib->GetTypeInfoOfGuid(guid, &info)))
        return nullptr;
    return info;
}

bool MKOleControl::AmbientUserMode(bool& userMode) const
{
    IDispatch* ambient = nullptr;
    if (!m_clientSite || FAILED(m_clientSite->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))))
        return false;
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {};
    bool read = SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                                          nullptr, nullptr)) &&
                SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BOOL));
    if (read)
        userMode = result.boolVal != VARIANT_FALSE;
    VariantClear(&result);
    ambient->Release();
    return read;
}
