#include <gtest/gtest.h>

#include "PlayerHarness.h"
#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVActionVM.h"
#include "player/engine/PVMovieClip.h"

namespace {

SwfPlace Place(uint16_t depth, uint16_t id)
{
    SwfPlace p;
    p.depth = depth;
    p.id = id;
    return p;
}

constexpr uint8_t kNextFrame = 0x04;
constexpr uint8_t kPreviousFrame = 0x05;
constexpr uint8_t kStop = 0x07;
constexpr uint8_t kToggleQuality = 0x08;
constexpr uint8_t kIdle = 0x0A;  // an action the player has no handler for

// Three frames, frame i placing #10 at depth i + 1; frame 0 runs `first`,
// frame 1 toggles the quality.
SwfTimeline ThreeFrames(const SwfActionWriter& first)
{
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).DoAction(first).ShowFrame();
    t.PlaceObject2(Place(2, 10)).DoAction(SwfActionWriter().Plain(kToggleQuality)).ShowFrame();
    t.PlaceObject2(Place(3, 10)).ShowFrame();
    return t.End();
}

std::string Traced(PlayerHarness& h)
{
    return h.Trace() + (h.player.HighQuality() ? " hq" : " lq");
}

// A stopped movie shows the frame it stopped on, runs that frame's actions
// once, and plays on from the next frame when it is played again.
TEST(PlayState, StoppedMovieKeepsItsFrameUntilPlayed)
{
    struct Case {
        const char* name;
        SwfActionWriter first;
        const char* stopped;  // after each of the first four steps
        const char* playedOn;  // one step after the host plays again
    } cases[] = {
        {"stop", SwfActionWriter().Plain(kStop), "f=1 stop 1:#10 hq", "f=2 1:#10 2:#10 lq"},
        // The goto replays frame 1 (its toggle queued after the Stop), and
        // the movie stays on it.
        {"goto and stop", SwfActionWriter().GotoFrame(1).Plain(kStop), "f=2 stop 1:#10 2:#10 lq",
         "f=3 1:#10 2:#10 3:#10 lq"},
    };
    for (const Case& c : cases) {
        PlayerHarness h(false);
        h.AddShape(10);
        ASSERT_TRUE(h.Load(ThreeFrames(c.first), 3));
        for (int step = 0; step < 4; ++step) {
            h.Step();
            EXPECT_EQ(Traced(h), c.stopped) << c.name << " step " << step;
        }
        h.Main().SetPlaying(true);
        h.Step();
        EXPECT_EQ(Traced(h), c.playedOn) << c.name;
    }
}

// A sprite under a stopped main movie plays on.
TEST(PlayState, ChildrenOfAStoppedClipPlayOn)
{
    SwfTimeline sprite;
    sprite.PlaceObject2(Place(1, 10)).ShowFrame().PlaceObject2(Place(2, 10)).ShowFrame().End();
    SwfTimeline t;
    t.DefineSprite(20, 2, sprite).PlaceObject2(Place(1, 20)).DoAction(SwfActionWriter().Plain(kStop));
    t.ShowFrame().ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 2));
    std::vector<std::string> traces;
    for (int i = 0; i < 3; ++i) {
        h.Step();
        traces.push_back(h.Trace());
    }
    EXPECT_EQ(traces, (std::vector<std::string>{"f=1 stop 1:#20 {f=1 1:#10}", "f=1 stop 1:#20 {f=2 1:#10 2:#10}",
                                                "f=1 stop 1:#20 {f=1 1:#10}"}));
}

// A rewound stopped movie shows its first frame once; its actions run once,
// also when it is played on afterwards.
TEST(PlayState, RewoundStoppedMovieShowsItsFirstFrameOnce)
{
    PlayerHarness h(false);
    h.AddShape(10);
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).DoAction(SwfActionWriter().Plain(kToggleQuality)).ShowFrame();
    t.PlaceObject2(Place(2, 10)).ShowFrame().End();
    ASSERT_TRUE(h.Load(t, 2));
    h.Main().SetPlaying(false);
    h.Main().Rewind();
    for (int step = 0; step < 3; ++step) {
        h.Step();
        EXPECT_EQ(Traced(h), "f=0 stop 1:#10 lq") << step;
    }
    // Played on, it goes on from the next frame without running the first
    // frame's actions again.
    h.Main().SetPlaying(true);
    h.Step();
    EXPECT_EQ(Traced(h), "f=2 1:#10 2:#10 lq");
}

