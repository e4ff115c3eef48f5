#include "player/app/PVPlaybackView.h"
#include "player/app/PVWToolBar.h"
#include "player/app/PVWUIFeedBack.h"
#include "player/app/framework/MKStatusBar.h"
#include "player/app/framework/MKWaitCursor.h"

#include "PumpMessages.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// The view as the tool bar sees it, with what it was asked to do.
class RecordingView : public PVPlaybackView {
public:
    int GetState() const override { return state; }
    double GetFrameRate() const override { return rate; }
    int GetFrameCount() const override { return count; }
    void Pause() override
    {
        calls.push_back("pause");
        state = 2;
    }
    void Seek(int frame) override { calls.push_back("seek " + std::to_string(frame)); }

    int state = 0;
    double rate = 0;
    int count = 0;
    std::vector<std::string> calls;
};

// A frame window with the tool bar and the status bar the player shows.
class Frame {
public:
    Frame()
    {
        m_window = CreateWindowExA(0, "STATIC", "frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 200,
                                   nullptr, nullptr, nullptr, nullptr);
        const UINT ids[] = {kPVPaneTime, kPVPaneRate, kPVPaneFrame};
        const char* const samples[] = {"00:00 / 00:00", " 00.0 fps", " Frame: 00000 / 00000"};
        statusBar.Create(m_window, ids, samples, 3);
        toolBar.Create(m_window, 59392);
        toolBar.Attach(&view);
        feedback.Attach(&view, &toolBar, &statusBar);
    }
    ~Frame() { DestroyWindow(m_window); }

    HWND Get() const { return m_window; }
    std::string Pane(UINT id) const { return statusBar.GetPaneText(id).GetText(); }
    HWND Slider() { return toolBar.Slider().GetSafeHwnd(); }
    // The command and state of tool-bar button index.
    TBBUTTON Button(int index) const
    {
        TBBUTTON button = {};
        SendMessageA(toolBar.GetSafeHwnd(), TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button));
        return button;
    }

    RecordingView view;
    MKStatusBar statusBar;
    PVWToolBar toolBar;
    PVWUIFeedBack feedback;

private:
    HWND m_window;
};

TEST(FeedBack, StatesDriveTheMessagePaneAndTheButtons)
{
    Frame frame;
    struct Case {
        int state;
        const char* text;
        int playCommand, pauseCommand, stopCommand;
        bool playDown, pauseDown, stopDown;
    };
    const Case cases[] = {
        {0, "", 0, 0, 0, false, false, false},
        {1, "Stopped", 57646, 0, 57645, false, false, true},
        {2, "Paused", 57646, 57647, 57645, false, true, false},
        {3, "Playing", 57646, 57647, 57645, true, false, false},
        {4, "Ended", 57646, 0, 57645, false, false, true},
    };
    for (const Case& c : cases) {
        frame.view.state = c.state;
        frame.feedback.StateChanged();
        EXPECT_EQ(c.text, frame.Pane(0)) << c.state;
        const int commands[3] = {c.playCommand, c.pauseCommand, c.stopCommand};
        const bool down[3] = {c.playDown, c.pauseDown, c.stopDown};
        for (int i = 0; i < 3; ++i) {
            TBBUTTON button = frame.Button(i);
            EXPECT_EQ(commands[i], button.idCommand) << c.state << " button " << i;
            EXPECT_EQ(commands[i] != 0, (button.fsState & TBSTATE_ENABLED) != 0) << c.state << " button " << i;
            EXPECT_EQ(down[i], (button.fsState & TBSTATE_CHECKED) != 0) << c.state << " button " << i;
            EXPECT_EQ(i, button.iBitmap);
        }
    }
}

TEST(FeedBack, PlayingEndsTheWaitCursor)
{
    Frame frame;
    MKWaitCursor::Begin();
    frame.view.state = 1;
    frame.feedback.StateChanged();
    EXPECT_EQ(1, MKWaitCursor::Count());
    frame.view.state = 3;
    frame.feedback.StateChanged();
    EXPECT_EQ(0, MKWaitCursor::Count());
    frame.feedback.StateChanged();
    EXPECT_EQ(0, MKWaitCursor::Count());
}

TEST(FeedBack, FrameCountSetsTheSeekBarRange)
{
    Frame frame;
    HWND slider = frame.Slider();
    ASSERT_TRUE(IsWindow(slider));
    EXPECT_FALSE(IsWindowEnabled(slider));

    frame.view.state = 1;
    frame.feedback.StateChanged();
    frame.feedback.SetFrameCount(2);
    EXPECT_TRUE(IsWindowEnabled(slider));
    EXPECT_EQ(0, SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1, SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));

    frame.feedback.SetFrameCount(10);
    frame.feedback.SetCurrentFrame(7);
    EXPECT_EQ(9, SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(7, SendMessageA(slider, TBM_GETPOS, 0, 0));

    // One frame: nothing to seek.
    frame.feedback.SetFrameCount(1);
    EXPECT_FALSE(IsWindowEnabled(slider));
    EXPECT_EQ(0, SendMessageA(slider, TBM_GETPOS, 0, 0));
    frame.feedback.SetCurrentFrame(5);
    EXPECT_EQ(0, SendMessageA(slider, TBM_GETPOS, 0, 0));

    // No movie: the bar stays off whatever the count.
    frame.view.state = 0;
    frame.feedback.StateChanged();
    frame.feedback.SetFrameCount(10);
    EXPECT_FALSE(IsWindowEnabled(slider));
}

