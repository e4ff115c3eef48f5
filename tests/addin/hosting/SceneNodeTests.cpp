// Scene nodes: geometry in logical units and pixels, rectangle rules, tree
// membership, the lifecycle reported to a sink, closing.
#include "SceneTestSupport.h"

#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "base/MKRefHolder.h"

#include <gtest/gtest.h>

namespace {

TEST(SceneNode, EveryObjectTakesTheNextNameWhateverItsType)
{
    auto* first = new TestContentNode();
    auto* host = new NodeHost(GetModuleHandleW(nullptr));  // its topmost layer is named too
    auto* second = new ContainerNode();
    int n = _wtoi(first->GetName().GetText() + 7);
    EXPECT_EQ(MKString::FromFormat(L"Object-%d", n), first->GetName());
    EXPECT_EQ(MKString::FromFormat(L"Object-%d", n + 1), host->GetName());
    EXPECT_EQ(MKString::FromFormat(L"Object-%d", n + 3), second->GetName());
    first->Release();
    second->Release();
    host->Close();
    host->Release();
}

TEST(SceneNode, PixelSizesAreMeasuredFromTheHostPositionSoNeighboursMeet)
{
    // 150 x 150 pixels for 100 x 100 units: scale 1.5.
    TestHost host(150, 150, 100, 100);
    ASSERT_DOUBLE_EQ(host->GetScale(), 1.5);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    ASSERT_NE(layer, nullptr);
    struct Case {
        float x, width;
        int pixelX, pixelWidth;
    };
    // px(v) = v * 1.5 + 0.5 truncated.
    const Case cases[] = {{0, 1, 0, 2}, {1, 1, 2, 1}, {2, 1, 3, 2}, {3, 2, 5, 3}, {5, 0.5f, 8, 0}, {5.5f, 3, 8, 5}};
    std::vector<TestContentNode*> nodes;
    for (const Case& c : cases)
        nodes.push_back(AddTo(layer, new TestContentNode(), c.x, 10, c.width, 1));
    for (size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(nodes[i]->GetHostPixelX(), cases[i].pixelX);
        EXPECT_EQ(nodes[i]->GetPixelWidth(), cases[i].pixelWidth);
        if (i + 1 < nodes.size()) {  // no gap, no overlap
            EXPECT_EQ(nodes[i]->GetHostPixelX() + nodes[i]->GetPixelWidth(), nodes[i + 1]->GetHostPixelX());
        }
    }
}

TEST(SceneNode, PositionsAddUpThroughParentsAndWindowedNodesStartTheirOwnOrigin)
{
    TestHost host(1600, 900, 1024, 768);
    LayerNode* layer = host->CreateLayer(100, 50, 800, 600, true, false);
    auto* container = AddTo(layer, new ContainerNode(), 10, 20, 500, 500);
    auto* windowed = AddTo(container, new TestWindowedNode(0, 0), 5, 5, 300, 300);
    auto* content = AddTo<TestContentNode>(windowed, new TestContentNode(), 7, 8, 10, 10);
    EXPECT_EQ(RectF(122, 83, 132, 93), content->GetAbsoluteRect());
    EXPECT_EQ(RectF(22, 33, 32, 43), content->GetLayerRect());
    EXPECT_FLOAT_EQ(content->GetHostX(), 122);
    EXPECT_FLOAT_EQ(content->GetHostY(), 83);
    // The windowed node is its content's origin; the layer's window position
    // includes the letterbox offset.
    EXPECT_FLOAT_EQ(windowed->GetWindowX(), 0);
    EXPECT_FLOAT_EQ(content->GetWindowX(), 7);
    EXPECT_NEAR(layer->GetWindowX(), 100 + host->GetOffsetX(), 1e-3);
    EXPECT_EQ(content->GetWindowedAncestor(), windowed);
    EXPECT_EQ(container->GetWindowedAncestor(), nullptr);
    EXPECT_EQ(content->GetLayer(), layer);
    EXPECT_EQ(content->GetHost(), host.host);
    // Without a created window the content has no window to draw into.
    EXPECT_EQ(content->GetWindowHandle(), nullptr);
    EXPECT_EQ(container->GetWindowHandle(), host.window.Get());
}

TEST(SceneNode, SetRectKeepsNodesInsideTheirLayerAndLayersInsideTheHost)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 50, 50, true, false);
    auto* container = AddTo(layer, new ContainerNode(), 10, 10, 30, 30);
    auto* node = AddTo(container, new TestContentNode(), 0, 0, 10, 10);
    struct Case {
        const char* name;
        float x, y, width, height;
        bool accepted;
        RectF stored;
    };
    const Case cases[] = {
        {"inside", 5, 5, 20, 20, true, {5, 5, 25, 25}},
        {"the same again", 5, 5, 20, 20, true, {5, 5, 25, 25}},
        {"negative width stored as 0", 1, 1, -4, 3, true, {1, 1, 1, 4}},
        {"left of the layer", -11, 0, 5, 5, false, {1, 1, 1, 4}},
        {"past the layer's right edge", 30, 0, 11, 5, false, {1, 1, 1, 4}},
        {"up to the layer's edges", -10, -10, 50, 50, true, {-10, -10, 40, 40}},
        {"below the layer", 0, 35, 5, 6, false, {-10, -10, 40, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(node->SetRect(c.x, c.y, c.width, c.height), c.accepted);
        EXPECT_EQ(RectF(node->GetX(), node->GetY(), node->GetX() + node->GetWidth(), node->GetY() + node->GetHeight()),
                  c.stored);
    }
    // A layer larger than the host is cut to it and moved back inside.
    ASSERT_TRUE(layer->SetRect(-20, 70, 150, 60));
    EXPECT_EQ(RectF(0, 40, 100, 100),
              RectF(layer->GetX(), layer->GetY(), layer->GetX() + layer->GetWidth(), layer->GetY() + layer->GetHeight()));
}

TEST(SceneNode, AnEmptyHostLeavesEveryNodeWithAreaOutside)
{
    TestHost host(100, 100, 0, 0);
    LayerNode* layer = host->CreateLayer(0, 0, 0, 0, true, false);
    auto* empty = AddTo(layer, new TestContentNode(), 0, 0, 0, 0);
    auto* sized = AddTo(layer, new TestContentNode(), 0, 0, 10, 10);
    EXPECT_FALSE(empty->IsOutsideHost());
    EXPECT_TRUE(sized->IsOutsideHost());
    EXPECT_FALSE(sized->Activate(false));
    // No layout either: the scale stays as it was.
    EXPECT_DOUBLE_EQ(host->GetScale(), 1.0);
}

TEST(SceneNode, TheSinkSeesEveryStateChangeAndCanVetoActivation)
{
    TestSink sink;  // outlives the nodes it is attached to
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* container = AddTo(layer, new ContainerNode(), 0, 0, 50, 50);
    auto* node = new TestContentNode();
    node->SetEventSink(&sink);
    node->SetRect(0, 0, 10, 10);
    ASSERT_TRUE(container->AddChild(node));
    node->Release();
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(node);

    EXPECT_TRUE(node->Activate(false));
    // The ancestors were activated on the way, root first.
    EXPECT_EQ(layer->GetState(), SceneNode::Active);
    EXPECT_EQ(container->GetState(), SceneNode::Active);
    EXPECT_TRUE(node->Start(false));
    EXPECT_EQ(container->GetState(), SceneNode::Started);
    node->readyWanted = false;
    node->SetReady(false);
    EXPECT_TRUE(node->Stop());
    EXPECT_EQ(node->GetState(), SceneNode::Inactive);
    EXPECT_TRUE(node->Stop());  // inactive already: nothing to report

    // S_FALSE refuses even with a non-zero answer; S_OK with 0 refuses too.
    sink.canActivateResult = S_FALSE;
    EXPECT_FALSE(node->Activate(false));
    EXPECT_EQ(node->GetState(), SceneNode::Inactive);
    sink.canActivateResult = S_OK;
    sink.canActivateAllow = 0;
    EXPECT_FALSE(node->Activate(false));

    node->Close();
    EXPECT_EQ(container->GetChildCount(), 0);
    EXPECT_TRUE(node->IsClosed());
    EXPECT_EQ(node->GetEventSink(), nullptr);
    EXPECT_EQ(sink.refs, 1u);
    // The parent is told by its proxy, which every container has.
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"OnParentChanged(proxy)", "CanActivate", "OnActivated", "CanStart",
                                                    "OnStarted", "OnReadyChanged(false)", "OnStopping", "OnStopped",
                                                    "CanActivate", "CanActivate", "OnDetached", "OnClosed"}));
}

