#include "GLHarness.h"

#include <cstdlib>

#include "fixtures/SwfTimeline.h"
#include "player/engine/GLTable.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/WGLView.h"
#include "player/engine/MemoryInStream.h"

namespace {

const wchar_t kClass[] = L"VistelloGLTestWindow";

void RegisterOnce()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    registered = true;
}

}  // namespace

bool Near(Pixel p, Pixel q, int tolerance)
{
    return std::abs(p.r - q.r) <= tolerance && std::abs(p.g - q.g) <= tolerance && std::abs(p.b - q.b) <= tolerance;
}

std::string Show(Pixel p)
{
    return std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b);
}

SwfHeader HeaderOfPixels(int width, int height, uint16_t frameCount)
{
    SwfHeader header;
    header.xmax = width * 20;
    header.ymax = height * 20;
    header.frameCount = frameCount;
    return header;
}

GLHarness::GLHarness(int width, int height) : width_(width), height_(height)
{
    RegisterOnce();
    player.Init();
    window = CreateWindowExW(0, kClass, L"gl", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
}

GLHarness::~GLHarness()
{
    if (drawer && MakeCurrent()) {
        drawer->FreeTextures();
        Done();
    }
    delete drawer;
    if (window)
        DestroyWindow(window);
}

bool GLHarness::Load(const SwfTimeline& tags, uint16_t frameCount)
{
    return LoadFile(SwfMakeFile(HeaderOfPixels(width_, height_, frameCount), tags.Bytes()));
}

bool GLHarness::LoadFile(const std::vector<uint8_t>& file)
{
    MemoryInStream stream(file);
    PVMovieParser parser;
    if (!parser.Load(stream, player))
        return false;
    // The drawer takes the movie size when it is made.
    if (!window)
        return false;
    auto* view = new WGLView(window);
    delete drawer;
    drawer = nullptr;
    if (view->Create(16, true) != 0) {
        delete view;
        return false;
    }
    drawer = new PVGLDraw(&player, view);
    ready_ = drawer->Init();
    Step();
    return ready_;
}

void GLHarness::Step()
{
    player.Step(nullptr, -1, -1, false, false);
}

bool GLHarness::MakeCurrent()
{
    HDC dc = GetDC(window);
    const bool ok = drawer && drawer->View() && drawer->View()->MakeCurrent(dc);
    ReleaseDC(window, dc);
    return ok;
}

void GLHarness::Done()
{
    if (drawer && drawer->View())
        drawer->View()->Done();
}

bool GLHarness::Draw(int mouseX, int mouseY, bool force)
{
    if (!MakeCurrent())
        return false;
    const bool drew = drawer->RenderFrame(mouseX, mouseY, force);
    pixels_.assign(size_t(width_) * height_ * 4, 0);
    gGL.glFinish();
    gGL.glReadBuffer(GL_BACK);
    gGL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gGL.glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels_.data());
    lastError = gGL.glGetError();
    Done();
    return drew;
}

Pixel GLHarness::At(int x, int y) const
{
    const uint8_t* p = pixels_.data() + (size_t(height_ - 1 - y) * width_ + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

int GLHarness::Count(int x0, int y0, int x1, int y1, Pixel c, int tolerance) const
{
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            n += Near(At(x, y), c, tolerance);
        }
    }
    return n;
}
