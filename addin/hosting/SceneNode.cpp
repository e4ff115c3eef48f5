#include "addin/hosting/SceneNode.h"

#include "addin/hosting/ContainerNode.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeEventInterfaces.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeLayer.h"
#include "addin/hosting/NodeRenderer.h"
#include "addin/hosting/NodeWindow.h"
#include "addin/hosting/WindowedNode.h"
#include "base/MKPointerArrays.h"
#include "base/MKRefHolder.h"

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT MakeRect(int x, int y, int width, int height)
{
    return RECT{x, y, x + width, y + height};
}

// Asks the sink's INodeStateEvents: no sink or no interface allows; any
// answer but S_OK refuses; otherwise the out value decides.
bool AskAllowed(INodeStateEvents* events, bool start)
{
    if (!events)
        return true;
    int32_t allow = 0;
    HRESULT hr = start ? events->CanStart(&allow) : events->CanActivate(&allow);
    return hr == S_OK && allow != 0;
}

}  // namespace

SceneNode::SceneNode(bool hasChildren) : m_hasChildren(hasChildren) {}

SceneNode::~SceneNode()
{
    delete m_contentLayer;
    MKReleaseAllItems(m_children);
}

// --- Sinks ---------------------------------------------------------------

void SceneNode::NotifyParentChanged(IDispatch* parent)
{
    if (IContainerEvents* events = QueryContainerEvents()) {
        events->OnParentChanged(parent);
        events->Release();
    }
}

// --- Geometry ------------------------------------------------------------

int SceneNode::ToPixels(float value) const
{
    double scale = m_host ? m_host->GetScale() : 1.0;
    return int(value * scale + 0.5);
}

void SceneNode::UpdateGeometry()
{
    RECT oldRect = MakeRect(m_pixelX, m_pixelY, m_pixelWidth, m_pixelHeight);
    RECT oldWindowRect = MakeRect(m_windowPixelX, m_windowPixelY, m_pixelWidth, m_pixelHeight);
    bool windowed = GetNodeType() == Windowed;
    if (m_layer == this) {
        m_windowX = m_x + (m_host ? m_host->GetOffsetX() : 0);
        m_windowY = m_y + (m_host ? m_host->GetOffsetY() : 0);
        m_hostX = m_x;
        m_hostY = m_y;
    } else {
        const SceneNode* p = m_parent;
        // A windowed node's own window is the origin of its content.
        m_windowX = windowed ? 0 : m_x + (p ? p->m_windowX : 0);
        m_windowY = windowed ? 0 : m_y + (p ? p->m_windowY : 0);
        m_hostX = m_x + (p ? p->m_hostX : 0);
        m_hostY = m_y + (p ? p->m_hostY : 0);
    }
    m_pixelX = ToPixels(m_x);
    m_pixelY = ToPixels(m_y);
    // Measured from the host position, so neighbours meet without gaps.
    m_pixelWidth = ToPixels(m_width + m_hostX) - ToPixels(m_hostX);
    m_pixelHeight = ToPixels(m_height + m_hostY) - ToPixels(m_hostY);
    m_windowPixelX = ToPixels(m_windowX);
    m_windowPixelY = ToPixels(m_windowY);
    m_hostPixelX = ToPixels(m_hostX);
    m_hostPixelY = ToPixels(m_hostY);
    RECT newRect = MakeRect(m_pixelX, m_pixelY, m_pixelWidth, m_pixelHeight);
    RECT newWindowRect = MakeRect(m_windowPixelX, m_windowPixelY, m_pixelWidth, m_pixelHeight);
    if (!windowed && SameRect(oldRect, newRect) && SameRect(oldWindowRect, newWindowRect))
        return;
    OnRectChanged(oldRect, newRect, oldWindowRect, newWindowRect);
}

