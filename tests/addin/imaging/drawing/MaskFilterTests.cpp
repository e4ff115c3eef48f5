#include "addin/imaging/drawing/BlurMaskFilter.h"
#include "addin/imaging/drawing/DrawCanvas.h"
#include "addin/imaging/drawing/EmbossMaskFilter.h"
#include "addin/imaging/drawing/PremulColor.h"

#include <gtest/gtest.h>

namespace {

struct Target {
    Target(int width, int height) { EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height)); }
    uint32_t Alpha(int x, int y) const { return bitmap.Row32(y)[x] >> 24; }
    DrawBitmap bitmap;
};

// A blue square 20..40 on a 60 x 60 canvas under a blur of radius 4.
Target BlurredSquare(int32_t style)
{
    Target t(60, 60);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    paint.SetColor(0xFF0000FF);
    BlurMaskFilter* blur = BlurMaskFilter::Create(4, style);
    EXPECT_NE(blur, nullptr);
    paint.SetMaskFilter(blur);
    blur->Release();
    canvas.DrawRectangle({20, 20, 40, 40}, paint);
    return t;
}

}  // namespace

TEST(BlurMaskFilter, RefusesBadRadiusAndStyle)
{
    EXPECT_EQ(BlurMaskFilter::Create(0, BlurMaskFilter::kNormal), nullptr);
    EXPECT_EQ(BlurMaskFilter::Create(-1, BlurMaskFilter::kNormal), nullptr);
    EXPECT_EQ(BlurMaskFilter::Create(3, 4), nullptr);
    EXPECT_EQ(BlurMaskFilter::Create(3, -1), nullptr);
}

TEST(BlurMaskFilter, StylesPlaceTheBlurInsideOutsideOrBoth)
{
    // Probes: the centre (30), just inside the edge (21), just outside (18),
    // far outside (5).
    struct Case {
        int32_t style;
        bool centreFull, insideEdgeFull, outsideSome;
    };
    const Case cases[] = {
        {BlurMaskFilter::kNormal, true, false, true},
        {BlurMaskFilter::kSolid, true, true, true},
        {BlurMaskFilter::kOuter, false, false, true},
        {BlurMaskFilter::kInner, true, false, false},
    };
    for (const Case& c : cases) {
        Target t = BlurredSquare(c.style);
        SCOPED_TRACE(c.style);
        EXPECT_EQ(t.Alpha(5, 30), 0u);
        EXPECT_EQ(t.Alpha(30, 30) == 255, c.centreFull);
        if (c.style == BlurMaskFilter::kOuter) {
            EXPECT_EQ(t.Alpha(30, 30), 0u);
        }
        EXPECT_EQ(t.Alpha(21, 30) == 255, c.insideEdgeFull);
        EXPECT_EQ(t.Alpha(21, 30) > 0, c.style != BlurMaskFilter::kOuter);
        EXPECT_EQ(t.Alpha(18, 30) > 0, c.outsideSome);
        // The blur is symmetric about the square's centre.
        EXPECT_NEAR(double(t.Alpha(18, 30)), double(t.Alpha(41, 30)), 2.0);
        // Colour stays blue in premultiplied form: no channel above alpha.
        uint32_t p = t.bitmap.Row32(30)[19];
        EXPECT_EQ(ColorRed(p), 0u);
        EXPECT_LE(ColorBlue(p), ColorAlpha(p));
    }
}

TEST(BlurMaskFilter, SpreadFromOutsideTheDeviceArrives)
{
    // A square that lies wholly left of the device still bleeds into it.
    Target t(20, 20);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    BlurMaskFilter* blur = BlurMaskFilter::Create(6, BlurMaskFilter::kNormal);
    paint.SetMaskFilter(blur);
    blur->Release();
    canvas.DrawRectangle({-20, 0, -1, 20}, paint);
    EXPECT_GT(t.Alpha(0, 10), 0u);
    EXPECT_EQ(t.Alpha(19, 10), 0u);
}

TEST(BlurMaskFilter, TheClipStillHolds)
{
    Target t(60, 60);
    DrawCanvas canvas(t.bitmap);
    canvas.ClipRect({0, 0, 30, 60}, DrawCanvas::kIntersect);
    DrawPaint paint;
    BlurMaskFilter* blur = BlurMaskFilter::Create(4, BlurMaskFilter::kNormal);
    paint.SetMaskFilter(blur);
    blur->Release();
    canvas.DrawRectangle({20, 20, 40, 40}, paint);
    EXPECT_EQ(t.Alpha(29, 30), 255u);
    EXPECT_EQ(t.Alpha(30, 30), 0u);
}

TEST(EmbossMaskFilter, LitSideIsBrighterThanTheShadedSide)
{
    const float fromTopLeft[3] = {-1, -1, 1};
    const float zero[3] = {0, 0, 0};
    EXPECT_EQ(EmbossMaskFilter::Create(zero, 0.3f, 0.5f, 2), nullptr);
    EXPECT_EQ(EmbossMaskFilter::Create(fromTopLeft, 0.3f, 0.5f, 0), nullptr);
    EmbossMaskFilter* emboss = EmbossMaskFilter::Create(fromTopLeft, 0.2f, 0, 3);
    ASSERT_NE(emboss, nullptr);
    Target t(60, 60);
    DrawCanvas canvas(t.bitmap);
    DrawPaint paint;
    paint.SetColor(0xFF808080);
    paint.SetMaskFilter(emboss);
    emboss->Release();
    canvas.DrawRectangle({10, 10, 50, 50}, paint);
    // Coverage is the shape's own: nothing outside, opaque inside.
    EXPECT_EQ(t.Alpha(5, 30), 0u);
    EXPECT_EQ(t.Alpha(11, 30), 255u);
    EXPECT_EQ(t.Alpha(48, 30), 255u);
    // The edge facing the light is brighter than the one facing away.
    uint32_t lit = ColorRed(t.bitmap.Row32(30)[11]), shaded = ColorRed(t.bitmap.Row32(30)[48]);
    EXPECT_GT(lit, shaded + 40) << lit << " " << shaded;
    // The flat middle gets ambient plus the light's upward share.
    uint32_t middle = ColorRed(t.bitmap.Row32(30)[30]);
    EXPECT_GT(middle, shaded);
    EXPECT_LT(middle, lit);
}
