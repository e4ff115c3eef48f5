// Build steps through the slide-show session: product shapes animated by the
// slide's main sequence in shows of the stand-in PowerPoint 14, whose
// plug-in content shows only from its build step on, on a timeline clock the
// test sets.
#include "ContentShowRig.h"
#include "TimelineTestSupport.h"

#include "addin/effects/ShapeEffect.h"
#include "addin/effects/ShowContentList.h"
#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowMessageWindow.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/effects/SlideTimeline.h"
#include "addin/effects/StepList.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SequencesObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/TagsObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;
using Rig = ContentShowRig;

const DWORD kShowStart = 100000;

const float kCentreX = Rig::kShapeLeft + Rig::kShapeWidth / 2;
const float kCentreY = Rig::kShapeTop + Rig::kShapeHeight / 2;

// A product animation as the editing side writes it: a behaviour that shows
// the shape, then the marker's two commands.
standin::EffectObject* Animate(standin::SequenceObject* sequence, standin::ShapeObject* shape, const wchar_t* id,
                               long trigger, float delay, float duration)
{
    standin::EffectObject* effect = sequence->AddEffect(shape, PowerPoint::msoAnimEffectCustom, trigger);
    VARIANT visible;
    VariantInit(&visible);
    visible.vt = VT_I4;
    visible.lVal = 1;
    effect->Behaviors()->AddSet(PowerPoint::msoAnimVisibility, visible);
    effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, std::wstring(L"VistelloEffect:") + id);
    effect->Behaviors()->AddCommand(PowerPoint::msoAnimCommandTypeVerb, L"VistelloEffectData:aa");
    effect->Timing()->Values() = {duration, trigger, delay, 1, 0, 0.5f};
    return effect;
}

// Dispatches messages until the session's frame timer has ticked `frames`
// times (a tick may come late on a loaded machine).
void PumpFrames(SlideShowSession* session, int frames)
{
    HWND window = session->GetMessageWindow();
    int ticks = 0;
    for (int i = 0; i < 100 && ticks < frames; ++i)
        ticks += PumpCountingTimer(60, window, SlideShowSession::kFrameTimerId);
}

class BuildStepShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_testTicks = kShowStart;
        SlideTimeline::SetDefaultTickSource(&TestTicks);
        ASSERT_TRUE(rig.Start({{L"StepVisible", L"1"}}));
    }
    void TearDown() override { SlideTimeline::SetDefaultTickSource(nullptr); }

    // Slide 2 of 3: "Product" builds in on the first click, "Second" 250 ms
    // after it; "Product" builds again (as "again") on the second click.
    standin::SlideShowWindowObject* RunAnimatedShow()
    {
        return rig.RunShow(3, {2}, [this](int index, standin::SlideObject* slide) {
            if (index != 2)
                return;
            slide2 = slide;
            standin::ShapeObject* second = rig.AddProductShape(slide, L"Second", 20, 20, 100, 80);
            standin::SequenceObject* main = slide->TimeLine()->Main();
            Animate(main, slide->ShapeItems().FindByName(L"Product"), L"fade", kClick, 0, 0.5f);
            Animate(main, second, L"zoom", kWith, 0.25f, 1.0f);
            Animate(main, slide->ShapeItems().FindByName(L"Product"), L"again", kClick, 0, 0.5f);
            before = DumpSlide(slide);
        });
    }

    // Lets the frame timer run the timeline at the slide time `ms`.
    void RunUntil(DWORD ms)
    {
        g_testTicks = kShowStart + ms;
        PumpFrames(rig.controller->GetSession(0), 2);
    }

    // One click on, or back, as PowerPoint raises it.
    void Click(standin::SlideShowWindowObject* show)
    {
        rig.controller->OnNext(show);
        show->View()->GoNext();
        rig.controller->OnNextBuild(show);
        rig.controller->OnNextClick(show, nullptr);
        PumpCountingTimer(200, nullptr, 0);
    }
    void Back(standin::SlideShowWindowObject* show)
    {
        show->View()->GoPrevious();
        rig.controller->OnPrevious(show);
        PumpCountingTimer(200, nullptr, 0);
    }

    // PowerPoint raises SlideShowEnd before its window goes.
    void End(standin::SlideShowWindowObject* show)
    {
        rig.controller->OnSlideShowEnd(show->Presentation());
        show->View()->End();
    }

    Lines Rows() const { return rig.standIn.LogOf({L"TestAContent.FireSteps"}); }

    Rig rig;
    standin::SlideObject* slide2 = nullptr;
    std::wstring before;
};