void SceneNode::UpdateGeometryTree()
{
    UpdateGeometry();
    WindowedNode* windowed = GetNodeType() == Windowed ? static_cast<WindowedNode*>(this) : nullptr;
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(this);
    if (windowed)
        windowed->HoldPaint();
    {
        WalkGuard guard(*this);
        for (int i = 0; i < m_children.GetCount(); ++i)
            m_children[i]->UpdateGeometryTree();
    }
    if (windowed)
        windowed->ReleasePaintNow();
}

void SceneNode::RaiseAncestorPaintHold()
{
    if (m_windowedAncestor)
        m_windowedAncestor->HoldPaint();
}

void SceneNode::LowerAncestorPaintHold()
{
    if (m_windowedAncestor)
        m_windowedAncestor->ReleasePaintNow();
}

bool SceneNode::SetRect(float x, float y, float width, float height)
{
    if (x == m_x && y == m_y && width == m_width && height == m_height)
        return true;
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (m_layer && m_parent) {
        RectF parent = m_parent->GetLayerRect();
        float px = parent.left, py = parent.top;
        if (x + px < 0 || y + py < 0 || m_layer->m_width < px + x + width || m_layer->m_height < py + y + height)
            return false;
    }
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    if (m_layer == this && m_host) {
        float hostWidth = m_host->GetWidth(), hostHeight = m_host->GetHeight();
        if (m_width > hostWidth)
            m_width = hostWidth;
        if (m_height > hostHeight)
            m_height = hostHeight;
        if (m_x < 0)
            m_x = 0;
        if (m_x + m_width > hostWidth)
            m_x = hostWidth - m_width;
        if (m_y < 0)
            m_y = 0;
        if (m_y + m_height > hostHeight)
            m_y = hostHeight - m_height;
    }
    // The ancestor's window is painted once, after the whole subtree moved.
    WindowedNode* ancestor = m_windowedAncestor;
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(ancestor);
    if (ancestor)
        ancestor->HoldPaint();
    UpdateGeometryTree();
    if (ancestor)
        ancestor->ReleasePaintNow();
    return true;
}

RectF SceneNode::GetAbsoluteRect() const
{
    float left = 0, top = 0;
    for (const SceneNode* n = this; n; n = n->m_parent) {
        left += n->m_x;
        top += n->m_y;
    }
    return RectF(left, top, left + m_width, top + m_height);
}

RectF SceneNode::GetLayerRect() const
{
    float left = 0, top = 0;
    for (const SceneNode* n = this; n && n != m_layer; n = n->m_parent) {
        left += n->m_x;
        top += n->m_y;
    }
    return RectF(left, top, left + m_width, top + m_height);
}

RECT SceneNode::GetWindowPixelRect() const
{
    return MakeRect(m_windowPixelX, m_windowPixelY, m_pixelWidth, m_pixelHeight);
}

bool SceneNode::IsOutsideHost() const
{
    if (!m_host)
        return false;
    float hostWidth = m_host->GetWidth(), hostHeight = m_host->GetHeight();
    if (hostWidth == 0 && hostHeight == 0)
        return !(m_width == 0 && m_height == 0 && m_hostX == 0 && m_hostY == 0);
    bool left = m_width <= 0 ? m_hostX < 0 : m_width + m_hostX <= 0;
    bool above = m_height <= 0 ? m_hostY < 0 : m_height + m_hostY <= 0;
    return left || above || hostWidth <= m_hostX || hostHeight <= m_hostY;
}

bool SceneNode::IsPopupWindowNode() const
{
    return GetNodeType() == Windowed && static_cast<const WindowedNode*>(this)->GetWindowMode() != 0;
}

void SceneNode::OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                              const RECT& newWindowRect)
{
    if (SameRect(oldWindowRect, newWindowRect))
        return;
    Invalidate(&oldWindowRect);
    Invalidate(&newWindowRect);
}

// --- Visibility, readiness, opacity --------------------------------------

bool SceneNode::IsVisibleInTree() const
{
    for (const SceneNode* n = this; n; n = n->m_parent) {
        if (!n->m_visible)
            return false;
    }
    return true;
}

