#include "addin/hosting/ContainerNode.h"

#include "addin/hosting/ContainerNodeProxy.h"
#include "addin/hosting/ImageNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/WindowedNode.h"
#include "base/MKRefHolder.h"

#include <new>

ContainerNode::ContainerNode() : SceneNode(true)
{
    AddCapabilities(NoOwnContent);
}

bool ContainerNode::AddChild(SceneNode* child)
{
    if (!child || IsWalkingChildren() || child->m_parent || child->m_layer)
        return false;
    if (!m_children.Add(child))
        return false;
    child->AddRef();
    child->m_parent = this;
    child->m_childIndex = m_children.GetCount() - 1;
    if (GetHost()) {
        child->AttachTree();
        // A subtree built outside the host gets its positions now, all of them.
        child->UpdateGeometryTree();
        GetHost()->RebuildOrder();
    }
    child->NotifyParentChanged(GetAutomationProxy());
    return true;
}

bool ContainerNode::RemoveChild(SceneNode* child)
{
    if (!child || !GetLayer() || IsWalkingChildren() || child->m_parent != this || !child->m_layer)
        return false;
    int index = child->m_childIndex;
    if (m_children.SafeGetAt(index) != child)
        return false;
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(child);
    child->Detach();
    // The detach may have run callbacks that changed the list.
    index = m_children.IndexOf(child);
    if (index < 0)
        return false;
    m_children.RemoveAt(index);
    child->Release();
    for (int i = index; i < m_children.GetCount(); ++i)
        m_children[i]->m_childIndex = i;
    if (GetHost())
        GetHost()->RebuildOrder();
    child->m_orderIndex = -1;
    child->m_zOrder = -1;
    child->m_parent = nullptr;
    child->m_childIndex = -1;
    child->DetachTree();
    child->UpdateGeometry();
    child->NotifyParentChanged(nullptr);
    return true;
}

bool ContainerNode::DropClosingChild(SceneNode* child)
{
    int index = m_children.IndexOf(child);
    if (index < 0)
        return false;
    if (IsWalkingChildren()) {
        // Taken out when the walk ends: a closed node must not stay in the
        // tree or the host's order.
        m_closedChildPending = true;
        return false;
    }
    m_children.RemoveAt(index);
    for (int i = index; i < m_children.GetCount(); ++i)
        m_children[i]->m_childIndex = i;
    if (GetHost())
        GetHost()->RebuildOrder();
    child->m_orderIndex = -1;
    child->m_zOrder = -1;
    child->m_parent = nullptr;
    child->m_childIndex = -1;
    child->DetachTree();
    child->UpdateGeometry();
    child->Release();
    return true;
}

IDispatch* ContainerNode::AddNewChild(SceneNode* child)
{
    if (!child)
        return nullptr;
    MKRefHolder<SceneNode> owner;
    owner.Attach(child);
    return AddChild(child) ? child->GetAutomationProxy() : nullptr;
}

IDispatch* ContainerNode::CreateContainer()
{
    return AddNewChild(new (std::nothrow) ContainerNode());
}

IDispatch* ContainerNode::CreateWindowed(int windowMode, int native, int rendererKind)
{
    if (windowMode < 0 || windowMode > 3 || native < 0 || native > 1 || rendererKind < 0 || rendererKind > 2)
        return nullptr;
    return AddNewChild(new (std::nothrow) WindowedNode(windowMode, native, rendererKind));
}

IDispatch* ContainerNode::CreateImage()
{
    if (!GetWindowedAncestor())
        return nullptr;
    return AddNewChild(new (std::nothrow) ImageNode());
}

NodeProxy* ContainerNode::CreateProxy()
{
    return MakeNodeProxy<ContainerNodeProxy>(this);
}
