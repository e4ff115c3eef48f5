#pragma once
#include "addin/hosting/ContainerNode.h"

class LayerOwner;

// A container placed directly under a NodeHost, one per stacking level. It
// has no window and draws nothing: its content shows below the windowed nodes
// it holds. A topmost layer stays last in the host's list and covers the host.
// The layer counts its animating nodes.
class LayerNode : public ContainerNode {
public:
    explicit LayerNode(bool topmost);

    int GetNodeType() const override { return Layer; }

    bool IsTopmost() const { return m_topmost; }
    // The layer is in a host whose window still exists.
    bool HasHostWindow() const;
    int GetAnimatingCount() const { return m_animatingCount; }
    void AddAnimating() { ++m_animatingCount; }
    void RemoveAnimating() { --m_animatingCount; }
    // Who made the layer and serves its controls' files; null: the host's
    // handler does.
    LayerOwner* GetOwner() const { return m_owner; }
    void SetOwner(LayerOwner* owner) { m_owner = owner; }

protected:
    NodeProxy* CreateProxy() override;
    bool OnActivate() override { return HasHostWindow(); }
    bool OnStart() override { return HasHostWindow(); }

private:
    int m_animatingCount = 0;
    bool m_topmost;
    LayerOwner* m_owner = nullptr;
};
