// The controller and its sessions against the stand-in PowerPoint, with a
// host of the test's own standing in for the add-in.
#include "ShowTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/core/AddInModule.h"
#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/SlideShowController.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideShowMessageWindow.h"
#include "addin/effects/SlideShowSession.h"
#include "addin/effects/SlideLayer.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <gtest/gtest.h>

#include <thread>

using standin::PowerPointHost;

namespace {

using TestHost = TestShowHost;

std::vector<int> s_verbs;
SlideShowSession* s_verbSession = nullptr;
void (*s_insideVerb)() = nullptr;

void RecordVerb(SlideShowSession* session, int verb)
{
    s_verbs.push_back(verb);
    s_verbSession = session;
    if (s_insideVerb)
        s_insideVerb();
}

class ControllerTest : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override
    {
        if (!ModuleInstance())
            SetModuleInstance(GetModuleHandleW(nullptr));
        PaneSubclassRegistry::CreateInstance();
        s_verbs.clear();
        s_verbSession = nullptr;
        s_insideVerb = nullptr;
        SlideShowSession::SetVerbHook(&RecordVerb);
    }
    void TearDown() override { SlideShowSession::SetVerbHook(nullptr); }

    // A speaker show of a new presentation with `slides` slides.
    standin::SlideShowWindowObject* RunShow(PowerPointHost& powerPoint, int slides = 2,
                                            long type = PowerPoint::ppShowTypeSpeaker)
    {
        standin::PresentationObject* presentation = powerPoint.App().AddPresentation(L"Show.pptx");
        for (int i = 0; i < slides; ++i)
            presentation->AddSlide();
        presentation->Settings()->SetShowType(type);
        PowerPoint::SlideShowWindow* window = nullptr;
        if (FAILED(presentation->Settings()->Run(&window)) || !window)
            return nullptr;
        window->Release();
        return static_cast<standin::SlideShowWindowObject*>(window);
    }

    ComScope com;
};

TEST(PaneLookupTest, ThePaneIsFoundByPowerPointsVersion)
{
    HWND show = CreateWindowExW(0, L"STATIC", L"show", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    WNDCLASSW paneClass{};
    paneClass.lpfnWndProc = DefWindowProcW;
    paneClass.hInstance = GetModuleHandleW(nullptr);
    paneClass.lpszClassName = L"paneClassDC";
    // The stand-in PowerPoint's own class, when registered, serves as well;
    // one of the test's own goes again so that it never stands in for it.
    ATOM own = RegisterClassW(&paneClass);
    HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, show, nullptr, nullptr, nullptr);
    HWND deep = CreateWindowExW(0, L"paneClassDC", L"", WS_CHILD, 0, 0, 5, 5, holder, nullptr, nullptr, nullptr);
    HWND titled = CreateWindowExW(0, L"paneClassDC", L"Slide Show", WS_CHILD, 0, 0, 5, 5, show, nullptr, nullptr,
                                  nullptr);
    struct Case {
        bool detected;
        int code;
        HWND expected;
    };
    const Case cases[] = {
        {true, 1000, nullptr}, {true, 1103, nullptr}, {true, 1200, deep},  {true, 1400, deep},
        {false, 0, deep},      {true, 1300, titled},  {true, 1500, titled},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SlideShowSession::FindPane(show, c.detected, c.code), c.expected) << c.code;
    HWND untitled = CreateWindowExW(0, L"paneClassDC", L"", WS_CHILD, 0, 0, 5, 5, show, nullptr, nullptr, nullptr);
    EXPECT_EQ(SlideShowSession::FindPane(show, true, 1100), untitled);
    EXPECT_EQ(SlideShowSession::FindPane(show, true, 1202), untitled);
    DestroyWindow(show);
    if (own)
        UnregisterClassW(L"paneClassDC", GetModuleHandleW(nullptr));
}

