// Slide preparation over the stand-in PowerPoint: animations a content does
// not accept, holding contents, raised start delays, trigger verbs and
// trigger copies; every change is undone when the timeline is cleared, also
// after a failure, so the time line reads as before the show.
#include "TimelineTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/effects/SlidePreparation.h"
#include "addin/effects/SlideTimeline.h"
#include "addin/effects/StepList.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SequencesObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using standin::CallLog;
using standin::EffectObject;
using standin::SequenceObject;
using standin::ShapeObject;

namespace {

const long kFly = 2;

class PreparationTest : public ::testing::Test {
protected:
    void Open(const wchar_t* version)
    {
        timeline.reset();
        layer.reset();
        timeLineRef.Release();
        slideRef.Release();
        host = std::make_unique<standin::PowerPointHost>(version);
        presentation = host->App().AddPresentation(L"Prepared.pptx");
        slide = presentation->AddSlide();
        layer = std::make_unique<TestTimelineLayer>(std::stoi(version) * 100);
        timeline = std::make_unique<SlideTimeline>(layer.get(), TestTicks);
        timeLineRef.Assign(static_cast<PowerPoint::TimeLine*>(slide->TimeLine()));
        slideRef.Assign(static_cast<PowerPoint::Slide*>(slide));
    }
    void TearDown() override
    {
        CallLog::Get().ClearFailures();
        CallLog::Get().SetRecording(false);
        CallLog::Get().Clear();
        timeline.reset();
        layer.reset();
    }

    ShapeObject* Shape(const std::wstring& name, long type = PowerPoint::msoAutoShape)
    {
        return slide->AddShape(type, name, 10, 10, 100, 100);
    }
    TestStepEffect* Product(const std::wstring& name, ShapeObject** shape)
    {
        *shape = Shape(name);
        return layer->AddEffect(name, *shape);
    }
    EffectObject* Animate(SequenceObject* sequence, ShapeObject* shape, const std::wstring& id, long trigger,
                          float delay = 0)
    {
        EffectObject* effect = AddProductEffect(sequence, shape, id, trigger);
        effect->Timing()->Values().delay = delay;
        return effect;
    }
    SequenceObject* Main() { return slide->TimeLine()->Main(); }
    std::wstring Dump() { return DumpTimeLine(slide->TimeLine()); }
    std::vector<long> Triggers(SequenceObject* sequence)
    {
        std::vector<long> types;
        for (EffectObject* effect : sequence->Items())
            types.push_back(effect->Timing()->Values().triggerType);
        return types;
    }

