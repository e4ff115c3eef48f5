#pragma once
#include "addin/hosting/SceneNode.h"

// A node that holds child nodes and draws nothing itself. Adding and removing
// keep the host's flattened order current and tell the child's sink
// (IContainerEvents::OnParentChanged). Both refuse while the children are
// being walked (a sink or node callback in the middle of a walk); the caller
// may try again afterwards.
class ContainerNode : public SceneNode {
public:
    ContainerNode();

    int GetNodeType() const override { return Container; }

    // Refused while the children are walked, or when the child already has a
    // parent or a layer. The container takes a reference on the child.
    bool AddChild(SceneNode* child);
    // Refused when the container has no layer, while its children are walked,
    // or when the child is not its child. The container's reference goes and
    // may delete the child.
    bool RemoveChild(SceneNode* child);

    // Adds a new node (whose creator's reference it takes over) and answers
    // the node's automation proxy; a refused node is deleted and the answer
    // is null.
    IDispatch* AddNewChild(SceneNode* child);
    IDispatch* CreateContainer();
    // Window mode 0 to 3, native 0 or 1, renderer kind 0 to 2; other values
    // answer null.
    IDispatch* CreateWindowed(int windowMode, int native, int rendererKind);
    // An image node; only below a windowed node (null otherwise).
    IDispatch* CreateImage();

protected:
    NodeProxy* CreateProxy() override;
    bool IsReady() override { return true; }
    bool OnActivate() override { return true; }
    bool OnStart() override { return true; }
    bool OnStop() override { return true; }

private:
    friend class SceneNode;

    // A closing child that RemoveChild refused (outside any layer, or while
    // the list is walked) leaves the list all the same; during a walk it is
    // taken out when the walk ends, and the answer is false.
    bool DropClosingChild(SceneNode* child);
};
