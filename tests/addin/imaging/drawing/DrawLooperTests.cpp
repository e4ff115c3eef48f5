#include "addin/imaging/drawing/BlurMaskFilter.h"
#include "addin/imaging/drawing/DrawCanvas.h"
#include "addin/imaging/drawing/PremulColor.h"
#include "addin/imaging/drawing/SkBlurDrawLooper.h"

#include <gtest/gtest.h>

namespace {

struct Target {
    Target(int width, int height) { EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height)); }
    uint32_t At(int x, int y) const { return bitmap.Row32(y)[x]; }
    DrawBitmap bitmap;
};

DrawShader* GreenShader()
{
    const uint32_t colors[2] = {0xFF00FF00, 0xFF00FF00};
    return DrawShader::Linear({0, 0}, {10, 0}, colors, nullptr, 2, TileMode::Clamp);
}

}  // namespace

TEST(SkBlurDrawLooper, SharpShadowInItsColourThenTheShape)
{
    Target t(40, 40);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    paint.SetColor(0xFFFF0000);
    auto* looper = new vqz_skia::SkBlurDrawLooper(0, 5, 5, 0xFF0000FF);
    paint.SetLooper(looper);
    looper->Release();
    canvas.DrawRectangle({10, 10, 20, 20}, paint);
    EXPECT_EQ(t.At(12, 12), 0xFFFF0000u);  // the shape
    EXPECT_EQ(t.At(22, 22), 0xFF0000FFu);  // the shadow only
    EXPECT_EQ(t.At(8, 8), 0u);
    EXPECT_EQ(t.At(26, 26), 0u);            // sharp: nothing beyond the offset square
    EXPECT_TRUE(canvas.GetTotalMatrix().IsIdentity());
    EXPECT_EQ(canvas.GetSaveCount(), 1);
}

TEST(SkBlurDrawLooper, BlurredShadowHasNoShaderAndThePaintComesBackWhole)
{
    Target t(60, 60);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    paint.SetColor(0x80FF0000);
    DrawShader* shader = GreenShader();
    paint.SetShader(shader);
    auto* looper = new vqz_skia::SkBlurDrawLooper(3, 10, 0, 0xFF000000);

    // Driven by hand, as the canvas drives it.
    looper->Init(&canvas, &paint);
    ASSERT_TRUE(looper->Next());
    EXPECT_EQ(paint.GetShader(), nullptr);
    EXPECT_EQ(paint.GetColor(), 0xFF000000u);
    EXPECT_NE(paint.GetMaskFilter(), nullptr);
    EXPECT_EQ(canvas.GetTotalMatrix().Get(DrawMatrix::kTransX), 10.0f);
    ASSERT_TRUE(looper->Next());
    EXPECT_EQ(paint.GetShader(), shader);
    EXPECT_EQ(paint.GetColor(), 0x80FF0000u);
    EXPECT_EQ(paint.GetMaskFilter(), nullptr);
    EXPECT_TRUE(canvas.GetTotalMatrix().IsIdentity());
    EXPECT_FALSE(looper->Next());

    // A draw cut short after the shadow pass restores the same way.
    looper->Init(&canvas, &paint);
    ASSERT_TRUE(looper->Next());
    looper->Restore();
    EXPECT_EQ(paint.GetShader(), shader);
    EXPECT_EQ(paint.GetMaskFilter(), nullptr);
    EXPECT_EQ(canvas.GetSaveCount(), 1);

    paint.SetColor(0xFFFF0000);
    paint.SetLooper(looper);
    canvas.DrawRectangle({10, 10, 30, 30}, paint);
    EXPECT_EQ(t.At(20, 20), 0xFF00FF00u);           // the shader, over the shadow
    uint32_t shadow = t.At(35, 20);                 // the shadow's blurred black
    EXPECT_GT(ColorAlpha(shadow), 0u);
    EXPECT_EQ(shadow & 0xFFFFFF, 0u);
    EXPECT_GT(ColorAlpha(t.At(41, 20)), 0u);         // blurred past the offset edge
    EXPECT_LT(ColorAlpha(t.At(41, 20)), 255u);
    looper->Release();
    shader->Release();
}

TEST(SkBlurDrawLooper, PaintWithAMaskFilterDrawsOnceWithoutShadow)
{
    Target t(40, 40);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    BlurMaskFilter* blur = BlurMaskFilter::Create(1, BlurMaskFilter::kSolid);
    paint.SetMaskFilter(blur);
    blur->Release();
    auto* looper = new vqz_skia::SkBlurDrawLooper(0, 15, 15, 0xFF0000FF);
    paint.SetLooper(looper);
    looper->Release();
    canvas.DrawRectangle({5, 5, 15, 15}, paint);
    EXPECT_EQ(t.At(10, 10), 0xFF000000u);
    EXPECT_EQ(t.At(25, 25), 0u);
}

TEST(SkBlurDrawLooper, BlurredBitmapsCastTheShadowOfTheirShape)
{
    DrawBitmap image;
    ASSERT_TRUE(image.Allocate(BitmapConfig::Argb8888, 4, 4));
    image.EraseColor(0xFFFFFF00);
    Target t(20, 20);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    auto* looper = new vqz_skia::SkBlurDrawLooper(1, 4, 0, 0xFF0000FF);
    paint.SetLooper(looper);
    looper->Release();
    canvas.DrawImage(image, 2, 2, &paint);
    EXPECT_EQ(t.At(3, 3), 0xFFFFFF00u);
    uint32_t shadow = t.At(7, 3);  // blue, blurred, and not the image's yellow
    EXPECT_GT(ColorAlpha(shadow), 0x40u);
    EXPECT_EQ(ColorBlue(shadow), ColorAlpha(shadow));
    EXPECT_EQ(shadow & 0xFFFF00, 0u);
    EXPECT_EQ(t.At(14, 3), 0u);
}