TEST_F(BuildStepShowTest, AnimatedContentAppearsWithItsClickAndGoesWhenTheClickIsTakenBack)
{
    standin::SlideShowWindowObject* show = RunAnimatedShow();
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    HWND pane = show->Pane();
    rig.Next(show);
    PumpCountingTimer(300, nullptr, 0);
    SlideLayer* layer = session->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 2);
    // A build step animates both shapes: PowerPoint keeps showing them.
    EXPECT_FALSE(layer->GetEffect(0)->IsShapeHidden());
    EXPECT_FALSE(layer->GetEffect(1)->IsShapeHidden());
    ASSERT_NE(layer->GetTimeline().GetList(0), nullptr);
    EXPECT_EQ(layer->GetTimeline().GetList(0)->currentStep, 0);
    EXPECT_EQ(Rig::ColourAt(pane, kCentreX, kCentreY, L"steps-before"), Rig::kShapeFill & 0xFFFFFF);

    Click(show);
    EXPECT_EQ(layer->GetTimeline().GetList(0)->currentStep, 1);
    EXPECT_EQ(Rig::ColourAt(pane, kCentreX, kCentreY, L"steps-clicked"), Rig::kContentColour);

    Back(show);
    EXPECT_EQ(layer->GetTimeline().GetList(0)->currentStep, 0);
    EXPECT_NE(Rig::ColourAt(pane, kCentreX, kCentreY, L"steps-back"), Rig::kContentColour);
    EXPECT_FALSE(session->IsStopped());
    End(show);
}

TEST_F(BuildStepShowTest, TheContentsGetTheRowsOfEachStepInTimeOrder)
{
    standin::SlideShowWindowObject* show = RunAnimatedShow();
    ASSERT_NE(show, nullptr);
    rig.Next(show);
    RunUntil(0);
    Click(show);
    RunUntil(300);
    RunUntil(1300);
    Click(show);
    RunUntil(1900);
    Back(show);
    RunUntil(2000);
    EXPECT_EQ(Rows(), (Lines{
                          // The slide starts: nothing is due before the first click.
                          L"TestAContent.FireSteps @0: [reset]",
                          L"TestAContent.FireSteps @0: [reset]",
                          // Click 1 at 0: "fade" starts; "zoom" waits 250 ms.
                          L"TestAContent.FireSteps @0: [fade+ 0:1 t0 d500 r1]",
                          L"TestAContent.FireSteps @300: [zoom+ 0:2 t250 d1000 r1]",
                          L"TestAContent.FireSteps @1300: [fade- 0:1 t0 d500 r1]",
                          L"TestAContent.FireSteps @1300: [zoom- 0:2 t250 d1000 r1]",
                          L"TestAContent.FireSteps @1300: [again+ 0:3 t1300 d500 r1]",
                          L"TestAContent.FireSteps @1900: [again- 0:3 t1300 d500 r1]",
                          // Back to click 1: click 2 is forgotten, click 1 replayed.
                          L"TestAContent.FireSteps @1900: [reset] [fade+ 0:1 t0 d500 r1] [fade- 0:1 t0 d500 r1]",
                          L"TestAContent.FireSteps @1900: [reset] [zoom+ 0:2 t250 d1000 r1] [zoom- 0:2 t250 d1000 r1]",
                      }));
    End(show);
}

