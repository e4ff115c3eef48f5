#include "addin/hosting/ActiveXNode.h"

#include "addin/hosting/BindHostService.h"
#include "addin/hosting/BindingManager.h"
#include "addin/hosting/ClockPauseGuard.h"
#include "addin/hosting/ControlHostWindow.h"
#include "addin/hosting/ControlPropertyBag.h"
#include "addin/hosting/ControlSite.h"
#include "addin/hosting/ControlWindowHook.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/HostHandler.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/LayerOwner.h"
#include "addin/hosting/MemoryStream.h"
#include "addin/hosting/NodeEventInterfaces.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeLayer.h"
#include "addin/hosting/NodeSiteOwner.h"
#include "addin/hosting/UrlParts.h"
#include "addin/hosting/WindowedNode.h"
#include "addin/imaging/RasterImage.h"
#include "base/MKRefHolder.h"

#include <memory>
#include <windowsx.h>

namespace {

// The content layer of a windowless control: drawn on the CPU, cleared before
// each draw, with meaningful premultiplied alpha.
constexpr uint32_t kWindowlessLayerFormat =
    NodeLayer::CpuSurface | NodeLayer::ClearBeforeDraw | NodeLayer::AlphaMeaningful | NodeLayer::PremultipliedBlend;

uint32_t CapabilitiesOfKind(int kind)
{
    switch (kind) {
    case ActiveXNode::WindowedKind: return SceneNode::NoOwnContent | SceneNode::OwnsWindow;
    case ActiveXNode::NativeWindowKind:
        return SceneNode::NoOwnContent | SceneNode::OwnsWindow | SceneNode::NativeControl;
    default: return 0;
    }
}

bool IsFocusGivingPress(UINT message)
{
    // Only presses: a released X button gives no focus.
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
        message == WM_XBUTTONDOWN;
}

bool IsRightButtonMessage(UINT message)
{
    return message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK;
}

// Messages whose point is in screen coordinates already.
bool CarriesScreenPoint(UINT message)
{
    return message == WM_NCHITTEST || message == WM_MOUSEWHEEL;
}

}  // namespace

ActiveXNode::ActiveXNode(int kind, bool bindHost) : SceneNode(false), m_kind(kind), m_bindHost(bindHost)
{
    RemoveCapabilities(NoOwnContent | OwnsWindow | KeepsControlSize | NativeControl);
    AddCapabilities(CapabilitiesOfKind(kind));
    m_bag = new ControlPropertyBag();
    m_bag->AddRef();
    if (IsWindowed()) {
        NewHostWindow();
        m_hook = new ControlWindowHook(this);
    }
}

ActiveXNode::~ActiveXNode()
{
    // The control is gone already (OnDetach); these only free what is left.
    if (m_site)
        DestroyControl();
    DropBindingManager();
    delete m_hook;
    if (m_hostWindow) {
        m_hostWindow->ForgetOwner();
        m_hostWindow->Close();
        delete m_hostWindow;
    }
    m_bag->Release();
}

void ActiveXNode::NewHostWindow()
{
    m_hostWindow = new ControlHostWindow(this, this);
}

// --- Control lifetime
// ----------------------------------------------------------

bool ActiveXNode::StartControl()
{
    if (!GetHost() || FAILED(CreateControl()))
        return false;
    if (!m_propertiesLoaded && FAILED(LoadProperties(GetPixelWidth(), GetPixelHeight())))
        return false;
    return SUCCEEDED(ActivateControl());
}

HRESULT ActiveXNode::CreateControl()
{
    if (m_site)
        return S_OK;
    m_propertiesLoaded = false;
    DropBindingManager();
    if (m_bindHost) {
        m_bindingManager = new BindingManager(this);
        m_bindingManager->AddRef();
    }
    m_siteOwner = CreateSiteOwner();
    m_site = CreateSite(m_siteOwner);
    if (!m_site) {
        delete m_siteOwner;
        m_siteOwner = nullptr;
        return E_OUTOFMEMORY;
    }
    m_site->AddRef();
    HRESULT hr = m_site->CreateControl();
    if (SUCCEEDED(hr)) {
        if (ConnectEvents())
            return hr;
        hr = E_FAIL;
    }
    DestroyControl();
    return hr;
}

