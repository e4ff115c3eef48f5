#include <gtest/gtest.h>

#include "ParseDump.h"
#include "PlayerHarness.h"
#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfButtonWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVActionVM.h"
#include "player/engine/PVButton.h"
#include "player/engine/PVButtonClip.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieClip.h"

namespace {

constexpr uint8_t kUp = 1, kOver = 2, kDown = 4, kHit = 8;
constexpr int kInside = 50;    // twips, within the hit area 0..100
constexpr int kOutside = 500;

SwfPlace Place(uint16_t depth, uint16_t id, const char* name = nullptr)
{
    SwfPlace p;
    p.depth = depth;
    p.id = id;
    if (name)
        p.name = name;
    return p;
}

// "frame[-depth +depth:#id ...]" for each frame of a state movie.
std::string DumpStates(const PVButton& button)
{
    std::string text;
    const PVMovie* movie = button.StateMovie();
    for (int i = 0; i < movie->FrameCount(); ++i) {
        text += (i ? " " : "") + std::to_string(i) + "[";
        const PVMovieFrame* frame = movie->Frame(i);
        bool first = true;
        for (const PVControlRecord* r = frame ? frame->first : nullptr; r; r = r->next, first = false) {
            text += first ? "" : " ";
            if (r->kind == PVControlRecord::kRemoveByDepth)
                text += "-" + std::to_string(r->depth);
            else
                text += "+" + std::to_string(r->depth) + ":#" + std::to_string(r->characterId);
        }
        text += "]";
    }
    return text;
}

std::string DumpConditions(const PVButton& button)
{
    std::string text;
    for (int i = 0; i < button.Conditions().Count(); ++i) {
        const PVButton::ActionCondition* c = button.Conditions()[i];
        text += (i ? " | " : "") + std::to_string(c->flags) + ": " + DumpActions(c->actions);
    }
    return text;
}

// Loads a one-frame movie that defines `body` as tag `code` (button 30)
// and places it at depth 1; stand-in shapes 10 to 13 cover 0..100.
PVButton* LoadButton(PlayerHarness& h, int code, const std::vector<uint8_t>& body)
{
    for (uint16_t id = 10; id <= 13; ++id)
        h.AddShape(id);
    SwfTimeline t;
    t.Tag(code, body).PlaceObject2(Place(1, 30)).ShowFrame().End();
    if (!h.Load(t, 1))
        return nullptr;
    PVChar* c = h.player.Dictionary()->Get(30);
    return c && c->Type() == PVChar::kButton ? static_cast<PVButton*>(c) : nullptr;
}

TEST(Buttons, StateMovieRemovesWhatTheNextStateDropsAndPlacesWhatItAdds)
{
    SwfButtonWriter b;
    b.Record(kUp | kOver, 10, 1).Record(kDown, 11, 2).Record(kHit, 12, 3).Record(kOver | kDown | kHit, 13, 4);
    PlayerHarness h;
    PVButton* button = LoadButton(h, 34, b.Body2(30));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(DumpStates(*button), "0[+1:#10] 1[+4:#13] 2[-1 +2:#11] 3[-2 +3:#12]");

    h.Step();
    auto* clip = static_cast<PVButtonClip*>(h.Child(1));
    ASSERT_NE(clip, nullptr);
    ASSERT_TRUE(clip->IsButton());
    EXPECT_EQ(DumpClip(*clip), "f=0 stop 1:#10");
    EXPECT_EQ(DumpClip(*clip->HitArea()), "f=3 3:#12 4:#13");
    EXPECT_EQ(clip->HitArea()->Parent(), nullptr);
    // Each state replays the movie up to its frame.
    PVActionVM& vm = *h.player.ActionVM();
    const std::pair<int, const char*> states[] = {
        {PVButton::kIdleToOver, "f=1 stop 1:#10 4:#13"},
        {PVButton::kOverToDown, "f=2 stop 2:#11 4:#13"},
        {PVButton::kDownToOver, "f=1 stop 1:#10 4:#13"},
        {PVButton::kOverToIdle, "f=0 stop 1:#10"},
    };
    for (const auto& [code, expected] : states) {
        EXPECT_TRUE(clip->OnTransition(code, vm));
        EXPECT_EQ(DumpClip(*clip), expected) << code;
    }
    EXPECT_FALSE(clip->OnTransition(3, vm));
    EXPECT_FALSE(clip->OnTransition(512, vm));
}

TEST(Buttons, HitOnlyRecordShowsInNoStateButTheHitArea)
{
    SwfButtonWriter b;
    b.Record(kHit, 12, 1);
    PlayerHarness h;
    ASSERT_NE(LoadButton(h, 7, b.Body1(30, {0})), nullptr);
    h.Step();
    auto* clip = static_cast<PVButtonClip*>(h.Child(1));
    ASSERT_NE(clip, nullptr);
    for (int code : {0, int{PVButton::kIdleToOver}, int{PVButton::kOverToDown}}) {
        if (code)
            clip->OnTransition(code, *h.player.ActionVM());
        EXPECT_EQ(DumpList(clip->DisplayList()), "") << code;
    }
    EXPECT_EQ(DumpList(clip->HitArea()->DisplayList()), "1:#12");
}

TEST(Buttons, DefineButtonReadsItsReleaseActionsWithinTheTag)
{
    SwfButtonWriter b;
    b.Record(kUp, 10, 1);
    struct Case {
        std::vector<uint8_t> actions;
        const char* expected;
    } cases[] = {
        {SwfActionWriter().Plain(0x06).Plain(0x07).Bytes(), "8: Play Stop"},
        // A length of 200 with 6 bytes left is cut before the last byte.
        {{0x81, 200, 0, 5, 0, 0}, "8: GotoFrame(5)"},
        // No end code: the list ends with the tag.
        {{0x06, 0x04}, "8: Play NextFrame"},
        {{}, "8: "},
    };
    for (const Case& c : cases) {
        PlayerHarness h;
        PVButton* button = LoadButton(h, 7, b.Body1(30, c.actions));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(DumpConditions(*button), c.expected);
        EXPECT_FALSE(button->TracksAsMenu());
    }
}

TEST(Buttons, DefineButton2ConditionsEndAtTheirSizeOrTheTag)
{
    struct Case {
        const char* name;
        SwfButtonWriter button;
        const char* expected;
    };
    SwfButtonWriter base;
    base.Record(kUp | kHit, 10, 1);
    std::vector<Case> cases;
    cases.push_back({"sized", base, "6: Play | 8: Stop"});
    cases.back().button.Condition(6, SwfActionWriter().Plain(0x06)).Condition(8, SwfActionWriter().Plain(0x07));
    // Size 0 reads to the end of the tag, even without an end code.
    cases.push_back({"last without end", base, "8: Stop Play"});
    cases.back().button.RawCondition(0, 8, {0x07, 0x06});
    // A size shorter than its list cuts the list there.
    cases.push_back({"cut", base, "2: Stop | 4: NextFrame"});
    cases.back().button.RawCondition(5, 2, {0x07}).RawCondition(0, 4, {0x04, 0x00});
    // Sizes that point past the tag or inside the record end the conditions.
    cases.push_back({"past the tag", base, "2: Play"});
    cases.back().button.Condition(2, SwfActionWriter().Plain(0x06)).RawCondition(200, 4, {0x07, 0x00});
    cases.push_back({"inside", base, ""});
    cases.back().button.RawCondition(2, 4, {0x07, 0x00});
    for (const Case& c : cases) {
        PlayerHarness h;
        PVButton* button = LoadButton(h, 34, c.button.Body2(30));
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(DumpConditions(*button), c.expected) << c.name;
    }
}

TEST(Buttons, TrackAsMenuFlagIsRead)
{
    SwfButtonWriter b;
    b.Record(kUp, 10, 1).TrackAsMenu();
    PlayerHarness h;
    PVButton* button = LoadButton(h, 34, b.Body2(30));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->TracksAsMenu());
}

