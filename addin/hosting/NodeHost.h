#pragma once
#include "addin/hosting/NodeObject.h"
#include "addin/hosting/RectList.h"
#include "base/MKStopwatch.h"
#include "base/MKTArray.h"

#include <windows.h>

class HostHandler;
class HostSnapshot;
class LayerNode;
class MKHandyWindow;
class SceneNode;
class WindowedNode;

// Owner of one scene tree and the window it is drawn into. The host keeps
// its layers in stacking order (a hidden topmost layer from the start, always
// last), a flattened z-ordered list of every node, and the scale and
// letterbox offset that turn logical units into the window's pixels. Its
// repaint pass decides which nodes are shown, which wait for a native control
// below them, and whether the change is covered by a snapshot.
//
// Batching: changes requested while no update bracket is open are painted at
// once; inside brackets they are painted once when the outermost bracket
// closes; when repaints were requested inside a bracket that holds them, one
// more pass follows on the first FlushPendingUpdate at least 50 ms after the
// bracket closed. Nested passes stop at 50 levels.
//
// Ownership: the host holds one reference on each layer and on every node of
// its order; a pass holds its own on the nodes it walks, so sinks and nodes
// may change the tree during a pass (the change is painted by a following
// pass). Nothing here runs a thread or a timer: the owner's ticks call
// FlushPendingUpdate. One thread: the one that made the host.
class NodeHost : public NodeObject {
public:
    // Logical units below this (width or height) give no layout.
    static constexpr float kMinLayoutSize = 0.0001f;
    static constexpr int kMaxPassDepth = 50;
    static constexpr int64_t kFlushDelayMs = 50;

    // No window yet (SetWindow gives one). The module instance is kept
    // process-wide for the window classes.
    explicit NodeHost(HINSTANCE instance);
    // A host drawn into `parent` (null: a hidden window of its own).
    NodeHost(HWND parent, HINSTANCE instance, float width, float height, int windowFlags);

    // Window and size. SetWindow refuses when the host has a window already,
    // for a handle that is not a window, or when its own window cannot be made.
    bool SetWindow(HWND window, int windowFlags);
    HWND GetWindow() const { return m_window; }
    int GetWindowFlags() const { return m_windowFlags; }
    void SetSize(float width, float height);
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    double GetScale() const { return m_scale; }
    float GetOffsetX() const { return m_offsetX; }
    float GetOffsetY() const { return m_offsetY; }
    // Scale and letterbox offset from the window's client size; then every
    // layer's geometry. Nothing without a window, for a host smaller than
    // kMinLayoutSize or a client area without width or height.
    void UpdateLayout();
    // The host-area rectangle in client pixels, limited to the letterboxed
    // area; empty (0, 0, 0, 0) for a width or height of 0.001 or less.
    RECT LogicalToClientRect(float x, float y, float width, float height) const;

    // Layers. CreateLayer answers the new layer (the host keeps the only
    // lasting reference) or null when it was refused.
    LayerNode* CreateLayer(float x, float y, float width, float height, bool visible, bool topmost = false);
    IDispatch* CreateLayerForProxy();
    bool AddLayer(LayerNode* layer);
    bool RemoveLayer(LayerNode* layer);
    LayerNode* GetTopLayer() const;
    int GetLayerCount() const { return m_layers.GetCount(); }
    LayerNode* GetLayer(int index) const { return m_layers.SafeGetAt(index); }

    // Flattened order: content in z-order with windowed subtrees after the
    // content they cover, popup and layered windows last.
    void RebuildOrder();
    int GetOrderCount() const { return m_order.GetCount(); }
    SceneNode* GetOrderNode(int index) const { return m_order.SafeGetAt(index); }

    // Repaint and batching.
    void RequestRepaint();
    void BeginUpdate(bool hold);
    void EndUpdate(bool hold);
    bool IsUpdating() const { return m_lockCount > 0; }
    void FlushPendingUpdate();
    void RepaintPass(int depth);
    int GetHoldCount() const { return m_holdCount; }
    // The flush delay is measured on this clock (tests drive their own).
    void SetClock(MKClockFunction clock) { m_stopwatch.SetClock(clock); }
    // The watch that delays a held repaint (ClockPauseGuard keeps event time
    // out of it).
    MKStopwatch& GetRepaintStopwatch() { return m_stopwatch; }

    // True when part of the region lies under a visible native control window.
    bool OverlapsWindowedControl(const RectList& region) const;
    void ShowAntiBlink(float x, float y, float width, float height);
    void HideAntiBlink();
    // Shows or hides the node's own window (SceneNode::GetNodeWindow).
    void ShowNodeWindow(SceneNode* node, bool show);
    bool IsSnapshotShown() const { return m_snapshotShown; }
    void SetAntiBlinkEnabled(bool enabled) { m_antiBlinkEnabled = enabled; }
    // The node-window layer's snapshot window, owned by the host from here on
    // (null: none, no snapshots are shown).
    void SetSnapshotWindow(HostSnapshot* snapshot);

    // The owner's handler (not owned; see HostHandler).
    void SetHostHandler(HostHandler* handler) { m_handler = handler; }
    HostHandler* GetHostHandler() const { return m_handler; }

    // Focus: the stack's top node takes the keyboard focus.
    void PushFocus(SceneNode* node);
    void PopFocus(SceneNode* node);
    void RestoreFocus();
    // The node on top of the focus stack, or null.
    SceneNode* GetFocusTop() const { return m_focusStack.SafeGetAt(m_focusStack.GetCount() - 1); }
    // Takes a node that leaves the host off the stack, without moving the
    // focus (the stack holds no references).
    void ForgetFocus(SceneNode* node);

    // Cursor requests of movies: true when the call changed the cursor's
    // display state, false when it was already so.
    static bool EnsureCursorShown();
    static bool EnsureCursorHidden();

protected:
    NodeProxy* CreateProxy() override;
    ~NodeHost() override;

    void DetachChildren() override;
    void CloseChildren() override;
    void OnClose() override;

private:
    void Init(HINSTANCE instance);
    // Nodes of this host that are not outside it take part in a pass.
    bool TakesPart(const SceneNode* node) const;
    void ComputeHeldBack(const MKTArray<SceneNode*>& order);
    void UpdateMayLoad(const MKTArray<SceneNode*>& order, int index);
    void FinishPendingWindow(WindowedNode* node);

    HWND m_window = nullptr;
    MKHandyWindow* m_ownWindow = nullptr;
    HostSnapshot* m_snapshot = nullptr;
    bool m_antiBlinkEnabled = true;
    bool m_snapshotShown = false;
    int m_windowFlags = 1;
    double m_scale = 1.0;
    float m_offsetX = 0, m_offsetY = 0;
    float m_width = 0, m_height = 0;
    int m_holdCount = 0;
    MKStopwatch m_stopwatch;
    MKTArray<LayerNode*> m_layers;
    int m_detachGuard = 0;
    MKTArray<SceneNode*> m_order;
    bool m_inPass = false;
    // A repaint was asked for, or the order changed, while a pass ran: the
    // pass runs once more (within the depth limit).
    bool m_repaintDuringPass = false;
    bool m_repaintRequested = false;
    int m_lockCount = 0;
    bool m_deferred = false;
    HostHandler* m_handler = nullptr;
    bool m_compositionAtStart = false;
    MKTArray<SceneNode*> m_focusStack;
    bool m_focusUsed = false;
};