bool SceneNode::IsClosingInTree() const
{
    for (const SceneNode* n = this; n; n = n->m_parent) {
        if (n->IsClosing())
            return true;
    }
    return false;
}

void SceneNode::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    bool wasVisible = IsVisibleInTree();
    m_visible = visible;
    if (IsClosingInTree())
        return;
    if (m_host && wasVisible != IsVisibleInTree() && !IsOutsideHost())
        m_host->RequestRepaint();
}

void SceneNode::SetReady(bool ready)
{
    if (ready == m_ready)
        return;
    bool wasShowable = IsShowable();
    m_ready = ready;
    if (IsClosingInTree())
        return;
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(this);
    if (m_host && wasShowable != IsShowable() && !IsOutsideHost())
        m_host->RequestRepaint();
    if (m_layer) {
        if (INodeStateEvents* events = QueryStateEvents()) {
            events->OnReadyChanged(ready ? VARIANT_TRUE : VARIANT_FALSE);
            events->Release();
        }
    }
}

void SceneNode::UpdateReady()
{
    m_ready = m_host ? IsReady() : false;
}

void SceneNode::SetShown(bool)
{
    Invalidate();
}

void SceneNode::SetShownTree(bool shown)
{
    m_shown = shown;
    WalkGuard guard(*this);
    for (int i = 0; i < m_children.GetCount(); ++i)
        m_children[i]->SetShownTree(shown);
}

void SceneNode::SetOpacity(float opacity)
{
    if (opacity < 0)
        opacity = 0;
    if (opacity > 1)
        opacity = 1;
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    struct Walk {
        static void Run(SceneNode* node)
        {
            node->OnOpacityChanged();
            WalkGuard guard(*node);
            for (int i = 0; i < node->m_children.GetCount(); ++i)
                Run(node->m_children[i]);
        }
    };
    Walk::Run(this);
}

void SceneNode::OnOpacityChanged()
{
    if (m_contentLayer)
        m_contentLayer->OnOpacityChanged();
    Invalidate();
}

float SceneNode::GetEffectiveOpacity() const
{
    float opacity = 1;
    for (const SceneNode* n = this; n; n = n->m_parent)
        opacity *= n->m_opacity;
    return opacity;
}

float SceneNode::GetOpacityBelowLayeredWindow() const
{
    float opacity = 1;
    for (const SceneNode* n = this; n; n = n->m_parent) {
        // That window applies its own alpha.
        if (n->GetNodeType() == Windowed && static_cast<const WindowedNode*>(n)->GetWindowMode() == 2)
            break;
        opacity *= n->m_opacity;
    }
    return opacity;
}

uint8_t SceneNode::GetAlphaByte() const
{
    float alpha = GetEffectiveOpacity() * 255 + 0.5f;
    if (alpha < 0)
        return 0;
    if (alpha > 255)
        return 255;
    return uint8_t(alpha);
}

void SceneNode::SetAnimating(bool animating)
{
    if (animating == m_animating)
        return;
    m_animating = animating;
    if (m_layer) {
        if (animating)
            m_layer->AddAnimating();
        else
            m_layer->RemoveAnimating();
    }
}

// --- Content and windows -------------------------------------------------

void SceneNode::Invalidate(const RECT* rect)
{
    if (!m_windowedAncestor || !m_windowedAncestor->HasRenderer())
        return;
    RECT area = rect ? *rect : GetWindowPixelRect();
    m_windowedAncestor->InvalidateRenderer(&area);
}

bool SceneNode::HasRenderer() const
{
    return m_windowedAncestor && m_windowedAncestor->HasRenderer();
}

bool SceneNode::RenderContent(RECT& changed)
{
    changed = RECT{};
    return false;
}

bool SceneNode::UpdateContent()
{
    if (HasCapability(NoOwnContent) || !HasRenderer() || !m_contentDirty)
        return false;
    RECT changed = {};
    if (RenderContent(changed)) {
        m_contentDirty = false;
        if (changed.right > changed.left && changed.bottom > changed.top)
            Invalidate(&changed);
    }
    return true;
}