    ComScope com;
    std::unique_ptr<standin::PowerPointHost> host;
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* slide = nullptr;
    std::unique_ptr<TestTimelineLayer> layer;
    std::unique_ptr<SlideTimeline> timeline;
    PptObjectRef timeLineRef;
    PptObjectRef slideRef;
};

TEST_F(PreparationTest, BeforePowerPoint12TriggerTypesAreReadBesideMarkersAndPutBack)
{
    Open(L"11.0");
    ShapeObject *a, *d, *e, *f;
    Product(L"A", &a);
    Product(L"D", &d);
    Product(L"E", &e);
    Product(L"F", &f);
    ShapeObject* button = Shape(L"Button");
    Animate(Main(), a, L"a", kClick);
    SequenceObject* trigger = slide->TimeLine()->Interactive()->AddSequence();
    Animate(trigger, d, L"d", kShapeClick)->Timing()->SetTriggerShape(button);
    Animate(trigger, e, L"e", kAfter);
    Animate(trigger, f, L"f", kWith);
    const std::wstring before = Dump();

    CallLog::Get().Clear();
    CallLog::Get().SetRecording(true);
    ASSERT_TRUE(timeline->Build(timeLineRef, slideRef));
    CallLog::Get().SetRecording(false);

    // One marker each on the trigger sequence and the main sequence; each
    // later animation goes beside the main marker to be read, back beside
    // its own marker, then home; both markers go.
    EXPECT_EQ(CallLog::Get().EntriesStartingWith(L"Sequence.AddEffect").size(), 2u);
    const std::vector<std::wstring> moves = {L"Effect.MoveAfter", L"Effect.MoveAfter", L"Effect.MoveTo",
                                             L"Effect.MoveAfter", L"Effect.MoveAfter", L"Effect.MoveTo"};
    EXPECT_EQ(CallLog::Get().EntriesStartingWith(L"Effect.Move"), moves);
    EXPECT_EQ(CallLog::Get().EntriesStartingWith(L"Effect.Delete").size(), 2u);
    EXPECT_EQ(Dump(), before);

    // E after D, F with E: one step of the trigger's first click.
    StepList* list = timeline->GetList(1);
    ASSERT_NE(list, nullptr);
    Step* step = list->FindStepByClick(1);
    ASSERT_NE(step, nullptr);
    ASSERT_EQ(step->GetItemCount(), 3);
    EXPECT_EQ(step->GetItem(1)->start, 500);
    EXPECT_EQ(step->GetItem(2)->start, 500);
    EXPECT_EQ(list->GetHighestClick(), 1);

    timeline->Clear();
    EXPECT_EQ(Dump(), before);
}

TEST_F(PreparationTest, FromPowerPoint12TriggerTypesAreReadWhereTheyAre)
{
    Open(L"12.0");
    ShapeObject *d, *e;
    Product(L"D", &d);
    Product(L"E", &e);
    ShapeObject* button = Shape(L"Button");
    SequenceObject* trigger = slide->TimeLine()->Interactive()->AddSequence();
    Animate(trigger, d, L"d", kShapeClick)->Timing()->SetTriggerShape(button);
    Animate(trigger, e, L"e", kAfter);
    CallLog::Get().Clear();
    CallLog::Get().SetRecording(true);
    ASSERT_TRUE(timeline->Build(timeLineRef, slideRef));
    CallLog::Get().SetRecording(false);
    EXPECT_TRUE(CallLog::Get().EntriesStartingWith(L"Effect.Move").empty());
    EXPECT_TRUE(CallLog::Get().EntriesStartingWith(L"Sequence.AddEffect").empty());
    EXPECT_EQ(timeline->GetList(1)->FindStepByClick(1)->GetItemCount(), 2);
}

TEST_F(PreparationTest, NormalisationDeletesAndRewritesAnimationsAndClearingPutsThemBack)
{
    Open(L"14.0");
    ShapeObject *p, *q, *t;
    TestStepEffect* pEffect = Product(L"P", &p);
    TestStepEffect* qEffect = Product(L"Q", &q);
    Product(L"T", &t);
    ShapeObject* r = Shape(L"R");
    ShapeObject* s = Shape(L"S");
    pEffect->acceptsAnimation = false;
    qEffect->holds = {L"VistelloEffect:q"};
    EffectObject* fly = Main()->AddEffect(p, kFly, kClick);
    fly->Timing()->Values() = {0.75f, kClick, 0.25f, 2, 0.5f, 0.5f};
    Animate(Main(), p, L"p", kClick);
    Animate(Main(), q, L"q", kClick);   // holds
    Main()->AddEffect(r, kFly, kAfter);  // waits for a click
    Animate(Main(), q, L"q", kWith);    // holds again
    Main()->AddEffect(s, kFly, kWith);  // keeps starting with the previous one
    Animate(Main(), q, L"q", kWith);    // holds itself: waits for a click
    Animate(Main(), t, L"t", kAfter);   // no longer held
    const std::wstring before = Dump();

    ASSERT_TRUE(timeline->NormalizeSequences(timeLineRef));
    EXPECT_EQ(Main()->Items().size(), 7u);
    EXPECT_EQ(Main()->Items()[0]->EffectType(), PowerPoint::msoAnimEffectCustom);
    EXPECT_EQ(Triggers(Main()), (std::vector<long>{kClick, kClick, kClick, kWith, kWith, kClick, kAfter}));
    EXPECT_EQ(qEffect->holdQueries.size(), 3u);

    timeline->Clear();
    EXPECT_EQ(Dump(), before);
}

TEST_F(PreparationTest, AFailingHoldQueryFailsTheNormalisationAndClearingStillRestores)
{
    Open(L"14.0");
    ShapeObject *p, *q;
    TestStepEffect* pEffect = Product(L"P", &p);
    TestStepEffect* qEffect = Product(L"Q", &q);
    pEffect->acceptsAnimation = false;
    qEffect->holdFails = true;
    Main()->AddEffect(p, kFly, kClick);
    Animate(Main(), q, L"q", kClick);
    const std::wstring before = Dump();
    EXPECT_FALSE(timeline->NormalizeSequences(timeLineRef));
    EXPECT_EQ(Main()->Items().size(), 1u);
    timeline->Clear();
    EXPECT_EQ(Dump(), before);
}

// The show ends by an error after the preparation changed animations: the
// build fails on a trigger type it cannot follow, or on PowerPoint failing.
TEST_F(PreparationTest, ABuildThatFailsAfterThePreparationLeavesTheAnimationsAsTheyWere)
{
    for (int failure = 0; failure < 2; ++failure) {
        SCOPED_TRACE(failure);
        Open(L"11.0");
        ShapeObject *p, *q, *a;
        TestStepEffect* pEffect = Product(L"P", &p);
        TestStepEffect* qEffect = Product(L"Q", &q);
        Product(L"A", &a);
        pEffect->acceptsAnimation = false;
        qEffect->holds = {L"VistelloEffect:q"};
        Animate(Main(), a, L"a", kWith);  // its start is raised to 0.01 s
        Main()->AddEffect(p, kFly, kClick);
        Animate(Main(), q, L"q", kClick);
        Main()->AddEffect(a, kFly, kAfter);
        EffectObject* last = Animate(Main(), a, L"a", kClick);
        if (failure == 0)
            last->Timing()->Values().triggerType = 5;
        const std::wstring before = Dump();

        ASSERT_TRUE(timeline->NormalizeSequences(timeLineRef));
        if (failure == 1)
            CallLog::Get().Fail(L"Timing.get_Duration", E_FAIL, 2);
        EXPECT_FALSE(timeline->Build(timeLineRef, slideRef));
        EXPECT_NE(Dump(), before);
        CallLog::Get().ClearFailures();
        timeline->Clear();
        EXPECT_EQ(Dump(), before);
    }
}

TEST_F(PreparationTest, RaisedStartDelaysGoBackWhenCleared)
{
    Open(L"11.0");
    ShapeObject *a, *b;
    Product(L"A", &a);
    Product(L"B", &b);
    EffectObject* first = Animate(Main(), a, L"a", kWith);
    Animate(Main(), b, L"b", kClick);
    const std::wstring before = Dump();
    ASSERT_TRUE(timeline->Build(timeLineRef, slideRef));
    EXPECT_FLOAT_EQ(first->Timing()->Values().delay, 0.01f);
    EXPECT_EQ(timeline->GetList(0)->GetStep(0)->GetItem(0)->start, 10);
    timeline->Clear();
    EXPECT_EQ(Dump(), before);
}

TEST_F(PreparationTest, TriggerVerbsMarkTheStepsAndGoWhenClearedOrWhenOneFails)
{
    for (bool failing : {false, true}) {
        SCOPED_TRACE(failing);
        Open(L"11.0");
        ShapeObject *a, *b, *d;
        Product(L"A", &a);
        Product(L"B", &b);
        Product(L"D", &d);
        ShapeObject* button = Shape(L"Button");
        ShapeObject* command = Shape(L"Command", PowerPoint::msoEmbeddedOLEObject);
        command->SetOle(L"ShockwaveFlash.ShockwaveFlash.10", nullptr);
        command->Tags()->Set(L"_VQZ_CTT", L"flash");
        Animate(Main(), a, L"a", kClick);
        Animate(Main(), b, L"b", kClick);
        SequenceObject* trigger = slide->TimeLine()->Interactive()->AddSequence();
        Animate(trigger, d, L"d", kShapeClick)->Timing()->SetTriggerShape(button);
        const std::wstring before = Dump();
        PptShapeRef commandRef;
        commandRef.Assign(static_cast<PowerPoint::Shape*>(command));
        layer->listedCommandObject.Assign(commandRef.Get());

        ASSERT_TRUE(timeline->Build(timeLineRef, slideRef));
        if (failing)
            CallLog::Get().Fail(L"Effect.MoveAfter", E_FAIL, 1);
        bool added = timeline->AddTriggerVerbs(commandRef);
        CallLog::Get().ClearFailures();
        if (failing) {
            EXPECT_FALSE(added);
            EXPECT_EQ(layer->leftContentList, 1);
            EXPECT_EQ(Dump(), before);
        } else {
            ASSERT_TRUE(added);
            // Main: verbs after A and B, the end verb after previous, 1 s on.
            EXPECT_EQ(Main()->Items().size(), 5u);
            EXPECT_EQ(Main()->Items()[1]->Shape(), command);
            EXPECT_EQ(Main()->Items()[3]->Shape(), command);
            EXPECT_EQ(Main()->Items()[4]->Timing()->Values().triggerType, kAfter);
            EXPECT_FLOAT_EQ(Main()->Items()[4]->Timing()->Values().delay, 1.0f);
            Step* second = timeline->GetList(0)->FindStepByClick(2);
            Step* pressed = timeline->GetList(1)->FindStepByClick(1);
            ASSERT_TRUE(second && pressed);
            EXPECT_GE(second->startVerb, 1);
            EXPECT_GE(second->endVerb, 1);
            EXPECT_EQ(timeline->GetList(0)->FindStepByClick(1)->endVerb, -1);
            StepList* list = nullptr;
            int32_t click = -5;
            bool isEnd = true;
            ASSERT_TRUE(timeline->FindVerb(pressed->startVerb, &list, &click, &isEnd));
            EXPECT_EQ(list, timeline->GetList(1));
            EXPECT_EQ(click, 1);
            EXPECT_FALSE(isEnd);
            ASSERT_TRUE(timeline->FindVerb(second->endVerb, &list, &click, &isEnd));
            EXPECT_EQ(click, 2);
            EXPECT_TRUE(isEnd);
            EXPECT_FALSE(timeline->FindVerb(0, &list, &click, &isEnd));
            // The first click's step has no end verb (-1): a stray verb of -1 matches nothing.
            EXPECT_FALSE(timeline->FindVerb(-1, &list, &click, &isEnd));
        }
        timeline->Clear();
        EXPECT_EQ(Dump(), before);
    }
}

TEST_F(PreparationTest, TriggerCopiesAndVisibilityByContentKind)
{
    Open(L"14.0");
    ShapeObject *a, *b;
    TestStepEffect* own = Product(L"A", &a);
    TestStepEffect* drawn = Product(L"B", &b);
    own->kind = 1;
    drawn->kind = 2;
    VARIANT visible;
    VariantInit(&visible);
    visible.vt = VT_I4;
    visible.lVal = 1;
    // The visibility behaviour stands before the marker's two commands.
    for (auto [shape, id] : {std::pair{a, L"a"}, std::pair{b, L"b"}}) {
        EffectObject* animation = Main()->AddEffect(shape, PowerPoint::msoAnimEffectCustom, kClick);
        animation->Behaviors()->AddSet(PowerPoint::msoAnimVisibility, visible);
        animation->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, std::wstring(L"VistelloEffect:") + id);
        animation->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:aa");
    }
    const std::wstring before = Dump();
    ASSERT_TRUE(timeline->Build(timeLineRef, slideRef));

