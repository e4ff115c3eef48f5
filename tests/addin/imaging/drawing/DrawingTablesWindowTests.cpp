#include "DrawingPlugin.h"
#include "TargetWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

// A plug-in's drawing shown in a real window: drawn through the tables into a
// device-backed bitmap, blitted to the window through the canvas's platform
// DC, and read back from the window.

namespace {

COLORREF AsColorRef(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

}  // namespace

TEST(DrawingTablesWindow, PathsGradientsBitmapsTextAndBlursReachTheWindow)
{
    TargetWindow window;
    DrawingPlugin plugin;
    ASSERT_NE(plugin.factory, nullptr);
    Object bitmap = plugin.Call<Object>(kFactory, 10, plugin.factory, 64, 64, 1, 0);
    ASSERT_NE(bitmap, nullptr);
    Object canvas = plugin.Call<Object>(kFactory, 2, plugin.factory, bitmap);
    plugin.Call<void>(kCanvas, 3, canvas, 0xFFFFFFFFu);

    // A horizontal red-to-blue gradient band along the top.
    const float from[2] = {0, 0}, to[2] = {64, 0};
    const uint32_t colors[2] = {0xFFFF0000, 0xFF0000FF};
    Object gradient = plugin.Call<Object>(kFactory, 6, plugin.factory, from, to, colors,
                                          static_cast<const float*>(nullptr), 2, 0);
    ASSERT_NE(gradient, nullptr);
    Object band = plugin.Paint(0xFF000000, false);
    plugin.Call<void>(kPaint, 15, band, gradient);
    plugin.Call<void>(kShader, 0, gradient);
    plugin.Call<void>(kCanvas, 23, canvas, 0.0f, 0.0f, 64.0f, 10.0f, band);

    // An anti-aliased green triangle from a path.
    Object path = plugin.Call<Object>(kFactory, 4, plugin.factory, Object(nullptr));
    plugin.Call<void>(kPath, 11, path, 4.0f, 14.0f);
    plugin.Call<void>(kPath, 13, path, 30.0f, 14.0f);
    plugin.Call<void>(kPath, 13, path, 4.0f, 34.0f);
    plugin.Call<void>(kPath, 21, path);
    Object green = plugin.Paint(0xFF00A000, true);
    plugin.Call<void>(kCanvas, 34, canvas, path, green);

    // A yellow bitmap, and a black square blurred in its own bitmap.
    Object tile = plugin.Call<Object>(kFactory, 10, plugin.factory, 8, 8, 1, 0);
    plugin.Call<void>(kBitmap, 1, tile, 0xFFFFFF00u);
    plugin.Call<void>(kCanvas, 35, canvas, tile, 40.0f, 14.0f, Object(nullptr));
    Object soft = plugin.Call<Object>(kFactory, 10, plugin.factory, 20, 20, 0, 0);
    plugin.Call<void>(kBitmap, 2, soft, 0xFF000000u, 5, 5, 10, 10);
    plugin.Call<void>(kBitmap, 5, soft, 3, 3);
    plugin.Call<void>(kCanvas, 35, canvas, soft, 40.0f, 40.0f, Object(nullptr));

    // Text through GDI on the canvas's platform DC.
    HDC dc = plugin.Call<HDC>(kCanvas, 1, canvas);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(plugin.Call<HDC>(kCanvas, 1, canvas), nullptr);  // not twice
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 4, 44, L"Hi", 2);
    plugin.Call<void>(kCanvas, 2, canvas);
    // GDI leaves alpha 0 where it drew: the plug-in makes its text opaque.
    plugin.Call<void>(kBitmap, 8, bitmap, 4, 44, 20, 16, 255);

    HDC windowDC = GetDC(window.Get());
    dc = plugin.Call<HDC>(kCanvas, 1, canvas);
    ASSERT_TRUE(BitBlt(windowDC, 0, 0, 64, 64, dc, 0, 0, SRCCOPY));
    plugin.Call<void>(kCanvas, 2, canvas);
    GdiFlush();

