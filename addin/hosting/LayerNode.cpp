#include "addin/hosting/LayerNode.h"

#include "addin/hosting/LayerNodeProxy.h"
#include "addin/hosting/NodeHost.h"

LayerNode::LayerNode(bool topmost) : m_topmost(topmost) {}

bool LayerNode::HasHostWindow() const
{
    return GetHost() && IsWindow(GetHost()->GetWindow());
}

NodeProxy* LayerNode::CreateProxy()
{
    return MakeNodeProxy<LayerNodeProxy>(this);
}
