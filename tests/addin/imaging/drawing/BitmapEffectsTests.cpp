#include "addin/imaging/drawing/BitmapEffects.h"
#include "addin/imaging/drawing/PremulColor.h"
#include "addin/imaging/drawing/StackBlur.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace {

DrawBitmap MakeArgb(int width, int height, bool opaque, uint32_t color = 0)
{
    DrawBitmap bitmap;
    EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height));
    bitmap.SetOpaque(opaque);
    bitmap.EraseColor(color);
    return bitmap;
}

// Stack blur is a clamped-edge triangle filter: (sum of (r + 1 - |i|) * v)
// times the multiplier, shifted.
std::vector<uint8_t> TriangleReference(const std::vector<uint8_t>& v, int r)
{
    int n = int(v.size());
    std::vector<uint8_t> out(v.size());
    for (int x = 0; x < n; ++x) {
        uint64_t sum = 0;
        for (int i = -r; i <= r; ++i) {
            int p = x + i < 0 ? 0 : x + i > n - 1 ? n - 1 : x + i;
            sum += uint64_t(r + 1 - (i < 0 ? -i : i)) * v[size_t(p)];
        }
        out[size_t(x)] = uint8_t((sum * StackBlurMultiplier(r)) >> StackBlurShift(r));
    }
    return out;
}

TEST(StackBlur, TablesMatchThePublishedRows)
{
    const int rows[][3] = {{0, 512, 9},   {1, 512, 11},  {2, 456, 12},  {5, 456, 14},
                           {10, 271, 15}, {100, 412, 22}, {254, 259, 24}};
    for (auto& row : rows) {
        EXPECT_EQ(StackBlurMultiplier(row[0]), uint32_t(row[1])) << row[0];
        EXPECT_EQ(StackBlurShift(row[0]), row[2]) << row[0];
    }
}