TEST(FeedBack, TimeFrameAndRatePanes)
{
    Frame frame;
    frame.view.state = 3;
    frame.view.rate = 5;
    frame.view.count = 10;
    frame.feedback.StateChanged();
    frame.feedback.SetFrameCount(10);

    struct Case {
        int frame;
        const char* time;
        const char* counter;
    };
    const Case cases[] = {
        {9, "00:02 / 00:02", " Frame: 10 / 10"},
        {8, "00:01 / 00:02", " Frame: 8 / 10"},
        {0, "00:00 / 00:02", " Frame: 0 / 10"},
    };
    for (const Case& c : cases) {
        frame.feedback.SetCurrentFrame(uint16_t(c.frame));
        EXPECT_EQ(c.time, frame.Pane(kPVPaneTime)) << c.frame;
        EXPECT_EQ(c.counter, frame.Pane(kPVPaneFrame)) << c.frame;
    }

    // 1500 frames at 12 fps: minutes carry over.
    frame.view.rate = 12;
    frame.view.count = 1500;
    frame.feedback.SetCurrentFrame(900);
    EXPECT_EQ("01:15 / 02:05", frame.Pane(kPVPaneTime));

    // No rate: no time; the counter stays.
    frame.view.rate = 0;
    frame.feedback.SetCurrentFrame(3);
    EXPECT_EQ("", frame.Pane(kPVPaneTime));
    EXPECT_EQ(" Frame: 3 / 1500", frame.Pane(kPVPaneFrame));

    struct RateCase {
        uint32_t rate;
        const char* text;
    };
    for (RateCase c : {RateCase{1195, " 12.0 fps"}, RateCase{1194, " 11.9 fps"}, RateCase{550, "  5.5 fps"},
                       RateCase{0, ""}}) {
        frame.feedback.SetFrameRate(c.rate);
        EXPECT_EQ(c.text, frame.Pane(kPVPaneRate)) << c.rate;
    }
}

TEST(FeedBack, DraggingTheThumbWhilePlayingPausesAndSeeksEveryStep)
{
    Frame frame;
    frame.view.state = 3;
    frame.view.rate = 12;
    frame.view.count = 11;
    frame.feedback.StateChanged();
    frame.feedback.SetFrameCount(11);
    HWND slider = frame.Slider();
    RECT client;
    GetClientRect(slider, &client);
    int low = client.left + 7;
    int high = client.right - 7;
    ASSERT_GT(high - low, 100);

    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(low, 5));  // position 0: no change
    SendMessageA(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(high, 5));
    SendMessageA(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(low + (high - low) / 2, 5));
    SendMessageA(slider, WM_MOUSEMOVE, 0, MAKELPARAM(low, 5));  // no button: no tracking
    SendMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM(low + (high - low) / 2, 5));
    std::vector<std::string> expected = {"pause", "seek 10", "seek 5"};
    EXPECT_EQ(expected, frame.view.calls);
    EXPECT_EQ(5, SendMessageA(slider, TBM_GETPOS, 0, 0));
    EXPECT_NE(slider, GetCapture());
}

// The window as drawn on the screen.
std::vector<COLORREF> Capture(HWND window, int& width, int& height)
{
    RECT rect;
    GetWindowRect(window, &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    std::vector<COLORREF> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[size_t(y) * size_t(width) + size_t(x)] = GetPixel(memory, x, y);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST(FeedBack, CapturedFrameShowsTheButtonsAndTheSeekBar)
{
    Frame frame;
    frame.view.state = 3;
    frame.view.count = 11;
    frame.feedback.StateChanged();
    frame.feedback.SetFrameCount(11);
    frame.feedback.SetCurrentFrame(5);
    RedrawWindow(frame.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();

    RECT slider;
    GetWindowRect(frame.Slider(), &slider);
    RECT play;
    SendMessageA(frame.toolBar.GetSafeHwnd(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&play));
    int width = 0, height = 0;
    std::vector<COLORREF> pixels = Capture(frame.Get(), width, height);
    auto at = [&](int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; };

    // The play image's black triangle inside the first button.
    int blacks = 0;
    for (int y = play.top; y < play.bottom; ++y) {
        for (int x = play.left; x < play.right; ++x)
            blacks += at(x, y) == RGB(0, 0, 0);
    }
    EXPECT_GT(blacks, 20);

    // The groove: white beyond the thumb, the shaded mix before it.
    int middle = (slider.top + slider.bottom) / 2 + 1;
    EXPECT_EQ(RGB(255, 255, 255), at(slider.right - 20, middle));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    COLORREF mix = RGB((255 + 2 * GetRValue(face)) / 3, (255 + 2 * GetGValue(face)) / 3, (255 + 2 * GetBValue(face)) / 3);
    EXPECT_EQ(mix, at(slider.left + 12, middle));
    EXPECT_EQ(face, at(slider.left + 2, slider.top + 1));
}

}  // namespace