HRESULT ActiveXNode::LoadProperties(int width, int height)
{
    if (!m_site)
        return E_FAIL;
    m_bag->SetExtent(width, height);
    m_bag->AddRef();
    HRESULT hr = m_site->LoadProperties(m_bag);
    m_bag->Release();
    if (SUCCEEDED(hr))
        m_propertiesLoaded = true;
    return hr;
}

HRESULT ActiveXNode::ActivateControl()
{
    if (!m_site)
        return E_FAIL;
    if (m_site->IsInPlaceActive())
        return S_OK;
    HWND window = GetWindowHandle();
    if (!window)
        return E_FAIL;
    RECT rect = GetWindowPixelRect();
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (IsWindowed()) {
        if (!m_hostWindow || m_hostWindow->IsCreated())
            return E_FAIL;
        BeforeCreateWindow(window, rect.left, rect.top, width, height);
        if (!m_hostWindow->Create(window, rect.left, rect.top, width, height, false,
                                  HasCapability(NativeControl) ? 1 : 0))
            return E_FAIL;
        rect = RECT{0, 0, width, height};
    }
    HRESULT hr = m_site->InPlaceActivate(rect);
    if (SUCCEEDED(hr))
        UpdateContent();
    return hr;
}

HRESULT ActiveXNode::DestroyControl()
{
    if (!m_site)
        return S_OK;
    DropBindingManager();
    if ((m_inputFlags & TakesFocus) && GetHost())
        GetHost()->PopFocus(this);
    ControlSite* site = m_site;
    m_site = nullptr;
    site->DestroyControl();
    site->Release();
    delete m_siteOwner;
    m_siteOwner = nullptr;
    m_propertiesLoaded = false;
    m_mouseTracked = false;
    if (m_hook)
        m_hook->Detach();
    if (m_hostWindow && m_hostWindow->IsCreated()) {
        // A window is made once: the next activation needs a new object.
        m_hostWindow->ForgetOwner();
        m_hostWindow->Close();
        delete m_hostWindow;
        NewHostWindow();
    }
    return OnControlDestroyed();
}

bool ActiveXNode::IsControlActive() const
{
    return m_site && m_site->IsInPlaceActive();
}

HRESULT ActiveXNode::QueryControl(REFIID iid, void** out) const
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    IOleObject* object = m_site ? m_site->GetOleObject() : nullptr;
    if (!object)
        return E_FAIL;
    HRESULT hr = object->QueryInterface(iid, out);
    if (FAILED(hr))
        *out = nullptr;
    return hr;
}

HRESULT ActiveXNode::Connect(REFIID iid, IUnknown* sink)
{
    return m_site ? m_site->Connect(iid, sink) : E_FAIL;
}

HWND ActiveXNode::GetControlWindow() const
{
    HWND window = m_hook ? m_hook->Window() : nullptr;
    return window && IsWindow(window) ? window : nullptr;
}

NodeSiteOwner* ActiveXNode::CreateSiteOwner()
{
    return new NodeSiteOwner(this);
}

ControlSite* ActiveXNode::CreateSite(NodeSiteOwner* owner)
{
    return new ControlSite(owner);
}

void ActiveXNode::AttachControlWindow(HWND control)
{
    if (m_hook)
        m_hook->Attach(control);
}

// --- Properties
// ----------------------------------------------------------------

void ActiveXNode::SetProperty(const MKString& name, const MKString& value)
{
    m_bag->SetString(name, value);
}

void ActiveXNode::SetProperty(const MKString& name, int32_t value)
{
    m_bag->SetInt(name, value);
}

bool ActiveXNode::RemoveProperty(const MKString& name)
{
    return m_bag->Remove(name);
}

bool ActiveXNode::GetProperty(const MKString& name, MKString& value) const
{
    return m_bag->GetString(name, value);
}

// --- Input and cursor
// ----------------------------------------------------------

void ActiveXNode::SetInputFlags(uint32_t flags)
{
    if (flags & TakesFocus)
        flags |= KeepKeys;
    m_inputFlags = flags;
}

void ActiveXNode::SetCursorMode(int mode)
{
    if (mode == m_cursorMode)
        return;
    m_cursorMode = mode;
    if (IsShown() && m_mouseTracked)
        ApplyCursorMode();
}