std::vector<uint8_t> CxformTag(uint16_t id, const SwfCxform& cxform)
{
    SwfBitWriter w;
    w.U16(id);
    w.Cxform(cxform, false);
    return w.Data();
}

TEST(Buttons, DefineButtonCxformRecoloursEveryStateOrFailsForOtherCharacters)
{
    SwfCxform red;
    red.hasAdd = true;
    red.add[0] = 40;
    SwfButtonWriter b;
    b.Record(kUp, 10, 1).Record(kOver | kDown, 11, 2);
    {
        PlayerHarness h;
        for (uint16_t id = 10; id <= 11; ++id)
            h.AddShape(id);
        SwfTimeline t;
        t.Tag(34, b.Body2(30)).Tag(23, CxformTag(30, red)).ShowFrame().End();
        ASSERT_TRUE(h.Load(t, 1));
        auto* button = static_cast<PVButton*>(h.player.Dictionary()->Get(30));
        int places = 0;
        for (int i = 0; i < 4; ++i) {
            const PVMovieFrame* frame = button->StateMovie()->Frame(i);
            for (const PVControlRecord* r = frame ? frame->first : nullptr; r; r = r->next) {
                if (r->kind != PVControlRecord::kPlace)
                    continue;
                ++places;
                EXPECT_EQ(r->cxform.addRed, 40);
                EXPECT_EQ(r->cxform.multRed, 256);
            }
        }
        EXPECT_EQ(places, 2);
    }
    // A sprite or an unknown id fails the tag, which ends the movie's tags.
    for (uint16_t id : {20, 77}) {
        PlayerHarness h;
        h.AddShape(10);
        SwfTimeline sprite;
        sprite.ShowFrame().End();
        SwfTimeline t;
        t.DefineSprite(20, 1, sprite).Tag(23, CxformTag(id, red)).PlaceObject2(Place(1, 10)).ShowFrame().End();
        ASSERT_TRUE(h.Load(t, 1));
        h.Step();
        EXPECT_EQ(h.Trace(), "f=1") << id;
    }
}

