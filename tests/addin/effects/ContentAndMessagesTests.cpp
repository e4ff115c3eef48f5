// The session's content list and what reaches PowerPoint's own window
// procedures while a session watches them.
#include "ShowTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/ShowContentList.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideShowSession.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/WindowMessageLog.h"

#include <gtest/gtest.h>

using standin::PowerPointHost;
using standin::WindowMessageLog;

namespace {

class RunningShowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PaneSubclassRegistry::CreateInstance();
        presentation = powerPoint.App().AddPresentation(L"Content.pptx");
        slide = presentation->AddSlide();
        presentation->AddSlide();
        PowerPoint::SlideShowWindow* window = nullptr;
        ASSERT_EQ(presentation->Settings()->Run(&window), S_OK);
        window->Release();
        show = static_cast<standin::SlideShowWindowObject*>(window);
        controller.OnSlideShowBegin(show);
        ASSERT_EQ(controller.GetSessionCount(), 1);
        session = controller.GetSession(0);
    }
    void TearDown() override
    {
        if (show->IsRunning())
            show->End();
    }

    ComScope com;
    PowerPointHost powerPoint{L"11.0"};
    TestShowHost host{powerPoint, 1100};
    SlideShowController controller{&host};
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* slide = nullptr;
    standin::SlideShowWindowObject* show = nullptr;
    SlideShowSession* session = nullptr;
};

TEST_F(RunningShowTest, ListedShapesAreShownUntilRemovedOrTheSessionStopsAndTheSavedMarkStays)
{
    standin::ShapeObject* first = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"One", 5, 5, 50, 40);
    standin::ShapeObject* second = slide->AddShape(PowerPoint::msoEmbeddedOLEObject, L"Two", 5, 5, 50, 40);
    first->put_Visible(PowerPoint::msoFalse);
    second->put_Visible(PowerPoint::msoFalse);
    presentation->SetSaved(-1);
    // Slide layers are the keys; the list never looks inside them.
    int layers[2] = {};
    auto* layerA = reinterpret_cast<SlideLayer*>(&layers[0]);
    auto* layerB = reinterpret_cast<SlideLayer*>(&layers[1]);
    ShowContentList* list = session->GetContentList();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->Add(nullptr, first));
    EXPECT_FALSE(list->Add(layerA, nullptr));
    EXPECT_TRUE(list->Add(layerA, first));
    EXPECT_TRUE(list->Add(layerA, first));
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_TRUE(first->Visible());
    EXPECT_TRUE(list->Add(layerB, second));
    EXPECT_TRUE(list->Remove(layerA));
    EXPECT_FALSE(first->Visible());
    EXPECT_TRUE(list->Remove(layerA));
    EXPECT_EQ(list->Find(layerB), static_cast<PowerPoint::Shape*>(second));
    EXPECT_EQ(presentation->Saved(), -1);

    controller.OnSlideShowEnd(presentation);
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(presentation->Saved(), -1);
}

TEST_F(RunningShowTest, PowerPointsProceduresGetWhatTheSessionDoesNotSwallow)
{
    WindowMessageLog& log = WindowMessageLog::Get();
    log.Clear();
    HWND pane = show->Pane();
    HWND window = show->Window();
    HWND main = powerPoint.App().MainWindow();
    show->View()->GoNext();
    EXPECT_EQ(log.Count(pane, 1046), 1);
    long shown = -1;
    show->View()->CurrentSlide()->get_SlideID(&shown);
    EXPECT_EQ(session->GetShownSlideId(), shown);
    SendMessageW(main, WM_USER + 9, 0, 0);
    EXPECT_EQ(log.Count(main, WM_USER + 9), 1);

    // Commands issued while an event is handled never reach PowerPoint.
    static HWND s_window = nullptr;
    s_window = window;
    SlideShowSession::SetVerbHook([](SlideShowSession*, int) { SendMessageW(s_window, WM_COMMAND, 1774, 0); });
    session->OnVerb(15);
    SlideShowSession::SetVerbHook(nullptr);
    EXPECT_EQ(log.Count(window, WM_COMMAND), 0);
    SendMessageW(window, WM_COMMAND, 1774, 0);
    EXPECT_EQ(log.Count(window, WM_COMMAND), 1);
    EXPECT_FALSE(session->IsStopped());
}

}  // namespace