void ActiveXNode::ApplyCursorMode()
{
    if (m_cursorMode == CursorShown)
        NodeHost::EnsureCursorShown();
    else if (m_cursorMode == CursorHidden)
        NodeHost::EnsureCursorHidden();
}

bool ActiveXNode::IsOffScreen() const
{
    return m_hostWindow && m_hostWindow->IsOffScreen();
}

void ActiveXNode::SetOffScreen(bool offScreen)
{
    if (m_hostWindow)
        m_hostWindow->SetOffScreen(offScreen);
}

HRESULT ActiveXNode::QueryInputHandler(INodeInputEvents** events) const
{
    if (!events)
        return E_POINTER;
    *events = QuerySinkEvents<INodeInputEvents>(IID_INodeInputEvents);
    return *events ? S_OK : E_FAIL;
}

LRESULT ActiveXNode::CallDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hook && m_hook->Window() ? m_hook->CallDefault(message, wParam, lParam) : 0;
}

LRESULT ActiveXNode::OnControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A handler may drop the last other reference on the node.
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(this);
    if (message == WM_NCHITTEST || (message >= WM_MOUSEFIRST && message <= WM_XBUTTONDBLCLK))
        return OnMouseMessage(window, message, wParam, lParam);
    if (message >= WM_KEYFIRST && message <= WM_UNICHAR)
        return OnKeyMessage(message, wParam, lParam);
    switch (message) {
    case WM_SHOWWINDOW: {
        LRESULT result = CallDefault(message, wParam, lParam);
        if (m_mouseTracked && wParam)
            ApplyCursorMode();
        return result;
    }
    case WM_TIMER: {
        // The control's own timer work is no idle time of the host's clock.
        LRESULT result;
        {
            ClockPauseGuard guard(GetHost());
            result = CallDefault(message, wParam, lParam);
        }
        if (m_mouseTracked && GetHost() && GetHost()->GetFocusTop() == this)
            ApplyCursorMode();
        return result;
    }
    case WM_MOUSELEAVE:
        m_mouseTracked = false;
        if (m_cursorMode == CursorHidden)
            NodeHost::EnsureCursorShown();
        return 0;
    default: return CallDefault(message, wParam, lParam);
    }
}

LRESULT ActiveXNode::OnMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE && !m_mouseTracked) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
        m_mouseTracked = TrackMouseEvent(&track) != FALSE;
    }
    if ((m_inputFlags & KeepKeys) && IsFocusGivingPress(message))
        ::SetFocus(window);
    const bool keep =
        IsRightButtonMessage(message) ? (m_inputFlags & KeepRightButton) != 0 : (m_inputFlags & KeepMouse) != 0;
    HostHandler* handler = !keep && GetHost() ? GetHost()->GetHostHandler() : nullptr;
    if (HWND target = handler ? handler->GetMouseTarget() : nullptr) {
        if (!CarriesScreenPoint(message)) {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(window, target, &point, 1);
            lParam = MAKELPARAM(point.x, point.y);
        }
        return SendMessageW(target, message, wParam, lParam);
    }
    LRESULT result = CallDefault(message, wParam, lParam);
    if (IsShown() && m_mouseTracked)
        ApplyCursorMode();
    return result;
}

LRESULT ActiveXNode::OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HostHandler* handler = GetHost() ? GetHost()->GetHostHandler() : nullptr;
    if (!(m_inputFlags & KeepKeys) && handler) {
        if (HWND target = handler->GetKeyTarget()) {
            ::SetFocus(target);
            PostMessageW(target, message, wParam, lParam);
            return 0;
        }
    }
    if (handler) {
        int32_t keyState = 0;
        const int32_t command = handler->TranslateKey(message, wParam, lParam, keyState);
        if (command >= 0) {
            INodeInputEvents* events = nullptr;
            if (SUCCEEDED(QueryInputHandler(&events))) {
                int32_t handled = 0;
                HRESULT hr = events->OnCommand(command, keyState, &handled);
                events->Release();
                if (SUCCEEDED(hr) && handled)
                    return 0;
            }
            if (command == kSwallowedCommand && !(m_inputFlags & KeepRightButton))
                return 0;
        }
    }
    return CallDefault(message, wParam, lParam);
}

// --- Scene node
// ----------------------------------------------------------------