// How the show ends: by PowerPoint, by the show window going, or by the
// session's stop request (a fatal slide error, an event inside another).
enum class Ending { kNormal, kWindowDestroyed, kStopRequest };

class ShowEndingTest : public BuildStepShowTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(ShowEndingTest, ThePresentationIsAsBeforeTheShowHoweverItEnds)
{
    standin::SlideShowWindowObject* show = RunAnimatedShow();
    ASSERT_NE(show, nullptr);
    ASSERT_NE(slide2, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    standin::PresentationObject* presentation = show->Presentation();
    rig.Next(show);
    RunUntil(0);
    Click(show);
    SlideLayer* layer = session->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 2);
    // The show changes the slide's animations while it runs.
    EXPECT_NE(DumpSlide(slide2), before);

    switch (GetParam()) {
    case Ending::kNormal:
        End(show);
        break;
    case Ending::kWindowDestroyed:
        session->AddRef();
        DestroyWindow(show->Window());
        PumpCountingTimer(100, nullptr, 0);
        EXPECT_TRUE(session->IsStopped());
        session->Release();
        End(show);
        break;
    case Ending::kStopRequest:
        session->AddRef();
        session->RequestStop();
        PumpCountingTimer(200, nullptr, 0);
        EXPECT_TRUE(session->IsStopped());
        session->Release();
        End(show);
        break;
    }
    EXPECT_EQ(DumpSlide(slide2), before);
    EXPECT_EQ(presentation->Saved(), -1);
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& info)
{
    switch (info.param) {
    case Ending::kNormal:
        return "Normal";
    case Ending::kWindowDestroyed:
        return "WindowDestroyed";
    case Ending::kStopRequest:
        break;
    }
    return "StopRequest";
}

INSTANTIATE_TEST_SUITE_P(Endings, ShowEndingTest,
                         ::testing::Values(Ending::kNormal, Ending::kWindowDestroyed, Ending::kStopRequest),
                         EndingName);

// Before PowerPoint 12 trigger sequences are followed through verbs that the
// preparation puts on the slide's command object.
class TriggerVerbShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_testTicks = kShowStart;
        SlideTimeline::SetDefaultTickSource(&TestTicks);
        ASSERT_TRUE(rig.Start({{L"StepVisible", L"1"}}));
    }
    void TearDown() override { SlideTimeline::SetDefaultTickSource(nullptr); }

    Rig rig{L"11.0", 1100};
};