TEST_P(ControllerTest, AShowGetsOneSessionWithItsMessageWindowTickingAndLeavesNothingBehind)
{
    PowerPointHost powerPoint(GetParam());
    TestHost host(powerPoint, _wtoi(GetParam()) * 100);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    HWND window = show->Window();
    HWND pane = show->Pane();
    HWND main = powerPoint.App().MainWindow();
    ASSERT_TRUE(HasClassProcedure(pane));
    show->Presentation()->SetSaved(-1);

    controller.AttachShowWindow(show);
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    SlideShowSession* session = controller.GetSession(0);
    ASSERT_FALSE(session->IsStopped());
    EXPECT_EQ(session->GetPane(), pane);
    HWND messageWindow = FindMessageWindow(pane);
    ASSERT_NE(messageWindow, nullptr);
    EXPECT_EQ(messageWindow, session->GetMessageWindow());
    EXPECT_FALSE(IsWindowVisible(messageWindow));
    EXPECT_FALSE(HasClassProcedure(pane));
    EXPECT_FALSE(HasClassProcedure(window));
    EXPECT_FALSE(HasClassProcedure(main));
    EXPECT_GE(PumpCountingTimer(500, messageWindow, 47233), 5);

    // Pane message 1046 announces the next slide before PowerPoint shows it.
    show->View()->GoNext();
    long second = 0;
    PowerPoint::Slide* slide = nullptr;
    ASSERT_EQ(show->View()->get_Slide(&slide), S_OK);
    slide->get_SlideID(&second);
    slide->Release();
    EXPECT_EQ(session->GetShownSlideId(), second);
    controller.OnNextSlide(show);

    // Black screen: the tracker sees it at the next tick.
    show->View()->SetState(PowerPoint::ppSlideShowBlackScreen);
    PumpCountingTimer(150, nullptr, 0);
    EXPECT_EQ(session->GetViewTracker().GetState(), PowerPoint::ppSlideShowBlackScreen);
    show->View()->SetState(PowerPoint::ppSlideShowRunning);

    // The add-in's edits during the show leave the saved mark as it was.
    {
        EffectHostLock outer(session);
        EffectHostLock inner(session);
        ASSERT_TRUE(outer.IsHeld() && inner.IsHeld());
        show->Presentation()->SetSaved(0);
    }
    EXPECT_EQ(show->Presentation()->Saved(), -1);

    show->End();
    EXPECT_EQ(controller.GetSessionCount(), 0);
    EXPECT_FALSE(IsWindow(messageWindow));
    EXPECT_TRUE(HasClassProcedure(main));
    EXPECT_EQ(PaneSubclassRegistry::Get()->GetRecordCount(), 0);
    EXPECT_TRUE(host.shown.empty());
}

TEST_P(ControllerTest, ClosingTheShowWindowStopsTheSessionAndDropsItsReport)
{
    PowerPointHost powerPoint(GetParam());
    TestHost host(powerPoint, _wtoi(GetParam()) * 100);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    HWND pane = show->Pane();
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    controller.GetSession(0)->GetReport()->SetFatal(MKString(L"lost"));
    HWND messageWindow = FindMessageWindow(pane);
    ASSERT_NE(messageWindow, nullptr);
    DestroyWindow(show->Window());
    EXPECT_EQ(controller.GetSessionCount(), 0);
    EXPECT_EQ(controller.GetReportCount(), 0);
    EXPECT_FALSE(IsWindow(messageWindow));
    PumpCountingTimer(120, nullptr, 0);
    EXPECT_TRUE(host.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, ControllerTest, ::testing::Values(L"11.0", L"12.0", L"14.0"));

class ShowTest : public ControllerTest {};

TEST_F(ShowTest, ShutdownEndsEveryShowAndStopsItsSessionAndDropsTheReports)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* first = RunShow(powerPoint);
    standin::SlideShowWindowObject* second = RunShow(powerPoint);
    ASSERT_TRUE(first && second);
    controller.OnSlideShowBegin(first);
    controller.OnSlideShowBegin(second);
    ASSERT_EQ(controller.GetSessionCount(), 2);
    controller.GetSession(0)->GetReport()->SetFatal(MKString(L"never shown"));
    controller.Shutdown();
    EXPECT_EQ(controller.GetSessionCount(), 0);
    EXPECT_EQ(controller.GetReportCount(), 0);
    EXPECT_FALSE(first->IsRunning());
    EXPECT_FALSE(second->IsRunning());
    EXPECT_EQ(PaneSubclassRegistry::Get()->GetRecordCount(), 0);
    PumpCountingTimer(120, nullptr, 0);
    EXPECT_TRUE(host.shown.empty());
}