void ActiveXNode::OnDetach()
{
    DestroyControl();
    SceneNode::OnDetach();
}

void ActiveXNode::DropBindingManager()
{
    if (!m_bindingManager)
        return;
    BindingManager* manager = m_bindingManager;
    m_bindingManager = nullptr;
    manager->StopAll();
    manager->ClearNode();
    manager->Release();
}

bool ActiveXNode::OnStop()
{
    DropBindingManager();
    SetAnimating(false);
    return true;
}

NodeWindow* ActiveXNode::GetNodeWindow()
{
    return IsWindowed() ? m_hostWindow : nullptr;
}

void ActiveXNode::UpdateNow()
{
    if (HWND window = GetControlWindow())
        UpdateWindow(window);
}

void ActiveXNode::TakeFocus()
{
    if (HWND window = GetControlWindow())
        ::SetFocus(window);
}

void ActiveXNode::OnRectChanged(const RECT&, const RECT&, const RECT& oldWindowRect, const RECT& newWindowRect)
{
    const int width = newWindowRect.right - newWindowRect.left, height = newWindowRect.bottom - newWindowRect.top;
    RECT rect = IsWindowed() ? RECT{0, 0, width, height} : newWindowRect;
    if (m_site) {
        if (HasCapability(KeepsControlSize)) {
            const RECT& current = m_site->GetPosition();
            rect.right = rect.left + (current.right - current.left);
            rect.bottom = rect.top + (current.bottom - current.top);
        }
        m_site->SetObjectRect(rect);
        if (!IsWindowed() && !EqualRect(&oldWindowRect, &newWindowRect)) {
            Invalidate(&oldWindowRect);
            Invalidate(&newWindowRect);
        }
        UpdateContent();
    }
    if (IsWindowed() && m_hostWindow && m_hostWindow->IsCreated())
        m_hostWindow->Move(newWindowRect.left, newWindowRect.top, width, height);
}

void ActiveXNode::SetShown(bool show)
{
    if (!IsWindowed()) {
        SceneNode::SetShown(show);
        return;
    }
    if (!m_site || !m_hostWindow || !m_hostWindow->IsCreated())
        return;
    if (HasCapability(NativeControl) && !show)
        UpdateReady();
    OnVisibleChanged(show);
}

void ActiveXNode::OnVisibleChanged(bool visible)
{
    NodeHost* host = GetHost();
    if (!host)
        return;
    if (!visible)
        m_cursorMode = CursorLeftAlone;
    host->ShowNodeWindow(this, visible);
    if (visible && m_hostWindow)
        m_hostWindow->SetOffScreen(false);
    if (m_inputFlags & TakesFocus) {
        if (visible)
            host->PushFocus(this);
        else
            host->PopFocus(this);
    }
    if (visible && IsShown() && m_mouseTracked)
        ApplyCursorMode();
    INodeInputEvents* events = nullptr;
    if (SUCCEEDED(QueryInputHandler(&events))) {
        events->OnVisibilityChanged(visible ? VARIANT_TRUE : VARIANT_FALSE);
        events->Release();
    }
}

// --- Windowless drawing
// --------------------------------------------------------

HRESULT ActiveXNode::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = nullptr;
    if (IsWindowed()) {
        if (!m_hostWindow)
            return E_FAIL;
        *window = m_hostWindow->GetHwnd();
        return S_OK;
    }
    *window = GetWindowHandle();
    return S_OK;
}

HRESULT ActiveXNode::GetDC(const RECT*, DWORD, HDC* dc)
{
    if (!dc)
        return E_POINTER;
    *dc = nullptr;
    HWND window = IsWindowed() ? nullptr : GetWindowHandle();
    if (!window || !IsWindow(window))
        return E_FAIL;
    *dc = ::GetDC(window);
    return *dc ? S_OK : E_FAIL;
}

HRESULT ActiveXNode::ReleaseDC(HDC dc)
{
    HWND window = IsWindowed() ? nullptr : GetWindowHandle();
    if (!window || !IsWindow(window))
        return E_FAIL;
    ::ReleaseDC(window, dc);
    return S_OK;
}