TEST(StackBlur, LineMatchesTriangleReference)
{
    const int radii[] = {1, 2, 3, 7, 20, 254};
    const int lengths[] = {1, 2, 5, 33, 300};
    for (int n : lengths) {
        std::vector<uint8_t> values(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            values[size_t(i)] = uint8_t((i * 97 + 13) ^ (i * 31));
        values[0] = 255;
        for (int r : radii) {
            std::vector<uint8_t> line = values;
            std::vector<uint32_t> stack(size_t(2 * r + 1));
            StackBlurLine(line.data(), n, 1, r, stack.data());
            EXPECT_EQ(line, TriangleReference(values, r)) << "n " << n << " r " << r;
        }
    }
}

TEST(StackBlur, BitmapBlurMatchesSeparableReference)
{
    const int w = 23, h = 17, rx = 4, ry = 6;
    DrawBitmap bitmap = MakeArgb(w, h, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t a = uint32_t((x * 11 + y * 7) % 256);
            bitmap.Row32(y)[x] = PremultiplyArgb(a, uint32_t(x * 10), uint32_t(y * 15), 200);
        }
    // Reference: each channel's rows, then its columns.
    std::vector<std::vector<uint8_t>> planes(4, std::vector<uint8_t>(size_t(w * h)));
    for (int c = 0; c < 4; ++c) {
        for (int y = 0; y < h; ++y) {
            std::vector<uint8_t> row(static_cast<size_t>(w));
            for (int x = 0; x < w; ++x)
                row[size_t(x)] = uint8_t(bitmap.Row32(y)[x] >> (8 * c));
            row = TriangleReference(row, rx);
            for (int x = 0; x < w; ++x)
                planes[size_t(c)][size_t(y * w + x)] = row[size_t(x)];
        }
        for (int x = 0; x < w; ++x) {
            std::vector<uint8_t> column(static_cast<size_t>(h));
            for (int y = 0; y < h; ++y)
                column[size_t(y)] = planes[size_t(c)][size_t(y * w + x)];
            column = TriangleReference(column, ry);
            for (int y = 0; y < h; ++y)
                planes[size_t(c)][size_t(y * w + x)] = column[size_t(y)];
        }
    }
    StackBlur(bitmap, rx, ry);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(uint8_t(bitmap.Row32(y)[x] >> (8 * c)), planes[size_t(c)][size_t(y * w + x)])
                    << x << "," << y << " channel " << c;
}

TEST(StackBlur, RadiusZeroKeepsOpaqueKeepsAlphaAndLargeRadiusIsCapped)
{
    DrawBitmap a = MakeArgb(40, 3, true, 0xFF000000);
    for (int x = 0; x < 40; ++x)
        a.Row32(1)[x] = x < 20 ? 0xFFFFFFFF : 0xFF000000;
    DrawBitmap b = MakeArgb(40, 3, true, 0xFF000000);
    memcpy(b.GetPixels(), a.GetPixels(), 40 * 3 * 4);
    StackBlur(a, 0, 0);
    EXPECT_EQ(memcmp(a.GetPixels(), b.GetPixels(), 40 * 3 * 4), 0);
    StackBlur(a, 300, 300);
    StackBlur(b, 254, 254);
    EXPECT_EQ(memcmp(a.GetPixels(), b.GetPixels(), 40 * 3 * 4), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(a.Row32(y)[x] >> 24, 255u);
}

TEST(BitmapEffects, LuminanceToAlphaExamples)
{
    DrawBitmap bitmap = MakeArgb(4, 1, false);
    uint32_t* p = bitmap.Row32(0);
    p[0] = 0xFFFF0000;  // red: (11 * 255 + 16) >> 5 = 88
    p[1] = 0xFF000000;  // black: cleared
    p[2] = 0x80808080;  // white at half alpha: opaque white
    p[3] = 0;           // transparent: left
    LuminanceToAlpha(bitmap);
    EXPECT_EQ(p[0], PremultiplyArgb(88, 255, 0, 0));
    EXPECT_EQ(p[0], 0x58580000u);
    EXPECT_EQ(p[1], 0u);
    EXPECT_EQ(p[2], 0xFFFFFFFFu);
    EXPECT_EQ(p[3], 0u);
}

TEST(BitmapEffects, FillRectColorOnlyInsideTheBitmap)
{
    DrawBitmap bitmap = MakeArgb(4, 4, false);
    FillRectColor(bitmap, RECT{1, 1, 3, 4}, 0x80FF0000);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bitmap.Row32(y)[x], x >= 1 && x < 3 && y >= 1 ? 0x80800000u : 0u) << x << "," << y;
    DrawBitmap other = MakeArgb(4, 4, false);
    FillRectColor(other, RECT{2, 0, 5, 2}, 0xFFFFFFFF);
    FillRectColor(other, RECT{-1, 0, 2, 2}, 0xFFFFFFFF);
    FillRectColor(other, RECT{1, 1, 1, 2}, 0xFFFFFFFF);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(other.Row32(y)[x], 0u);
}

TEST(BitmapEffects, SetRectAlphaClipsAndTreatsColourAsStraight)
{
    DrawBitmap bitmap = MakeArgb(3, 3, false, 0xFF204060);
    SetRectAlpha(bitmap, RECT{-2, -2, 2, 1}, 0);
    SetRectAlpha(bitmap, RECT{2, 1, 9, 9}, 0x80);
    bitmap.Row32(2)[0] = 0x00102030;
    SetRectAlpha(bitmap, RECT{0, 2, 1, 3}, 255);
    EXPECT_EQ(bitmap.Row32(0)[0], 0u);
    EXPECT_EQ(bitmap.Row32(0)[1], 0u);
    EXPECT_EQ(bitmap.Row32(0)[2], 0xFF204060u);
    EXPECT_EQ(bitmap.Row32(1)[2], PremultiplyArgb(0x80, 0x20, 0x40, 0x60));
    EXPECT_EQ(bitmap.Row32(2)[2], PremultiplyArgb(0x80, 0x20, 0x40, 0x60));
    EXPECT_EQ(bitmap.Row32(1)[1], 0xFF204060u);
    EXPECT_EQ(bitmap.Row32(2)[0], 0xFF102030u);
}

TEST(BitmapEffects, TintWithClearOrWhiteTintChangesNothing)
{
    DrawBitmap bitmap = MakeArgb(2, 1, false);
    bitmap.Row32(0)[0] = PremultiplyArgb(0x80, 0x40, 0x80, 0xC0);
    bitmap.Row32(0)[1] = 0xFF336699;
    DrawBitmap before = MakeArgb(2, 1, false);
    memcpy(before.GetPixels(), bitmap.GetPixels(), 8);
    TintRect(bitmap, 0x00FF0000, 0, 0, 2, 1);
    EXPECT_EQ(memcmp(bitmap.GetPixels(), before.GetPixels(), 8), 0);
    TintRect(bitmap, 0xFFFFFFFF, -5, -5, 20, 20);
    EXPECT_EQ(bitmap.Row32(0)[1], 0xFF336699u);
    // A red tint keeps red and removes green and blue.
    TintRect(bitmap, 0xFFFF0000, 1, 0, 1, 1);
    EXPECT_EQ(bitmap.Row32(0)[1], 0xFF330000u);
    // At half strength: round((128 * 0 + 127 * 0x33) / 255) for red's partner.
    bitmap.Row32(0)[1] = 0xFF336699;
    TintRect(bitmap, 0x80000000, 1, 0, 1, 1);
    EXPECT_EQ(bitmap.Row32(0)[1], PackColor(255, (127 * 0x33 + 127) / 255, (127 * 0x66 + 127) / 255,
                                            (127 * 0x99 + 127) / 255));
}

TEST(BitmapEffects, GammaOneIsIdentityAndBlackWhiteStay)
{
    DrawBitmap bitmap = MakeArgb(3, 1, false);
    bitmap.Row32(0)[0] = 0xFF000000;
    bitmap.Row32(0)[1] = 0xFFFFFFFF;
    bitmap.Row32(0)[2] = 0xFF406080;
    ASSERT_TRUE(GammaRect(bitmap, RECT{0, 0, 3, 1}, 1.0));
    EXPECT_EQ(bitmap.Row32(0)[2], 0xFF406080u);
    ASSERT_TRUE(GammaRect(bitmap, RECT{0, 0, 3, 1}, 2.0));
    EXPECT_EQ(bitmap.Row32(0)[0], 0xFF000000u);
    EXPECT_EQ(bitmap.Row32(0)[1], 0xFFFFFFFFu);
    // 255 * sqrt(0x40 / 255) + 0.5 = 128.2
    EXPECT_EQ(ColorRed(bitmap.Row32(0)[2]), 128u);
    EXPECT_FALSE(GammaRect(bitmap, RECT{0, 0, 3, 1}, 0.0));
    EXPECT_FALSE(GammaRect(bitmap, RECT{0, 0, 3, 1}, -1.0));
}

TEST(BitmapEffects, AlphaShadowOfTransparentBitmapIsFullColour)
{
    DrawBitmap bitmap = MakeArgb(5, 4, true);
    ASSERT_TRUE(AlphaShadow(bitmap, 2, 2, 0x80FF0000, 1.0, false));
    EXPECT_FALSE(bitmap.IsOpaque());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(bitmap.Row32(y)[x], PremultiplyArgb(0x80, 255, 0, 0));
    // Inside: nothing shows where the shape was transparent.
    DrawBitmap shape = MakeArgb(5, 4, false);
    shape.Row32(2)[2] = 0xFFFFFFFF;
    ASSERT_TRUE(AlphaShadow(shape, 1, 1, 0xFF00FF00, 1.0, true));
    EXPECT_EQ(shape.Row32(0)[0], 0u);
    EXPECT_NE(shape.Row32(2)[2], 0u);
    EXPECT_FALSE(AlphaShadow(shape, 1, 1, 0xFF00FF00, 0.0, true));
}

TEST(BitmapEffects, MaskShadowRecoloursBlurredCoverage)
{
    DrawBitmap bitmap = MakeArgb(9, 1, true);
    for (int x = 0; x < 9; ++x)
        bitmap.Row32(0)[x] = x < 4 ? 0xFFFFFFFF : 0xFF000000;
    MaskShadow(bitmap, 0, 0, 0xFF0000FF);
    EXPECT_FALSE(bitmap.IsOpaque());
    EXPECT_EQ(bitmap.Row32(0)[0], 0xFF0000FFu);
    EXPECT_EQ(bitmap.Row32(0)[8], 0u);
}

TEST(BitmapEffects, MaskAndMultiplyStayInsideBothBitmaps)
{
    DrawBitmap mask = MakeArgb(2, 2, false, 0xFFFFFFFF);
    mask.Row32(1)[1] = 0xFF000000;
    DrawBitmap bitmap = MakeArgb(4, 4, false, 0xFF102030);
    // Only (1,1)..(2,2) have source pixels; everything else is left.
    MaskFromChannel(bitmap, mask, -1, -1, RECT{0, 0, 4, 4}, false);
    EXPECT_EQ(bitmap.Row32(0)[0], 0xFF102030u);
    EXPECT_EQ(bitmap.Row32(1)[1], 0xFF102030u);
    EXPECT_EQ(bitmap.Row32(1)[2], 0xFF102030u);
    EXPECT_EQ(bitmap.Row32(2)[2], 0u);
    EXPECT_EQ(bitmap.Row32(3)[3], 0xFF102030u);
    MaskFromChannel(bitmap, mask, 0, 0, RECT{2, 2, 9, 9}, false);
    EXPECT_EQ(bitmap.Row32(3)[3], 0u);
    EXPECT_EQ(bitmap.Row32(2)[3], 0xFF102030u);
    DrawBitmap half = MakeArgb(1, 1, false, 0x80FFFFFF);
    MultiplyAlphaRect(bitmap, half, 0, 0, RECT{0, 0, 4, 4});
    EXPECT_EQ(bitmap.Row32(0)[0], PremultiplyArgb(0x80, 0x10, 0x20, 0x30));
    EXPECT_EQ(bitmap.Row32(0)[1], 0xFF102030u);
    EXPECT_EQ(MaskCurve()[46], 33);
}

TEST(BitmapEffects, GetPixelColorUnpremultipliesAndChecksBounds)
{
    DrawBitmap bitmap = MakeArgb(2, 2, false, 0x80FF8000);
    EXPECT_EQ(GetPixelColor(bitmap, 1, 1), 0x80FF8000u);
    EXPECT_EQ(GetPixelColor(bitmap, 2, 0), 0u);
    EXPECT_EQ(GetPixelColor(bitmap, 0, -1), 0u);
}

}  // namespace
