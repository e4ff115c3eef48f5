// The node host: letterbox layout, the flattened order, the repaint pass
// (held-back marks, snapshots, nesting) and its batching in time.
#include "SceneTestSupport.h"

#include "addin/hosting/ClockPauseGuard.h"
#include "addin/hosting/HostHandler.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/RectList.h"
#include "base/MKRefHolder.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TEST(NodeHost, LayoutKeepsTheAspectRatioAndCentres)
{
    struct Case {
        int clientWidth, clientHeight;
        float width, height;
        double scale;
        float offsetX, offsetY;
    };
    const Case cases[] = {
        {1600, 900, 1024, 768, 1.171875, 170.6667f, 0},
        {1024, 768, 1024, 768, 1.0, 0, 0},
        {800, 900, 1024, 768, 0.78125, 0, 192},
        {720, 540, 960, 720, 0.75, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.clientWidth << "x" << c.clientHeight);
        TestHost host(c.clientWidth, c.clientHeight, c.width, c.height);
        EXPECT_DOUBLE_EQ(host->GetScale(), c.scale);
        EXPECT_NEAR(host->GetOffsetX(), c.offsetX, 0.001);
        EXPECT_NEAR(host->GetOffsetY(), c.offsetY, 0.001);
        // The topmost layer covers the host.
        LayerNode* top = host->GetTopLayer();
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->GetWidth(), c.width);
        EXPECT_EQ(top->GetHeight(), c.height);
    }
}