TEST(SceneNode, ASinkWithoutTheStateInterfaceAllowsEverything)
{
    TestSink sink;  // outlives the nodes it is attached to
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    sink.stateEvents = false;
    auto* node = new TestContentNode();
    node->SetEventSink(&sink);
    AddTo(layer, node, 0, 0, 10, 10);
    EXPECT_TRUE(node->Activate(false));
    EXPECT_TRUE(node->Start(true));
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"OnParentChanged(proxy)"}));
}

TEST(SceneNode, LayersNeedAHostWindowAndWindowedNodesAWindowLayer)
{
    // A host without window: its layers cannot be activated.
    auto* bare = new NodeHost(GetModuleHandleW(nullptr));
    LayerNode* orphan = bare->CreateLayer(0, 0, 0, 0, true, false);
    ASSERT_NE(orphan, nullptr);
    EXPECT_FALSE(orphan->HasHostWindow());
    EXPECT_FALSE(orphan->Activate(false));
    bare->Close();
    bare->Release();

    // A windowed node gets its window and renderer on activation and lets
    // them go when it stops (refused windows: NodeWindowTests).
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* windowed = AddTo(layer, new TestWindowedNode(0, 0), 0, 0, 50, 50);
    EXPECT_TRUE(layer->Activate(false));
    EXPECT_TRUE(windowed->Activate(false));
    EXPECT_EQ(windowed->GetState(), SceneNode::Active);
    EXPECT_TRUE(windowed->HasNodeWindow());
    EXPECT_TRUE(windowed->HasRenderer());
    EXPECT_TRUE(windowed->Start(false));
    EXPECT_EQ(windowed->GetState(), SceneNode::Started);
    EXPECT_TRUE(windowed->Stop());
    EXPECT_FALSE(windowed->HasNodeWindow());
    EXPECT_FALSE(windowed->HasRenderer());
}

