#include "addin/imaging/drawing/ConvolutionResizer.h"

#include <gtest/gtest.h>

namespace {

DrawBitmap MakeArgb(int width, int height, bool opaque)
{
    DrawBitmap bitmap;
    EXPECT_TRUE(bitmap.Allocate(BitmapConfig::Argb8888, width, height));
    bitmap.SetOpaque(opaque);
    return bitmap;
}

int FilterSum(const FixedFilterList& list, int k)
{
    int first, count, sum = 0;
    const int16_t* w = list.Get(k, &first, &count);
    for (int i = 0; i < count; ++i)
        sum += w[i];
    return sum;
}

TEST(ConvolutionFilters, BoxHalvingTakesTheTapsInsideTheBox)
{
    ScaleFilterSet set(ConvolutionMethod::Box, 4, 1, 2, 1, 0, 0, 2, 1);
    const FixedFilterList& h = set.GetHorizontal();
    ASSERT_EQ(h.GetFilterCount(), 2);
    int first, count;
    const int16_t* w = h.Get(0, &first, &count);
    // Centre 0, support 1: taps 0..1, pixel 1 at kernel position 0.5 is out.
    ASSERT_EQ(first, 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(w[0], 16384);
    EXPECT_EQ(w[1], 0);
    w = h.Get(1, &first, &count);
    ASSERT_EQ(first, 1);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(w[0], 8192);
    EXPECT_EQ(w[1], 8192);
    EXPECT_EQ(w[2], 0);
}

TEST(ConvolutionFilters, LanczosEnlargingUsesUnclampedKernelAndSumsToOne)
{
    ScaleFilterSet set(ConvolutionMethod::Lanczos3, 20, 20, 40, 40, 0, 0, 40, 40);
    const FixedFilterList& h = set.GetHorizontal();
    ASSERT_EQ(h.GetFilterCount(), 40);
    for (int k = 0; k < 40; ++k)
        EXPECT_EQ(FilterSum(h, k), kFilterOne) << k;
    // The support in source pixels is 3 / 2. Output 20 sits on source 10:
    // taps 8..12, the centre whole and the neighbours at the sinc's zeros.
    int first, count;
    const int16_t* w = h.Get(20, &first, &count);
    EXPECT_EQ(first, 8);
    ASSERT_EQ(count, 5);
    EXPECT_EQ(h.GetMaxCount(), 5);
    EXPECT_EQ(w[0], 0);
    EXPECT_EQ(w[1], 0);
    EXPECT_EQ(w[2], 16384);
    // Output 21 sits between 10 and 11: taps 9..12, the inner two alike and
    // the outer two negative lobes.
    w = h.Get(21, &first, &count);
    EXPECT_EQ(first, 9);
    ASSERT_EQ(count, 4);
    EXPECT_NEAR(w[1], w[2], 1);
    EXPECT_LT(w[0], 0);
    EXPECT_LT(w[3], 0);
    // At the left edge the taps start at source 0.
    h.Get(0, &first, &count);
    EXPECT_EQ(first, 0);
}

TEST(ConvolutionFilters, KernelValues)
{
    EXPECT_EQ(ScaleFilterSet::Kernel(ConvolutionMethod::Box, -0.5f), 1.0f);
    EXPECT_EQ(ScaleFilterSet::Kernel(ConvolutionMethod::Box, 0.5f), 0.0f);
    EXPECT_EQ(ScaleFilterSet::Kernel(ConvolutionMethod::Lanczos3, 0.0f), 1.0f);
    EXPECT_EQ(ScaleFilterSet::Kernel(ConvolutionMethod::Lanczos3, 3.0f), 0.0f);
    EXPECT_NEAR(ScaleFilterSet::Kernel(ConvolutionMethod::Lanczos3, 0.5f), 0.6079271, 1e-6);
    EXPECT_EQ(ScaleFilterSet::Kernel(static_cast<ConvolutionMethod>(7), 0.0f), 0.0f);
}

TEST(ConvolutionFilters, ZeroSumFilterPutsTheWholeWeightOnItsMiddleTap)
{
    // An unknown method's kernel is 0 everywhere, so every sum is 0.
    ScaleFilterSet set(static_cast<ConvolutionMethod>(9), 8, 8, 4, 4, 0, 0, 4, 4);
    int first, count;
    const int16_t* w = set.GetHorizontal().Get(1, &first, &count);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(w[i], i == count / 2 ? 16384 : 0);
}

TEST(ConvolutionResizer, BoxHalvingAveragesPixelPairsExactly)
{
    DrawBitmap source = MakeArgb(4, 1, true);
    const uint32_t pixels[4] = {0xFF102030, 0xFF406080, 0xFF80A0C0, 0xFFFFFFFF};
    for (int x = 0; x < 4; ++x)
        source.Row32(0)[x] = pixels[x];
    DrawBitmap out = ConvolutionResize(source, ConvolutionMethod::Box, 2, 1);
    ASSERT_EQ(out.GetWidth(), 2);
    ASSERT_EQ(out.GetHeight(), 1);
    EXPECT_TRUE(out.IsOpaque());
    EXPECT_EQ(out.Row32(0)[0], 0xFF102030u);
    EXPECT_EQ(out.Row32(0)[1], 0xFF6080A0u);
}

TEST(ConvolutionResizer, OpaqueSourceGivesAlpha255Everywhere)
{
    DrawBitmap source = MakeArgb(9, 7, true);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            source.Row32(y)[x] = (x + y) % 2 ? 0x00FFFFFF : 0x00000000;  // alpha bytes ignored
    DrawBitmap out = ConvolutionResize(source, ConvolutionMethod::Lanczos3, 23, 5);
    ASSERT_EQ(out.GetWidth(), 23);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 23; ++x)
            ASSERT_EQ(out.Row32(y)[x] >> 24, 255u) << x << "," << y;
}

TEST(ConvolutionResizer, AlphaIsRaisedToTheLargestColour)
{
    // Sharp alpha edges make Lanczos overshoot the colour more than the alpha.
    DrawBitmap source = MakeArgb(6, 1, false);
    const uint32_t pixels[6] = {0, 0, 0xFFFF0000, 0x80800000, 0, 0};
    for (int x = 0; x < 6; ++x)
        source.Row32(0)[x] = pixels[x];
    DrawBitmap out = ConvolutionResize(source, ConvolutionMethod::Lanczos3, 17, 1);
    ASSERT_FALSE(out.IsOpaque());
    for (int x = 0; x < 17; ++x) {
        uint32_t p = out.Row32(0)[x];
        EXPECT_GE(p >> 24, (p >> 16) & 0xFF) << x;
        EXPECT_GE(p >> 24, (p >> 8) & 0xFF) << x;
        EXPECT_GE(p >> 24, p & 0xFF) << x;
    }
}

TEST(ConvolutionResizer, UniformImageStaysUniformAtAnySize)
{
    DrawBitmap source = MakeArgb(37, 29, false);
    source.EraseColor(0x80FF8040);
    uint32_t expected = source.Row32(0)[0];
    const int sizes[][2] = {{5, 3}, {37, 29}, {100, 61}, {1, 1}, {200, 2}};
    for (auto& size : sizes) {
        DrawBitmap out = ConvolutionResize(source, ConvolutionMethod::Lanczos3, size[0], size[1]);
        ASSERT_EQ(out.GetWidth(), size[0]);
        for (int y = 0; y < size[1]; ++y)
            for (int x = 0; x < size[0]; ++x)
                ASSERT_EQ(out.Row32(y)[x], expected) << size[0] << "x" << size[1] << " at " << x << "," << y;
    }
}

TEST(ConvolutionResizer, SubsetMatchesThatPartOfTheFullResize)
{
    DrawBitmap source = MakeArgb(16, 12, false);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            source.Row32(y)[x] = 0xFF000000u | uint32_t(x * 15) << 16 | uint32_t(y * 20) << 8 | uint32_t(x * y);
    DrawBitmap full = ConvolutionResize(source, ConvolutionMethod::Lanczos3, 40, 30);
    DrawBitmap part = ConvolutionResizeSubset(source, ConvolutionMethod::Lanczos3, 40, 30, 7, 11, 13, 9);
    ASSERT_EQ(part.GetWidth(), 13);
    ASSERT_EQ(part.GetHeight(), 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(part.Row32(y)[x], full.Row32(y + 11)[x + 7]);
}

TEST(ConvolutionResizer, A8ReadsOneByteAPixel)
{
    DrawBitmap source;
    ASSERT_TRUE(source.Allocate(BitmapConfig::A8, 4, 2));
    const uint8_t row[4] = {0, 100, 200, 255};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            source.Row(y)[x] = row[x];
    DrawBitmap out = ConvolutionResize(source, ConvolutionMethod::Box, 2, 1);
    ASSERT_EQ(out.GetConfig(), BitmapConfig::A8);
    ASSERT_EQ(out.GetRowBytes(), 2);
    EXPECT_EQ(out.Row(0)[0], 0);
    EXPECT_EQ(out.Row(0)[1], 150);
}

TEST(ConvolutionResizer, EmptyRequestsGiveEmptyBitmaps)
{
    DrawBitmap source = MakeArgb(4, 4, false);
    EXPECT_TRUE(ConvolutionResize(source, ConvolutionMethod::Lanczos3, 0, 4).IsEmpty());
    EXPECT_TRUE(ConvolutionResize(source, ConvolutionMethod::Lanczos3, 4, -1).IsEmpty());
    EXPECT_TRUE(ConvolutionResize(DrawBitmap(), ConvolutionMethod::Lanczos3, 4, 4).IsEmpty());
    EXPECT_TRUE(ConvolutionResizeSubset(source, ConvolutionMethod::Box, 4, 4, 2, 0, 4, 4).IsEmpty());
}

}  // namespace