HRESULT ActiveXNode::InvalidateRect(const RECT* rect, bool, bool outsidePositionChange)
{
    if (IsWindowed())
        return E_FAIL;
    if (NodeLayer* layer = GetContentLayer()) {
        RECT area = {0, 0, layer->GetWidth(), layer->GetHeight()};
        if (rect) {
            area = *rect;
            OffsetRect(&area, -GetWindowPixelX(), -GetWindowPixelY());
        }
        InvalidateContent(&area);
    } else {
        InvalidateContent(nullptr);
    }
    if (outsidePositionChange && UpdateContent()) {
        if (WindowedNode* ancestor = GetWindowedAncestor())
            ancestor->PaintNow();
    }
    return S_OK;
}

bool ActiveXNode::RenderContent(RECT& changed)
{
    changed = RECT{};
    if (!m_site)
        return false;
    const RECT placed = m_site->GetPosition();
    NodeLayer* layer = GetOrCreateLayer(placed.right - placed.left, placed.bottom - placed.top, kWindowlessLayerFormat);
    RECT dirty;
    if (!layer || !layer->BeginDraw(dirty))
        return false;
    // The control draws itself at its in-place rectangle (window pixels);
    // the layer's origin is the node's place in the window.
    layer->DrawViewObject(m_site->GetViewObject(), GetWindowPixelX(), GetWindowPixelY(), dirty, &placed);
    layer->EndDraw();
    changed = dirty;
    OffsetRect(&changed, GetWindowPixelX(), GetWindowPixelY());
    return true;
}

RasterImage* ActiveXNode::CaptureImage()
{
    const int width = GetPixelWidth(), height = GetPixelHeight();
    if (width <= 0 || height <= 0 || !IsControlActive())
        return nullptr;
    std::unique_ptr<DibSurface> surface(DibSurface::Create(nullptr, width, height));
    if (!surface)
        return nullptr;
    const RECT whole = {0, 0, width, height};
    surface->DrawViewObject(m_site->GetViewObject(), 0, 0, whole);
    return surface->GetPixelBuffer().ToRasterImageRgba();
}

// --- Services
// ------------------------------------------------------------------

HRESULT ActiveXNode::QueryService(REFGUID service, REFIID, void** object)
{
    if (service != SID_IBindHost)
        return E_NOINTERFACE;
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    if (!m_bindHost || !m_bindingManager)
        return E_NOINTERFACE;
    // Whatever interface is asked for, the service is the bind host.
    return BindHostService::Offer(m_bindingManager, object);
}

int ActiveXNode::ResolveUrl(int bindingId, const MKString& url, int* handled, IStream** stream, uint32_t* size)
{
    *stream = nullptr;
    *size = 0;
    *handled = 0;
    if (!GetLayer())
        return kNotHandled;
    UrlParts parts;
    parts.Parse(url);
    if (parts.IsBackgroundImage()) {
        *handled = 1;
        if (!HasCapability(NativeControl) || !HasCapability(OwnsWindow) || !m_hostWindow) {
            *handled = 0;
            return kNotHandled;
        }
        DibSurface* background = m_hostWindow->GetBackground();
        if (!background)
            return kPending;
        MemoryStream* picture = MemoryStream::Create(background->GetPixelBuffer());
        if (!picture)
            return kNotHandled;
        picture->AddRef();
        *stream = picture;
        *size = picture->GetSize();
        return kReady;
    }
    // The owner of the layer the content draws on (a linked layer's, when
    // set) alone answers; a layer without owner leaves it to the host.
    SceneNode* linked = GetLinkedNode();
    LayerNode* layer = linked && linked->GetNodeType() == Layer ? static_cast<LayerNode*>(linked) : GetLayer();
    LayerOwner* owner = layer ? layer->GetOwner() : nullptr;
    HostHandler* handler = !owner && GetHost() ? GetHost()->GetHostHandler() : nullptr;
    int code = kNotHandled;
    int32_t taken = 0;
    const bool answered = owner ? owner->HandleResourceRequest(bindingId, parts, taken, *stream, *size, code)
                                : handler && handler->ResolveNodeUrl(bindingId, parts, taken, *stream, *size, code);
    *handled = taken;
    const int answer = answered ? code : kReady;
    // Data is delivered only from a stream: a ready answer without one is
    // not served.
    if (answer == kReady && !*stream)
        return kNotHandled;
    return answer;
}