TEST_F(TriggerVerbShowTest, VerbsOfTheCommandObjectRunTheTriggerStepsAndThePresentationIsAsBeforeAfterwards)
{
    standin::SlideObject* slide2 = nullptr;
    standin::ShapeObject* trampoline = nullptr;
    std::wstring before;
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2}, [&](int index, standin::SlideObject* slide) {
        if (index != 2)
            return;
        slide2 = slide;
        trampoline = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Trampoline", 0, 0, 10, 10);
        trampoline->Tags()->Set(L"_VQZ_CTT", L"1");
        trampoline->SetVisible(false);
        standin::ShapeObject* button = slide->AddShape(PowerPoint::msoAutoShape, L"Button", 500, 400, 50, 30);
        // The main sequence animates the command object: the slide needs it.
        slide->TimeLine()->Main()->AddEffect(trampoline, PowerPoint::msoAnimEffectCustom, kWith);
        standin::SequenceObject* trigger = slide->TimeLine()->Interactive()->AddSequence();
        Animate(trigger, slide->ShapeItems().FindByName(L"Product"), L"spin", kShapeClick, 0, 0.5f);
        trigger->Items().front()->Timing()->SetTriggerShape(button);
        before = DumpSlide(slide);
    });
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    standin::PresentationObject* presentation = show->Presentation();
    rig.Next(show);
    PumpFrames(session, 2);
    SlideLayer* layer = session->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->GetEffectCount(), 1);
    // Listed with the command object, which shows while the slide does.
    EXPECT_NE(session->GetContentList()->Find(layer), nullptr);
    EXPECT_TRUE(trampoline->Visible());
    StepList* list = layer->GetTimeline().GetList(1);
    ASSERT_NE(list, nullptr);
    Step* step = list->FindStepByClick(1);
    ASSERT_NE(step, nullptr);
    ASSERT_GE(step->startVerb, 0);
    ASSERT_GE(step->endVerb, 0);
    EXPECT_NE(DumpSlide(slide2), before);

    // PowerPoint fires the start verb, then 300 ms later the end verb.
    HWND messageWindow = session->GetMessageWindow();
    SendMessageW(messageWindow, SlideShowMessageWindow::VerbMessage(), WPARAM(step->startVerb + 10), 0);
    PumpCountingTimer(100, nullptr, 0);
    EXPECT_EQ(list->currentStep, 1);
    g_testTicks = kShowStart + 300;
    SendMessageW(messageWindow, SlideShowMessageWindow::VerbMessage(), WPARAM(step->endVerb + 10), 0);
    PumpCountingTimer(100, nullptr, 0);
    EXPECT_EQ(rig.standIn.LogOf({L"TestAContent.FireSteps"}),
              (Lines{
                  L"TestAContent.FireSteps @0: [reset]",
                  L"TestAContent.FireSteps @0: [spin+ 1:1 t0 d500 r1]",
                  // The end verb ends the step's items now.
                  L"TestAContent.FireSteps @300: [spin- 1:1 t0 d500 r1]",
              }));

    rig.controller->OnSlideShowEnd(presentation);
    show->View()->End();
    EXPECT_FALSE(trampoline->Visible());
    EXPECT_EQ(DumpSlide(slide2), before);
    EXPECT_EQ(presentation->Saved(), -1);
}

TEST_F(TriggerVerbShowTest, MainSequenceStepsFollowTheirVerbsAndTheShowWindowsBackCommand)
{
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2}, [&](int index, standin::SlideObject* slide) {
        if (index != 2)
            return;
        standin::ShapeObject* trampoline = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Trampoline", 0, 0, 10, 10);
        trampoline->Tags()->Set(L"_VQZ_CTT", L"1");
        trampoline->SetVisible(false);
        standin::SequenceObject* main = slide->TimeLine()->Main();
        main->AddEffect(trampoline, PowerPoint::msoAnimEffectCustom, kWith);
        Animate(main, slide->ShapeItems().FindByName(L"Product"), L"fade", kClick, 0, 0.5f);
    });
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    rig.Next(show);
    PumpFrames(session, 2);
    SlideLayer* layer = session->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    StepList* main = layer->GetTimeline().GetList(0);
    ASSERT_NE(main, nullptr);
    Step* step = main->FindStepByClick(1);
    ASSERT_NE(step, nullptr);
    ASSERT_GE(step->startVerb, 0);

    // PowerPoint's click runs the step, whose verb effect fires the verb.
    show->View()->GoNext();
    SendMessageW(session->GetMessageWindow(), SlideShowMessageWindow::VerbMessage(), WPARAM(step->startVerb + 10), 0);
    EXPECT_EQ(main->currentStep, 1);
    // The show window's back command takes the click back.
    SendMessageW(show->Window(), WM_COMMAND, MAKEWPARAM(1774, 0), 0);
    EXPECT_EQ(main->currentStep, 0);
    EXPECT_EQ(session->GetCurrentLayer(), layer);
    EXPECT_EQ(rig.standIn.LogOf({L"TestAContent.FireSteps"}), (Lines{
                                                                  L"TestAContent.FireSteps @0: [reset]",
                                                                  L"TestAContent.FireSteps @0: [fade+ 0:2 t0 d500 r1]",
                                                                  L"TestAContent.FireSteps @0: [reset]",
                                                              }));
    rig.controller->OnSlideShowEnd(show->Presentation());
    show->View()->End();
}

}  // namespace
