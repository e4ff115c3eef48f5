#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "player/engine/PVImage.h"
#include "player/engine/PVImageScale.h"

namespace {

// An image of `kind` whose pixel bytes are given row by row (no padding).
PVImage* MakeImage(int kind, int width, int height, const std::vector<uint8_t>& bytes)
{
    PVImage* image = PVImage::Create(kind, width, height);
    const int rowBytes = width * PVImage::BytesPerPixel(kind);
    for (int y = 0; y < height; ++y)
        std::memcpy(image->Row(y), bytes.data() + y * rowBytes, rowBytes);
    return image;
}

std::vector<uint8_t> Bytes(const PVImage& image)
{
    std::vector<uint8_t> bytes;
    const int rowBytes = image.Width() * PVImage::BytesPerPixel(image.Kind());
    for (int y = 0; y < image.Height(); ++y)
        bytes.insert(bytes.end(), image.Row(y), image.Row(y) + rowBytes);
    return bytes;
}

struct CancelCounter {
    int calls = 0;
    int cancelAt = -1;  // the call that answers true
    static bool Ask(void* self)
    {
        auto* counter = static_cast<CancelCounter*>(self);
        return ++counter->calls == counter->cancelAt;
    }
};

TEST(ImageScale, WideImageIsHalvedTwiceBeforeAveraging)
{
    // Columns repeat 0, 1, 1, 2: pairs give 0, 1 and then 0, where a plain
    // average over the 32 source columns of each output column gives 1.
    const int width = 4096, height = 64;
    std::vector<uint8_t> source(size_t(width) * 3 * height);
    const uint8_t pattern[4] = {0, 1, 1, 2};
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = pattern[(i / 3) % width % 4];
    std::vector<uint8_t> out(128 * 3 * 64, 99);
    CancelCounter counter;
    ASSERT_TRUE(ScaleImage(width, height, 3, width * 3, source.data(), 128, 64, 128 * 3, out.data(),
                           CancelCounter::Ask, &counter));
    EXPECT_EQ(out, std::vector<uint8_t>(out.size(), 0));
    // Two halvings, then one question every 8 of the 64 rows.
    EXPECT_EQ(counter.calls, 2 + 8);

    for (int cancelAt : {1, 2, 3, 10}) {
        CancelCounter cancelling{0, cancelAt};
        EXPECT_FALSE(ScaleImage(width, height, 3, width * 3, source.data(), 128, 64, 128 * 3, out.data(),
                                CancelCounter::Ask, &cancelling))
            << cancelAt;
    }
}

TEST(ImageScale, TallAndLargeImagesAreHalvedAlongTheirLongAxes)
{
    // Rows (or columns, when both sides are halved) repeating 0, 1, 1, 2
    // reduce to 0 only by halving.
    const uint8_t pattern[4] = {0, 1, 1, 2};
    std::vector<uint8_t> tall(8 * 1024);
    for (size_t i = 0; i < tall.size(); ++i)
        tall[i] = pattern[i / 8 % 4];
    std::vector<uint8_t> out(8 * 32, 99);
    ASSERT_TRUE(ScaleImage(8, 1024, 1, 8, tall.data(), 8, 32, 8, out.data()));
    EXPECT_EQ(out, std::vector<uint8_t>(out.size(), 0));

    std::vector<uint8_t> large(512 * 512 * 2);
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = pattern[i / 2 % 512 % 4];
    std::vector<uint8_t> small(16 * 16 * 2, 99);
    ASSERT_TRUE(ScaleImage(512, 512, 2, 1024, large.data(), 16, 16, 32, small.data()));
    EXPECT_EQ(small, std::vector<uint8_t>(small.size(), 0));
}

TEST(ImageScale, AreasAreWeightedByHowMuchOfEachPixelTheyCover)
{
    // 5 x 5 to 2 x 2: each output pixel covers 2.5 source pixels each way.
    std::vector<uint8_t> source(5 * 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            source[y * 5 + x] = uint8_t(10 * (x + 1) + 10 * (y + 1));
    uint8_t out[2 * 4] = {};
    ASSERT_TRUE(ScaleImage(5, 5, 1, 5, source.data(), 2, 2, 4, out));
    EXPECT_EQ(out[0], 36);
    EXPECT_EQ(out[1], 60);
    EXPECT_EQ(out[4], 60);
    EXPECT_EQ(out[5], 84);
}

TEST(ImageScale, BadSizesFail)
{
    uint8_t pixel[4] = {};
    EXPECT_FALSE(ScaleImage(0, 1, 1, 4, pixel, 1, 1, 4, pixel));
    EXPECT_FALSE(ScaleImage(1, 1, 1, 4, pixel, 1, -1, 4, pixel));
    EXPECT_FALSE(ScaleImage(1, 1, 5, 4, pixel, 1, 1, 4, pixel));
}

TEST(Image, ReduceNarrowsTheKindWhereNothingIsLost)
{
    struct Case {
        int kind;
        std::vector<uint8_t> pixels;  // three pixels
        int reduced;
        std::vector<uint8_t> after;
    };
    const Case cases[] = {
        {PVImage::kRGB, {1, 1, 1, 2, 2, 2, 3, 3, 3}, PVImage::kGrey, {1, 2, 3}},
        {PVImage::kRGB, {1, 1, 1, 2, 2, 9, 3, 3, 3}, PVImage::kRGB, {1, 1, 1, 2, 2, 9, 3, 3, 3}},
        {PVImage::kRGBA, {1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255}, PVImage::kGrey, {1, 2, 3}},
        {PVImage::kRGBA, {1, 1, 1, 255, 2, 2, 2, 7, 3, 3, 3, 255}, PVImage::kGreyAlpha, {1, 255, 2, 7, 3, 255}},
        {PVImage::kRGBA, {1, 2, 3, 255, 2, 2, 2, 255, 3, 3, 3, 255}, PVImage::kRGB, {1, 2, 3, 2, 2, 2, 3, 3, 3}},
        {PVImage::kRGBA, {1, 2, 3, 255, 2, 2, 2, 0, 3, 3, 3, 255}, PVImage::kRGBA,
         {1, 2, 3, 255, 2, 2, 2, 0, 3, 3, 3, 255}},
        {PVImage::kGreyAlpha, {1, 255, 2, 255, 3, 255}, PVImage::kGrey, {1, 2, 3}},
        {PVImage::kGreyAlpha, {1, 255, 2, 254, 3, 255}, PVImage::kGreyAlpha, {1, 255, 2, 254, 3, 255}},
    };
    for (const Case& c : cases) {
        // Two rows, so the repacked second row shows the new stride.
        std::vector<uint8_t> two = c.pixels;
        two.insert(two.end(), c.pixels.begin(), c.pixels.end());
        PVImage* image = MakeImage(c.kind, 3, 2, two);
        image->Reduce();
        EXPECT_EQ(image->Kind(), c.reduced) << c.kind;
        EXPECT_EQ(image->Stride(), (3 * PVImage::BytesPerPixel(c.reduced) + 3) & ~3);
        std::vector<uint8_t> after = c.after;
        after.insert(after.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(Bytes(*image), after) << c.kind;
        delete image;
    }
}

TEST(Image, ResizeNearestRepeatsRowsAndColumns)
{
    PVImage* image = MakeImage(PVImage::kGrey, 3, 2, {1, 2, 3, 4, 5, 6});
    PVImage* bigger = image->ResizeNearest(4, 4);
    ASSERT_NE(bigger, nullptr);
    EXPECT_EQ(Bytes(*bigger), (std::vector<uint8_t>{1, 1, 2, 3, 1, 1, 2, 3, 4, 4, 5, 6, 4, 4, 5, 6}));
    PVImage* same = image->ResizeNearest(3, 2);
    EXPECT_EQ(Bytes(*same), Bytes(*image));
    delete bigger;
    delete same;
    delete image;
}

TEST(Image, PalettesExpandToTheirReducedKind)
{
    struct Case {
        int entryKind;
        std::vector<uint8_t> entries;  // two entries
        int expanded;
        std::vector<uint8_t> pixels;  // indexes 1, 0
    };
    const Case cases[] = {
        {PVImage::kRGB, {1, 2, 3, 4, 5, 6}, PVImage::kRGB, {4, 5, 6, 1, 2, 3}},
        {PVImage::kRGB, {7, 7, 7, 9, 9, 9}, PVImage::kGrey, {9, 7}},
        {PVImage::kRGBA, {1, 2, 3, 255, 4, 5, 6, 255}, PVImage::kRGB, {4, 5, 6, 1, 2, 3}},
        {PVImage::kRGBA, {1, 2, 3, 128, 4, 5, 6, 255}, PVImage::kRGBA, {4, 5, 6, 255, 1, 2, 3, 128}},
        {PVImage::kRGBA, {8, 8, 8, 128, 6, 6, 6, 255}, PVImage::kGreyAlpha, {6, 255, 8, 128}},
        {PVImage::kGreyAlpha, {8, 255, 6, 255}, PVImage::kGrey, {6, 8}},
        {PVImage::kGrey, {8, 6}, PVImage::kGrey, {6, 8}},
    };
    for (const Case& c : cases) {
        PVImage* image = PVImage::Create(PVImage::kPalette, 2, 1, 2);
        ASSERT_NE(image, nullptr);
        image->Row(0)[0] = 1;
        image->Row(0)[1] = 0;
        ASSERT_TRUE(image->SetPalette(c.entries.data(), 2, c.entryKind));
        image->ReducePalette();
        EXPECT_EQ(image->PaletteKind(), c.expanded) << c.entryKind;
        EXPECT_EQ(image->ResizeArea(4, 4), nullptr);
        PVImage* copy = image->Clone();
        ASSERT_NE(copy, nullptr);
        PVImage* expanded = copy->ExpandPalette();
        ASSERT_NE(expanded, nullptr);
        EXPECT_EQ(expanded->Kind(), c.expanded);
        EXPECT_EQ(Bytes(*expanded), c.pixels) << c.entryKind;
        EXPECT_EQ(image->ExpandPalette() != image, true);
        delete expanded;
        delete copy;
        delete image;
    }
    PVImage* rgb = PVImage::Create(PVImage::kRGB, 1, 1);
    EXPECT_EQ(rgb->ExpandPalette(), rgb);
    const uint8_t entry[4] = {};
    EXPECT_FALSE(rgb->SetPalette(entry, 1, PVImage::kRGB));
    delete rgb;
}

TEST(Image, CreateRefusesBadKindsAndSizes)
{
    EXPECT_EQ(PVImage::Create(0, 1, 1), nullptr);
    EXPECT_EQ(PVImage::Create(7, 1, 1), nullptr);
    EXPECT_EQ(PVImage::Create(PVImage::kRGB, 0, 1), nullptr);
    EXPECT_EQ(PVImage::Create(PVImage::kRGB, 1, -1), nullptr);
    EXPECT_EQ(PVImage::Create(PVImage::kRGBA, 65536, 65536), nullptr);
    PVImage* palette = PVImage::Create(PVImage::kPalette, 1, 1, 0);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->PaletteCount(), 1);
    const uint8_t entries[3 * 257] = {};
    EXPECT_FALSE(palette->SetPalette(entries, 257, PVImage::kRGB));
    EXPECT_FALSE(palette->SetPalette(entries, 1, 6));
    delete palette;
}

}  // namespace