WNDPROC s_below = nullptr;
int s_seen = 0;

LRESULT CALLBACK LaterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 78)
        ++s_seen;
    return CallWindowProcW(s_below, window, message, wParam, lParam);
}

TEST_F(ShowTest, ALaterProcedureSurvivesTheSessionsEnd)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    HWND pane = show->Pane();
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    SlideShowSession* session = controller.GetSession(0);
    session->AddRef();
    s_seen = 0;
    WNDPROC later = &LaterProcedure;
    s_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later)));
    // The session stops while the show goes on.
    controller.StopSession(session, false);
    EXPECT_TRUE(session->IsStopped());
    session->Release();
    SendMessageW(pane, WM_USER + 78, 0, 0);
    EXPECT_EQ(s_seen, 1);
    EXPECT_EQ(GetWindowLongPtrW(pane, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(later));
    // Pane messages pass through to PowerPoint.
    show->View()->GoNext();
    EXPECT_EQ(show->View()->Position(), 2);
    SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_below));
    show->End();
}

struct VerbCase {
    const wchar_t* version;
    int code;
    bool actedOn;
};

TEST_F(ShowTest, AVerbPostedFromAnotherThreadReachesTheSessionBelowOfficeCode1200Only)
{
    const VerbCase cases[] = {{L"11.0", 1100, true}, {L"10.0", 1003, true}, {L"12.0", 1200, false},
                              {L"14.0", 1400, false}};
    for (const VerbCase& c : cases) {
        s_verbs.clear();
        PowerPointHost powerPoint(c.version);
        TestHost host(powerPoint, c.code);
        SlideShowController controller(&host);
        standin::SlideShowWindowObject* show = RunShow(powerPoint);
        ASSERT_NE(show, nullptr);
        controller.OnSlideShowBegin(show);
        ASSERT_EQ(controller.GetSessionCount(), 1);
        HWND messageWindow = FindMessageWindow(show->Pane());
        ASSERT_NE(messageWindow, nullptr);
        UINT verbMessage = RegisterWindowMessageW(L"{7A121FE9-1253-48e4-9337-9205C2B179DF}");
        EXPECT_EQ(verbMessage, SlideShowMessageWindow::VerbMessage());
        std::thread([&] { PostMessageW(messageWindow, verbMessage, 15, 0); }).join();
        PumpCountingTimer(60, nullptr, 0);
        if (c.actedOn) {
            EXPECT_EQ(s_verbs, std::vector<int>{5}) << c.code;
            EXPECT_EQ(s_verbSession, controller.GetSession(0));
        } else {
            EXPECT_TRUE(s_verbs.empty()) << c.code;
        }
        show->End();
    }
}

PowerPointHost* s_nestedHost = nullptr;
SlideShowController* s_nestedController = nullptr;
PowerPoint::SlideShowWindow* s_nestedWindow = nullptr;

TEST_F(ShowTest, AnEventArrivingInsideAnotherStopsTheSessionWhenTheOuterEnds)
{
    PowerPointHost powerPoint(L"11.0");
    TestHost host(powerPoint, 1100);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    SlideShowSession* session = controller.GetSession(0);
    s_nestedController = &controller;
    s_nestedWindow = show;
    static bool s_stoppedInside = true;
    s_insideVerb = [] {
        s_nestedController->OnNextSlide(s_nestedWindow);
        s_stoppedInside = s_nestedController->GetSession(0)->IsStopped();
    };
    session->OnVerb(12);
    EXPECT_FALSE(s_stoppedInside);
    EXPECT_TRUE(session->IsStopped());
    EXPECT_EQ(session->GetEventDepth(), 0);
    EXPECT_EQ(FindMessageWindow(show->Pane()), nullptr);
    // Its next event takes the stopped session out of the list.
    controller.OnNextBuild(show);
    EXPECT_EQ(controller.GetSessionCount(), 0);
    s_insideVerb = nullptr;
    show->End();
}

