#include <gtest/gtest.h>

#include "PlayerHarness.h"
#include "StandInChar.h"
#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVActionVM.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVSprite.h"

namespace {

SwfPlace Place(uint16_t depth, uint16_t id)
{
    SwfPlace p;
    p.depth = depth;
    p.id = id;
    return p;
}

SwfPlace Move(uint16_t depth)
{
    SwfPlace p;
    p.depth = depth;
    p.move = true;
    return p;
}

SwfMatrix At(int32_t x, int32_t y)
{
    SwfMatrix m;
    m.translateX = x;
    m.translateY = y;
    return m;
}

std::vector<std::string> Steps(PlayerHarness& h, int count)
{
    std::vector<std::string> traces;
    for (int i = 0; i < count; ++i) {
        h.Step();
        traces.push_back(h.Trace());
    }
    return traces;
}

TEST(Player, TwoFrameLoopClearsItsListAtTheWrap)
{
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).ShowFrame().PlaceObject2(Place(2, 11)).ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    h.AddShape(11);
    ASSERT_TRUE(h.Load(t, 2));
    EXPECT_EQ(h.Main().Name().Data(), std::string("<main>"));
    EXPECT_EQ(Steps(h, 4), (std::vector<std::string>{"f=1 1:#10", "f=2 1:#10 2:#11", "f=1 1:#10", "f=2 1:#10 2:#11"}));
}

TEST(Player, OneFrameLoopKeepsItsListAndItsChildrenPlayOn)
{
    SwfTimeline sprite;
    sprite.PlaceObject2(Place(1, 10)).ShowFrame().PlaceObject2(Place(2, 11)).ShowFrame().ShowFrame().End();
    SwfTimeline t;
    t.DefineSprite(20, 3, sprite).PlaceObject2(Place(1, 20)).ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    h.AddShape(11);
    ASSERT_TRUE(h.Load(t, 1));
    EXPECT_EQ(Steps(h, 4), (std::vector<std::string>{
                               "f=1 1:#20 {f=1 1:#10}",
                               "f=1 1:#20 {f=2 1:#10 2:#11}",
                               "f=1 1:#20 {f=3 1:#10 2:#11}",
                               "f=1 1:#20 {f=1 1:#10}",
                           }));
}

TEST(Player, MovieThatDoesNotLoopStaysAtItsFrameCount)
{
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).ShowFrame().PlaceObject2(Place(2, 11)).ShowFrame().End();
    PlayerHarness h(false);
    h.AddShape(10);
    h.AddShape(11);
    ASSERT_TRUE(h.Load(t, 2));
    EXPECT_EQ(Steps(h, 4), (std::vector<std::string>{"f=1 1:#10", "f=2 1:#10 2:#11", "f=2 1:#10 2:#11",
                                                     "f=2 1:#10 2:#11"}));
    EXPECT_EQ(h.player.GetCurrentFrame(), h.player.GetFrameCount());
}

// Ten frames, frame i placing #10 at depth i + 1 and toggling the quality.
SwfTimeline TenTogglingFrames()
{
    SwfTimeline t;
    for (int i = 0; i < 10; ++i)
        t.PlaceObject2(Place(static_cast<uint16_t>(i + 1), 10)).DoAction(SwfActionWriter().Plain(0x08)).ShowFrame();
    return t.End();
}

TEST(Player, SeekFromFrame8To5ReplaysFrames0To4WithoutActions)
{
    PlayerHarness h(false);
    h.AddShape(10);
    ASSERT_TRUE(h.Load(TenTogglingFrames(), 10));
    Steps(h, 8);
    ASSERT_EQ(h.Trace(), "f=8 1:#10 2:#10 3:#10 4:#10 5:#10 6:#10 7:#10 8:#10");
    ASSERT_TRUE(h.player.HighQuality());  // toggled 8 times

    h.Main().Seek(5);
    EXPECT_EQ(h.Trace(), "f=5 1:#10 2:#10 3:#10 4:#10 5:#10");
    EXPECT_TRUE(h.player.HighQuality());
    EXPECT_EQ(h.player.ActionVM()->QueuedCount(), 0);

    // Forward seeks keep what is shown; a target past the end stops there.
    h.Main().Seek(7);
    EXPECT_EQ(h.Trace(), "f=7 1:#10 2:#10 3:#10 4:#10 5:#10 6:#10 7:#10");
    h.Main().Seek(100);
    EXPECT_EQ(h.Main().CurrentFrame(), 10);
    EXPECT_EQ(h.Main().DisplayList().Count(), 11);
    EXPECT_TRUE(h.player.HighQuality());
}

