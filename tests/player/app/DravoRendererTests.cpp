#include "fixtures/EmulatedCpu.h"
#include "player/app/DravoRenderer.h"
#include "player/app/PVUIFeedBack.h"
#include "player/engine/GLTable.h"
#include "player/engine/PVEngineStart.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/WGLView.h"

#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfBoxMovie.h"

#include "PumpMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string Narrow(const std::wstring& text)
{
    char buffer[MAX_PATH * 2];
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer, size_t(n));
}

std::string BoxMovie(ScratchFolder& folder, const wchar_t* name, uint16_t frames, uint16_t rate)
{
    std::wstring path = folder.File(name);
    SwfSaveFile(path, SwfBoxMovie(frames, rate));
    return Narrow(path);
}

class CountingFeedBack : public PVUIFeedBack {
public:
    void StateChanged() override { ++states; }
    void SetFrameCount(uint16_t count) override { frameCount = count; }
    void SetCurrentFrame(uint16_t frame) override { frames.push_back(frame); }
    void SetFrameRate(uint32_t) override {}
    int states = 0;
    int frameCount = -1;
    std::vector<uint16_t> frames;
};

class EngineRenderer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitEngine(false));
        view = CreateWindowExA(0, "STATIC", "view", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_TRUE(renderer.Create("", view));
        renderer.SetFeedback(&feedback);
        renderer.Layout(640, 480);
    }
    void TearDown() override
    {
        renderer.Close();
        DestroyWindow(view);
        TermEngine(false);
    }

    // Steps the play loop for `ms` milliseconds; the number of calls.
    int RunFor(DWORD ms)
    {
        int calls = 0;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            renderer.PlayLoopStep();
            PumpMessages();
            ++calls;
        }
        return calls;
    }

    ScratchFolder folder;
    HWND view = nullptr;
    DravoRenderer renderer{GetModuleHandleA(nullptr), GetModuleHandleA(nullptr)};
    CountingFeedBack feedback;
};

