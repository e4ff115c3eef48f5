#include "addin/hosting/NodeHost.h"

#include "addin/hosting/NodeHostProxy.h"
#include "addin/hosting/AntiBlinkWindow.h"
#include "addin/hosting/HostHandler.h"
#include "addin/hosting/HostSnapshot.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeEventInterfaces.h"
#include "addin/hosting/NodeWindow.h"
#include "addin/hosting/WindowedNode.h"
#include "base/MKHandyWindow.h"
#include "base/MKPointerArrays.h"
#include "base/MKRefHolder.h"
#include "base/MKSorter.h"
#include "base/MKSystemChecks.h"

#include <new>

namespace {

// References on the nodes of a pass, dropped when the pass ends.
class HeldNodes {
public:
    HeldNodes() = default;
    ~HeldNodes() { MKReleaseAllItems(m_nodes); }
    HeldNodes(const HeldNodes&) = delete;
    HeldNodes& operator=(const HeldNodes&) = delete;

    template <typename Node>
    bool CopyFrom(const MKTArray<Node*>& nodes)
    {
        if (!m_nodes.Reserve(nodes.GetCount()))
            return false;
        for (int i = 0; i < nodes.GetCount(); ++i) {
            m_nodes.Add(nodes[i]);
            nodes[i]->AddRef();
        }
        return true;
    }
    const MKTArray<SceneNode*>& Get() const { return m_nodes; }

private:
    MKTArray<SceneNode*> m_nodes;
};

// Non-popup content in z-order first, then popup and layered windows in
// z-order.
class OrderSorter : public MKSorter {
public:
    int Compare(void* a, void* b) override
    {
        auto* first = static_cast<SceneNode*>(a);
        auto* second = static_cast<SceneNode*>(b);
        bool firstPopup = first->IsPopupWindowNode(), secondPopup = second->IsPopupWindowNode();
        if (firstPopup != secondPopup)
            return firstPopup ? 1 : -1;
        return first->GetZOrder() - second->GetZOrder();
    }
};

// A shown node the pass must hide.
bool MustHide(const SceneNode* node)
{
    return node->IsShown() && (!node->GetReady() || !node->IsVisibleInTree() || node->IsPendingNative() ||
                               node->IsHeldBack());
}

}  // namespace

NodeHost::NodeHost(HINSTANCE instance)
{
    Init(instance);
}

NodeHost::NodeHost(HWND parent, HINSTANCE instance, float width, float height, int windowFlags)
{
    Init(instance);
    SetWindow(parent, windowFlags);
    SetSize(width, height);
}

void NodeHost::Init(HINSTANCE instance)
{
    SetHostingModuleInstance(instance);
    m_stopwatch.Reset();
    m_compositionAtStart = MKIsDwmCompositionEnabled();
    m_snapshot = new (std::nothrow) AntiBlinkWindow(this);
    CreateLayer(0, 0, 0, 0, false, true);
}

NodeHost::~NodeHost()
{
    delete m_snapshot;
    MKReleaseAllItems(m_order);
    // A host let go without Close leaves its layers free, not pointing at it.
    for (int i = 0; i < m_layers.GetCount(); ++i)
        m_layers[i]->DetachTree();
    MKReleaseAllItems(m_layers);
    delete m_ownWindow;
}

// --- Window and size -----------------------------------------------------