TEST(Player, GotoFramePastTheEndAppliesTheRestWithoutTheirActions)
{
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).DoAction(SwfActionWriter().Plain(0x07).GotoFrame(100)).ShowFrame();
    for (int i = 1; i < 6; ++i)
        t.PlaceObject2(Place(static_cast<uint16_t>(i + 1), 10)).DoAction(SwfActionWriter().Plain(0x08)).ShowFrame();
    t.End();
    PlayerHarness h(false);
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 6));
    h.Step();
    EXPECT_EQ(h.Trace(), "f=6 1:#10 2:#10 3:#10 4:#10 5:#10 6:#10");
    EXPECT_TRUE(h.Main().IsPlaying());  // after the Stop before it
    EXPECT_TRUE(h.player.HighQuality());
}

TEST(Player, GotoFrameBackRewindsAndRunsOnlyTheTargetsActions)
{
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).DoAction(SwfActionWriter().Plain(0x08)).ShowFrame();
    t.PlaceObject2(Place(2, 10)).DoAction(SwfActionWriter().Plain(0x08)).ShowFrame();
    t.PlaceObject2(Place(3, 10)).DoAction(SwfActionWriter().GotoFrame(1)).ShowFrame().End();
    PlayerHarness h(false);
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 3));
    Steps(h, 2);
    ASSERT_TRUE(h.player.HighQuality());
    h.Step();
    // Frame 2 went back to frame 1: depth 3 is gone, frame 1's toggle ran.
    EXPECT_EQ(h.Trace(), "f=2 1:#10 2:#10");
    EXPECT_FALSE(h.player.HighQuality());
}

TEST(Player, GotoLabelFindsLabelsOrReadsLeadingDigits)
{
    struct Case {
        const char* action;
        int labelledFrame;  // -1: no label
        const char* label;
        int frameAfter;
    } cases[] = {
        {"12", -1, "", 13},     {"12", 3, "12", 4},     {"intro", 7, "intro", 8}, {"Intro", 7, "intro", 1},
        {"12abc", -1, "", 13},  {"70000", -1, "", 1},   {"99", -1, "", 20},       {"x1", -1, "", 1},
    };
    for (const Case& c : cases) {
        SwfTimeline t;
        t.DoAction(SwfActionWriter().GotoLabel(c.action));
        for (int i = 0; i < 20; ++i) {
            if (i == c.labelledFrame)
                t.FrameLabel(c.label);
            t.ShowFrame();
        }
        t.End();
        PlayerHarness h(false);
        ASSERT_TRUE(h.Load(t, 20));
        h.Step();
        EXPECT_EQ(h.Main().CurrentFrame(), c.frameAfter) << c.action;
    }
}

TEST(Player, WaitForFrameSkipsTwoOnItsFirstRunOnly)
{
    SwfTimeline t;
    t.DoAction(SwfActionWriter().WaitForFrame(1, 2).Plain(0x07).Plain(0x08).Plain(0x08)).ShowFrame().ShowFrame().End();
    PlayerHarness h;
    ASSERT_TRUE(h.Load(t, 2));
    std::vector<std::string> traces;
    for (int i = 0; i < 4; ++i) {
        h.Step();
        traces.push_back(h.Trace() + (h.player.HighQuality() ? " hq" : " lq"));
    }
    // First pass: Stop and one toggle skipped; second: nothing skipped.
    EXPECT_EQ(traces, (std::vector<std::string>{"f=1 lq", "f=2 lq", "f=1 stop lq", "f=1 stop lq"}));
}

// The first run of a wait is the player's, not the parsed movie's: a second
// player of the same parsed movie skips on its own first run too.
TEST(Player, OneParsedMovieSkipsOnTheFirstRunOfEachPlayer)
{
    SwfTimeline t;
    t.DoAction(SwfActionWriter().WaitForFrame(1, 1).Plain(0x07)).ShowFrame().ShowFrame().End();
    PlayerHarness first;
    ASSERT_TRUE(first.Load(t, 2));
    first.Step();
    first.Step();
    first.Step();
    EXPECT_EQ(first.Trace(), "f=1 stop");
    PlayerHarness second;
    ASSERT_TRUE(second.player.SetMainMovie(first.Main().Movie()));
    second.Step();
    EXPECT_EQ(second.Trace(), "f=1");
}

