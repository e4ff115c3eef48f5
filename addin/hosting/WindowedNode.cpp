#include "addin/hosting/WindowedNode.h"

#include "addin/hosting/NodeHost.h"

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

void WindowedNode::DestroyNodeWindow()
{
    SetShownTree(false);
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
    // A node that cannot get its window still starts; it shows nothing.
    if (!HasNodeWindow() && CreateNodeWindow() && !CreateRenderer())
        DestroyNodeWindow();
    return true;
}

bool WindowedNode::OnStop()
{
    Detach();
    return true;
}