TEST(NodeHost, NoLayoutWithoutClientArea)
{
    TestHost host(1600, 900, 1024, 768);
    SetWindowPos(host.window.Get(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host->SetSize(800, 600);
    EXPECT_DOUBLE_EQ(host->GetScale(), 1.171875);
    EXPECT_EQ(host->GetWidth(), 800);
}

TEST(NodeHost, LogicalRectanglesBecomeClientPixelsInsideTheLetterbox)
{
    TestHost host(1600, 900, 1024, 768);
    struct Case {
        float x, y, width, height;
        RECT expected;
    };
    const Case cases[] = {
        {0, 0, 1024, 768, {200, 0, 1400, 900}},
        {-10, -10, 50, 50, {200, 0, 259, 59}},
        {1000, 0, 100, 10, {1372, 0, 1400, 12}},
        {0, 0, 0.001f, 5, {0, 0, 0, 0}},
        {2000, 0, 10, 10, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        RECT r = host->LogicalToClientRect(c.x, c.y, c.width, c.height);
        EXPECT_EQ(r.left, c.expected.left) << c.x << "," << c.y;
        EXPECT_EQ(r.top, c.expected.top) << c.x << "," << c.y;
        EXPECT_EQ(r.right, c.expected.right) << c.x << "," << c.y;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.x << "," << c.y;
    }
}

TEST(NodeHost, TheOrderDefersWindowedSubtreesAndPutsPopupsLast)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* top = host->GetTopLayer();
    LayerNode* first = host->CreateLayer(0, 0, 100, 100, true, false);
    LayerNode* second = host->CreateLayer(0, 0, 100, 100, true, false);
    // Normal layers go below the topmost one.
    ASSERT_EQ(host->GetLayerCount(), 3);
    EXPECT_EQ(host->GetLayer(0), first);
    EXPECT_EQ(host->GetLayer(1), second);
    EXPECT_EQ(host->GetLayer(2), top);
    EXPECT_EQ(host->GetTopLayer(), top);

    auto* a = AddTo(first, new TestContentNode(), 0, 0, 10, 10);
    auto* w = AddTo(first, new TestWindowedNode(0, 0), 0, 0, 50, 50);
    auto* w1 = AddTo(w, new TestContentNode(), 0, 0, 10, 10);
    auto* w2 = AddTo(w, new TestContentNode(), 0, 0, 10, 10);
    auto* b = AddTo(first, new TestContentNode(), 0, 0, 10, 10);
    auto* p = AddTo(first, new TestWindowedNode(1, 0), 0, 0, 50, 50);
    auto* p1 = AddTo(p, new TestContentNode(), 0, 0, 10, 10);
    auto* c = AddTo(second, new ContainerNode(), 0, 0, 50, 50);
    auto* c1 = AddTo(c, new TestContentNode(), 0, 0, 10, 10);
    auto* v = AddTo(c, new TestWindowedNode(0, 0), 0, 0, 20, 20);
    auto* v1 = AddTo(v, new TestContentNode(), 0, 0, 10, 10);
    auto* c2 = AddTo(c, new TestContentNode(), 0, 0, 10, 10);
    auto* x = AddTo(top, new TestWindowedNode(3, 0), 0, 0, 20, 20);

    std::vector<SceneNode*> expected = {first, a, b, second, c, c1, c2, top, w, w1, w2, v, v1, p, p1, x};
    std::vector<SceneNode*> order;
    for (int i = 0; i < host->GetOrderCount(); ++i) {
        order.push_back(host->GetOrderNode(i));
        EXPECT_EQ(host->GetOrderNode(i)->GetOrderIndex(), i);
    }
    EXPECT_EQ(order, expected);
    // Z-order numbers run over the layers in pre-order.
    EXPECT_EQ(first->GetZOrder(), 0);
    EXPECT_EQ(p1->GetZOrder(), 7);
    EXPECT_EQ(second->GetZOrder(), 8);
    EXPECT_EQ(x->GetZOrder(), 15);

    // A removed subtree leaves the order.
    EXPECT_TRUE(first->RemoveChild(w));
    EXPECT_EQ(host->GetOrderCount(), 13);
    EXPECT_EQ(w1->GetOrderIndex(), -1);
}

TEST(NodeHost, NodesOverANativeControlStillLoadingWaitForIt)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* native = AddTo(layer, new TestWindowedNode(0, 1, false), 0, 0, 50, 50);
    auto* overlapping = AddTo(layer, new TestWindowedNode(0, 0), 10, 10, 20, 20);
    auto* overlapping2 = AddTo(layer, new TestWindowedNode(0, 0), 40, 40, 20, 20);
    auto* apart = AddTo(layer, new TestWindowedNode(0, 0), 60, 60, 20, 20);
    auto* touching = AddTo(layer, new TestWindowedNode(0, 0), 50, 0, 10, 10);
    EXPECT_FALSE(native->IsShown());
    host->RequestRepaint();
    EXPECT_FALSE(native->IsShown());
    EXPECT_GT(native->readyAsked, 0);
    EXPECT_FALSE(overlapping->IsShown());
    EXPECT_FALSE(overlapping2->IsShown());
    EXPECT_TRUE(apart->IsShown());
    EXPECT_TRUE(touching->IsShown());
    // The marks last for one pass only.
    EXPECT_FALSE(overlapping->IsHeldBack());

    native->readyWanted = true;
    native->SetReady(true);
    EXPECT_TRUE(native->IsShown());
    EXPECT_TRUE(overlapping->IsShown());
    EXPECT_TRUE(overlapping2->IsShown());

    // The area of a visible native control window is reported as covered.
    RectList region;
    region.Append(45, 45, 70, 70);
    EXPECT_TRUE(host->OverlapsWindowedControl(region));
    RectList beside;
    beside.Append(50, 0, 70, 70);
    EXPECT_FALSE(host->OverlapsWindowedControl(beside));
    native->SetVisible(false);
    EXPECT_FALSE(host->OverlapsWindowedControl(region));
}

TEST(NodeHost, ASnapshotCoversTwoWindowsChangingAtOnce)
{
    TestSink sink;  // outlives the nodes it is attached to
    TestHost host(100, 100, 100, 100);
    auto* snapshot = new RecordingSnapshot();
    host->SetSnapshotWindow(snapshot);
    sink.hostEvents = true;
    host->SetEventSink(&sink);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    host->BeginUpdate(false);
    auto* one = AddTo(layer, new TestWindowedNode(0, 0), 10, 10, 20, 20);
    auto* two = AddTo(layer, new TestWindowedNode(0, 0), 50, 40, 30, 30);
    host->RequestRepaint();
    host->EndUpdate(false);
    EXPECT_TRUE(one->IsShown());
    EXPECT_TRUE(two->IsShown());
    // The layer appeared with them: the snapshot covers it all.
    ASSERT_EQ(snapshot->shown.size(), 1u);
    EXPECT_FLOAT_EQ(snapshot->shown[0].x, 0);
    EXPECT_FLOAT_EQ(snapshot->shown[0].y, 0);
    EXPECT_FLOAT_EQ(snapshot->shown[0].width, 100);
    EXPECT_FLOAT_EQ(snapshot->shown[0].height, 100);
    EXPECT_GE(snapshot->hides, 1);
    EXPECT_FALSE(host->IsSnapshotShown());
    EXPECT_EQ(std::count(sink.calls.begin(), sink.calls.end(), "OnSnapshotShown"), 1);

    // One window alone changes without snapshot, unless the sink asks.
    one->SetVisible(false);
    EXPECT_FALSE(one->IsShown());
    EXPECT_EQ(snapshot->shown.size(), 1u);
    sink.askSnapshot = true;
    one->SetVisible(true);
    ASSERT_GE(snapshot->shown.size(), 2u);
    EXPECT_FLOAT_EQ(snapshot->shown[1].x, 10);
    EXPECT_FLOAT_EQ(snapshot->shown[1].y, 10);
    EXPECT_FLOAT_EQ(snapshot->shown[1].width, 20);
    EXPECT_FLOAT_EQ(snapshot->shown[1].height, 20);
    host->SetEventSink(nullptr);
}

// Counts passes through the host sink, which every pass with a showable node
// asks for the snapshot area.
class PassTiming : public ::testing::Test {
protected:
    static int64_t Now() { return s_now; }

    void SetUp() override
    {
        s_now = 1000;
        host->SetClock(Now);
        sink.hostEvents = true;
        host->SetEventSink(&sink);
        layer = host->CreateLayer(0, 0, 100, 100, true, false);
        steady = AddTo(layer, new TestContentNode(), 0, 0, 10, 10);
        toggled = AddTo(layer, new TestContentNode(), 20, 0, 10, 10);
        // Everything shown; from here on hiding takes one pass (nothing
        // appears, so the pass does not nest).
        host->RequestRepaint();
        sink.snapshotAreaCalls = 0;
    }
    int Passes() const { return sink.snapshotAreaCalls; }

    static int64_t s_now;
    TestSink sink;  // outlives the host it is attached to
    TestHost host{100, 100, 100, 100};
    LayerNode* layer = nullptr;
    TestContentNode* steady = nullptr;
    TestContentNode* toggled = nullptr;
};

int64_t PassTiming::s_now = 0;

TEST_F(PassTiming, ChangesOutsideBracketsPaintAtOnceAndNestedBracketsOnce)
{
    toggled->SetVisible(false);
    EXPECT_EQ(Passes(), 1);
    EXPECT_FALSE(toggled->IsShown());
    host->BeginUpdate(false);
    host->BeginUpdate(false);
    steady->SetVisible(false);
    host->EndUpdate(false);
    EXPECT_EQ(Passes(), 1);
    EXPECT_TRUE(steady->IsShown());
    EXPECT_TRUE(host->IsUpdating());
    host->EndUpdate(false);
    EXPECT_EQ(Passes(), 2);
    EXPECT_FALSE(steady->IsShown());
    // An end without a beginning changes nothing.
    host->EndUpdate(false);
    EXPECT_FALSE(host->IsUpdating());
    steady->SetVisible(true);
    EXPECT_GT(Passes(), 2);
    EXPECT_TRUE(steady->IsShown());
}

TEST_F(PassTiming, AHeldBracketPaintsOnceMoreOnTheFirstFlushFiftyMillisecondsLater)
{
    host->BeginUpdate(true);
    toggled->SetVisible(false);
    EXPECT_EQ(Passes(), 0);
    host->EndUpdate(true);
    EXPECT_EQ(Passes(), 1);
    EXPECT_FALSE(toggled->IsShown());
    EXPECT_EQ(host->GetHoldCount(), 1);
    s_now += 49;
    host->FlushPendingUpdate();
    EXPECT_EQ(Passes(), 1);
    s_now += 1;
    host->FlushPendingUpdate();
    EXPECT_EQ(Passes(), 2);
    EXPECT_EQ(host->GetHoldCount(), 0);
    s_now += 100;
    host->FlushPendingUpdate();
    EXPECT_EQ(Passes(), 2);
}

// Time spent inside an event guard does not count toward a held repaint's
// delay: the flush comes 50 ms of idle time after the bracket.
TEST_F(PassTiming, TimeInsideAClockPauseGuardDoesNotCountTowardTheHeldRepaint)
{
    host->BeginUpdate(true);
    toggled->SetVisible(false);
    host->EndUpdate(true);
    EXPECT_EQ(Passes(), 1);
    s_now += 20;
    {
        ClockPauseGuard guard(host.host);
        s_now += 200;
    }
    s_now += 29;
    host->FlushPendingUpdate();
    EXPECT_EQ(Passes(), 1);
    s_now += 1;
    host->FlushPendingUpdate();
    EXPECT_EQ(Passes(), 2);
}

// The repaint watch after a guard, by what happened to it inside.
TEST_F(PassTiming, AGuardRestartsAWatchThatRanOnlyInsideItOrLessThanItHeld)
{
    struct Case {
        const char* what;
        bool runningAtAttach;
        int64_t ranBefore;    // ms the watch ran before the attach
        int64_t restartedAt;  // ms after the attach it was restarted; -1 never
        int64_t held;
        bool running;
        int64_t elapsed;  // read at the release
    };
    const Case cases[] = {
        {"ran throughout", true, 100, -1, 30, true, 100},
        {"restarted inside, shorter than held", true, 100, 20, 30, true, 0},
        {"started inside", false, 0, 10, 30, true, 0},
        {"never ran", false, 0, -1, 30, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MKStopwatch& watch = host->GetRepaintStopwatch();
        watch.Reset();
        if (c.runningAtAttach)
            watch.Start();
        s_now += c.ranBefore;
        {
            ClockPauseGuard guard(host.host);
            if (c.restartedAt >= 0) {
                s_now += c.restartedAt;
                watch.Reset();
                watch.Start();
                s_now += c.held - c.restartedAt;
            } else {
                s_now += c.held;
            }
        }
        EXPECT_EQ(watch.IsRunning(), c.running);
        EXPECT_EQ(watch.ElapsedMs(), c.elapsed);
        s_now += 7;
        if (c.running) {
            EXPECT_EQ(watch.ElapsedMs(), c.elapsed + 7);
        }
    }
}

TEST_F(PassTiming, AHeldBracketWithoutChangesLeavesNothingToFlush)
{
    host->BeginUpdate(true);
    host->EndUpdate(true);
    EXPECT_EQ(host->GetHoldCount(), 0);
    // A flush while nothing is held does nothing, and a later bracket counts
    // from 0 again.
    host->FlushPendingUpdate();
    host->EndUpdate(true);
    EXPECT_EQ(host->GetHoldCount(), 0);
    EXPECT_EQ(Passes(), 0);
}

// A node that goes unready each time it is shown and ready each time it is
// hidden: every pass changes something, so passes nest.
TEST(NodeHost, NestedPassesStopAtFiftyLevels)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    for (int i = 0; i < 60; ++i)
        AddTo(layer, new TestContentNode(), float(i), 0, 1, 1);
    auto* restless = new TestContentNode();
    restless->SetRect(80, 80, 5, 5);
    restless->onShown = [restless](bool shown) {
        restless->readyWanted = !shown;
        restless->SetReady(!shown);
    };
    ASSERT_TRUE(layer->AddChild(restless));
    restless->Release();
    restless->shownCalls = 0;
    restless->SetVisible(false);
    restless->SetVisible(true);
    // Depths 0 to 50.
    EXPECT_EQ(restless->shownCalls, 51);
    // The next request starts afresh.
    restless->SetVisible(false);
    restless->shownCalls = 0;
    restless->readyWanted = true;
    restless->SetReady(true);
    restless->SetVisible(true);
    EXPECT_EQ(restless->shownCalls, 51);
}

TEST(NodeHost, ASinkMayChangeTheTreeDuringAPassAndTheNextPassPaintsIt)
{
    TestSink sink;  // outlives the nodes it is attached to
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    int deletions = 0;
    auto* loading = new TestContentNode(false);
    loading->readyWhenAsked = true;
    loading->SetEventSink(&sink);
    AddTo(layer, loading, 0, 0, 10, 10);
    auto* doomed = AddTo(layer, new TestContentNode(), 20, 0, 10, 10);
    doomed->deletions = &deletions;
    TestContentNode* added = nullptr;
    sink.onReadyChanged = [&](bool) {
        // The removed node was only held by the tree.
        EXPECT_TRUE(layer->RemoveChild(doomed));
        added = AddTo(layer, new TestContentNode(), 40, 0, 10, 10);
    };
    host->RequestRepaint();
    EXPECT_EQ(deletions, 1);
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(loading->IsShown());
    EXPECT_TRUE(added->IsShown());
    EXPECT_EQ(added->shownCalls, 1);
    EXPECT_EQ(host->GetOrderCount(), 4);  // two layers, loading, added
}

TEST(NodeHost, ARepaintAskedForDuringAPassIsNotLost)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* hidden = AddTo(layer, new TestContentNode(), 0, 0, 10, 10);
    hidden->SetVisible(false);
    // Still loading: asked, it reveals the node the pass walked already.
    auto* loading = AddTo(layer, new TestContentNode(false), 20, 0, 10, 10);
    loading->onAskedReady = [hidden] { hidden->SetVisible(true); };
    host->RequestRepaint();
    EXPECT_GT(loading->readyAsked, 0);
    EXPECT_TRUE(hidden->IsShown());
    EXPECT_FALSE(loading->IsShown());
}