TEST(Player, PlaceMoveAndRemoveRecordsWithDepthsAndRatios)
{
    SwfPlace named = Place(7, 12);
    named.name = "n7";
    named.clipDepth = 9;
    SwfPlace ratio = Move(3);
    ratio.ratio = 30;
    SwfPlace morphRatio = Move(9);
    morphRatio.ratio = 500;
    SwfPlace moved = Move(1);
    moved.matrix = At(200, 0);
    SwfPlace first = Place(1, 10);
    first.matrix = At(100, 0);

    SwfTimeline t;
    t.PlaceObject2(first).PlaceObject2(Place(3, 11)).PlaceObject2(Place(5, 99)).PlaceObject2(Place(9, 13)).ShowFrame();
    t.PlaceObject2(moved).PlaceObject2(ratio).RemoveObject(11, 1).PlaceObject2(named).PlaceObject2(morphRatio);
    t.ShowFrame();
    // Removing from an empty or absent depth does not stop the frame.
    t.RemoveObject(10, 1).RemoveObject2(3).RemoveObject2(20).RemoveObject2(2).PlaceObject2(Place(2, 11));
    t.PlaceObject2(morphRatio).ShowFrame();
    t.PlaceObject2(Place(5, 10)).ShowFrame().End();

    PlayerHarness h(false);
    h.AddShape(10);
    h.AddShape(11);
    h.AddShape(12);
    auto* morph = new StandInChar(PVChar::kMorph, 13, PVBounds::Of(0, 10, 0, 10));
    h.player.Dictionary()->Add(morph);
    ASSERT_TRUE(h.Load(t, 4));
    EXPECT_EQ(Steps(h, 4), (std::vector<std::string>{
                               "f=1 1:#10@100,0 3:#11 5:- 9:#13",
                               "f=2 1:#10@200,0 3:#11 r=30 5:- 7:#12 'n7' clip=9 9:#13 r=500",
                               "f=3 2:#11 5:- 7:#12 'n7' clip=9 9:#13 r=500",
                               "f=4 2:#11 5:#10 7:#12 'n7' clip=9 9:#13 r=500",
                           }));
    // The morph blends when it arrives and when its ratio changes.
    EXPECT_EQ(morph->ratios, (std::vector<int>{0, 500}));
}

// Main: sprite #20 as "kid" at depth 2, which holds sprite #21 as "grand".
SwfTimeline Family()
{
    SwfTimeline grand;
    grand.ShowFrame().ShowFrame().End();
    SwfTimeline kid;
    SwfPlace g = Place(1, 21);
    g.name = "grand";
    kid.PlaceObject2(g).ShowFrame().ShowFrame().End();
    SwfPlace k = Place(2, 20);
    k.name = "kid";
    SwfTimeline t;
    t.DefineSprite(21, 2, grand).DefineSprite(20, 2, kid).PlaceObject2(k).ShowFrame().ShowFrame().End();
    return t;
}

TEST(Player, TargetPathsResolveFromTheClipOrTheMainClip)
{
    PlayerHarness h;
    ASSERT_TRUE(h.Load(Family(), 2));
    h.Step();
    PVMovieClip* main = &h.Main();
    PVMovieClip* kid = h.Child(2);
    ASSERT_NE(kid, nullptr);
    PVMovieClip* grand = kid->DisplayList().At(1)->clip;
    ASSERT_NE(grand, nullptr);
    struct Case {
        PVMovieClip* from;
        const char* path;
        PVMovieClip* expected;
    } cases[] = {
        {main, "", main},         {nullptr, "kid", kid},      {main, "/kid/grand", grand}, {grand, "..", kid},
        {grand, "../..", main},   {main, "..", main},         {kid, "./grand/", grand},    {grand, "/kid", kid},
        {main, "nosuch", nullptr}, {main, "kid/nosuch/..", nullptr}, {main, "//kid", kid},   {kid, "/", main},
        {main, "Kid", nullptr},
    };
    for (const Case& c : cases) {
        const std::string path = c.path;
        EXPECT_EQ(h.player.FindTarget(c.from, path.data(), static_cast<int>(path.size())), c.expected) << c.path;
    }
}