TEST(Buttons, ButtonThatShowsItselfGetsNoClipInside)
{
    SwfButtonWriter b;
    b.Record(kUp | kOver | kDown | kHit, 30, 1);
    PlayerHarness h;
    ASSERT_NE(LoadButton(h, 34, b.Body2(30)), nullptr);
    h.Step();
    EXPECT_EQ(h.Trace(), "f=1 1:#30 {f=0 stop 1:#30}");
    auto* clip = static_cast<PVButtonClip*>(h.Child(1));
    EXPECT_EQ(DumpClip(*clip->HitArea()), "f=3 1:#30");
}

// The transition codes a button can report; each has a counter sprite
// "c<code>" on the main clip that its condition advances by one.
constexpr int kCodes[] = {1, 2, 4, 6, 8, 16, 32, 64, 128, 256};

// A movie with counters at depths 11 and up and `button` (id 30, with a
// condition per code) placed by `holder` at depth 1: the main clip itself,
// or a sprite that `main` places and may remove.
struct TransitionMovie {
    explicit TransitionMovie(SwfButtonWriter button, bool inSprite = false)
    {
        for (uint16_t id = 10; id <= 13; ++id)
            h.AddShape(id);
        button.Record(kUp, 10, 1).Record(kOver, 11, 1).Record(kDown, 12, 1).Record(kHit, 13, 2);
        for (int code : kCodes) {
            const std::string name = "/c" + std::to_string(code);
            button.Condition(static_cast<uint16_t>(code), SwfActionWriter().SetTarget(name).Plain(0x04));
        }
        SwfTimeline counter;
        counter.DoAction(SwfActionWriter().Plain(0x07)).ShowFrame().End();
        SwfTimeline t;
        t.DefineSprite(40, 100, counter).Tag(34, button.Body2(30));
        uint16_t depth = 11;
        for (int code : kCodes)
            t.PlaceObject2(Place(depth++, 40, ("c" + std::to_string(code)).c_str()));
        if (inSprite) {
            SwfTimeline pad;
            pad.PlaceObject2(Place(1, 30)).ShowFrame().End();
            t.DefineSprite(50, 1, pad).PlaceObject2(Place(1, 50)).ShowFrame().RemoveObject2(1).ShowFrame();
        } else {
            t.PlaceObject2(Place(1, 30)).ShowFrame();
        }
        h.Load(t.End(), inSprite ? 2 : 1);
    }

    // Steps with the mouse inside or outside the button and pressed or not:
    // "T" when a transition was handled, the state frame, what the button
    // shows, and the counters that moved.
    std::string Step(bool inside, bool down)
    {
        const int at = inside ? kInside : kOutside;
        const bool handled = h.Step(at, at, down);
        std::string text = handled ? "T" : "-";
        if (const PVMovieClip* button = ButtonClip())
            text += " " + DumpClip(*button).substr(2);
        std::string counters;
        uint16_t depth = 11;
        for (int code : kCodes) {
            const int count = h.Main().DisplayList().At(depth++)->clip->CurrentFrame() - 1;
            if (count)
                counters += " c" + std::to_string(code) + "=" + std::to_string(count);
        }
        return text + (counters.empty() ? "" : " |" + counters);
    }

    PVMovieClip* ButtonClip() const
    {
        PVMovieClip* holder = h.Child(1);
        if (holder && !holder->IsButton())
            holder = holder->DisplayList().At(1) ? holder->DisplayList().At(1)->clip : nullptr;
        return holder;
    }

    PlayerHarness h;
};

struct MouseStep {
    bool inside;
    bool down;
    const char* expected;
};

void ExpectSteps(TransitionMovie& movie, const std::vector<MouseStep>& steps)
{
    int i = 0;
    for (const MouseStep& s : steps)
        EXPECT_EQ(movie.Step(s.inside, s.down), s.expected) << "step " << i++;
}

