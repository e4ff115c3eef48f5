// Reports the frames per second of the OpenGL drawer on five generated
// movies (shapes, curves, gradients, bitmaps, text) at 550 x 400 and
// 1920 x 1080, next to cairo rasterising the same pictures into an image
// surface of the same size, in the same run.
#include <windows.h>

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchScene.h"
#include "player/engine/PVGLDraw.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"
#include "player/engine/WGLView.h"
#include "tests/player/engine/MemoryInStream.h"

namespace {

constexpr double kSeconds = 1.5;

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) / double(frequency.QuadPart);
}

// Calls `frame` until kSeconds have passed (at least 5 times, after 2
// unmeasured ones) and answers the frames per second.
template <typename Frame>
double FramesPerSecond(Frame frame)
{
    frame();
    frame();
    int frames = 0;
    const double start = Now();
    double elapsed = 0;
    while (frames < 5 || elapsed < kSeconds) {
        frame();
        ++frames;
        elapsed = Now() - start;
    }
    return frames / elapsed;
}

// `highQuality`: the player's quality setting, which smooths every fill
// edge with an anti-aliased line.
double EngineFps(const std::vector<uint8_t>& file, int width, int height, bool highQuality)
{
    HWND window = CreateWindowExW(0, L"VistelloGLBench", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    PVPlayer player;
    MemoryInStream stream(file);
    PVMovieParser parser;
    double fps = 0;
    if (window && player.Init() && parser.Load(stream, player)) {
        player.Step(nullptr, -1, -1, false, false);
        if (player.HighQuality() != highQuality)
            player.ToggleQuality();
        auto* view = new WGLView(window);
        if (view->Create(16, true) == 0) {
            PVGLDraw drawer(&player, view);
            if (drawer.Init())
                fps = FramesPerSecond([&] { drawer.Render(nullptr, -1, -1, true); });
            HDC dc = GetDC(window);
            if (view->MakeCurrent(dc)) {
                drawer.FreeTextures();
                view->Done();
            }
            ReleaseDC(window, dc);
        } else {
            delete view;
        }
    }
    if (window)
        DestroyWindow(window);
    return fps;
}

void SetColor(cairo_t* cr, const uint8_t* rgba)
{
    cairo_set_source_rgba(cr, rgba[0] / 255.0, rgba[1] / 255.0, rgba[2] / 255.0, rgba[3] / 255.0);
}

void GlyphPath(cairo_t* cr, char letter, double x, double y, double scale)
{
    double px = 0, py = 0;
    for (const GlyphOp& op : BenchGlyph(letter)) {
        const double ex = x + op.x * scale, ey = y + op.y * scale;
        if (op.kind == GlyphOp::kMove) {
            cairo_move_to(cr, ex, ey);
        } else if (op.kind == GlyphOp::kLine) {
            cairo_line_to(cr, ex, ey);
        } else {
            // The quadratic as the cubic with the same shape.
            const double qx = x + op.cx * scale, qy = y + op.cy * scale;
            cairo_curve_to(cr, px + 2.0 / 3 * (qx - px), py + 2.0 / 3 * (qy - py), ex + 2.0 / 3 * (qx - ex),
                           ey + 2.0 / 3 * (qy - ey), ex, ey);
        }
        px = ex;
        py = ey;
    }
}

void DrawWithCairo(cairo_t* cr, const BenchScene& scene, cairo_surface_t* bitmap)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (const BenchItem& item : scene.items) {
        const double cx = item.x + item.w / 2, cy = item.y + item.h / 2;
        switch (item.kind) {
        case BenchItem::kBox:
            SetColor(cr, item.rgba);
            cairo_rectangle(cr, item.x, item.y, item.w, item.h);
            cairo_fill(cr);
            break;
        case BenchItem::kCircle:
            SetColor(cr, item.rgba);
            cairo_arc(cr, item.x, item.y, item.w / 2, 0, 2 * 3.14159265358979);
            cairo_fill(cr);
            break;
        case BenchItem::kLinear:
        case BenchItem::kRadial: {
            cairo_pattern_t* p = item.kind == BenchItem::kLinear
                                     ? cairo_pattern_create_linear(item.x, cy, item.x + item.w, cy)
                                     : cairo_pattern_create_radial(cx, cy, 0, cx, cy, item.w / 2);
            cairo_pattern_add_color_stop_rgb(p, 0, item.rgba[0] / 255.0, item.rgba[1] / 255.0, item.rgba[2] / 255.0);
            cairo_pattern_add_color_stop_rgb(p, 1, item.rgba2[0] / 255.0, item.rgba2[1] / 255.0,
                                             item.rgba2[2] / 255.0);
            cairo_set_source(cr, p);
            cairo_rectangle(cr, item.x, item.y, item.w, item.h);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
            break;
        }
        case BenchItem::kBitmap: {
            cairo_pattern_t* p = cairo_pattern_create_for_surface(bitmap);
            cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
            cairo_matrix_t m;
            cairo_matrix_init_translate(&m, -item.x, -item.y);
            cairo_pattern_set_matrix(p, &m);
            cairo_set_source(cr, p);
            cairo_rectangle(cr, item.x, item.y, item.w, item.h);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
            break;
        }
        case BenchItem::kGlyphRun: {
            SetColor(cr, item.rgba);
            const double scale = item.h / 1024, advance = kBenchAdvance * scale;
            for (size_t i = 0; i < item.text.size(); ++i)
                GlyphPath(cr, item.text[i], item.x + i * advance, item.y, scale);
            cairo_fill(cr);
            break;
        }
        }
    }
}

double CairoFps(const BenchScene& scene, int width, int height)
{
    cairo_surface_t* bitmap = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kBenchBitmapSide, kBenchBitmapSide);
    cairo_surface_flush(bitmap);
    unsigned char* data = cairo_image_surface_get_data(bitmap);
    const int stride = cairo_image_surface_get_stride(bitmap);
    for (int y = 0; y < kBenchBitmapSide; ++y) {
        for (int x = 0; x < kBenchBitmapSide; ++x) {
            uint8_t rgb[3];
            BenchBitmapPixel(x, y, rgb);
            reinterpret_cast<uint32_t*>(data + y * stride)[x] = uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
        }
    }
    cairo_surface_mark_dirty(bitmap);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, width / 550.0, height / 400.0);
    const double fps = FramesPerSecond([&] {
        DrawWithCairo(cr, scene, bitmap);
        cairo_surface_flush(surface);
    });
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_surface_destroy(bitmap);
    return fps;
}

}  // namespace

int main()
{
    WNDCLASSW wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VistelloGLBench";
    RegisterClassW(&wc);
    std::printf("%-10s %-10s %6s %12s %11s %9s\n", "movie", "size", "items", "GL fps (HQ)", "GL fps (LQ)",
                "cairo fps");
    for (const BenchScene& scene : MakeBenchScenes()) {
        const std::vector<uint8_t> file = BenchMovie(scene);
        for (const auto& [w, h] : {std::pair{550, 400}, {1920, 1080}}) {
            const double high = EngineFps(file, w, h, true);
            const double low = EngineFps(file, w, h, false);
            const double cairo = CairoFps(scene, w, h);
            std::printf("%-10s %4dx%-5d %6zu %12.1f %11.1f %9.1f\n", scene.name.c_str(), w, h, scene.items.size(), high,
                        low, cairo);
            std::fflush(stdout);
        }
    }
    return 0;
}
