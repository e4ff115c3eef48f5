// Slide shows: the real show window and pane, the pane messages and events in
// PowerPoint's order, painting, and the ways a show moves and ends.
#include "StandInTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/WindowCapture.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/SlideShowWindowsObject.h"
#include "standins/powerpoint/TimeLineObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::wstring>;

// What happened, in order: pane messages ("pane 1046 256") and events
// ("event 2011").
Lines g_timeline;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LRESULT CALLBACK RecordPaneMessages(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && (message->message == 1045 || message->message == 1046) &&
        ClassOf(message->hwnd) == L"paneClassDC") {
        std::wstring entry = L"pane " + std::to_wstring(message->message);
        if (message->message == 1046)
            entry += L" " + std::to_wstring(message->lParam);
        g_timeline.push_back(entry);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class SlideShowTest : public ::testing::Test {
protected:
    void Open(const wchar_t* version)
    {
        host = std::make_unique<PowerPointHost>(version);
        presentation = host->App().AddPresentation(L"Show.pptx");
        standin::SlideObject* first = presentation->AddSlide();
        first->SetBackground(RGB(255, 255, 255));
        red = first->AddShape(PowerPoint::msoAutoShape, L"Red", 0, 0, 360, 270);
        red->SetFill(true, RGB(255, 0, 0));
        blue = first->AddShape(PowerPoint::msoAutoShape, L"Blue", 360, 270, 360, 270);
        blue->SetFill(true, RGB(0, 0, 255));
        blue->SetLineVisible(false);
        hidden = first->AddShape(PowerPoint::msoAutoShape, L"Hidden", 360, 0, 360, 270);
        hidden->SetVisible(false);
        first->TimeLine()->Main()->AddEffect(blue, PowerPoint::msoAnimEffectAppear,
                                             PowerPoint::msoAnimTriggerOnPageClick);
        presentation->AddSlide()->AddShape(PowerPoint::msoAutoShape, L"Green", 100, 100, 200, 200);

        IConnectionPointContainer* container = nullptr;
        host->App().QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
        container->FindConnectionPoint(PowerPoint::IID_EApplication, &point);
        container->Release();
        sink.onEvent = [](DISPID id, DISPPARAMS*) { g_timeline.push_back(L"event " + std::to_wstring(id)); };
        point->Advise(&sink, &cookie);
        g_timeline.clear();
        hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordPaneMessages, nullptr, GetCurrentThreadId());
    }

    void TearDown() override
    {
        if (hook)
            UnhookWindowsHookEx(hook);
        if (point) {
            point->Unadvise(cookie);
            point->Release();
        }
        host.reset();
    }

    standin::SlideShowWindowObject* Run()
    {
        PowerPoint::SlideShowWindow* window = nullptr;
        EXPECT_EQ(presentation->Settings()->Run(&window), S_OK);
        if (window)
            window->Release();
        return presentation->ShowWindow();
    }

    ComScope com;
    std::unique_ptr<PowerPointHost> host;
    standin::PresentationObject* presentation = nullptr;
    standin::ShapeObject* red = nullptr;
    standin::ShapeObject* blue = nullptr;
    standin::ShapeObject* hidden = nullptr;
    EventRecorder sink;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    HHOOK hook = nullptr;
};

