#pragma once
#include "addin/hosting/NodeObject.h"
#include "addin/hosting/RectF.h"
#include "base/MKRefHolder.h"
#include "base/MKTArray.h"

#include <stdint.h>
#include <windows.h>

class ContainerNode;
class LayerNode;
class NodeHost;
class NodeLayer;
class NodeWindow;
class WindowedNode;

// A node of the scene tree below a NodeHost: a float rectangle in logical
// units relative to its parent, the positions derived from it (in the window
// that draws the node, in the host, and in pixels through the host's scale),
// children, visibility, opacity, readiness and a six-state lifecycle reported
// to the attached sink (INodeStateEvents).
//
// Ownership: a parent holds one reference on each child, the host one on each
// layer and one on every node of its flattened order; host, layer, parent and
// windowed ancestor are plain pointers, valid while the node is in the tree.
// Lifecycle calls (Activate, Start, Stop, Close) keep the node alive while
// they run: sinks may drop the last other reference from any notice. Child
// lists may not change while they are walked (the walk guard); changes are
// then refused, never deferred. One thread: the host's.
class SceneNode : public NodeObject {
public:
    enum Type { Container = 1, Layer = 2, Windowed = 3, Image = 4, Flash = 6, Movie = 7, QuickTimePlugin = 8,
                QuickTimeControl = 9, WebBrowser = 10 };
    enum Capability : uint32_t {
        NoOwnContent = 1,    // containers draw nothing themselves
        OwnsWindow = 2,      // windowed nodes
        KeepsControlSize = 4,
        NativeControl = 8,   // the window is a native control's
    };
    enum State { Inactive = 1, Activating = 2, Active = 3, Starting = 4, Started = 5, Stopping = 6 };

    explicit SceneNode(bool hasChildren);

    virtual int GetNodeType() const = 0;
    // The node's own window object (window layer); none by default.
    virtual NodeWindow* GetNodeWindow() { return nullptr; }
    // Paints the node's window synchronously; nothing by default.
    virtual void UpdateNow() {}
    virtual void TakeFocus() {}
    // Realises (or hides) the node on screen; by default invalidates its
    // window rectangle. The host sets the shown flag before it calls this.
    virtual void SetShown(bool show);
    // ready := (in a host ? IsReady() : false), without notice.
    virtual void UpdateReady();
    // Whether the node's content is usable; true by default.
    virtual bool IsReady() { return true; }
    // Draws the content into the node's layer; `changed` gets the window
    // pixel rectangle that changed. False (nothing drawn) by default.
    virtual bool RenderContent(RECT& changed);
    // Lets the content layer go (its resources first); the content must be
    // drawn again.
    virtual void ReleaseLayer();
    // Asked by the repaint pass for a visible node that is not ready.
    virtual void TryBecomeReady() {}
    // The transition to active: false when the node is outside the host, is
    // activating or stopping, its ancestors cannot be activated or the sink
    // or OnActivate refuse. When recursive the children follow (their
    // answers ignored).
    virtual bool Activate(bool recursive);

    // Geometry. SetRect refuses (false, nothing stored) a rectangle that
    // would leave the node's layer; a layer is fitted into its host.
    bool SetRect(float x, float y, float width, float height);
    void UpdateGeometry();
    void UpdateGeometryTree();
    int ToPixels(float value) const;
    // Left, top, right, bottom summed over the node and its ancestors.
    RectF GetAbsoluteRect() const;
    // The same summed below the layer (the layer's own position left out).
    RectF GetLayerRect() const;
    RECT GetWindowPixelRect() const;
    bool IsOutsideHost() const;

    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    float GetWindowX() const { return m_windowX; }
    float GetWindowY() const { return m_windowY; }
    float GetHostX() const { return m_hostX; }
    float GetHostY() const { return m_hostY; }
    int GetPixelX() const { return m_pixelX; }
    int GetPixelY() const { return m_pixelY; }
    int GetPixelWidth() const { return m_pixelWidth; }
    int GetPixelHeight() const { return m_pixelHeight; }
    int GetWindowPixelX() const { return m_windowPixelX; }
    int GetWindowPixelY() const { return m_windowPixelY; }
    int GetHostPixelX() const { return m_hostPixelX; }
    int GetHostPixelY() const { return m_hostPixelY; }

    // Tree.
    NodeHost* GetHost() const { return m_host; }
    LayerNode* GetLayer() const { return m_layer; }
    ContainerNode* GetParent() const { return m_parent; }
    WindowedNode* GetWindowedAncestor() const { return m_windowedAncestor; }
    int GetChildCount() const { return m_children.GetCount(); }
    SceneNode* GetChild(int index) const { return m_children.SafeGetAt(index); }
    int GetChildIndex() const { return m_childIndex; }
    int GetZOrder() const { return m_zOrder; }
    int GetOrderIndex() const { return m_orderIndex; }
    bool IsWalkingChildren() const { return m_walkGuard > 0; }
    uint32_t GetCapabilities() const { return m_capabilities; }
    bool HasCapability(uint32_t bits) const { return (m_capabilities & bits) != 0; }
    // A windowed node whose window is not a plain child window (modes 1 to 3).
    bool IsPopupWindowNode() const;