TEST(Player, EmptySetTargetReturnsToTheClipThatHoldsTheActions)
{
    // The kid's frame tells "/other" to stop, then stops itself.
    SwfTimeline kidTags;
    kidTags.DoAction(SwfActionWriter().SetTarget("/other").Plain(0x07).SetTarget("").Plain(0x07));
    kidTags.ShowFrame().ShowFrame().End();
    SwfTimeline other;
    other.ShowFrame().ShowFrame().End();
    SwfPlace k = Place(1, 20);
    k.name = "kid";
    SwfPlace o = Place(2, 22);
    o.name = "other";
    SwfTimeline t;
    t.DefineSprite(20, 2, kidTags).DefineSprite(22, 2, other).PlaceObject2(k).PlaceObject2(o).ShowFrame();
    t.ShowFrame().ShowFrame().End();
    PlayerHarness h;
    ASSERT_TRUE(h.Load(t, 3));
    h.Step();
    h.Step();
    EXPECT_EQ(h.Trace(), "f=2 1:#20 'kid' {f=1 stop} 2:#22 'other' {f=1 stop}");
}

TEST(Player, ActionsWithoutATargetDoNothing)
{
    SwfTimeline t;
    t.DoAction(SwfActionWriter().SetTarget("nosuch").Plain(0x07).GotoFrame(3).Plain(0x04).GotoLabel("2"));
    t.ShowFrame().ShowFrame().ShowFrame().ShowFrame().End();
    PlayerHarness h(false);
    ASSERT_TRUE(h.Load(t, 4));
    EXPECT_EQ(Steps(h, 2), (std::vector<std::string>{"f=1", "f=2"}));
}

TEST(Player, GotoLoopsEndWithinTheRunBudget)
{
    struct Case {
        const char* name;
        std::vector<SwfActionWriter> frames;
    } cases[] = {
        {"self", {SwfActionWriter().GotoFrame(0)}},
        {"pair", {SwfActionWriter().GotoFrame(1), SwfActionWriter().GotoFrame(0)}},
        {"label", {SwfActionWriter().GotoLabel("0")}},
    };
    for (const Case& c : cases) {
        SwfTimeline t;
        for (const SwfActionWriter& frame : c.frames)
            t.PlaceObject2(Place(1, 10)).DoAction(frame).ShowFrame();
        t.End();
        PlayerHarness h;
        h.AddShape(10);
        ASSERT_TRUE(h.Load(t, static_cast<uint16_t>(c.frames.size())));
        ASSERT_TRUE(h.Main().ExecuteFrame());
        EXPECT_FALSE(h.player.ActionVM()->Run(1.0)) << c.name;
        EXPECT_EQ(h.player.ActionVM()->QueuedCount(), 0) << c.name;
        // The player goes on stepping and showing its frame.
        h.Step();
        h.Step();
        EXPECT_EQ(DumpList(h.Main().DisplayList()), "1:#10") << c.name;
    }
}

TEST(Player, ActionsWithinTheBudgetRunToTheEnd)
{
    SwfTimeline t;
    t.DoAction(SwfActionWriter().GotoFrame(2).Plain(0x08)).ShowFrame().ShowFrame().ShowFrame().End();
    PlayerHarness h(false);
    ASSERT_TRUE(h.Load(t, 3));
    ASSERT_TRUE(h.Main().ExecuteFrame());
    EXPECT_TRUE(h.player.ActionVM()->Run(1.0));
    EXPECT_FALSE(h.player.HighQuality());
    EXPECT_EQ(h.Main().CurrentFrame(), 3);
}

// Counts the clips nested below `clip` through depth 1.
int NestedClips(const PVMovieClip& clip)
{
    const PVDListObject* entry = clip.DisplayList().At(1);
    return entry && entry->clip ? 1 + NestedClips(*entry->clip) : 0;
}

TEST(Player, SpriteThatPlacesItselfGetsNoClipInside)
{
    SwfTimeline sprite;
    sprite.PlaceObject2(Place(1, 20)).PlaceObject2(Place(2, 20)).ShowFrame().End();
    SwfTimeline t;
    t.DefineSprite(20, 1, sprite).PlaceObject2(Place(1, 20)).ShowFrame().End();
    PlayerHarness h;
    ASSERT_TRUE(h.Load(t, 1));
    EXPECT_EQ(Steps(h, 2), (std::vector<std::string>{"f=1 1:#20 {f=1 1:#20 2:#20}", "f=1 1:#20 {f=1 1:#20 2:#20}"}));
}

TEST(Player, ChainOfSpritesNestsNoDeeperThanTheBound)
{
    SwfTimeline t;
    constexpr int kChain = 40;
    for (int k = kChain; k >= 1; --k) {
        SwfTimeline sprite;
        sprite.PlaceObject2(Place(1, static_cast<uint16_t>(k == kChain ? 10 : 100 + k + 1))).ShowFrame().End();
        t.DefineSprite(static_cast<uint16_t>(100 + k), 1, sprite);
    }
    t.PlaceObject2(Place(1, 101)).ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 1));
    h.Step();
    EXPECT_EQ(NestedClips(h.Main()), PVMovieClip::kMaxNesting - 1);
    h.Step();
    EXPECT_EQ(NestedClips(h.Main()), PVMovieClip::kMaxNesting - 1);
}