TEST_F(SlideShowTest, AShowRunsItsWindowsAndEventsInPowerPointsOrder)
{
    Open(L"14.0");
    standin::SlideShowWindowObject* show = Run();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(g_timeline, (Lines{L"pane 1046 256", L"event 2011", L"event 2013"}));

    HWND window = FindWindowExW(nullptr, nullptr, L"screenClass", L"PowerPoint Slide Show - [Show.pptx]");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window, show->Window());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(window), nullptr);
    HWND pane = FindWindowExW(window, nullptr, L"paneClassDC", L"");
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane, show->Pane());

    // The collections and the presentation know the show.
    PowerPoint::SlideShowWindows* windows = nullptr;
    ASSERT_EQ(host->App().get_SlideShowWindows(&windows), S_OK);
    long count = 0;
    windows->get_Count(&count);
    EXPECT_EQ(count, 1);
    PowerPoint::SlideShowWindow* item = nullptr;
    ASSERT_EQ(windows->Item(1, &item), S_OK);
    long handle = 0;
    item->get_HWND(&handle);
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)), window);
    item->Release();

    // The click: OnNext, NextBuild, then NextClick with the effect.
    g_timeline.clear();
    sink.records.clear();
    ASSERT_EQ(show->View()->Next(), S_OK);
    EXPECT_EQ(g_timeline, (Lines{L"event 2023", L"event 2012", L"event 2019"}));
    EXPECT_EQ(sink.records.back().types, (std::vector<VARTYPE>{VT_DISPATCH, VT_DISPATCH}));
    VARIANT index;
    DISPPARAMS none{};
    VariantInit(&index);
    ASSERT_EQ(show->View()->Invoke(PowerPoint::DISPID_SlideShowView_GetClickIndex, IID_NULL, 1024, DISPATCH_METHOD,
                                   &none, &index, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(index.vt, VT_I4);
    EXPECT_EQ(index.lVal, 1);

    // The next slide: leave, go to, next-slide event.
    g_timeline.clear();
    show->View()->Next();
    EXPECT_EQ(g_timeline, (Lines{L"event 2023", L"pane 1045", L"pane 1046 257", L"event 2013"}));
    int position = 0;
    show->View()->get_CurrentShowPosition(&position);
    EXPECT_EQ(position, 2);

    // Past the last slide the show ends: the end event comes while the window
    // still exists, then the window and the show are gone.
    HWND windowDuringEnd = nullptr;
    sink.onEvent = [&](DISPID id, DISPPARAMS*) {
        g_timeline.push_back(L"event " + std::to_wstring(id));
        if (id == PowerPoint::DISPID_SlideShowEnd)
            windowDuringEnd = FindWindowExW(nullptr, nullptr, L"screenClass", nullptr);
    };
    g_timeline.clear();
    sink.records.clear();
    show->View()->Next();
    EXPECT_EQ(g_timeline, (Lines{L"event 2023", L"pane 1045", L"event 2014"}));
    EXPECT_EQ(windowDuringEnd, window);
    EXPECT_EQ(sink.records.back().types, std::vector<VARTYPE>{VT_DISPATCH});
    EXPECT_FALSE(IsWindow(window));
    windows->get_Count(&count);
    EXPECT_EQ(count, 0);
    windows->Release();
    PowerPoint::SlideShowWindow* gone = nullptr;
    EXPECT_EQ(presentation->get_SlideShowWindow(&gone), E_FAIL);
}

struct PaneCase {
    const wchar_t* version;
    const wchar_t* paneTitle;
    bool clickMembers;
};

class PaneByVersionTest : public SlideShowTest, public ::testing::WithParamInterface<PaneCase> {};

TEST_P(PaneByVersionTest, PaneTitleAndClickMembersFollowTheVersion)
{
    Open(GetParam().version);
    standin::SlideShowWindowObject* show = Run();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(FindWindowExW(show->Window(), nullptr, L"paneClassDC", GetParam().paneTitle), show->Pane());
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{};
    HRESULT hr = show->View()->Invoke(PowerPoint::DISPID_SlideShowView_GetClickCount, IID_NULL, 1024,
                                      DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    if (GetParam().clickMembers) {
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(result.lVal, 1);
    } else {
        EXPECT_EQ(hr, DISP_E_MEMBERNOTFOUND);
    }
    // Before PowerPoint 12 a click raises only the build event.
    g_timeline.clear();
    show->View()->Next();
    EXPECT_EQ(g_timeline.size(), GetParam().clickMembers ? 3u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Versions, PaneByVersionTest,
                         ::testing::Values(PaneCase{L"10.0", L"", false}, PaneCase{L"11.0", L"", false},
                                           PaneCase{L"12.0", L"", true}, PaneCase{L"14.0", L"", true},
                                           PaneCase{L"15.0", L"Slide Show", true}));

// The shell hook PowerPoint's add-ins use sees a complete show: the new
// window is already listed in SlideShowWindows with its handle.
HWND g_createdShow = nullptr;
bool g_listedAtCreation = false;

LRESULT CALLBACK WatchShellWindows(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HSHELL_WINDOWCREATED && ClassOf(window) == L"screenClass") {
        g_createdShow = window;
        for (standin::SlideShowWindowObject* show : standin::ApplicationObject::Current()->ShowWindows()->Items()) {
            long handle = 0;
            g_listedAtCreation = g_listedAtCreation || (SUCCEEDED(show->get_HWND(&handle)) &&
                                                        reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)) == window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SlideShowTest, TheShellHookFindsTheNewShowWindowListed)
{
    Open(L"14.0");
    g_createdShow = nullptr;
    g_listedAtCreation = false;
    HHOOK shell = SetWindowsHookExW(WH_SHELL, WatchShellWindows, nullptr, GetCurrentThreadId());
    standin::SlideShowWindowObject* show = Run();
    UnhookWindowsHookEx(shell);
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(g_createdShow, show->Window());
    EXPECT_TRUE(g_listedAtCreation);
}

TEST_F(SlideShowTest, ThePanePaintsTheSlidesVisibleShapes)
{
    Open(L"14.0");
    standin::SlideShowWindowObject* show = Run();
    ASSERT_NE(show, nullptr);
    RedrawWindow(show->Pane(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PowerPointHost::Pump(200);
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels = CapturePane(show->Pane(), L"slide", width, height);
    ASSERT_GT(width, 100);
    ASSERT_GT(height, 100);
    // The 720 × 540 slide fills the 1024 × 768 screen exactly (scale 1.4222).
    auto at = [&](float x, float y) {
        float scale = std::min(width / 720.0f, height / 540.0f);
        int left = static_cast<int>((width - 720 * scale) / 2);
        int top = static_cast<int>((height - 540 * scale) / 2);
        return pixels[static_cast<int>(top + y * scale) * width + static_cast<int>(left + x * scale)] & 0xFFFFFF;
    };
    EXPECT_EQ(at(180, 135), 0xFF0000u);  // red, top left
    EXPECT_EQ(at(540, 405), 0x0000FFu);  // blue, bottom right
    EXPECT_EQ(at(540, 135), 0xFFFFFFu);  // the hidden shape leaves the background
    EXPECT_EQ(at(180, 405), 0xFFFFFFu);
    EXPECT_EQ(at(0, 0), 0x000000u);      // the red shape's line

    // A black screen paints nothing but black.
    show->View()->put_State(PowerPoint::ppSlideShowBlackScreen);
    RedrawWindow(show->Pane(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PowerPointHost::Pump(100);
    pixels = CapturePane(show->Pane(), L"black", width, height);
    EXPECT_EQ(at(180, 135), 0x000000u);
}

TEST_F(SlideShowTest, KeysCommandsAndOutsideDestructionMoveAndEndTheShow)
{
    Open(L"11.0");
    standin::SlideShowWindowObject* show = Run();
    ASSERT_NE(show, nullptr);
    show->AddRef();
    HWND window = show->Window();

    PostMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    PowerPointHost::Pump(100);
    EXPECT_EQ(show->View()->Position(), 2);
    // The show window's own "previous" command (before PowerPoint 12).
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(1774, 1), 0);
    EXPECT_EQ(show->View()->Position(), 1);
    EXPECT_EQ(show->View()->ClickIndex(), 1);

    // A window destroyed from outside ends the show without the end event.
    g_timeline.clear();
    DestroyWindow(window);
    EXPECT_FALSE(show->IsRunning());
    EXPECT_EQ(g_timeline, Lines{});
    EXPECT_TRUE(host->App().ShowWindows()->Items().empty());
    long state = 0;
    show->View()->get_State(&state);
    EXPECT_EQ(state, PowerPoint::ppSlideShowDone);
    long handle = 0;
    EXPECT_EQ(show->get_HWND(&handle), E_FAIL);
    show->Release();
}

TEST_F(SlideShowTest, ARangeShowsOnlyItsSlidesAndAWindowedShowGetsAFrame)
{
    Open(L"14.0");
    presentation->Settings()->SetRange(2, 2);
    presentation->Settings()->SetShowType(PowerPoint::ppShowTypeWindow);
    standin::SlideShowWindowObject* show = Run();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(GetWindowLongW(show->Window(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(g_timeline.front(), L"pane 1046 257");
    g_timeline.clear();
    show->View()->Next();
    EXPECT_EQ(g_timeline, (Lines{L"event 2023", L"pane 1045", L"event 2014"}));
}

}  // namespace
