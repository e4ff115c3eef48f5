// Shows run by the stand-in PowerPoint with the built VistelloAddIn.dll
// connected from its Office add-in entry.
#include "AddInTestSupport.h"
#include "ShowTestSupport.h"
#include "ScratchInstallation.h"
#include "fixtures/ComScope.h"
#include "fixtures/StandInClr.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <gtest/gtest.h>

using standin::PowerPointHost;

namespace {

// The procedure lies inside the image of the module.
bool PointsInto(HWND window, HMODULE module)
{
    MEMORY_BASIC_INFORMATION info{};
    LONG_PTR procedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
    return VirtualQuery(reinterpret_cast<void*>(procedure), &info, sizeof info) &&
           info.AllocationBase == static_cast<void*>(module);
}

class BuiltAddInShowTest : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override { ASSERT_EQ(install.Registered(), S_OK); }

    static standin::SlideShowWindowObject* RunShow(PowerPointHost& host, standin::PresentationObject** shown)
    {
        standin::PresentationObject* presentation = host.App().AddPresentation(L"Built.pptx");
        presentation->AddSlide();
        presentation->AddSlide();
        *shown = presentation;
        PowerPoint::SlideShowWindow* window = nullptr;
        if (FAILED(presentation->Settings()->Run(&window)) || !window)
            return nullptr;
        window->Release();
        PowerPointHost::Pump(50);
        return static_cast<standin::SlideShowWindowObject*>(window);
    }

    ComScope com;
    // Shows begin with PowerPoint's events, which only a started add-in hears.
    StandInClr clr;
    ScratchInstallation install{L"full"};
    AddInLibrary& library = install.Library();
};

TEST_P(BuiltAddInShowTest, AShowRunsWithTheMessageWindowAndEndsWithPowerPointsWindowsAsTheyWere)
{
    PowerPointHost host(GetParam());
    host.Start();
    HWND main = host.App().MainWindow();
    standin::PresentationObject* presentation = nullptr;
    standin::SlideShowWindowObject* show = RunShow(host, &presentation);
    ASSERT_NE(show, nullptr);
    HWND pane = show->Pane();
    HWND window = show->Window();
    HWND messageWindow = FindMessageWindow(pane);
    ASSERT_NE(messageWindow, nullptr);
    EXPECT_EQ(GetAncestor(messageWindow, GA_ROOT), window);
    EXPECT_TRUE(PointsInto(pane, library.Module()));
    EXPECT_TRUE(PointsInto(window, library.Module()));
    EXPECT_TRUE(PointsInto(main, library.Module()));
    EXPECT_GE(PumpCountingTimer(500, messageWindow, 47233), 5);

    show->View()->GoNext();
    show->View()->SetState(PowerPoint::ppSlideShowBlackScreen);
    PowerPointHost::Pump(60);
    show->View()->SetState(PowerPoint::ppSlideShowRunning);
    EXPECT_EQ(FindMessageWindow(pane), messageWindow);

    presentation->SetSaved(-1);
    show->End();
    PowerPointHost::Pump(60);
    EXPECT_FALSE(IsWindow(messageWindow));
    EXPECT_TRUE(HasClassProcedure(main));
    EXPECT_EQ(presentation->Saved(), -1);

    // OnBeginShutdown during a show stops its session and ends the show.
    show = RunShow(host, &presentation);
    ASSERT_NE(show, nullptr);
    messageWindow = FindMessageWindow(show->Pane());
    ASSERT_NE(messageWindow, nullptr);
    host.Shutdown();
    EXPECT_FALSE(IsWindow(messageWindow));
    EXPECT_FALSE(show->IsRunning());
    EXPECT_FALSE(PointsInto(main, library.Module()));
    EXPECT_TRUE(HasClassProcedure(main));
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

TEST_P(BuiltAddInShowTest, DestroyingTheShowWindowEndsTheSession)
{
    PowerPointHost host(GetParam());
    host.Start();
    standin::PresentationObject* presentation = nullptr;
    standin::SlideShowWindowObject* show = RunShow(host, &presentation);
    ASSERT_NE(show, nullptr);
    HWND messageWindow = FindMessageWindow(show->Pane());
    ASSERT_NE(messageWindow, nullptr);
    DestroyWindow(show->Window());
    PowerPointHost::Pump(100);
    EXPECT_FALSE(IsWindow(messageWindow));
    EXPECT_TRUE(HasClassProcedure(host.App().MainWindow()));
    host.Shutdown();
}

INSTANTIATE_TEST_SUITE_P(Versions, BuiltAddInShowTest, ::testing::Values(L"11.0", L"12.0", L"14.0", L"15.0"));

}  // namespace
