// The checks of a slide that end in the show's report: an embedded
// presentation stops the show with one fatal message, trigger effects on
// product shapes give a warning.
#include "ShowTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/core/AddInModule.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/SlidePreparation.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowSession.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <gtest/gtest.h>

namespace {

TEST(SlideChecksTest, AnEmbeddedPresentationStopsTheShowOnceWithTheFirstSlidesMessage)
{
    ComScope com;
    if (!ModuleInstance())
        SetModuleInstance(GetModuleHandleW(nullptr));
    PaneSubclassRegistry::CreateInstance();
    standin::PowerPointHost powerPoint(L"14.0");
    TestShowHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    standin::PresentationObject* presentation = powerPoint.App().AddPresentation(L"Embedded.pptx");
    presentation->AddSlide();
    presentation->AddSlide();
    presentation->Settings()->SetShowType(PowerPoint::ppShowTypeSpeaker);
    PowerPoint::SlideShowWindow* window = nullptr;
    ASSERT_HRESULT_SUCCEEDED(presentation->Settings()->Run(&window));
    ASSERT_NE(window, nullptr);
    window->Release();
    auto* show = static_cast<standin::SlideShowWindowObject*>(window);
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    SlideShowSession* session = controller.GetSession(0);
    SessionReport* report = session->GetReport();
    ASSERT_NE(report, nullptr);

    EXPECT_FALSE(StopForEmbeddedPresentation(*session, 3));
    EXPECT_TRUE(session->IsStopRequested());
    EXPECT_EQ(report->GetFatalKind(), SessionReport::kFatalError);
    const MKString first(L"Slide 3 contains an Embedded PowerPoint Presentation Object.\nVistello cannot run in a "
                         L"presentation which contains an embedded PowerPoint Presentation.");
    EXPECT_STREQ(report->GetFatalMessage().GetText(), first.GetText());
    // A second slide adds nothing.
    EXPECT_FALSE(StopForEmbeddedPresentation(*session, 5));
    EXPECT_STREQ(report->GetFatalMessage().GetText(), first.GetText());

    WarnOfTriggerEffects(report, 4);
    EXPECT_STREQ(report->GetWarnings().GetText(),
                 L"Slide 4 contains trigger effects applied to Vistello Shapes. There are not supported.\n");
    controller.Shutdown();
}

}  // namespace
