// Verb commands added to animation effects of the stand-in PowerPoint.
#include "fixtures/ComScope.h"

#include "addin/effects/VerbCommand.h"
#include "standins/powerpoint/AnimationBehaviorObject.h"
#include "standins/powerpoint/AnimationBehaviorsObject.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/CommandEffectObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

#include <gtest/gtest.h>

namespace {

using standin::CallLog;

// Every verb of this program is made here: the counter is process-wide.
TEST(VerbCommandTest, VerbsAreNumberedFromOneAndTheCommandTextIsTheNumberPlusTen)
{
    ComScope com;
    standin::PowerPointHost host(L"11.0");
    standin::SlideObject* slide = host.App().AddPresentation(L"Verbs.pptx")->AddSlide();
    standin::ShapeObject* shape = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Movie", 5, 5, 50, 40);
    standin::SequenceObject* main = slide->TimeLine()->Main();
    standin::EffectObject* first = main->AddEffect(shape, PowerPoint::msoAnimEffectCustom,
                                                   PowerPoint::msoAnimTriggerOnPageClick);
    standin::EffectObject* second = main->AddEffect(shape, PowerPoint::msoAnimEffectCustom,
                                                    PowerPoint::msoAnimTriggerOnPageClick);

    EXPECT_EQ(AddVerbEffect(first), 1);
    ASSERT_EQ(first->Behaviors()->Items().size(), 1u);
    standin::AnimationBehaviorObject* behavior = first->Behaviors()->Items().back();
    EXPECT_EQ(behavior->Type(), 6);
    EXPECT_EQ(behavior->Command()->Type(), PowerPoint::msoAnimCommandTypeVerb);
    EXPECT_EQ(behavior->Command()->Command(), L"11");
    for (standin::TimingObject* timing : {first->Timing(), behavior->Timing()}) {
        EXPECT_FLOAT_EQ(timing->Values().duration, 0.001f);
        EXPECT_FLOAT_EQ(timing->Values().speed, 0.0f);
        EXPECT_FLOAT_EQ(timing->Values().delay, 0.0f);
    }

    // A failed command takes its number all the same.
    CallLog::Get().Fail(L"CommandEffect.put_Command", E_FAIL);
    EXPECT_EQ(AddVerbEffect(second), -1);
    CallLog::Get().ClearFailures();
    EXPECT_EQ(AddVerbEffect(second), 3);
    EXPECT_EQ(second->Behaviors()->Items().back()->Command()->Command(), L"13");
    EXPECT_EQ(AddVerbEffect(nullptr), -1);
}

}  // namespace