bool NodeHost::SetWindow(HWND window, int windowFlags)
{
    if (m_window)
        return false;
    if (!window) {
        auto* own = new (std::nothrow) MKHandyWindow();
        if (!own || !own->Create(HostingModuleInstance(), nullptr)) {
            delete own;
            return false;
        }
        SetWindowPos(own->Handle(), nullptr, 0, 0, int(m_width), int(m_height),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        m_ownWindow = own;
        window = own->Handle();
    } else if (!IsWindow(window)) {
        return false;
    }
    m_window = window;
    m_windowFlags = windowFlags;
    UpdateLayout();
    return true;
}

void NodeHost::SetSize(float width, float height)
{
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    UpdateLayout();
}

void NodeHost::UpdateLayout()
{
    if (!m_window || !IsWindow(m_window) || m_width < kMinLayoutSize || m_height < kMinLayoutSize)
        return;
    RECT client = {};
    GetClientRect(m_window, &client);
    double clientWidth = client.right - client.left, clientHeight = client.bottom - client.top;
    // A minimised or collapsed window would give an infinite or zero scale.
    if (clientWidth <= 0 || clientHeight <= 0)
        return;
    if (clientWidth / clientHeight > double(m_width) / m_height) {
        m_scale = clientHeight / m_height;
        m_offsetX = float((clientWidth / m_scale - m_width) / 2);
        m_offsetY = 0;
    } else {
        m_scale = clientWidth / m_width;
        m_offsetX = 0;
        m_offsetY = float((clientHeight / m_scale - m_height) / 2);
    }
    if (m_offsetX < 0)
        m_offsetX = 0;
    if (m_offsetY < 0)
        m_offsetY = 0;
    if (LayerNode* top = GetTopLayer()) {
        top->m_x = 0;
        top->m_y = 0;
        top->m_width = m_width;
        top->m_height = m_height;
    }
    HeldNodes layers;
    if (!layers.CopyFrom(m_layers))
        return;
    for (int i = 0; i < layers.Get().GetCount(); ++i)
        layers.Get()[i]->UpdateGeometryTree();
}

RECT NodeHost::LogicalToClientRect(float x, float y, float width, float height) const
{
    auto px = [this](double v) { return int(v * m_scale + 0.5); };
    auto limit = [](float v, float low, float high) { return v < low ? low : (v > high ? high : v); };
    float left = limit(m_offsetX + x, m_offsetX, m_offsetX + m_width);
    float top = limit(m_offsetY + y, m_offsetY, m_offsetY + m_height);
    width = limit(width, 0, m_width);
    height = limit(height, 0, m_height);
    if (left + width > m_offsetX + m_width)
        width = m_offsetX + m_width - left;
    if (top + height > m_offsetY + m_height)
        height = m_offsetY + m_height - top;
    if (width <= 0.001f || height <= 0.001f)
        return RECT{};
    RECT rect = {px(left), px(top), px(width) + px(left), px(height) + px(top)};
    int areaLeft = px(m_offsetX), areaTop = px(m_offsetY);
    int areaRight = areaLeft + px(m_width), areaBottom = areaTop + px(m_height);
    if (rect.left < areaLeft)
        rect.left = areaLeft;
    if (rect.top < areaTop)
        rect.top = areaTop;
    if (rect.right > areaRight)
        rect.right = areaRight;
    if (rect.bottom > areaBottom)
        rect.bottom = areaBottom;
    return rect;
}

// --- Layers ----------------------------------------------------------------

LayerNode* NodeHost::CreateLayer(float x, float y, float width, float height, bool visible, bool topmost)
{
    auto* layer = new (std::nothrow) LayerNode(topmost);
    if (!layer)
        return nullptr;
    layer->SetVisible(visible);
    if (!AddLayer(layer)) {
        layer->Release();
        return nullptr;
    }
    layer->SetRect(x, y, width, height);
    // The host keeps the only lasting reference.
    layer->Release();
    return layer;
}

IDispatch* NodeHost::CreateLayerForProxy()
{
    auto* layer = new (std::nothrow) LayerNode(false);
    if (!layer)
        return nullptr;
    MKRefHolder<LayerNode> owner;
    owner.Attach(layer);
    return AddLayer(layer) ? layer->GetAutomationProxy() : nullptr;
}

bool NodeHost::AddLayer(LayerNode* layer)
{
    if (!layer || m_detachGuard > 0 || layer->m_host)
        return false;
    float width = layer->m_width < m_width ? layer->m_width : m_width;
    float height = layer->m_height < m_height ? layer->m_height : m_height;
    float x = layer->m_x < 0 ? 0 : layer->m_x;
    float y = layer->m_y < 0 ? 0 : layer->m_y;
    if (x + width > m_width)
        x = m_width - width;
    if (y + height > m_height)
        y = m_height - height;
    layer->SetRect(x, y, width, height);
    LayerNode* top = layer->IsTopmost() ? nullptr : GetTopLayer();
    bool added = top ? m_layers.InsertAt(m_layers.GetCount() - 1, layer) : m_layers.Add(layer);
    if (!added)
        return false;
    for (int i = 0; i < m_layers.GetCount(); ++i)
        m_layers[i]->m_childIndex = i;
    layer->AddRef();
    layer->m_parent = nullptr;
    layer->m_host = this;
    layer->AttachTree();
    layer->UpdateGeometryTree();
    RebuildOrder();
    layer->NotifyParentChanged(GetAutomationProxy());
    return true;
}

bool NodeHost::RemoveLayer(LayerNode* layer)
{
    if (!layer || m_detachGuard > 0 || layer->m_host != this || m_layers.SafeGetAt(layer->m_childIndex) != layer)
        return false;
    MKRefHolder<LayerNode> keep;
    keep.AssignPointer(layer);
    layer->Detach();
    int index = m_layers.IndexOf(layer);
    if (index < 0)
        return false;
    m_layers.RemoveAt(index);
    for (int i = index; i < m_layers.GetCount(); ++i)
        m_layers[i]->m_childIndex = i;
    RebuildOrder();
    layer->m_orderIndex = -1;
    layer->m_zOrder = -1;
    layer->m_childIndex = -1;
    layer->DetachTree();
    layer->UpdateGeometry();
    layer->NotifyParentChanged(nullptr);
    layer->Release();
    return true;
}

LayerNode* NodeHost::GetTopLayer() const
{
    LayerNode* last = m_layers.SafeGetAt(m_layers.GetCount() - 1);
    return last && last->IsTopmost() ? last : nullptr;
}

// --- Flattened order -------------------------------------------------------

void NodeHost::RebuildOrder()
{
    MKReleaseAllItems(m_order);
    if (m_inPass)
        m_repaintDuringPass = true;
    struct Walk {
        static void Number(SceneNode* node, int& counter)
        {
            node->m_zOrder = counter++;
            SceneNode::WalkGuard guard(*node);
            for (int i = 0; i < node->m_children.GetCount(); ++i)
                Number(node->m_children[i], counter);
        }
        // The node and its content in pre-order; window owners wait.
        static void Append(SceneNode* node, MKTArray<SceneNode*>& order, MKTArray<SceneNode*>& deferred)
        {
            if (node->HasCapability(SceneNode::OwnsWindow)) {
                deferred.Add(node);
                return;
            }
            order.Add(node);
            SceneNode::WalkGuard guard(*node);
            for (int i = 0; i < node->m_children.GetCount(); ++i)
                Append(node->m_children[i], order, deferred);
        }
    };
    int counter = 0;
    for (int i = 0; i < m_layers.GetCount(); ++i)
        Walk::Number(m_layers[i], counter);
    MKTArray<SceneNode*> deferred;
    for (int i = 0; i < m_layers.GetCount(); ++i)
        Walk::Append(m_layers[i], m_order, deferred);
    OrderSorter sorter;
    while (!deferred.IsEmpty()) {
        sorter.QuickSort(reinterpret_cast<void**>(deferred.GetData()), 0, deferred.GetCount() - 1);
        SceneNode* node = deferred[0];
        deferred.RemoveAt(0);
        m_order.Add(node);
        if (node->HasCapability(SceneNode::OwnsWindow)) {
            for (int i = node->m_children.GetCount() - 1; i >= 0; --i)
                deferred.InsertAt(0, node->m_children[i]);
        } else {
            SceneNode::WalkGuard guard(*node);
            for (int i = 0; i < node->m_children.GetCount(); ++i)
                Walk::Append(node->m_children[i], m_order, deferred);
        }
    }
    for (int i = 0; i < m_order.GetCount(); ++i) {
        m_order[i]->AddRef();
        m_order[i]->m_orderIndex = i;
    }
}

// --- Repaint ---------------------------------------------------------------

bool NodeHost::TakesPart(const SceneNode* node) const
{
    return node->m_host == this && !node->IsOutsideHost();
}

void NodeHost::UpdateMayLoad(const MKTArray<SceneNode*>& order, int index)
{
    SceneNode* node = order[index];
    if (m_holdCount > 0) {
        node->m_mayLoad = false;
        return;
    }
    node->m_mayLoad = true;
    RectList region;
    region.AppendNode(*node);
    // From the nearest node below down, until the area is covered.
    for (int i = index - 1; i >= 0 && !region.AllEmpty(); --i) {
        SceneNode* below = order[i];
        if (!TakesPart(below) || !region.SubtractNode(*below))
            continue;
        if (below->m_shown && (!below->m_ready || !below->IsVisibleInTree()))
            continue;
        if (!below->m_shown && below->IsVisibleInTree() && !below->m_ready) {
            node->m_mayLoad = false;
            return;
        }
    }
}

void NodeHost::ComputeHeldBack(const MKTArray<SceneNode*>& order)
{
    for (int i = order.GetCount() - 1; i >= 0; --i) {
        SceneNode* node = order[i];
        if (!TakesPart(node))
            continue;
        node->m_heldBack = false;
        node->m_pendingNative = false;
        node->m_mayLoad = true;
        if (node->HasCapability(SceneNode::NativeControl)) {
            UpdateMayLoad(order, i);
            if (!node->m_shown && !node->m_ready && node->IsVisibleInTree())
                node->m_pendingNative = true;
        }
    }
    // Later nodes lie above a native control that is still loading.
    for (int i = 0; i < order.GetCount(); ++i) {
        SceneNode* pending = order[i];
        if (!TakesPart(pending) || !pending->m_pendingNative)
            continue;
        RectF area = RectF::FromNode(*pending);
        for (int j = i + 1; j < order.GetCount(); ++j) {
            SceneNode* above = order[j];
            if (TakesPart(above) && !above->m_heldBack && RectF::Intersects(area, RectF::FromNode(*above)))
                above->m_heldBack = true;
        }
    }
}

void NodeHost::FinishPendingWindow(WindowedNode* node)
{
    node->EndWalk();
    node->ReleasePaintNow();
    node->m_shown = true;
    node->SetShown(true);
}

void NodeHost::RepaintPass(int depth)
{
    if (m_order.IsEmpty())
        return;
    if (depth == 0 && m_inPass) {
        // Not lost: the running pass goes round once more.
        m_repaintDuringPass = true;
        return;
    }
    m_inPass = true;
    int limit = m_order.GetCount() < kMaxPassDepth ? m_order.GetCount() : kMaxPassDepth;
    if (depth > limit) {
        m_inPass = false;
        return;
    }
    m_repaintDuringPass = false;
    MKRefHolder<NodeObject> keepHost;
    keepHost.AssignPointer(this);
    // The pass walks its own referenced copy: callbacks may rebuild the order.
    HeldNodes held;
    if (!held.CopyFrom(m_order)) {
        m_inPass = false;
        return;
    }
    const MKTArray<SceneNode*>& order = held.Get();
    int count = order.GetCount();

    bool anyShowable = false;
    for (int i = 0; i < count && !anyShowable; ++i)
        anyShowable = TakesPart(order[i]) && order[i]->IsShowable();
    if (!anyShowable) {
        for (int i = 0; i < count; ++i) {
            SceneNode* node = order[i];
            if (TakesPart(node) && node->m_shown) {
                node->m_shown = false;
                node->SetShown(false);
            }
        }
        if (m_window)
            UpdateWindow(m_window);
        if (m_repaintDuringPass)
            RepaintPass(depth + 1);
        m_inPass = false;
        return;
    }

    ComputeHeldBack(order);

    // Whether a snapshot covers the change.
    RectF bounds = RectF::Inverted();
    bool needed = false;
    if (m_antiBlinkEnabled) {
        if (m_handler)
            m_handler->GetSnapshotArea(bounds, needed);
        if (IHostEvents* events = QuerySinkEvents<IHostEvents>(IID_IHostEvents)) {
            float left = bounds.left, top = bounds.top, right = bounds.right, bottom = bounds.bottom;
            int32_t asked = 0;
            if (SUCCEEDED(events->GetSnapshotArea(&left, &top, &right, &bottom, &asked))) {
                if (asked)
                    needed = true;
                bounds = RectF(left, top, right, bottom);
            }
            events->Release();
        }
        int windows = 0;
        for (int i = 0; i < count; ++i) {
            SceneNode* node = order[i];
            if (!TakesPart(node))
                continue;
            bool appears = !node->m_shown && node->m_ready && node->IsVisibleInTree();
            if (!MustHide(node) && !appears)
                continue;
            bounds.Unite(RectF::FromNode(*node));
            if (node->HasCapability(SceneNode::OwnsWindow))
                ++windows;
        }
        if (windows > 1)
            needed = true;
    }
    bool covered = false;
    if (needed) {
        float width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
        if (m_snapshot) {
            m_snapshotShown = true;
            covered = true;
            m_snapshot->Show(m_window, bounds.left, bounds.top, width > 0 ? width : 0, height > 0 ? height : 0);
        }
        if (m_handler)
            m_handler->OnSnapshotShown();
        if (IHostEvents* events = QuerySinkEvents<IHostEvents>(IID_IHostEvents)) {
            events->OnSnapshotShown();
            events->Release();
        }
    }

    bool hidden = false;
    for (int i = 0; i < count; ++i) {
        SceneNode* node = order[i];
        if (TakesPart(node) && MustHide(node)) {
            node->m_shown = false;
            node->SetShown(false);
            hidden = true;
        }
    }

    // At most one windowed node waits: its window shows only after the
    // content that follows it, up to the next window, was made visible.
    bool changed = false;
    WindowedNode* pending = nullptr;
    for (int i = 0; i < count; ++i) {
        SceneNode* node = order[i];
        if (!TakesPart(node))
            continue;
        if (pending && node->HasCapability(SceneNode::OwnsWindow)) {
            FinishPendingWindow(pending);
            pending = nullptr;
            changed = true;
        }
        if (node->m_shown || !node->IsVisibleInTree())
            continue;
        if (!node->m_ready) {
            node->TryBecomeReady();
            if (!node->m_ready)
                continue;
            changed = true;
        }
        if (node->m_heldBack)
            continue;
        if (node->GetNodeType() == SceneNode::Windowed) {
            pending = static_cast<WindowedNode*>(node);
            pending->HoldPaint();
            pending->UpdateContent();
            ++pending->m_walkGuard;
        } else {
            node->m_shown = true;
            node->SetShown(true);
            changed = true;
        }
    }
    if (pending) {
        FinishPendingWindow(pending);
        changed = true;
    }

    if (covered)
        HideAntiBlink();
    for (int i = 0; i < count; ++i) {
        SceneNode* node = order[i];
        if (TakesPart(node)) {
            node->m_heldBack = false;
            node->m_pendingNative = false;
            node->m_mayLoad = true;
        }
    }
    if (changed || m_repaintDuringPass) {
        RepaintPass(depth + 1);
    } else if (hidden) {
        for (int i = 0; i < count; ++i) {
            if (TakesPart(order[i]) && order[i]->m_shown)
                order[i]->UpdateNow();
        }
        if (m_window)
            UpdateWindow(m_window);
    }
    m_inPass = false;
}

void NodeHost::RequestRepaint()
{
    if (m_holdCount > 0)
        m_repaintRequested = true;
    if (m_inPass)
        m_repaintDuringPass = true;
    if (m_lockCount > 0) {
        m_deferred = true;
        return;
    }
    m_lockCount = 1;
    RepaintPass(0);
    m_deferred = false;
    m_lockCount = 0;
}

void NodeHost::BeginUpdate(bool hold)
{
    ++m_lockCount;
    if (hold)
        ++m_holdCount;
}

void NodeHost::EndUpdate(bool hold)
{
    if (m_lockCount <= 0)
        return;
    if (--m_lockCount == 0 && m_deferred) {
        RequestRepaint();
        // The hold stays until a flush at least kFlushDelayMs from now.
        if (hold) {
            m_stopwatch.Reset();
            m_stopwatch.Start();
        }
    } else if (hold && m_holdCount > 0) {
        --m_holdCount;
    }
}

void NodeHost::FlushPendingUpdate()
{
    if (m_holdCount == 0)
        return;
    if (m_repaintRequested && m_stopwatch.ElapsedMs() < kFlushDelayMs)
        return;
    m_holdCount = 0;
    m_stopwatch.Reset();
    if (m_repaintRequested) {
        m_repaintRequested = false;
        RepaintPass(0);
    }
}

// --- Snapshots and windows -------------------------------------------------

bool NodeHost::OverlapsWindowedControl(const RectList& region) const
{
    for (int i = 0; i < m_order.GetCount(); ++i) {
        const SceneNode* node = m_order[i];
        if (!node->HasCapability(SceneNode::OwnsWindow) || !node->HasCapability(SceneNode::NativeControl) ||
            !node->IsVisibleInTree() || !TakesPart(node))
            continue;
        RectF area = RectF::FromNode(*node);
        for (int k = 0; k < region.GetCount(); ++k) {
            if (RectF::Intersects(region[k], area))
                return true;
        }
    }
    return false;
}

void NodeHost::SetSnapshotWindow(HostSnapshot* snapshot)
{
    if (snapshot == m_snapshot)
        return;
    HideAntiBlink();
    delete m_snapshot;
    m_snapshot = snapshot;
}

void NodeHost::ShowAntiBlink(float x, float y, float width, float height)
{
    if (!m_snapshot)
        return;
    m_snapshotShown = true;
    m_snapshot->Show(m_window, x, y, width, height);
}

void NodeHost::HideAntiBlink()
{
    m_snapshotShown = false;
    if (m_snapshot)
        m_snapshot->Hide();
}

void NodeHost::ShowNodeWindow(SceneNode* node, bool show)
{
    NodeWindow* window = node ? node->GetNodeWindow() : nullptr;
    if (!window)
        return;
    // With desktop composition a window that appears or goes blinks: the area
    // is covered while it changes, unless a pass covers it already.
    bool cover = m_compositionAtStart && !m_snapshotShown;
    if (cover)
        ShowAntiBlink(node->GetHostX(), node->GetHostY(), node->GetWidth(), node->GetHeight());
    window->Show(show);
    if (cover)
        HideAntiBlink();
}

// --- Focus -------------------------------------------------------------------

void NodeHost::PushFocus(SceneNode* node)
{
    m_focusUsed = true;
    if (!node)
        return;
    int index = m_focusStack.IndexOf(node);
    if (index >= 0 && index == m_focusStack.GetCount() - 1)
        return;
    if (index >= 0)
        m_focusStack.RemoveAt(index);
    m_focusStack.Add(node);
    RestoreFocus();
}

void NodeHost::PopFocus(SceneNode* node)
{
    int index = m_focusStack.IndexOf(node);
    if (index >= 0)
        m_focusStack.RemoveAt(index);
    RestoreFocus();
}

void NodeHost::ForgetFocus(SceneNode* node)
{
    int index = m_focusStack.IndexOf(node);
    if (index >= 0)
        m_focusStack.RemoveAt(index);
}

void NodeHost::RestoreFocus()
{
    if (SceneNode* top = m_focusStack.SafeGetAt(m_focusStack.GetCount() - 1)) {
        top->TakeFocus();
        return;
    }
    if (m_focusUsed)
        SetFocus(m_handler ? m_handler->GetFocusWindow() : nullptr);
}

bool NodeHost::EnsureCursorShown()
{
    int count = ShowCursor(TRUE);
    if (count > 0) {
        ShowCursor(FALSE);
        return false;
    }
    while (count < 0)
        count = ShowCursor(TRUE);
    return true;
}

bool NodeHost::EnsureCursorHidden()
{
    int count = ShowCursor(FALSE);
    if (count < -1) {
        ShowCursor(TRUE);
        return false;
    }
    while (count >= 0)
        count = ShowCursor(FALSE);
    return true;
}

// --- NodeObject ----------------------------------------------------------------

void NodeHost::DetachChildren()
{
    ++m_detachGuard;
    for (int i = 0; i < m_layers.GetCount(); ++i)
        m_layers[i]->Detach();
    --m_detachGuard;
}

void NodeHost::CloseChildren()
{
    HeldNodes layers;
    if (layers.CopyFrom(m_layers)) {
        for (int i = 0; i < layers.Get().GetCount(); ++i)
            layers.Get()[i]->Close();
    }
    m_focusStack.RemoveAll();
}

void NodeHost::OnClose()
{
    HideAntiBlink();
    if (m_ownWindow) {
        m_ownWindow->DestroyWindow();
        delete m_ownWindow;
        m_ownWindow = nullptr;
    }
    m_window = nullptr;
    if (HostHandler* handler = m_handler) {
        MKRefHolder<NodeObject> keep;
        keep.AssignPointer(this);
        m_handler = nullptr;
        handler->OnHostClosed();
    }
}

NodeProxy* NodeHost::CreateProxy()
{
    return MakeNodeProxy<NodeHostProxy>(this);
}