TEST(Player, FrameRateZeroPlays)
{
    SwfTimeline t;
    t.PlaceObject2(Place(1, 10)).ShowFrame().ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 2, 0));
    EXPECT_EQ(h.player.FrameRate(), 0.0f);
    EXPECT_EQ(h.player.FrameRect().xmax, 11000);
    EXPECT_EQ(Steps(h, 3), (std::vector<std::string>{"f=1 1:#10", "f=2 1:#10", "f=1 1:#10"}));
}

TEST(Player, SpriteSwappedAtADepthPlaysTheNewSprite)
{
    SwfTimeline a;
    a.ShowFrame().ShowFrame().End();
    SwfTimeline b;
    b.ShowFrame().ShowFrame().ShowFrame().End();
    SwfPlace swap = Move(1);
    swap.id = 21;
    SwfTimeline t;
    t.DefineSprite(20, 2, a).DefineSprite(21, 3, b).PlaceObject2(Place(1, 20)).ShowFrame().PlaceObject2(swap);
    t.ShowFrame().End();
    PlayerHarness h(false);
    ASSERT_TRUE(h.Load(t, 2));
    h.Step();
    const PVMovieClip* before = h.Child(1);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->GetFrameCount(), 2);
    h.Step();
    ASSERT_NE(h.Child(1), nullptr);
    EXPECT_EQ(h.Child(1)->Movie(), static_cast<PVSprite*>(h.player.Dictionary()->Get(21))->Movie());
    EXPECT_EQ(h.Trace(), "f=2 1:#21 {f=1}");
}

TEST(Player, PlaceForAnUnknownIdMakesAnEntryWithoutCharacter)
{
    SwfTimeline t;
    t.FreeAll().PlaceObject2(Place(4, 10)).ShowFrame().End();
    PlayerHarness h;
    h.AddShape(10);
    ASSERT_TRUE(h.Load(t, 1));
    h.Step();
    EXPECT_EQ(h.Trace(), "f=1 4:-");
}

std::string Box(const PVBounds& b)
{
    if (b.empty)
        return "empty";
    return std::to_string(static_cast<int>(b.xmin)) + ".." + std::to_string(static_cast<int>(b.xmax)) + "," +
           std::to_string(static_cast<int>(b.ymin)) + ".." + std::to_string(static_cast<int>(b.ymax));
}

TEST(Player, BoundsAndDamageFollowMovesRemovalsAndChildren)
{
    // The sprite moves its shape in its second frame and stops there.
    SwfPlace inner = Move(1);
    inner.matrix = At(100, 0);
    SwfTimeline sprite;
    sprite.PlaceObject2(Place(1, 11)).ShowFrame().PlaceObject2(inner).DoAction(SwfActionWriter().Plain(0x07));
    sprite.ShowFrame().End();
    SwfPlace shape = Place(1, 10);
    shape.matrix = At(1000, 0);
    SwfPlace holder = Place(2, 20);
    holder.matrix = At(5000, 0);
    SwfPlace moved = Move(1);
    moved.matrix = At(2000, 0);
    SwfTimeline t;
    t.DefineSprite(20, 2, sprite).PlaceObject2(shape).PlaceObject2(holder).ShowFrame();
    t.PlaceObject2(moved).ShowFrame().RemoveObject2(1).ShowFrame().ShowFrame().End();
    PlayerHarness h(false);
    h.AddShape(10, 0, 100, 0, 100);
    h.AddShape(11, 0, 10, 0, 10);
    ASSERT_TRUE(h.Load(t, 4));
    std::vector<std::string> boxes;
    for (int i = 0; i < 4; ++i) {
        h.Step();
        PVBounds total;
        PVBounds damage;
        h.Main().DisplayList().ComputeBounds(total, damage);
        boxes.push_back(Box(total) + " / " + Box(damage));
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "1000..5010,0..100 / 1000..5010,0..100",  // all new
                         "2000..5110,0..100 / 1000..5110,0..100",  // both moved
                         "5100..5110,0..10 / 2000..2100,0..100",   // removed
                         "5100..5110,0..10 / empty",
                     }));
    EXPECT_EQ(h.drawer.DrawnText(), "2:#20@5000,0 2:#20@5000,0/1:#11@5100,0");
}

}  // namespace
