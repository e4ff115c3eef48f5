#include "addin/imaging/drawing/BitmapEffects.h"
#include "addin/imaging/drawing/BitmapPlatformDevice.h"
#include "addin/imaging/drawing/DrawCanvas.h"
#include "addin/imaging/drawing/PremulColor.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Target {
    Target(int width, int height)
    {
        EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height));
    }
    uint32_t At(int x, int y) const { return bitmap.Row32(y)[x]; }
    DrawBitmap bitmap;
};

DrawPaint Solid(uint32_t color, bool antiAlias = false)
{
    DrawPaint paint;
    paint.SetColor(color);
    paint.SetFlags(antiAlias ? uint32_t(DrawPaint::kAntiAlias) : 0u);
    return paint;
}

TEST(DrawCanvas, HardEdgedRectFillsExactlyItsPixels)
{
    Target t(20, 20);
    DrawCanvas canvas(t.bitmap);
    canvas.DrawRectangle({3, 4, 13, 9}, Solid(0x80FF0000));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(t.At(x, y), x >= 3 && x < 13 && y >= 4 && y < 9 ? 0x80800000u : 0u) << x << "," << y;
}

TEST(DrawCanvas, ClipRegionOperations)
{
    // First clip A = x 0..10, then op with B = x 5..15 (all rows); probe
    // A only (2), both (7), B only (12), neither (17).
    struct Case {
        DrawCanvas::RegionOp op;
        bool aOnly, both, bOnly, neither;
    };
    const Case cases[] = {
        {DrawCanvas::kDifference, true, false, false, false},
        {DrawCanvas::kIntersect, false, true, false, false},
        {DrawCanvas::kUnion, true, true, true, false},
        {DrawCanvas::kXor, true, false, true, false},
        {DrawCanvas::kReverseDifference, false, false, true, false},
        {DrawCanvas::kReplace, false, true, true, false},
    };
    for (const Case& c : cases) {
        Target t(20, 4);
        DrawCanvas canvas(t.bitmap);
        canvas.ClipRect({0, 0, 10, 4}, DrawCanvas::kIntersect);
        canvas.ClipRect({5, 0, 15, 4}, c.op);
        canvas.DrawColor(0xFF00FF00);
        const bool expected[4] = {c.aOnly, c.both, c.bOnly, c.neither};
        const int probes[4] = {2, 7, 12, 17};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(t.At(probes[i], 2), expected[i] ? 0xFF00FF00u : 0u) << "op " << c.op << " probe " << probes[i];
    }
}

TEST(DrawCanvas, SaveFlagsChooseWhatRestoreBringsBack)
{
    Target t(20, 20);
    DrawCanvas canvas(t.bitmap);
    EXPECT_EQ(canvas.Save(DrawCanvas::kMatrixSave), 1);
    canvas.Translate(5, 5);
    canvas.ClipRect({0, 0, 5, 5}, DrawCanvas::kIntersect);
    EXPECT_EQ(canvas.GetSaveCount(), 2);
    canvas.Restore();
    EXPECT_TRUE(canvas.GetTotalMatrix().IsIdentity());
    // The clip (device 5..10) stayed.
    DrawRect bounds;
    ASSERT_TRUE(canvas.GetClipBounds(&bounds, DrawCanvas::kHardEdges));
    EXPECT_EQ(bounds.left, 5.0f);
    EXPECT_EQ(bounds.right, 10.0f);
    canvas.Save(DrawCanvas::kMatrixClipSave);
    canvas.Save(DrawCanvas::kMatrixClipSave);
    canvas.ClipRect({0, 0, 1, 1}, DrawCanvas::kIntersect);
    EXPECT_FALSE(canvas.GetClipBounds(&bounds, DrawCanvas::kSoftEdges));
    EXPECT_EQ(bounds.left, 0.0f);
    EXPECT_EQ(bounds.bottom, 0.0f);
    canvas.RestoreToCount(0);
    EXPECT_EQ(canvas.GetSaveCount(), 1);
    ASSERT_TRUE(canvas.GetClipBounds(&bounds, DrawCanvas::kSoftEdges));
    EXPECT_EQ(bounds.left, 4.0f);
}

