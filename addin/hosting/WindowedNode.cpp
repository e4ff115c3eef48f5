#include "addin/hosting/WindowedNode.h"

#include "addin/hosting/WindowedNodeProxy.h"
#include "addin/hosting/Direct3DRenderer.h"
#include "addin/hosting/GdiRenderer.h"
#include "addin/hosting/NodeContentWindow.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeLayer.h"

#include <new>

WindowedNode::WindowedNode(int windowMode, int native, int rendererKind)
    : m_windowMode(windowMode), m_native(native), m_rendererKind(rendererKind)
{
    AddCapabilities(OwnsWindow);
    RemoveCapabilities(NativeControl);
    if (native == 1) {
        // The captured background is content of its own.
        RemoveCapabilities(NoOwnContent);
        AddCapabilities(NativeControl);
    }
}

WindowedNode::~WindowedNode()
{
    // Both normally went at detach; a node freed without one must not leave
    // a window that paints through it, nor a renderer behind.
    DestroyRenderer();
    if (m_window) {
        m_window->Destroy();
        delete m_window;
    }
}

void WindowedNode::SetBackgroundColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    m_background[0] = red;
    m_background[1] = green;
    m_background[2] = blue;
    m_background[3] = alpha;
}

void WindowedNode::ReleasePaint()
{
    if (--m_paintHold <= 0 && GetState() == Started)
        PaintNow();
}

void WindowedNode::ReleasePaintNow()
{
    if (--m_paintHold <= 0)
        PaintNow();
}

void WindowedNode::PaintNow()
{
    if (m_paintHold > 0)
        return;
    m_paintHold = 1;
    RECT drawn = {};
    if (ComposeFrame(drawn) && drawn.right > drawn.left && drawn.bottom > drawn.top && HasRenderer())
        UpdateNow();
    m_paintHold = 0;
}

bool WindowedNode::CreateNodeWindow()
{
    if (m_window)
        return true;
    SceneNode* parent = GetParent();
    if (!parent)
        return false;
    m_window = new (std::nothrow) NodeContentWindow(this);
    if (!m_window ||
        !m_window->Create(parent->GetWindowHandle(), parent->GetWindowPixelX() + GetPixelX(),
                          parent->GetWindowPixelY() + GetPixelY(), GetPixelWidth(), GetPixelHeight(), false,
                          m_windowMode)) {
        DestroyNodeWindow();
        return false;
    }
    m_window->SetAlpha(GetAlphaByte());
    return true;
}

bool WindowedNode::CreateRenderer()
{
    if (m_renderer)
        return true;
    if (!m_window)
        return false;
    if (m_rendererKind == 2 && (m_windowMode == NodeWindow::Child || m_windowMode == NodeWindow::Popup)) {
        m_renderer = new (std::nothrow) Direct3DRenderer(this);
        if (m_renderer && m_renderer->Initialize())
            return true;
        delete m_renderer;
    }
    m_renderer = new (std::nothrow) GdiRenderer(this);
    if (m_renderer && m_renderer->Initialize())
        return true;
    delete m_renderer;
    m_renderer = nullptr;
    return false;
}

void WindowedNode::DestroyNodeWindow()
{
    SetShownTree(false);
    if (m_window) {
        m_window->Destroy();
        delete m_window;
        m_window = nullptr;
    }
}

void WindowedNode::DestroyRenderer()
{
    if (m_renderer) {
        m_renderer->ReleaseResources();
        delete m_renderer;
        m_renderer = nullptr;
    }
}

HWND WindowedNode::GetNodeWindowHandle() const
{
    return m_window && m_window->IsCreated() ? m_window->GetHwnd() : nullptr;
}

NodeWindow* WindowedNode::GetNodeWindow()
{
    return m_window;
}

void WindowedNode::InvalidateRenderer(const RECT* rect)
{
    if (m_renderer)
        m_renderer->AddDirty(rect);
}

void WindowedNode::ShowWindowNow(bool show)
{
    if (m_window)
        m_window->Show(show);
}