TEST(ButtonTransitions, EnterPressReleaseLeave)
{
    TransitionMovie movie{SwfButtonWriter()};
    ExpectSteps(movie, {
                           {false, false, "- 0 stop 1:#10"},
                           {true, false, "T 1 stop 1:#11 | c1=1"},
                           {true, false, "- 1 stop 1:#11 | c1=1"},
                           {true, true, "T 2 stop 1:#12 | c1=1 c4=1 c6=1"},
                           {true, false, "T 1 stop 1:#11 | c1=1 c4=1 c6=1 c8=1"},
                           {false, false, "T 0 stop 1:#10 | c1=1 c2=1 c4=1 c6=2 c8=1"},
                       });
}

TEST(ButtonTransitions, PressedButtonKeepsTheMouseAndReportsLeavingOnce)
{
    TransitionMovie movie{SwfButtonWriter()};
    ExpectSteps(movie, {
                           {false, true, "- 0 stop 1:#10"},
                           {true, true, "T 2 stop 1:#12 | c32=1"},
                           {true, false, "T 1 stop 1:#11 | c8=1 c32=1"},
                           {true, true, "T 2 stop 1:#12 | c4=1 c6=1 c8=1 c32=1"},
                           {false, true, "T 2 stop 1:#12 | c4=1 c6=1 c8=1 c16=1 c32=1"},
                           {false, true, "- 2 stop 1:#12 | c4=1 c6=1 c8=1 c16=1 c32=1"},
                           {true, true, "- 2 stop 1:#12 | c4=1 c6=1 c8=1 c16=1 c32=1"},
                           {false, true, "T 2 stop 1:#12 | c4=1 c6=1 c8=1 c16=2 c32=1"},
                           {false, false, "T 0 stop 1:#10 | c2=1 c4=1 c6=2 c8=1 c16=2 c32=1"},
                       });
}

TEST(ButtonTransitions, LeavingTheDownStateQueuesActionsAndLeavesTheListAlone)
{
    TransitionMovie movie{SwfButtonWriter()};
    movie.Step(true, false);
    movie.Step(true, true);
    auto* clip = static_cast<PVButtonClip*>(movie.ButtonClip());
    const PVDListObject* shown = clip->DisplayList().At(1);
    PVActionVM& vm = *movie.h.player.ActionVM();
    EXPECT_TRUE(clip->OnTransition(PVButton::kDownLeaves, vm));
    EXPECT_EQ(clip->DisplayList().At(1), shown);
    EXPECT_EQ(clip->CurrentFrame(), PVButton::kDownFrame);
    // The bound SetTarget, then the condition's SetTarget and NextFrame.
    EXPECT_EQ(vm.QueuedCount(), 3);
    vm.Run(1.0);
    EXPECT_EQ(movie.Step(true, true), "- 2 stop 1:#12 | c1=1 c4=1 c6=1 c16=1");
}

TEST(ButtonTransitions, MenuButtonsPressOnEntryAndLetGoOnLeaving)
{
    TransitionMovie movie{SwfButtonWriter().TrackAsMenu()};
    ExpectSteps(movie, {
                           {false, true, "- 0 stop 1:#10"},
                           {true, true, "T 2 stop 1:#12 | c128=1"},
                           {false, true, "T 0 stop 1:#10 | c128=1 c256=1"},
                           {true, false, "T 1 stop 1:#11 | c1=1 c128=1 c256=1"},
                       });
}

TEST(ButtonTransitions, StepWithoutDrawingKeepsTheDrawersLastAnswer)
{
    TransitionMovie movie{SwfButtonWriter()};
    EXPECT_EQ(movie.Step(true, false), "T 1 stop 1:#11 | c1=1");
    EXPECT_FALSE(movie.h.player.Step(&movie.h.drawer, kOutside, kOutside, false, false));
    EXPECT_EQ(movie.Step(false, false), "T 0 stop 1:#10 | c1=1 c2=1 c6=1");
    EXPECT_FALSE(movie.h.player.Step(nullptr, kInside, kInside, false, true));
}

TEST(ButtonTransitions, ButtonWhoseSpriteWasRemovedRunsNoActions)
{
    TransitionMovie movie{SwfButtonWriter(), true};
    EXPECT_EQ(movie.Step(true, false), "T 1 stop 1:#11 | c1=1");
    // The sprite is gone; the button the player still holds was cut loose
    // and changes state without running its leave actions.
    EXPECT_EQ(movie.Step(false, false), "T | c1=1");
    EXPECT_EQ(movie.h.Child(1), nullptr);
    EXPECT_EQ(movie.h.player.ButtonUnderMouse(), nullptr);
}

}  // namespace