TEST(SceneNode, ClosingRunsOnceAndDeletesANodeNobodyHolds)
{
    int deletions = 0;
    TestSink sink;
    auto* node = new TestContentNode();
    node->deletions = &deletions;
    node->SetEventSink(&sink);
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(node);
    node->Release();
    node->Close();
    node->Close();
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"OnDetached", "OnClosed"}));
    EXPECT_EQ(deletions, 0);
    keep.Reset();
    EXPECT_EQ(deletions, 1);

    // Held only by its tree: Close removes it and lets it go at its end.
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* held = AddTo(layer, new TestContentNode(), 0, 0, 10, 10);
    held->deletions = &deletions;
    held->Close();
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(layer->GetChildCount(), 0);
    EXPECT_EQ(host->GetOrderCount(), 2);  // the two layers
}

TEST(SceneNode, AClosedChildOfAFreeContainerLeavesIt)
{
    int deletions = 0;
    auto* container = new ContainerNode();
    auto* child = new TestContentNode();
    child->deletions = &deletions;
    ASSERT_TRUE(container->AddChild(child));
    child->Release();
    child->Close();
    EXPECT_EQ(container->GetChildCount(), 0);
    EXPECT_EQ(deletions, 1);
    container->Release();
}

// Closes itself when its opacity changes, that is while its parent walks
// its children.
class ClosesDuringWalk : public TestContentNode {
protected:
    void OnOpacityChanged() override { Close(); }
};

TEST(SceneNode, ANodeClosedWhileItsParentWalksLeavesTreeAndOrderWhenTheWalkEnds)
{
    int deletions = 0;
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* box = AddTo(layer, new ContainerNode(), 0, 0, 100, 100);
    auto* closes = AddTo(box, new ClosesDuringWalk(), 0, 0, 10, 10);
    auto* stays = AddTo(box, new TestContentNode(), 10, 0, 10, 10);
    closes->deletions = &deletions;
    // The two layers, the box and its two children.
    ASSERT_EQ(host->GetOrderCount(), 5);

    box->SetOpacity(0.5f);
    EXPECT_EQ(deletions, 1);
    ASSERT_EQ(box->GetChildCount(), 1);
    EXPECT_EQ(box->GetChild(0), stays);
    EXPECT_EQ(stays->GetChildIndex(), 0);
    ASSERT_EQ(host->GetOrderCount(), 4);
    for (int i = 0; i < host->GetOrderCount(); ++i)
        EXPECT_NE(host->GetOrderNode(i), static_cast<SceneNode*>(closes));
}

