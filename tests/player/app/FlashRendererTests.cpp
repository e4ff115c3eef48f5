#include "player/app/FlashRenderer.h"
#include "player/app/PVUIFeedBack.h"
#include "player/app/framework/MKCFlashWnd.h"

#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include "PumpMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

namespace {

class RecordingFeedBack : public PVUIFeedBack {
public:
    void StateChanged() override { calls.push_back("state"); }
    void SetFrameCount(uint16_t count) override { calls.push_back("count " + std::to_string(count)); }
    void SetCurrentFrame(uint16_t frame) override { calls.push_back("frame " + std::to_string(frame)); }
    void SetFrameRate(uint32_t rate) override
    {
        calls.push_back("rate " + std::to_string(rate));
        rates.push_back(rate);
    }
    std::vector<std::string> calls;
    std::vector<uint32_t> rates;
};

std::string Narrow(const std::wstring& text)
{
    char buffer[MAX_PATH * 2];
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer, size_t(n));
}

// A movie of `frames` empty frames, 550 x 400 at 12 fps.
std::string MovieFile(ScratchFolder& folder, const wchar_t* name, uint16_t frames)
{
    SwfHeader header;
    header.frameCount = frames;
    std::vector<uint8_t> tags;
    for (int i = 0; i < frames; ++i) {
        tags.push_back(0x40);  // ShowFrame, length 0
        tags.push_back(0x00);
    }
    tags.push_back(0);
    tags.push_back(0);
    std::wstring path = folder.File(name);
    SwfSaveFile(path, SwfMakeFile(header, tags));
    return Narrow(path);
}

// The stand-in control plays only its own scripts: after the renderer has
// loaded a real movie, a script of `frames` frames at 12 fps makes it play.
void PlayStandInScript(FlashRenderer& renderer, ScratchFolder& folder, ControlLogFile& log, int frames)
{
    std::string script = "standin-movie 1\nrate 12\n";
    for (int i = 0; i < frames; ++i)
        script += "frame FF336699\n";
    std::wstring path = folder.File(L"script.txt");
    SwfSaveFile(path, std::vector<uint8_t>(script.begin(), script.end()));
    log.Clear();
    renderer.Control()->SetMovie(Narrow(path).c_str());
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(L"movie loaded"); }));
}

class View {
public:
    View()
    {
        m_window = CreateWindowExA(0, "STATIC", "view", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480,
                                   nullptr, nullptr, nullptr, nullptr);
    }
    ~View() { DestroyWindow(m_window); }
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

TEST(FlashRenderer, RefusesWhatTheEngineCannotReadBeforeMakingAControl)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    View view;
    FlashRenderer renderer(GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(renderer.Create("movie", view.Get()));
    EXPECT_EQ(0, renderer.GetState());

    EXPECT_FALSE(renderer.Load(Narrow(folder.File(L"missing.swf")).c_str()));
    std::wstring text = folder.File(L"text.swf");
    SwfSaveFile(text, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    EXPECT_FALSE(renderer.Load(Narrow(text).c_str()));
    EXPECT_FALSE(renderer.HasControl());
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(0, renderer.GetState());
    EXPECT_EQ(0, renderer.GetCurrentFrame());
}

TEST(FlashRenderer, LoadsReadsTheHeaderAndFitsThePicture)
{
    ComScope com;
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    ScratchFolder folder;
    std::string movie = MovieFile(folder, L"ten.swf", 10);
    View view;
    FlashRenderer renderer(GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(renderer.Create("movie", view.Get()));
    renderer.Layout(640, 480);
    RecordingFeedBack feedback;
    renderer.SetFeedback(&feedback);
    EXPECT_TRUE(feedback.calls.empty());  // no control yet

    ASSERT_TRUE(renderer.Load(movie.c_str()));
    EXPECT_EQ(550, renderer.Width());
    EXPECT_EQ(400, renderer.Height());
    EXPECT_EQ(10, renderer.FrameCount());
    EXPECT_FLOAT_EQ(12.0f, renderer.FrameRate());
    EXPECT_EQ(6, renderer.Version());
    EXPECT_TRUE(log.Contains(L"put_Movie(\"~\")"));
    EXPECT_EQ(std::vector<std::string>{"count 10"}, feedback.calls);

    // 620 x 450 available: the height limits, 619 x 450 at (10, 10).
    EXPECT_EQ(619, renderer.PlacedWidth());
    EXPECT_EQ(450, renderer.PlacedHeight());
    EXPECT_EQ(10, renderer.PlacedX());
    EXPECT_EQ(10, renderer.PlacedY());
    PumpMessages();
    RECT control;
    GetWindowRect(renderer.Control()->GetSafeHwnd(), &control);
    EXPECT_EQ(619, control.right - control.left);
    EXPECT_EQ(450, control.bottom - control.top);
    int left, right, top, bottom;
    renderer.GetMargins(left, right, top, bottom);
    EXPECT_EQ(20, bottom);

    // A second movie replaces the control.
    HWND first = renderer.Control()->GetSafeHwnd();
    ASSERT_TRUE(renderer.Load(movie.c_str()));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(renderer.Control()->GetSafeHwnd()));
}

// A renderer in a 640 x 480 view that has loaded a real movie of `frames`
// frames and then lets the stand-in control play a script of as many.
class PlayingRenderer : public ::testing::Test {
protected:
    void Start(int frames)
    {
        ASSERT_TRUE(registration.Registered());
        ASSERT_TRUE(renderer.Create("movie", view.Get()));
        renderer.Layout(640, 480);
        ASSERT_TRUE(renderer.Load(MovieFile(folder, L"movie.swf", uint16_t(frames)).c_str()));
        PlayStandInScript(renderer, folder, log, frames);
        renderer.SetFeedback(&feedback);
    }

    ComScope com;
    ControlRegistration registration{StandInControl::Flash10};
    ControlLogFile log;
    ScratchFolder folder;
    View view;
    FlashRenderer renderer{GetModuleHandleA(nullptr), nullptr};
    RecordingFeedBack feedback;
};

TEST_F(PlayingRenderer, PlaySeekAndState)
{
    Start(10);
    renderer.SetPlaying(true);
    EXPECT_EQ(3, renderer.GetState());
    renderer.SetPlaying(false);
    EXPECT_EQ(2, renderer.GetState());
    feedback.calls.clear();
    renderer.SetPlaying(false);  // already stopped: nothing
    EXPECT_TRUE(feedback.calls.empty());

    log.Clear();
    renderer.Seek(99);  // past the end: the frame count
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(127, call)"));
    std::vector<std::string> expected = {"state", "frame 10"};
    EXPECT_EQ(expected, feedback.calls);

    renderer.DestroyControl();
    EXPECT_EQ(0, renderer.GetState());
    renderer.Seek(3);
    EXPECT_EQ(expected, feedback.calls);
}

TEST_F(PlayingRenderer, IdleStepMeasuresTheRateWhilePlaying)
{
    Start(200);
    renderer.SetPlaying(true);
    feedback.rates.clear();

    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1500) {
        PumpMessages();
        renderer.IdleStep();
        Sleep(10);
    }
    ASSERT_FALSE(feedback.rates.empty());
    EXPECT_EQ(0u, feedback.rates.front());  // the first window opens with a cleared rate
    uint32_t last = feedback.rates.back();
    EXPECT_GT(last, 600u);  // 12 fps is 1200 hundredths
    EXPECT_LT(last, 2400u);

    // Not playing: no poll at all.
    renderer.SetPlaying(false);
    feedback.calls.clear();
    renderer.IdleStep();
    EXPECT_TRUE(feedback.calls.empty());
}

}  // namespace
