// The demo's movie as the player's engine renderer draws it: each piece of
// content in its rectangle with its colours, read back from the frame.
#include "DemoMovieWriter.h"

#include "player/app/DravoRenderer.h"
#include "player/app/PVUIFeedBack.h"
#include "player/engine/GLTable.h"
#include "player/engine/PVEngineStart.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/WGLView.h"

#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfSoundWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

namespace {

class FrameCount : public PVUIFeedBack {
public:
    void StateChanged() override {}
    void SetFrameCount(uint16_t) override {}
    void SetCurrentFrame(uint16_t) override { ++frames; }
    void SetFrameRate(uint32_t) override {}
    int frames = 0;
};

struct Probe {
    const char* what;
    int x, y;  // stage pixels
    COLORREF colour;
};

// Solid content at its own colour; the gradient's ends lie between its stops.
const Probe kProbes[] = {
    {"red square", 110, 100, RGB(220, 30, 30)},
    {"green button", 315, 340, RGB(40, 170, 70)},
    {"stage", 540, 390, RGB(24, 32, 64)},
    {"light checker cell", 34, 224, RGB(240, 240, 220)},
    {"orange checker cell", 42, 224, RGB(240, 140, 20)},
    {"first letter's top left cell", 232, 237, RGB(240, 240, 240)},
    {"last letter's top edge", 447, 237, RGB(240, 240, 240)},
    {"gradient's blue end", 224, 100, RGB(40, 90, 230)},
    {"gradient's yellow end", 516, 100, RGB(250, 210, 40)},
};

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Text(COLORREF c)
{
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

TEST(DemoMovie, TheEngineDrawsEveryPieceOfContentInItsRectangleAndColours)
{
    ScratchFolder folder;
    std::wstring wide = folder.File(L"demo.swf");
    ASSERT_TRUE(SwfSaveFile(wide, DemoMovie(SwfMp3Frames(40))));
    char path[MAX_PATH * 2];
    int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), int(wide.size()), path, sizeof path - 1, nullptr, nullptr);
    path[n] = 0;

    ASSERT_TRUE(InitEngine(false));
    HWND view = CreateWindowExA(0, "STATIC", "view", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr,
                                nullptr, nullptr, nullptr);
    DravoRenderer renderer{GetModuleHandleA(nullptr), GetModuleHandleA(nullptr)};
    FrameCount feedback;
    ASSERT_TRUE(renderer.Create("", view));
    renderer.SetFeedback(&feedback);
    renderer.Layout(640, 480);
    ASSERT_TRUE(renderer.LoadFile(path));
    // The first paint sets the drawer up, which may take a while.
    for (int i = 0; i < 3000 && feedback.frames == 0; ++i) {
        renderer.PlayLoopStep();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(1);
    }
    ASSERT_GT(feedback.frames, 0);

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

    // The renderer's window is the 550 x 400 stage, scaled to its place.
    ASSERT_EQ(renderer.PlacedWidth(), client.right);
    ASSERT_EQ(renderer.PlacedHeight(), client.bottom);
    const double scaleX = double(client.right) / 550, scaleY = double(client.bottom) / 400;
    for (const Probe& probe : kProbes) {
        int x = int(probe.x * scaleX), y = int(probe.y * scaleY);
        const uint8_t* p = pixels.data() + (size_t(client.bottom - 1 - y) * client.right + x) * 4;
        COLORREF seen = RGB(p[0], p[1], p[2]);
        EXPECT_TRUE(Near(seen, probe.colour, 24)) << probe.what << ": " << Text(seen) << " instead of "
                                                  << Text(probe.colour);
    }
    renderer.Close();
    DestroyWindow(view);
    TermEngine(false);
}

}  // namespace