TEST(SceneNode, AWindowedNodeFreedWithoutDetachTakesItsWindowAlong)
{
    HostWindow window(100, 100);
    auto* host = new NodeHost(window.Get(), GetModuleHandleW(nullptr), 100, 100, 1);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* windowed = AddTo(layer, new WindowedNode(0, 0, 0), 0, 0, 50, 50);
    ASSERT_TRUE(layer->Activate(true));
    ASSERT_TRUE(windowed->HasRenderer());
    HWND own = windowed->GetNodeWindowHandle();
    ASSERT_TRUE(IsWindow(own));
    // Let go without Close: the layer and its nodes are freed undetached.
    host->Release();
    EXPECT_FALSE(IsWindow(own));
    // A paint of what lies there reaches no freed node.
    RedrawWindow(window.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

TEST(SceneNode, ContainersRefuseChildrenTheyCannotTake)
{
    TestSink sink;  // outlives the nodes it is attached to
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* first = AddTo(layer, new ContainerNode(), 0, 0, 50, 50);
    auto* second = AddTo(layer, new ContainerNode(), 50, 0, 50, 50);
    auto* node = AddTo(first, new TestContentNode(), 0, 0, 10, 10);
    EXPECT_FALSE(second->AddChild(node));  // has a parent
    EXPECT_FALSE(second->RemoveChild(node));  // not its child
    // While the children are walked (a sink called from a recursive
    // activation) the list does not change.
    node->SetEventSink(&sink);
    bool refused = false;
    sink.onActivated = [&] {
        auto* extra = new TestContentNode();
        refused = !first->AddChild(extra);
        extra->Release();
    };
    EXPECT_TRUE(first->Activate(true));
    EXPECT_TRUE(refused);
    EXPECT_EQ(first->GetChildCount(), 1);
    EXPECT_TRUE(first->RemoveChild(node));
    EXPECT_EQ(node->GetChildIndex(), -1);
    EXPECT_EQ(first->GetChildCount(), 0);
}

TEST(SceneNode, OpacityMultipliesDownTheTreeAndStopsAtALayeredWindow)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* outer = AddTo(layer, new ContainerNode(), 0, 0, 100, 100);
    auto* layered = AddTo(outer, new TestWindowedNode(2, 0), 0, 0, 50, 50);
    auto* inner = AddTo(layered, new TestContentNode(), 0, 0, 10, 10);
    outer->SetOpacity(0.5f);
    layered->SetOpacity(2.0f);  // limited to 1
    EXPECT_FLOAT_EQ(layered->GetOpacity(), 1);
    layered->SetOpacity(0.5f);
    inner->SetOpacity(-1);  // limited to 0
    EXPECT_FLOAT_EQ(inner->GetOpacity(), 0);
    inner->SetOpacity(0.8f);
    EXPECT_FLOAT_EQ(inner->GetEffectiveOpacity(), 0.2f);
    // The layered window applies its own alpha: below it only the content's.
    EXPECT_FLOAT_EQ(inner->GetOpacityBelowLayeredWindow(), 0.8f);
    EXPECT_FLOAT_EQ(layered->GetOpacityBelowLayeredWindow(), 1);
    EXPECT_EQ(inner->GetAlphaByte(), 51);  // 0.2 x 255 + 0.5
    EXPECT_EQ(layered->GetAlphaByte(), 64);
    EXPECT_EQ(layer->GetAlphaByte(), 255);
}

TEST(SceneNode, ALayerCountsItsAnimatingNodes)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* container = new ContainerNode();
    auto* moving = AddTo(container, new TestContentNode(), 0, 0, 10, 10);
    moving->SetAnimating(true);
    EXPECT_EQ(layer->GetAnimatingCount(), 0);
    AddTo(layer, container, 0, 0, 50, 50);
    EXPECT_EQ(layer->GetAnimatingCount(), 1);
    moving->SetAnimating(true);  // unchanged
    EXPECT_EQ(layer->GetAnimatingCount(), 1);
    auto* second = AddTo(layer, new TestContentNode(), 0, 0, 10, 10);
    second->SetAnimating(true);
    EXPECT_EQ(layer->GetAnimatingCount(), 2);
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(container);
    EXPECT_TRUE(layer->RemoveChild(container));
    EXPECT_EQ(layer->GetAnimatingCount(), 1);
    second->SetAnimating(false);
    EXPECT_EQ(layer->GetAnimatingCount(), 0);
}