    auto pixel = [&](int x, int y) { return plugin.Call<uint32_t>(kBitmap, 12, bitmap, x, y); };
    struct Probe {
        int x, y;
        uint32_t expected;  // 0: only compared with the window
    };
    const Probe probes[] = {
        {0, 5, 0},           {63, 5, 0},           {32, 5, 0},           {8, 18, 0xFF00A000},
        {26, 30, 0xFFFFFFFF}, {2, 20, 0xFFFFFFFF}, {44, 18, 0xFFFFFF00}, {50, 50, 0xFF000000},
        {41, 41, 0},          {62, 62, 0xFFFFFFFF},
    };
    for (const Probe& p : probes) {
        uint32_t dib = pixel(p.x, p.y);
        if (p.expected) {
            EXPECT_EQ(dib, p.expected) << p.x << "," << p.y;
        }
        EXPECT_EQ(GetPixel(windowDC, p.x, p.y), AsColorRef(dib)) << p.x << "," << p.y;
    }
    // The gradient runs from red to blue; the blur fades at its edge.
    EXPECT_GT((pixel(0, 5) >> 16) & 0xFF, 0xF0u);
    EXPECT_LT(pixel(0, 5) & 0xFF, 0x10u);
    EXPECT_GT(pixel(63, 5) & 0xFF, 0xF0u);
    EXPECT_LT((pixel(63, 5) >> 16) & 0xFF, 0x10u);
    uint32_t fading = pixel(44, 50) & 0xFF;
    EXPECT_GT(fading, 0x10u);
    EXPECT_LT(fading, 0xF0u);
    // Some dark text pixels, the same in the window.
    int dark = 0;
    for (int y = 44; y < 60; ++y)
        for (int x = 4; x < 24; ++x)
            if ((pixel(x, y) & 0xFF) < 0x40) {
                ++dark;
                EXPECT_EQ(GetPixel(windowDC, x, y), AsColorRef(pixel(x, y)));
            }
    EXPECT_GT(dark, 5);
    ReleaseDC(window.Get(), windowDC);

    for (Object o : {tile, soft, bitmap})
        plugin.Call<void>(kBitmap, 0, o);
    plugin.Call<void>(kPath, 0, path);
    plugin.Call<void>(kPaint, 0, green);
    plugin.Call<void>(kPaint, 0, band);
    plugin.Call<void>(kCanvas, 0, canvas);
}

TEST(DrawingTablesWindow, PaintCanvasCopiesToTheWindowWhenReleased)
{
    TargetWindow window;
    DrawingPlugin plugin;
    HDC windowDC = GetDC(window.Get());
    COLORREF background = GetPixel(windowDC, 40, 40);
    // In the window's coordinates: the canvas covers 20..30.
    Object canvas = plugin.Call<Object>(kFactory, 1, plugin.factory, windowDC, 1, 20, 20, 10, 10);
    ASSERT_NE(canvas, nullptr);
    plugin.Call<void>(kCanvas, 3, canvas, 0xFFFF00FFu);
    Object cyan = plugin.Paint(0xFF00FFFF, false);
    plugin.Call<void>(kCanvas, 23, canvas, 22.0f, 22.0f, 2.0f, 2.0f, cyan);
    EXPECT_NE(plugin.Call<HDC>(kCanvas, 1, canvas), nullptr);
    plugin.Call<void>(kCanvas, 2, canvas);
    EXPECT_EQ(GetPixel(windowDC, 21, 21), background);  // nothing until released
    plugin.Call<void>(kCanvas, 0, canvas);
    GdiFlush();
    EXPECT_EQ(GetPixel(windowDC, 21, 21), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(windowDC, 23, 23), RGB(0, 255, 255));
    EXPECT_EQ(GetPixel(windowDC, 29, 29), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(windowDC, 30, 30), background);
    EXPECT_EQ(GetPixel(windowDC, 19, 25), background);
    plugin.Call<void>(kPaint, 0, cyan);
    ReleaseDC(window.Get(), windowDC);
}