TEST_F(ShowTest, ReportsAreShownWhenTheShowEndsAtOnceWithSlashSElse50MsLater)
{
    struct Case {
        bool startedToShow;
        bool fatal;
        const wchar_t* title;
        const wchar_t* text;
    };
    const Case cases[] = {
        {true, true, L"Fatal Error", L"The slide is broken."},
        {false, true, L"Fatal Error", L"The slide is broken."},
        {true, false, L"An error occurred during the Slide Show.", L"first\nsecond\n"},
        {false, false, L"An error occurred during the Slide Show.", L"first\nsecond\n"},
    };
    for (const Case& c : cases) {
        PowerPointHost powerPoint(L"14.0");
        TestHost host(powerPoint, 1400);
        host.startedToShow = c.startedToShow;
        SlideShowController controller(&host);
        standin::SlideShowWindowObject* show = RunShow(powerPoint);
        ASSERT_NE(show, nullptr);
        controller.OnSlideShowBegin(show);
        ASSERT_EQ(controller.GetReportCount(), 1);
        SessionReport* report = controller.GetSession(0)->GetReport();
        if (c.fatal)
            report->SetFatal(MKString(L"The slide is broken."));
        report->AddWarning(MKString(L"  first \r\n"));
        report->AddWarning(MKString(L"   "));
        report->AddWarning(MKString(L"second"));
        // PowerPoint raises SlideShowEnd before its window goes.
        const ULONGLONG ended = GetTickCount64();
        controller.OnSlideShowEnd(show->Presentation());
        show->End();
        EXPECT_EQ(controller.GetReportCount(), 0);
        EXPECT_EQ(host.shown.size(), c.startedToShow ? 1u : 0u);
        EXPECT_EQ(controller.HasPendingBox(), !c.startedToShow);
        PumpCountingTimer(30, nullptr, 0);
        // A loaded machine may have passed the 50 ms already; only then may the box be up.
        if (GetTickCount64() - ended < 45)
            EXPECT_EQ(host.shown.size(), c.startedToShow ? 1u : 0u) << "before 50 ms";
        PumpCountingTimer(200, nullptr, 0);
        ASSERT_EQ(host.shown.size(), 1u);
        EXPECT_EQ(host.shown[0].first, c.title);
        EXPECT_EQ(host.shown[0].second, c.text);
        EXPECT_FALSE(controller.HasPendingBox());
    }
}

TEST_F(ShowTest, ASecondShowEndingWithin50MsReplacesThePendingBox)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    for (const wchar_t* text : {L"first show", L"second show"}) {
        standin::SlideShowWindowObject* show = RunShow(powerPoint);
        ASSERT_NE(show, nullptr);
        controller.OnSlideShowBegin(show);
        controller.GetSession(0)->GetReport()->SetFatal(MKString(text));
        controller.OnSlideShowEnd(show->Presentation());
        show->End();
    }
    PumpCountingTimer(200, nullptr, 0);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].second, L"second show");
}

TEST_F(ShowTest, WindowedAndKioskShowsGetAStoppedSessionAndNoReport)
{
    for (long type : {PowerPoint::ppShowTypeWindow, PowerPoint::ppShowTypeKiosk}) {
        PowerPointHost powerPoint(L"14.0");
        TestHost host(powerPoint, 1400);
        SlideShowController controller(&host);
        standin::SlideShowWindowObject* show = RunShow(powerPoint, 1, type);
        ASSERT_NE(show, nullptr);
        controller.AttachShowWindow(show);
        ASSERT_EQ(controller.GetSessionCount(), 1);
        EXPECT_TRUE(controller.GetSession(0)->IsStopped());
        EXPECT_EQ(FindMessageWindow(show->Pane()), nullptr);
        controller.OnNextSlide(show);
        EXPECT_EQ(controller.GetSessionCount(), 0);
        controller.OnSlideShowEnd(show->Presentation());
        show->End();
        EXPECT_FALSE(controller.HasPendingBox());
    }
}