void WindowedNode::MoveNodeWindow(int x, int y, int width, int height)
{
    if (m_window)
        m_window->Move(x, y, width, height);
}

void WindowedNode::SetWindowAlpha(uint8_t alpha)
{
    if (m_window)
        m_window->SetAlpha(alpha);
}

bool WindowedNode::ComposeFrame(RECT& drawn)
{
    drawn = RECT{};
    RECT frame;
    if (!m_renderer || !m_renderer->BeginFrame(frame))
        return false;
    Composite(&frame);
    m_renderer->EndFrame();
    OffsetRect(&frame, GetWindowPixelX(), GetWindowPixelY());
    drawn = frame;
    if (m_window && !IsRectEmpty(&drawn))
        m_window->Invalidate(&drawn);
    return true;
}

void WindowedNode::PaintWindow(HDC dc, const PAINTSTRUCT& paint)
{
    if (m_renderer)
        m_renderer->Present(dc, paint);
}

void WindowedNode::UpdateNow()
{
    if (m_renderer && m_window)
        m_window->UpdateNow();
}

bool WindowedNode::RenderContent(RECT& changed)
{
    changed = RECT{};
    if (m_native != 1 || !m_window)
        return false;
    NodeLayer* layer = GetOrCreateLayer(GetPixelWidth(), GetPixelHeight(),
                                        NodeLayer::CpuSurface | NodeLayer::AlphaMeaningful | NodeLayer::ReleaseAfterUpload);
    RECT update;
    if (!layer || !layer->BeginDraw(update))
        return false;
    HWND parent = m_window->GetParentWindow();
    RECT placement;
    if (parent && m_window->GetPlacement(placement)) {
        UpdateWindow(parent);
        layer->CaptureWindow(parent, placement, 0, 0);
    }
    layer->EndDraw();
    changed = {GetWindowPixelX(), GetWindowPixelY(), GetWindowPixelX() + layer->GetWidth(),
               GetWindowPixelY() + layer->GetHeight()};
    return true;
}

void WindowedNode::OnDetach()
{
    DestroyRenderer();
    DestroyNodeWindow();
    ContainerNode::OnDetach();
}

void WindowedNode::OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT&, const RECT&)
{
    const SceneNode* parent = GetParent();
    int parentX = parent ? parent->GetWindowPixelX() : 0;
    int parentY = parent ? parent->GetWindowPixelY() : 0;
    MoveNodeWindow(parentX + GetPixelX(), parentY + GetPixelY(), GetPixelWidth(), GetPixelHeight());
    if (oldRect.right - oldRect.left != newRect.right - newRect.left ||
        oldRect.bottom - oldRect.top != newRect.bottom - newRect.top)
        Invalidate();
}

void WindowedNode::SetShown(bool show)
{
    if (!HasNodeWindow())
        return;
    // A native control hidden now must be asked again whether it is ready.
    if (!show && m_native == 1)
        UpdateReady();
    if (NodeHost* host = GetHost())
        host->ShowNodeWindow(this, show);
}

void WindowedNode::OnOpacityChanged()
{
    ContainerNode::OnOpacityChanged();
    if (m_windowMode == 2)
        SetWindowAlpha(GetAlphaByte());
}

bool WindowedNode::OnActivate()
{
    if (HasNodeWindow())
        return true;
    if (!CreateNodeWindow())
        return false;
    if (!CreateRenderer()) {
        DestroyNodeWindow();
        return false;
    }
    return true;
}

bool WindowedNode::OnStart()
{
    // A node that cannot get its window or renderer does not start: started,
    // it would show nothing and never try again, a failure reported as
    // success.
    if (HasNodeWindow())
        return true;
    if (!CreateNodeWindow())
        return false;
    if (!CreateRenderer()) {
        DestroyNodeWindow();
        return false;
    }
    return true;
}

bool WindowedNode::OnStop()
{
    Detach();
    return true;
}

NodeProxy* WindowedNode::CreateProxy()
{
    return MakeNodeProxy<WindowedNodeProxy>(this);
}