void SceneNode::InvalidateContent(const RECT* rect)
{
    m_contentDirty = true;
    if (m_contentLayer)
        m_contentLayer->AddDirty(rect);
}

NodeLayer* SceneNode::GetOrCreateLayer(int width, int height, uint32_t format)
{
    if (HasCapability(NoOwnContent) || !HasRenderer())
        return nullptr;
    if (m_contentLayer && (m_contentLayer->GetWidth() != width || m_contentLayer->GetHeight() != height ||
                           m_contentLayer->GetFormat() != format))
        ReleaseLayer();
    if (!m_contentLayer)
        m_contentLayer = m_windowedAncestor->GetRenderer()->CreateLayer(this, width, height, format);
    return m_contentLayer;
}

void SceneNode::ReleaseLayer()
{
    if (m_contentLayer) {
        m_contentLayer->ReleaseResources();
        delete m_contentLayer;
        m_contentLayer = nullptr;
    }
    m_contentDirty = true;
}

bool SceneNode::Composite(const RECT* frame)
{
    if (GetNodeType() != Windowed && (!m_ready || !IsVisibleInTree()))
        return true;
    if (m_pixelWidth == 0 || m_pixelHeight == 0)
        return true;
    if (!HasRenderer())
        return false;
    if (m_contentLayer && !m_contentLayer->Draw(frame))
        return false;
    bool drawn = false;
    WalkGuard guard(*this);
    for (int i = 0; i < m_children.GetCount(); ++i) {
        SceneNode* child = m_children[i];
        if (child->m_windowedAncestor == m_windowedAncestor)
            drawn = child->Composite(frame) || drawn;
    }
    return drawn || m_contentLayer != nullptr;
}

void SceneNode::ReleaseLayerTree()
{
    {
        WalkGuard guard(*this);
        for (int i = 0; i < m_children.GetCount(); ++i)
            m_children[i]->ReleaseLayerTree();
    }
    ReleaseLayer();
}

namespace {

// The node's own window when it is of the kind asked for.
NodeWindow* MatchingWindow(const SceneNode* node, bool popup)
{
    NodeWindow* window = const_cast<SceneNode*>(node)->GetNodeWindow();
    if (!window || !window->IsWindow() || !window->IsCreated())
        return nullptr;
    return window->IsPopup() == popup ? window : nullptr;
}

NodeWindow* SearchChild(const SceneNode* child, bool popup)
{
    if (child->HasCapability(SceneNode::OwnsWindow)) {
        if (NodeWindow* window = MatchingWindow(child, popup))
            return window;
    }
    return child->GetChildCount() > 0 ? child->FindWindowInSubtree(popup) : nullptr;
}

}  // namespace

NodeWindow* SceneNode::FindWindowInSubtree(bool popup) const
{
    for (int i = 0; i < m_children.GetCount(); ++i) {
        if (NodeWindow* window = SearchChild(m_children[i], popup))
            return window;
    }
    return nullptr;
}

NodeWindow* SceneNode::FindWindowAbove(bool popup) const
{
    if (m_parent) {
        for (int i = m_parent->GetChildCount() - 1; i > m_childIndex; --i) {
            if (NodeWindow* window = SearchChild(m_parent->GetChild(i), popup))
                return window;
        }
    }
    if (m_host && m_layer) {
        for (int i = m_host->GetLayerCount() - 1; i >= 0; --i) {
            const LayerNode* layer = m_host->GetLayer(i);
            if (layer == m_layer)
                break;
            if (NodeWindow* window = layer->FindWindowInSubtree(popup))
                return window;
        }
    }
    return nullptr;
}

HWND SceneNode::GetWindowHandle() const
{
    if (m_windowedAncestor && m_layer != this)
        return m_windowedAncestor->GetNodeWindowHandle();
    return m_host ? m_host->GetWindow() : nullptr;
}

// --- Tree membership -----------------------------------------------------