    ASSERT_TRUE(timeline->ApplyEffectTriggers());
    // A's copy takes its click; A starts with it. B's shape stays hidden.
    ASSERT_EQ(Main()->Items().size(), 3u);
    EXPECT_EQ(Main()->Items()[0]->EffectType(), PowerPoint::msoAnimEffectTransparency);
    EXPECT_EQ(Triggers(Main()), (std::vector<long>{kClick, kWith, kClick}));
    EXPECT_TRUE(own->HasTriggerCopy());
    EXPECT_FALSE(drawn->HasTriggerCopy());
    EXPECT_NE(Dump().find(L"to=0"), std::wstring::npos) << Dump();
    // Once is enough.
    ASSERT_TRUE(timeline->ApplyEffectTriggers());
    EXPECT_EQ(Main()->Items().size(), 3u);

    ASSERT_TRUE(timeline->RestoreMainSequence(timeLineRef));
    own->Detach();
    timeline->Clear();
    EXPECT_EQ(Dump(), before);
}

TEST_F(PreparationTest, TouchingTimingsWritesTheFirstDelayUpAndBack)
{
    Open(L"14.0");
    ShapeObject* a = Shape(L"A");
    ShapeObject* d = Shape(L"D");
    EXPECT_TRUE(TouchAnimationTimings(timeLineRef));
    SequenceObject* first = slide->TimeLine()->Interactive()->AddSequence();
    SequenceObject* second = slide->TimeLine()->Interactive()->AddSequence();
    first->AddEffect(a, kFly, kShapeClick)->Timing()->Values().delay = 0.5f;
    second->AddEffect(d, kFly, kShapeClick)->Timing()->Values().delay = 0.25f;
    CallLog::Get().Clear();
    CallLog::Get().SetRecording(true);
    // Without a main sequence: the last trigger sequence's first animation.
    EXPECT_TRUE(TouchAnimationTimings(timeLineRef));
    Main()->AddEffect(a, kFly, kClick)->Timing()->Values().delay = 2.0f;
    EXPECT_TRUE(TouchAnimationTimings(timeLineRef));
    CallLog::Get().SetRecording(false);
    EXPECT_EQ(CallLog::Get().EntriesStartingWith(L"Timing.put_TriggerDelayTime").size(), 4u);
    EXPECT_FLOAT_EQ(second->Items()[0]->Timing()->Values().delay, 0.25f);
    EXPECT_FLOAT_EQ(Main()->Items()[0]->Timing()->Values().delay, 2.0f);
    CallLog::Get().Fail(L"Timing.get_TriggerDelayTime", E_FAIL);
    EXPECT_FALSE(TouchAnimationTimings(timeLineRef));
}

}  // namespace