TEST_F(ShowTest, TheHostLockRestoresTheSavedMarkOnceAndAFailedAcquireTakesNoCount)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    SlideShowSession stray(&controller, show);
    // Not begun: no presentation, so nothing to guard and nothing to release.
    EXPECT_FALSE(stray.AcquireHostLock());
    EXPECT_FALSE(EffectHostLock(&stray).IsHeld());
    EXPECT_FALSE(stray.ReleaseHostLock());

    controller.OnSlideShowBegin(show);
    SlideShowSession* session = controller.GetSession(0);
    show->Presentation()->SetSaved(0);
    {
        EffectHostLock lock(session);
        show->Presentation()->SetSaved(-1);
    }
    EXPECT_EQ(show->Presentation()->Saved(), -1);  // unsaved before: left alone
    show->End();
}

TEST_F(ShowTest, TheAcceleratorTableIsCopiedFromPowerPointsResourceLibrary)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    EXPECT_GT(controller.GetAcceleratorCount(), 0);
}

TEST_F(ShowTest, NoSessionStartsWhileAnApplicationEventIsForwardedToThePlugins)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    host.eventDepth = 1;
    controller.AttachShowWindow(show);
    controller.OnSlideShowBegin(show);
    EXPECT_EQ(controller.GetSessionCount(), 0);
    EXPECT_EQ(controller.GetReportCount(), 0);
    EXPECT_EQ(FindMessageWindow(show->Pane()), nullptr);
    // Once the forward has ended, the next event makes the session.
    host.eventDepth = 0;
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    EXPECT_FALSE(controller.GetSession(0)->IsStopped());
    // A session made earlier is still found during a forward.
    host.eventDepth = 2;
    controller.AttachShowWindow(show);
    EXPECT_EQ(controller.GetSessionCount(), 1);
    show->End();
}

TEST_F(ShowTest, TheFirstAnnouncementOfSlideIdZeroTellsThePluginsOfThePresentationOnlyUnderSlashS)
{
    for (bool startedToShow : {false, true}) {
        SCOPED_TRACE(startedToShow);
        PowerPointHost powerPoint(L"14.0");
        TestHost host(powerPoint, 1400);
        host.startedToShow = startedToShow;
        SlideShowController controller(&host);
        standin::SlideShowWindowObject* show = RunShow(powerPoint);
        ASSERT_NE(show, nullptr);
        controller.OnSlideShowBegin(show);
        ASSERT_EQ(controller.GetSessionCount(), 1);
        // A slide's own ID tells nothing.
        show->View()->GoTo(2);
        EXPECT_TRUE(host.opened.empty());
        SendMessageW(show->Pane(), 1046, 0, 0);
        if (startedToShow) {
            ASSERT_EQ(host.opened.size(), 1u);
            PowerPoint::Presentation* expected = show->Presentation();
            EXPECT_EQ(host.opened[0], expected);
        } else {
            EXPECT_TRUE(host.opened.empty());
        }
        show->End();
    }
}

TEST_F(ShowTest, ACommandFromContentReachesTheShowWindowAsAnAcceleratorsCommand)
{
    PowerPointHost powerPoint(L"14.0");
    TestHost host(powerPoint, 1400);
    SlideShowController controller(&host);
    standin::SlideShowWindowObject* show = RunShow(powerPoint);
    ASSERT_NE(show, nullptr);
    controller.OnSlideShowBegin(show);
    ASSERT_EQ(controller.GetSessionCount(), 1);
    show->View()->GoTo(1);
    HostHandler* layer = controller.GetSession(0)->GetCurrentLayer();
    ASSERT_NE(layer, nullptr);
    standin::CallLog& log = standin::CallLog::Get();
    log.Clear();
    log.SetRecording(true);
    struct Case {
        int32_t command;
        bool sent;
    };
    const Case cases[] = {{0, false}, {-5, false}, {1, true}, {4021, true}, {32767, true}, {32768, false}};
    std::vector<std::wstring> expected;
    for (const Case& c : cases) {
        EXPECT_EQ(layer->SendCommand(c.command), c.sent) << c.command;
        if (c.sent)
            expected.push_back(L"ShowCommand." + std::to_wstring(c.command));
    }
    EXPECT_EQ(log.EntriesStartingWith(L"ShowCommand."), expected);
    log.SetRecording(false);
    log.Clear();
    show->End();
}

}  // namespace