void SceneNode::RecomputeWindowedAncestor()
{
    if (GetNodeType() == Windowed)
        m_windowedAncestor = static_cast<WindowedNode*>(this);
    else
        m_windowedAncestor = m_parent ? m_parent->m_windowedAncestor : nullptr;
}

void SceneNode::AttachTree()
{
    if (m_parent) {
        m_layer = m_parent->m_layer;
        m_host = m_parent->m_host;
    } else if (GetNodeType() == Layer) {
        m_layer = static_cast<LayerNode*>(this);
    }
    UpdateReady();
    if (m_animating && m_layer)
        m_layer->AddAnimating();
    RecomputeWindowedAncestor();
    WalkGuard guard(*this);
    for (int i = 0; i < m_children.GetCount(); ++i)
        m_children[i]->AttachTree();
}

void SceneNode::DetachTree()
{
    if (m_host)
        m_host->ForgetFocus(this);
    SetLinkedNode(nullptr);
    if (m_animating && m_layer)
        m_layer->RemoveAnimating();
    m_layer = nullptr;
    m_host = nullptr;
    m_zOrder = -1;
    m_orderIndex = -1;
    // Without host and layer this asks for no repaint and tells nobody.
    SetReady(false);
    RecomputeWindowedAncestor();
    WalkGuard guard(*this);
    for (int i = 0; i < m_children.GetCount(); ++i)
        m_children[i]->DetachTree();
}

// --- NodeObject ----------------------------------------------------------

void SceneNode::DetachChildren()
{
    WalkGuard guard(*this);
    for (int i = 0; i < m_children.GetCount(); ++i)
        m_children[i]->Detach();
}

void SceneNode::OnDetach()
{
    UpdateReady();
    m_shown = false;
    ReleaseLayer();
}

void SceneNode::EndWalk()
{
    if (--m_walkGuard > 0 || !m_closedChildPending)
        return;
    m_closedChildPending = false;
    MKTArray<SceneNode*> closed;
    for (int i = 0; i < m_children.GetCount(); ++i) {
        if (m_children[i]->IsClosed() && closed.Add(m_children[i]))
            m_children[i]->AddRef();
    }
    for (int i = 0; i < closed.GetCount(); ++i)
        static_cast<ContainerNode*>(this)->DropClosingChild(closed[i]);
    MKReleaseAllItems(closed);
}

void SceneNode::CloseChildren()
{
    // Each child removes itself from the list while it closes.
    MKTArray<SceneNode*> copy;
    if (!copy.Assign(m_children.GetData(), m_children.GetCount()))
        return;
    for (int i = 0; i < copy.GetCount(); ++i)
        copy[i]->AddRef();
    for (int i = 0; i < copy.GetCount(); ++i)
        copy[i]->Close();
    MKReleaseAllItems(copy);
}

void SceneNode::OnClose()
{
    m_ready = false;
    if (m_parent && !m_parent->RemoveChild(this))
        m_parent->DropClosingChild(this);
    if (GetNodeType() == Layer) {
        if (m_host)
            m_host->RemoveLayer(static_cast<LayerNode*>(this));
        m_layer = nullptr;
    }
    m_windowedAncestor = nullptr;
}

// --- Lifecycle -----------------------------------------------------------

bool SceneNode::PrepareAncestors(bool forStart)
{
    if (!m_parent)
        return true;
    if (m_parent->IsOutsideHost())
        return false;
    int parentState = m_parent->m_state;
    if (forStart) {
        if (parentState == Started)
            return true;
        if (parentState != Inactive && parentState != Active)
            return false;
    } else {
        if (parentState == Active || parentState == Starting || parentState == Started)
            return true;
        if (parentState != Inactive)
            return false;
    }
    if (!m_layer || !m_layer->HasHostWindow())
        return false;
    // From the root down to the parent.
    MKTArray<SceneNode*> chain;
    for (SceneNode* n = m_parent; n; n = n->m_parent) {
        if (!chain.Add(n))
            return false;
    }
    for (int i = chain.GetCount() - 1; i >= 0; --i) {
        if (!(forStart ? chain[i]->Start(false) : chain[i]->Activate(false)))
            return false;
    }
    return true;
}