TEST(DrawCanvas, RotatedClipCoversTheRotatedSquare)
{
    Target t(40, 40);
    DrawCanvas canvas(t.bitmap);
    canvas.Translate(20, 20);
    canvas.Rotate(45);
    canvas.ClipRect({-10, -10, 10, 10}, DrawCanvas::kIntersect);
    canvas.ResetMatrix();
    canvas.DrawColor(0xFFFFFFFF);
    EXPECT_EQ(t.At(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(t.At(20, 7), 0xFFFFFFFFu);    // along the diagonal: 14 px reach
    EXPECT_EQ(t.At(11, 11), 0u);            // the unrotated square's corner
    EXPECT_EQ(t.At(29, 29), 0u);
}

TEST(DrawCanvas, AntiAliasedCircleCoversItsInsideOnly)
{
    Target t(40, 40);
    DrawCanvas canvas(t.bitmap);
    canvas.DrawCircle(20, 20, 10, Solid(0xFF0000FF, true));
    EXPECT_EQ(t.At(20, 20), 0xFF0000FFu);
    EXPECT_EQ(t.At(26, 26), 0xFF0000FFu);  // 8.5 from the centre
    EXPECT_EQ(t.At(28, 28), 0u);           // 11.3 from the centre
    uint32_t edge = t.At(29, 20) >> 24;    // the edge pixel 9..10 is partly covered
    EXPECT_GT(edge, 0u);
    DrawPaint ring = Solid(0xFFFF0000, true);
    ring.SetStyle(DrawPaint::kStroke);
    ring.SetStrokeWidth(4);
    Target s(40, 40);
    DrawCanvas strokes(s.bitmap);
    strokes.DrawCircle(20, 20, 10, ring);
    EXPECT_EQ(s.At(20, 20), 0u);
    EXPECT_EQ(s.At(30, 20) >> 24, 255u);
}

TEST(DrawCanvas, TransferModesReplaceOrClear)
{
    Target t(4, 1);
    DrawCanvas canvas(t.bitmap);
    canvas.DrawColor(0xFFFFFFFF);
    DrawPaint source = Solid(0x80FF0000);
    source.SetTransferMode(DrawPaint::kSrc);
    canvas.DrawRectangle({0, 0, 1, 1}, source);
    DrawPaint over = Solid(0x80FF0000);
    over.SetTransferMode(DrawPaint::kSrcOver);
    EXPECT_EQ(over.GetTransferMode(), DrawPaint::kNoMode);
    canvas.DrawRectangle({1, 0, 2, 1}, over);
    DrawPaint clear;
    clear.SetTransferMode(DrawPaint::kClear);
    canvas.DrawRectangle({2, 0, 3, 1}, clear);
    EXPECT_EQ(t.At(0, 0), 0x80800000u);
    EXPECT_NEAR(double(ColorGreen(t.At(1, 0))), 127, 1);
    EXPECT_EQ(t.At(1, 0) >> 24, 255u);
    EXPECT_EQ(t.At(2, 0), 0u);
    EXPECT_EQ(t.At(3, 0), 0xFFFFFFFFu);
}

TEST(DrawCanvas, GradientsRunAlongTheirGeometry)
{
    Target t(101, 101);
    DrawCanvas canvas(t.bitmap);
    const uint32_t two[2] = {0xFFFF0000, 0xFF0000FF};
    DrawShader* linear = DrawShader::Linear({0, 0}, {100, 0}, two, nullptr, 2, TileMode::Clamp);
    ASSERT_TRUE(linear);
    DrawPaint paint;
    paint.SetShader(linear);
    linear->Release();
    canvas.DrawRectangle({0, 0, 101, 10}, paint);
    EXPECT_GT(ColorRed(t.At(1, 5)), 245u);
    EXPECT_GT(ColorBlue(t.At(99, 5)), 245u);
    EXPECT_NEAR(double(ColorRed(t.At(50, 5))), 127, 3);

    // Sweep: clockwise from the x axis, y down.
    const uint32_t five[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF0000};
    const float positions[5] = {0, 0.25f, 0.5f, 0.75f, 1};
    // Pixel centres lie on whole-and-a-half coordinates: the centre too.
    DrawShader* sweep = DrawShader::Sweep({50.5f, 60.5f}, five, positions, 5);
    ASSERT_TRUE(sweep);
    paint.SetShader(sweep);
    sweep->Release();
    canvas.DrawRectangle({0, 20, 101, 101}, paint);
    auto expectColor = [&](int x, int y, uint32_t rgb) {
        uint32_t p = t.At(x, y);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(double((p >> shift) & 0xFF), double((rgb >> shift) & 0xFF), 2) << x << "," << y;
    };
    expectColor(50, 90, 0x00FF00);  // below: a quarter turn
    expectColor(20, 60, 0x0000FF);  // left: half a turn
    expectColor(50, 30, 0xFFFF00);  // above: three quarters
    expectColor(90, 60, 0xFF0000);  // right: the start

    const uint32_t radialColors[2] = {0xFFFFFFFF, 0xFF000000};
    DrawShader* radial = DrawShader::Radial({50, 50}, 40, radialColors, nullptr, 2, TileMode::Clamp);
    ASSERT_TRUE(radial);
    DrawMatrix local;
    EXPECT_FALSE(radial->GetLocalMatrix(&local));
    paint.SetShader(radial);
    radial->Release();
    canvas.DrawRectangle({0, 0, 101, 101}, paint);
    EXPECT_GT(ColorRed(t.At(50, 50)), 245u);
    EXPECT_EQ(t.At(95, 50) & 0xFFFFFF, 0u);
}

TEST(DrawCanvas, BitmapsLandOnTheirPixels)
{
    DrawBitmap image;
    ASSERT_TRUE(image.Allocate(BitmapConfig::Argb8888, 2, 2));
    image.Row32(0)[0] = 0xFFFF0000;
    image.Row32(0)[1] = 0xFF00FF00;
    image.Row32(1)[0] = 0xFF0000FF;
    image.Row32(1)[1] = 0x80808080;
    Target t(10, 10);
    DrawCanvas canvas(t.bitmap);
    canvas.DrawImage(image, 5, 6, nullptr);
    EXPECT_EQ(t.At(5, 6), 0xFFFF0000u);
    EXPECT_EQ(t.At(6, 6), 0xFF00FF00u);
    EXPECT_EQ(t.At(5, 7), 0xFF0000FFu);
    EXPECT_EQ(t.At(6, 7), 0x80808080u);
    EXPECT_EQ(t.At(4, 6), 0u);
    EXPECT_EQ(t.At(7, 7), 0u);
    // Scaled into a rectangle from the source's second row.
    RECT row = {0, 1, 2, 2};
    canvas.DrawImageRect(image, &row, {0, 0, 4, 2}, nullptr);
    EXPECT_EQ(t.At(1, 1), 0xFF0000FFu);
    EXPECT_EQ(t.At(2, 0), 0x80808080u);
    // A8 bitmaps draw the paint's colour through their alpha.
    DrawBitmap mask;
    ASSERT_TRUE(mask.Allocate(BitmapConfig::A8, 1, 1));
    mask.Row(0)[0] = 0xFF;
    DrawPaint green = Solid(0xFF00FF00);
    canvas.DrawImage(mask, 9, 9, &green);
    EXPECT_EQ(t.At(9, 9), 0xFF00FF00u);
}

TEST(DrawCanvas, PerspectiveBitmapCoversTheProjectedQuad)
{
    DrawBitmap image;
    ASSERT_TRUE(image.Allocate(BitmapConfig::Argb8888, 20, 20));
    image.EraseColor(0xFFFF0000);
    Target t(60, 60);
    DrawCanvas canvas(t.bitmap);
    DrawMatrix matrix;
    const float values[9] = {2, 0, 10, 0, 2, 10, 0.02f, 0, 1};
    matrix.SetAll(values);
    canvas.DrawImageMatrix(image, matrix, nullptr);
    // Corner (20, 0) lands at (50 / 1.4, 10 / 1.4) = (35.7, 7.1); (0, 20) at (10, 50).
    EXPECT_EQ(t.At(12, 12), 0xFFFF0000u);
    EXPECT_EQ(t.At(12, 45), 0xFFFF0000u);
    EXPECT_EQ(t.At(33, 12), 0xFFFF0000u);
    EXPECT_EQ(t.At(45, 45), 0u);  // beyond the far edge x = 35.7
    EXPECT_EQ(t.At(5, 5), 0u);
}

TEST(DrawCanvas, DeviceMemoryDCFollowsTheCanvas)
{
    BitmapPlatformDevice* device = BitmapPlatformDevice::MakeForScreen(40, 40, true, nullptr);
    ASSERT_TRUE(device);
    DrawCanvas canvas(device->GetBitmap(), device);
    device->Release();  // the canvas holds its own reference
    canvas.Translate(10, 10);
    canvas.ClipRect({0, 0, 10, 10}, DrawCanvas::kIntersect);
    HDC dc = device->GetMemoryDC();
    RECT all = {-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    device->FlushGdi();
    EXPECT_EQ(canvas.GetBitmap().Row32(15)[15] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(canvas.GetBitmap().Row32(25)[25] & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.GetBitmap().Row32(5)[5] & 0xFFFFFF, 0u);
}

// Draws paths, gradients, a bitmap and a blur into a platform device, blits it
// into a real window and reads the window back at probe points.
TEST(DrawCanvas, DrawingReachesARealWindow)
{
    BitmapPlatformDevice* device = BitmapPlatformDevice::MakeForScreen(120, 80, true, nullptr);
    ASSERT_TRUE(device);
    {
        DrawCanvas canvas(device->GetBitmap(), device);
        canvas.DrawColor(0xFFFFFFFF);
        DrawPath triangle;
        triangle.MoveTo(10, 10);
        triangle.LineTo(50, 10);
        triangle.LineTo(10, 50);
        triangle.Close();
        canvas.DrawShape(triangle, Solid(0xFFC02010, true));
        const uint32_t colors[2] = {0xFF0000FF, 0xFF00FF00};
        DrawShader* shader = DrawShader::Linear({60, 0}, {110, 0}, colors, nullptr, 2, TileMode::Clamp);
        DrawPaint gradient;
        gradient.SetShader(shader);
        shader->Release();
        canvas.DrawRectangle({60, 10, 110, 30}, gradient);
        DrawBitmap blurred;
        ASSERT_TRUE(blurred.Allocate(BitmapConfig::Argb8888, 30, 30));
        FillRectColor(blurred, RECT{10, 10, 20, 20}, 0xFF000000);
        StackBlur(blurred, 4, 4);
        canvas.DrawImage(blurred, 60, 40, nullptr);
    }
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DrawCanvasTestWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 20, 20, 120, 80,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    HDC dc = GetDC(window);
    device->CopyToDC(dc, 0, 0, nullptr);
    GdiFlush();
    const DrawBitmap& pixels = device->GetBitmap();
    const POINT probes[] = {{15, 15}, {45, 45}, {62, 20}, {108, 20}, {75, 55}, {62, 42}, {100, 70}, {5, 70}};
    for (const POINT& p : probes) {
        uint32_t dib = pixels.Row32(p.y)[p.x];
        COLORREF seen = GetPixel(dc, p.x, p.y);
        EXPECT_EQ(seen, RGB(ColorRed(dib), ColorGreen(dib), ColorBlue(dib))) << p.x << "," << p.y;
    }
    // Inside shapes the shape's colour, outside the background.
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(0xC0, 0x20, 0x10));
    EXPECT_EQ(GetPixel(dc, 45, 45), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 75, 55), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 62, 42), RGB(255, 255, 255));
    EXPECT_GT(GetBValue(GetPixel(dc, 61, 20)), 240);
    EXPECT_GT(GetGValue(GetPixel(dc, 109, 20)), 240);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    device->Release();
}

}  // namespace
