// The slide checks as a show meets them: a slide with an embedded
// presentation ends the session with the fatal report, trigger sequences
// that animate the command object leave a warning, and either way the
// presentation is as before once the show ends.
#include "ContentShowRig.h"
#include "TimelineTestSupport.h"

#include "addin/effects/SlideLayer.h"
#include "addin/effects/SlideShowSession.h"
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

using Shown = std::vector<std::pair<std::wstring, std::wstring>>;

struct CheckCase {
    const char* name;
    // Adds to slide 2, which holds the product shape.
    void (*build)(standin::SlideObject* slide);
    bool stops;
    Shown shown;
};

void AddEmbeddedPresentation(standin::SlideObject* slide)
{
    slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Deck", 400, 20, 200, 150)->SetOle(L"PowerPoint.Show.12", nullptr);
}

void AnimateCommandObjectByTrigger(standin::SlideObject* slide)
{
    standin::ShapeObject* trampoline = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Trampoline", 0, 0, 10, 10);
    trampoline->Tags()->Set(L"_VQZ_CTT", L"1");
    trampoline->SetVisible(false);
    standin::ShapeObject* button = slide->AddShape(PowerPoint::msoAutoShape, L"Button", 500, 400, 50, 30);
    standin::SequenceObject* trigger = slide->TimeLine()->Interactive()->AddSequence();
    trigger->AddEffect(trampoline, PowerPoint::msoAnimEffectCustom, PowerPoint::msoAnimTriggerOnShapeClick);
    trigger->Items().front()->Timing()->SetTriggerShape(button);
}

class SlideCheckShowTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SlideCheckShowTest, TheReportTellsWhatTheSlideHolds)
{
    const CheckCase& c = GetParam();
    ContentShowRig rig;
    ASSERT_TRUE(rig.Start());
    rig.host.startedToShow = true;
    standin::SlideObject* slide2 = nullptr;
    std::wstring before;
    standin::SlideShowWindowObject* show = rig.RunShow(3, {2}, [&](int index, standin::SlideObject* slide) {
        if (index != 2)
            return;
        slide2 = slide;
        c.build(slide);
        before = DumpSlide(slide);
    });
    ASSERT_NE(show, nullptr);
    SlideShowSession* session = rig.controller->GetSession(0);
    standin::PresentationObject* presentation = show->Presentation();
    session->AddRef();
    rig.Next(show);
    PumpCountingTimer(200, nullptr, 0);
    EXPECT_EQ(session->IsStopped(), c.stops);
    if (!c.stops) {
        ASSERT_NE(session->GetCurrentLayer(), nullptr);
        EXPECT_EQ(session->GetCurrentLayer()->GetEffectCount(), 1);
    }
    session->Release();

    // PowerPoint raises SlideShowEnd before its window goes.
    rig.controller->OnSlideShowEnd(presentation);
    show->View()->End();
    EXPECT_EQ(rig.host.shown, c.shown);
    EXPECT_EQ(DumpSlide(slide2), before);
    EXPECT_EQ(presentation->Saved(), -1);
}

const CheckCase kCases[] = {
    {"EmbeddedPresentation", AddEmbeddedPresentation, true,
     {{L"Fatal Error", L"Slide 2 contains an Embedded PowerPoint Presentation Object.\nVistello cannot run in a "
                       L"presentation which contains an embedded PowerPoint Presentation."}}},
    {"TriggerOnCommandObject", AnimateCommandObjectByTrigger, false,
     {{L"An error occurred during the Slide Show.",
       L"Slide 2 contains trigger effects applied to Vistello Shapes. There are not supported.\n"}}},
};

INSTANTIATE_TEST_SUITE_P(Checks, SlideCheckShowTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

}  // namespace