    // Visibility, readiness, opacity.
    bool IsVisible() const { return m_visible; }
    void SetVisible(bool visible);
    bool IsVisibleInTree() const;
    bool GetReady() const { return m_ready; }
    bool IsShowable() const { return m_ready && IsVisibleInTree(); }
    void SetReady(bool ready);
    bool IsShown() const { return m_shown; }
    void SetShownTree(bool shown);
    float GetOpacity() const { return m_opacity; }
    void SetOpacity(float opacity);
    float GetEffectiveOpacity() const;
    float GetOpacityBelowLayeredWindow() const;
    uint8_t GetAlphaByte() const;
    bool IsAnimating() const { return m_animating; }
    void SetAnimating(bool animating);
    SceneNode* GetLinkedNode() const { return m_linked.Get(); }
    // Takes a reference on the node (null drops the link).
    void SetLinkedNode(SceneNode* node) { m_linked.AssignPointer(node); }
    bool IsHeldBack() const { return m_heldBack; }
    bool IsPendingNative() const { return m_pendingNative; }
    bool MayLoad() const { return m_mayLoad; }
    bool IsContentDirty() const { return m_contentDirty; }

    // Content and windows: through the windowed ancestor's renderer; nothing
    // without one.
    void Invalidate(const RECT* rect = nullptr);
    bool HasRenderer() const;
    // Renders dirty content and invalidates what changed; false when there is
    // nothing to render (no content of its own, no renderer, nothing dirty).
    bool UpdateContent();
    // Marks the content for redrawing; the rectangle (null: the whole layer)
    // becomes dirty in the content layer.
    void InvalidateContent(const RECT* rect = nullptr);
    // The content layer at this size and format (made by the renderer above,
    // a differing one released first); null for a node without content of
    // its own or without a renderer above.
    NodeLayer* GetOrCreateLayer(int width, int height, uint32_t format);
    NodeLayer* GetContentLayer() const { return m_contentLayer; }
    // Draws the content layer and the subtree drawn by the same window into
    // the renderer's frame, limited to the rectangle.
    bool Composite(const RECT* frame);
    // Every layer of the subtree goes (a renderer lost its device).
    void ReleaseLayerTree();
    // The nearest window of the given kind (popup or child) above the node in
    // z-order, or in the subtree; null when none.
    NodeWindow* FindWindowAbove(bool popup) const;
    NodeWindow* FindWindowInSubtree(bool popup) const;
    // The window that draws the node: its windowed ancestor's (null until
    // that is created), or the host's for a layer or a node without one.
    HWND GetWindowHandle() const;

    // Tree membership, called by containers and the host after they set or
    // cleared the parent or host.
    void AttachTree();
    void DetachTree();

    // Lifecycle (see Activate).
    int GetState() const { return m_state; }
    bool Start(bool recursive);
    bool Stop();

    // The sink's interfaces with a reference, or null.
    INodeStateEvents* QueryStateEvents() const { return QuerySinkEvents<INodeStateEvents>(IID_INodeStateEvents); }
    IContainerEvents* QueryContainerEvents() const
    {
        return QuerySinkEvents<IContainerEvents>(IID_IContainerEvents);
    }

protected:
    ~SceneNode() override;

    // NodeObject.
    void DetachChildren() override;
    void OnDetach() override;
    void CloseChildren() override;
    void OnClose() override;

    // Pixel rectangles (left, top, right, bottom) before and after a move.
    virtual void OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                               const RECT& newWindowRect);
    virtual void OnOpacityChanged();
    virtual bool OnActivate() = 0;
    virtual bool OnStart() = 0;
    virtual bool OnStop() = 0;

    void AddCapabilities(uint32_t bits) { m_capabilities |= bits; }
    void RemoveCapabilities(uint32_t bits) { m_capabilities &= ~bits; }
    void NotifyParentChanged(IDispatch* parent);

    // Raised while the children are walked.
    class WalkGuard {
    public:
        explicit WalkGuard(SceneNode& node) : m_node(node) { ++m_node.m_walkGuard; }
        ~WalkGuard() { m_node.EndWalk(); }
        WalkGuard(const WalkGuard&) = delete;
        WalkGuard& operator=(const WalkGuard&) = delete;

    private:
        SceneNode& m_node;
    };

private:
    friend class ContainerNode;
    friend class NodeHost;

    bool IsClosingInTree() const;
    // Lowers the walk guard; at 0 the children that closed during the walk
    // leave the tree.
    void EndWalk();
    bool PrepareAncestors(bool forStart);
    // Every node of the top layer linked to this layer: Activate(false),
    // Start(false) or Stop().
    enum class LinkedStep { Activate, Start, Stop };
    void DriveLinkedNodes(LinkedStep step);
    // Activation or start once the state was accepted: the node's own step
    // (when its state asks for it), the children, the linked nodes, the notice.
    bool Enter(bool start, bool recursive);
    void RecomputeWindowedAncestor();
    void RaiseAncestorPaintHold();
    void LowerAncestorPaintHold();

    int m_childIndex = 0;
    int m_zOrder = -1;
    int m_orderIndex = -1;
    float m_x = 0, m_y = 0, m_width = 0, m_height = 0;
    float m_windowX = 0, m_windowY = 0;
    float m_hostX = 0, m_hostY = 0;
    int m_pixelX = 0, m_pixelY = 0, m_pixelWidth = 0, m_pixelHeight = 0;
    int m_windowPixelX = 0, m_windowPixelY = 0;
    int m_hostPixelX = 0, m_hostPixelY = 0;
    WindowedNode* m_windowedAncestor = nullptr;
    float m_opacity = 1;
    NodeHost* m_host = nullptr;
    LayerNode* m_layer = nullptr;
    MKRefHolder<SceneNode> m_linked;
    ContainerNode* m_parent = nullptr;
    MKTArray<SceneNode*> m_children;
    int m_walkGuard = 0;
    bool m_closedChildPending = false;
    bool m_hasChildren;
    bool m_contentDirty = true;
    NodeLayer* m_contentLayer = nullptr;
    uint32_t m_capabilities = 0;
    int m_state = Inactive;
    bool m_animating = false;
    bool m_shown = false;
    bool m_visible = true;
    bool m_ready = false;
    bool m_pendingNative = false;
    bool m_mayLoad = false;
    bool m_heldBack = false;
};