void SceneNode::DriveLinkedNodes(LinkedStep step)
{
    if (GetNodeType() != Layer || static_cast<LayerNode*>(this)->IsTopmost() || !m_host)
        return;
    LayerNode* top = m_host->GetTopLayer();
    if (!top)
        return;
    // Collected first: the steps may change the top layer's tree.
    MKTArray<SceneNode*> linked;
    struct Collect {
        static void Run(SceneNode* node, SceneNode* target, MKTArray<SceneNode*>& out)
        {
            if (node->m_linked.Get() == target && out.Add(node))
                node->AddRef();
            WalkGuard guard(*node);
            for (int i = 0; i < node->m_children.GetCount(); ++i)
                Run(node->m_children[i], target, out);
        }
    };
    Collect::Run(top, this, linked);
    for (int i = 0; i < linked.GetCount(); ++i) {
        if (step == LinkedStep::Activate)
            linked[i]->Activate(false);
        else if (step == LinkedStep::Start)
            linked[i]->Start(false);
        else
            linked[i]->Stop();
    }
    MKReleaseAllItems(linked);
}

bool SceneNode::Activate(bool recursive)
{
    if (IsOutsideHost() || m_state == Activating || m_state == Stopping)
        return false;
    return Enter(false, recursive);
}

bool SceneNode::Start(bool recursive)
{
    if (IsOutsideHost() || (m_state != Inactive && m_state != Active && m_state != Started))
        return false;
    return Enter(true, recursive);
}

bool SceneNode::Enter(bool start, bool recursive)
{
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(this);
    bool notice = start ? m_state != Started : m_state == Inactive;
    if (notice) {
        int previous = m_state;
        m_state = start ? Starting : Activating;
        bool entered = PrepareAncestors(start);
        if (entered) {
            INodeStateEvents* events = QueryStateEvents();
            entered = AskAllowed(events, start) && (start ? OnStart() : OnActivate());
            if (events)
                events->Release();
        }
        if (!entered) {
            m_state = previous;
            return false;
        }
        m_state = start ? Started : Active;
    }
    if (recursive) {
        WalkGuard guard(*this);
        for (int i = 0; i < m_children.GetCount(); ++i) {
            if (start)
                m_children[i]->Start(true);
            else
                m_children[i]->Activate(true);
        }
    }
    DriveLinkedNodes(start ? LinkedStep::Start : LinkedStep::Activate);
    if (notice) {
        if (INodeStateEvents* events = QueryStateEvents()) {
            if (start)
                events->OnStarted();
            else
                events->OnActivated();
            events->Release();
        }
    }
    return true;
}

bool SceneNode::Stop()
{
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(this);
    if (m_state == Inactive)
        return true;
    if (m_state != Active && m_state != Started)
        return false;
    int previous = m_state;
    m_state = Stopping;
    if (INodeStateEvents* events = QueryStateEvents()) {
        events->OnStopping();
        events->Release();
    }
    DriveLinkedNodes(LinkedStep::Stop);
    // Every child's subtree bottom-up, then the child itself.
    struct BottomUp {
        static bool Run(SceneNode* node)
        {
            WalkGuard guard(*node);
            for (int i = 0; i < node->m_children.GetCount(); ++i) {
                if (!Run(node->m_children[i]))
                    return false;
            }
            return node->Stop();
        }
    };
    bool stopped = true;
    {
        WalkGuard guard(*this);
        for (int i = 0; i < m_children.GetCount() && stopped; ++i)
            stopped = BottomUp::Run(m_children[i]);
    }
    if (!stopped || !OnStop()) {
        m_state = previous;
        return false;
    }
    m_state = Inactive;
    if (INodeStateEvents* events = QueryStateEvents()) {
        events->OnStopped();
        events->Release();
    }
    return true;
}