TEST_F(EngineRenderer, DrawsTheMovieInItsColoursInsideTheMargins)
{
    ASSERT_TRUE(renderer.LoadFile(BoxMovie(folder, L"box.swf", 10, 0x0C00).c_str()));
    EXPECT_EQ(10, feedback.frameCount);
    EXPECT_EQ(6, renderer.MovieVersion());
    // 620 x 450 available: the 550 x 400 picture fits at 619 x 450.
    EXPECT_EQ(619, renderer.PlacedWidth());
    EXPECT_EQ(450, renderer.PlacedHeight());
    EXPECT_EQ(10, renderer.PlacedX());
    EXPECT_EQ(10, renderer.PlacedY());
    EXPECT_EQ(kPVStatePlaying, renderer.GetState());
    // The first paint sets the drawer up, which may take a while.
    for (int i = 0; i < 30 && feedback.frames.empty(); ++i)
        RunFor(100);
    ASSERT_FALSE(feedback.frames.empty());

    HWND window = renderer.GetSafeHwnd();
    HDC dc = GetDC(window);
    ASSERT_TRUE(renderer.Drawer()->View()->MakeCurrent(dc));
    ASSERT_TRUE(renderer.Drawer()->RenderFrame(-1, -1, true));
    RECT client;
    GetClientRect(window, &client);
    std::vector<uint8_t> pixels(size_t(client.right) * client.bottom * 4);
    gGL.glFinish();
    gGL.glReadBuffer(GL_BACK);
    gGL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gGL.glReadPixels(0, 0, client.right, client.bottom, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    renderer.Drawer()->View()->Done();
    ReleaseDC(window, dc);
    auto at = [&](int x, int y) {
        const uint8_t* p = pixels.data() + (size_t(client.bottom - 1 - y) * client.right + x) * 4;
        return RGB(p[0], p[1], p[2]);
    };
    EXPECT_EQ(RGB(255, 0, 0), at(client.right / 4, client.bottom / 2));
    EXPECT_EQ(RGB(0, 0, 128), at(client.right * 3 / 4, client.bottom / 2));
}

TEST_F(EngineRenderer, PacesFramesAtTheMovieRateAndSleepsBetweenThem)
{
    SKIP_WITHOUT_REAL_TIME();
    ASSERT_TRUE(renderer.LoadFile(BoxMovie(folder, L"pace.swf", 100, 0x0C00).c_str()));
    // The first paint sets the drawer up, which may take a while.
    for (int i = 0; i < 30 && feedback.frames.empty(); ++i)
        RunFor(100);
    ASSERT_FALSE(feedback.frames.empty());
    const int first = feedback.frames.back();
    int calls = RunFor(1000);
    // 12 frames in a second, checked about every 16 ms in between.
    EXPECT_GE(feedback.frames.back() - first, 9);
    EXPECT_LE(feedback.frames.back() - first, 13);
    EXPECT_LE(calls, 100);
    EXPECT_LE(renderer.IdleWaitMs(), 84u);

    // Paused, nothing is due: the idle loop may wait for messages.
    renderer.SetPlaying(false);
    EXPECT_EQ(kPVStatePaused, renderer.GetState());
    EXPECT_EQ(INFINITE, renderer.IdleWaitMs());
    renderer.SetPlaying(true);
    EXPECT_EQ(2, feedback.states);
}

TEST_F(EngineRenderer, MovieWithoutARateShowsItsFirstFrameAndWaits)
{
    ASSERT_TRUE(renderer.LoadFile(BoxMovie(folder, L"still.swf", 30, 0).c_str()));
    EXPECT_EQ(0u, renderer.IdleWaitMs());
    renderer.PlayLoopStep();
    ASSERT_EQ(1u, feedback.frames.size());
    // No clock: later steps neither step nor sleep.
    DWORD start = GetTickCount();
    for (int i = 0; i < 20; ++i)
        renderer.PlayLoopStep();
    EXPECT_LT(GetTickCount() - start, 100u);
    EXPECT_EQ(1u, feedback.frames.size());
    EXPECT_EQ(INFINITE, renderer.IdleWaitMs());
}

TEST_F(EngineRenderer, RefusesWhatItCannotLoad)
{
    EXPECT_FALSE(renderer.LoadFile(Narrow(folder.File(L"missing.swf")).c_str()));
    std::wstring text = folder.File(L"text.swf");
    std::string bytes = "not a movie";
    SwfSaveFile(text, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_FALSE(renderer.LoadFile(Narrow(text).c_str()));
    EXPECT_EQ(kPVStateNone, renderer.GetState());
    EXPECT_EQ(INFINITE, renderer.IdleWaitMs());
}

TEST_F(EngineRenderer, DrawerSettingsFollowTheGoodiesRules)
{
    // Before a movie there is no drawer: the settings are dropped.
    renderer.SetOutlines(true);
    EXPECT_FALSE(renderer.IsOutlines());
    renderer.SetPlayAsFastAsPossible(true);
    EXPECT_TRUE(renderer.IsPlayAsFastAsPossible());
    ASSERT_TRUE(renderer.LoadFile(BoxMovie(folder, L"goodies.swf", 5, 0x0C00).c_str()));
    EXPECT_EQ(0u, renderer.IdleWaitMs());
    renderer.SetBWOutlines(true);
    EXPECT_TRUE(renderer.IsBWOutlines());
    // F4 after F5: plain outlines.
    renderer.SetOutlines(!renderer.IsOutlines() || renderer.IsBWOutlines());
    EXPECT_TRUE(renderer.IsOutlines());
    EXPECT_FALSE(renderer.IsBWOutlines());
    renderer.SetOutlines(!renderer.IsOutlines() || renderer.IsBWOutlines());
    EXPECT_FALSE(renderer.IsOutlines());
    renderer.SetViewMode(PVGLDraw::kCube);
    EXPECT_EQ(PVGLDraw::kCube, renderer.GetViewMode());
    EXPECT_EQ(16u, renderer.IdleWaitMs());
}

}  // namespace