TEST(NodeHost, TheFocusGoesToTheTopOfTheStack)
{
    TestHost host(100, 100, 100, 100);
    LayerNode* layer = host->CreateLayer(0, 0, 100, 100, true, false);
    auto* first = AddTo(layer, new TestContentNode(), 0, 0, 10, 10);
    auto* second = AddTo(layer, new TestContentNode(), 20, 0, 10, 10);
    host->PushFocus(first);
    EXPECT_EQ(first->focusTaken, 1);
    host->PushFocus(first);  // already on top
    EXPECT_EQ(first->focusTaken, 1);
    host->PushFocus(second);
    EXPECT_EQ(second->focusTaken, 1);
    host->PushFocus(first);  // moved up from below
    EXPECT_EQ(first->focusTaken, 2);
    host->PopFocus(first);
    EXPECT_EQ(second->focusTaken, 2);
    // A node that leaves the host leaves the stack with it.
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(second);
    EXPECT_TRUE(layer->RemoveChild(second));
    host->RestoreFocus();
    EXPECT_EQ(second->focusTaken, 2);
}

TEST(NodeHost, AWindowIsGivenOnceAndClosingTellsTheHandler)
{
    struct Handler : HostHandler {
        void GetSnapshotArea(RectF&, bool&) override {}
        void OnSnapshotShown() override {}
        void OnHostClosed() override { ++closed; }
        HWND GetFocusWindow() override { return nullptr; }
        bool ResolveNodeUrl(int, const UrlParts&, int32_t&, IStream*&, uint32_t&, int&) override { return false; }
        HWND GetMouseTarget() override { return nullptr; }
        HWND GetKeyTarget() override { return nullptr; }
        int32_t TranslateKey(UINT, WPARAM, LPARAM, int32_t&) override { return -1; }
        bool SendCommand(int32_t) override { return false; }
        int closed = 0;
    } handler;
    HostWindow window(200, 100);
    auto* host = new NodeHost(GetModuleHandleW(nullptr));
    EXPECT_FALSE(host->SetWindow(reinterpret_cast<HWND>(0x1234), 1));
    EXPECT_TRUE(host->SetWindow(window.Get(), 2));
    EXPECT_FALSE(host->SetWindow(window.Get(), 2));
    EXPECT_EQ(host->GetWindowFlags(), 2);
    host->SetHostHandler(&handler);
    LayerNode* layer = host->CreateLayer(0, 0, 10, 10, true);
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(layer);
    host->Close();
    EXPECT_EQ(handler.closed, 1);
    EXPECT_EQ(host->GetWindow(), nullptr);
    EXPECT_EQ(host->GetLayerCount(), 0);
    EXPECT_TRUE(layer->IsClosed());
    EXPECT_EQ(layer->GetHost(), nullptr);
    host->Close();
    EXPECT_EQ(handler.closed, 1);
    host->Release();
}

TEST(NodeHost, WithoutAWindowTheHostMakesItsOwn)
{
    auto* host = new NodeHost(nullptr, GetModuleHandleW(nullptr), 320, 240, 1);
    HWND own = host->GetWindow();
    ASSERT_TRUE(IsWindow(own));
    EXPECT_FALSE(IsWindowVisible(own));
    host->Close();
    EXPECT_FALSE(IsWindow(own));
    host->Release();
}

}  // namespace