TEST(SceneNode, NodesOfTheTopLayerFollowTheLayerTheyAreLinkedTo)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    LayerNode* top = host->GetTopLayer();
    auto* follower = AddTo(top, new TestContentNode(), 0, 0, 10, 10);
    auto* other = AddTo(top, new TestContentNode(), 20, 0, 10, 10);
    follower->SetLinkedNode(layer);
    EXPECT_TRUE(layer->Activate(false));
    EXPECT_EQ(follower->GetState(), SceneNode::Active);
    EXPECT_EQ(other->GetState(), SceneNode::Inactive);
    EXPECT_TRUE(layer->Start(false));
    EXPECT_EQ(follower->GetState(), SceneNode::Started);
    EXPECT_TRUE(layer->Stop());
    EXPECT_EQ(follower->GetState(), SceneNode::Inactive);
    // The link holds a reference until the follower leaves the tree.
    EXPECT_EQ(follower->GetLinkedNode(), layer);
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(follower);
    EXPECT_TRUE(top->RemoveChild(follower));
    EXPECT_EQ(follower->GetLinkedNode(), nullptr);
}

TEST(SceneNode, StopWalksTheChildrenBottomUpAndAFailureRestoresTheState)
{
    // A node that records its stop and can refuse it.
    struct Stopping : TestContentNode {
        explicit Stopping(std::vector<std::string>* log, const char* name) : log(log), name(name) {}
        bool OnStop() override
        {
            log->push_back(name);
            return !refuse;
        }
        std::vector<std::string>* log;
        const char* name;
        bool refuse = false;
    };
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    std::vector<std::string> log;
    auto* parent = new ContainerNode();
    AddTo(layer, parent, 0, 0, 50, 50);
    auto* a = AddTo(parent, new Stopping(&log, "a"), 0, 0, 10, 10);
    auto* b = AddTo(parent, new Stopping(&log, "b"), 0, 0, 10, 10);
    EXPECT_TRUE(parent->Start(true));
    EXPECT_EQ(a->GetState(), SceneNode::Started);
    b->refuse = true;
    EXPECT_FALSE(parent->Stop());
    EXPECT_EQ(parent->GetState(), SceneNode::Started);
    EXPECT_EQ(a->GetState(), SceneNode::Inactive);
    EXPECT_EQ(b->GetState(), SceneNode::Started);
    b->refuse = false;
    EXPECT_TRUE(parent->Stop());
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "b"}));
    EXPECT_EQ(parent->GetState(), SceneNode::Inactive);
}

TEST(SceneNode, ContainersMakeOnlyTheWindowedNodesTheyKnow)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    struct Case {
        int mode, native, renderer;
        bool made;
    };
    const Case cases[] = {{0, 0, 0, true}, {3, 1, 2, true}, {4, 0, 0, false}, {-1, 0, 0, false},
                          {0, 2, 0, false}, {0, 0, 3, false}};
    int expected = 0;
    for (const Case& c : cases) {
        layer->CreateWindowed(c.mode, c.native, c.renderer);  // no proxies here: only the tree shows it
        if (c.made)
            ++expected;
        EXPECT_EQ(layer->GetChildCount(), expected) << c.mode << " " << c.native << " " << c.renderer;
    }
    auto* made = static_cast<WindowedNode*>(layer->GetChild(1));
    EXPECT_EQ(made->GetWindowMode(), 3);
    EXPECT_TRUE(made->HasCapability(SceneNode::NativeControl));
    EXPECT_FALSE(made->HasCapability(SceneNode::NoOwnContent));
    EXPECT_FALSE(static_cast<WindowedNode*>(layer->GetChild(0))->HasCapability(SceneNode::NativeControl));
    layer->CreateContainer();
    EXPECT_EQ(layer->GetChild(2)->GetNodeType(), SceneNode::Container);
}

TEST(SceneNode, APaintHoldPaintsWhenReleasedOnlyForAStartedNode)
{
    struct Counting : TestWindowedNode {
        Counting() : TestWindowedNode(0, 0) {}
        bool ComposeFrame(RECT& drawn) override
        {
            ++composed;
            drawn = RECT{};
            return false;
        }
        int composed = 0;
    };
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* node = AddTo(layer, new Counting(), 0, 0, 50, 50);
    node->composed = 0;
    node->HoldPaint();
    node->HoldPaint();
    node->ReleasePaint();
    node->ReleasePaint();  // 0, but not started
    EXPECT_EQ(node->composed, 0);
    // A geometry change paints once at its end, in any state.
    node->SetRect(1, 1, 40, 40);
    EXPECT_EQ(node->composed, 1);
    ASSERT_TRUE(node->Start(false));
    node->HoldPaint();
    node->ReleasePaint();
    EXPECT_EQ(node->composed, 2);
}

}  // namespace