// Records without a handler cost the interpreter nothing: a long run of
// them does not drop the Stop after it.
TEST(PlayState, IdleActionsDoNotUseUpTheBudget)
{
    SwfActionWriter actions;
    for (int i = 0; i < PVActionVM::kRunBudget + 10; ++i)
        actions.Plain(kIdle);
    actions.Plain(kStop);
    PlayerHarness h(false);
    h.AddShape(10);
    ASSERT_TRUE(h.Load(ThreeFrames(actions), 3));
    h.Step();
    h.Step();
    EXPECT_EQ(Traced(h), "f=1 stop 1:#10 hq");
}

// A goto that queues a long list pays for it: a frame that goes to itself
// over thousands of idle records ends its run after a pass or two, not
// after the budget's worth of passes.
TEST(PlayState, GotoLoopOverIdleRecordsEndsAtOnce)
{
    SwfActionWriter actions;
    for (int i = 0; i < PVActionVM::kRunBudget; ++i)
        actions.Plain(kIdle);
    actions.Plain(kToggleQuality).GotoFrame(0);
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).DoAction(actions).ShowFrame().ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 2));
    ASSERT_TRUE(h.Main().Step());
    EXPECT_FALSE(h.player.ActionVM()->Run(1.0));
    // The frame's own toggle ran once; the list its goto queued was not
    // run again. Charged by the action, the idle records would have used up
    // the budget before the toggle.
    EXPECT_FALSE(h.player.HighQuality());
    EXPECT_EQ(h.player.ActionVM()->QueuedCount(), 0);
}

// A wait at the end of one clip's list skips within that list only: the
// next clip's bound SetTarget and actions still run.
TEST(PlayState, WaitAtTheEndOfAListLeavesTheNextClipsActions)
{
    SwfTimeline sprite;
    sprite.DoAction(SwfActionWriter().Plain(kStop)).ShowFrame().ShowFrame().End();
    SwfTimeline t;
    t.DefineSprite(20, 2, sprite).PlaceObject2(Place(1, 20));
    t.DoAction(SwfActionWriter().WaitForFrame(0, 2)).ShowFrame().ShowFrame().End();
    PlayerHarness h;
    ASSERT_TRUE(h.Load(t, 2));
    h.Step();
    EXPECT_EQ(h.Trace(), "f=1 1:#20 {f=1 stop}");
}

// A clip depth at or below the layer's own depth leaves a mask that clips
// no other depth.
TEST(PlayState, ClipDepthMustLieAboveTheLayer)
{
    struct Case {
        uint16_t clipDepth;
        const char* trace;
    } cases[] = {
        {1, "f=1 5:#10 clip=5"},
        {3, "f=1 5:#10 clip=5"},
        {5, "f=1 5:#10 clip=5"},
        {6, "f=1 5:#10 clip=6"},
        {0, "f=1 5:#10"},
    };
    for (const Case& c : cases) {
        SwfPlace place = Place(5, 10);
        place.clipDepth = c.clipDepth;
        SwfTimeline t;
        t.PlaceObject2(place).ShowFrame().End();
        PlayerHarness h;
        h.AddShape(10);
        ASSERT_TRUE(h.Load(t, 1));
        h.Step();
        EXPECT_EQ(h.Trace(), c.trace) << c.clipDepth;
    }
}

}  // namespace

// A stopped movie told to show its next frame shows it at once, records
// and actions, and stays stopped; told to show the one before, it shows
// that frame as a replay from the first.
TEST(PlayState, NextAndPreviousFrameShowTheirFrameInAStoppedMovie)
{
    PlayerHarness h;
    h.AddShape(10);
    ASSERT_TRUE(h.Load(ThreeFrames(SwfActionWriter().Plain(kStop).Plain(kNextFrame)), 3));
    const bool highQuality = h.player.HighQuality();
    for (int step = 0; step < 3; ++step) {
        h.Step();
        EXPECT_EQ(h.Trace(), "f=2 stop 1:#10 2:#10") << step;
        // Frame 1's toggle ran once.
        EXPECT_NE(h.player.HighQuality(), highQuality) << step;
    }
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).ShowFrame();
    t.PlaceObject2(Place(2, 10)).ShowFrame();
    t.PlaceObject2(Place(3, 10)).DoAction(SwfActionWriter().Plain(kStop).Plain(kPreviousFrame)).ShowFrame().End();
    PlayerHarness back;
    back.AddShape(10);
    ASSERT_TRUE(back.Load(t, 3));
    for (int step = 0; step < 4; ++step)
        back.Step();
    EXPECT_EQ(back.Trace(), "f=2 stop 1:#10 2:#10");
}
