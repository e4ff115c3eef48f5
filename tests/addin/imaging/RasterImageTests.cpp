#include "ImageTestUtil.h"
#include "addin/imaging/DirectImage.h"
#include "addin/imaging/IndexedImage.h"

#include <gtest/gtest.h>
#include <string.h>

namespace {

TEST(RasterImage, StrideRoundsRowsToFourBytes)
{
    struct Case {
        PixelType type;
        int width;
        int stride;
    } cases[] = {
        {PixelType::Rgb, 1, 4},   {PixelType::GrayAlpha, 1, 4}, {PixelType::Rgba, 1, 4},
        {PixelType::Rgb, 3, 12},  {PixelType::Gray, 5, 8},      {PixelType::Indexed, 4, 4},
        {PixelType::Alpha, 7, 8}, {PixelType::GrayAlpha, 3, 8},
    };
    for (const Case& c : cases) {
        ImageRef image = Own(CreateRasterImage(c.type, c.width, 2));
        ASSERT_TRUE(image);
        EXPECT_EQ(c.stride, image->GetStride()) << int(c.type) << " x " << c.width;
        EXPECT_TRUE(image->IsValid());
    }
}

TEST(RasterImage, CreateRefusesBadTypesAndSizes)
{
    EXPECT_EQ(nullptr, CreateRasterImage(static_cast<PixelType>(7), 10, 10));
    EXPECT_EQ(nullptr, CreateRasterImage(PixelType::None, 10, 10));
    EXPECT_EQ(nullptr, CreateRasterImage(PixelType::Rgb, 0, 5));
    EXPECT_EQ(nullptr, CreateRasterImage(PixelType::Rgb, 5, -1));
    // 40000 x 40000 RGBA is 6.4 GB: refused from the 64-bit size, not wrapped.
    EXPECT_EQ(nullptr, CreateRasterImage(PixelType::Rgba, 40000, 40000));
    EXPECT_EQ(nullptr, CreateRasterImage(PixelType::Rgba, 32768, 16385));
}

TEST(RasterImage, SetSizeKeepsContentAtTheSameSizeAndFailsClean)
{
    ImageRef image = Own(DirectImage::CreateGray8(3, 2));
    image->GetRow(1)[2] = 77;
    EXPECT_TRUE(image->SetSize(3, 2));
    EXPECT_EQ(77, image->GetRow(1)[2]);
    EXPECT_FALSE(image->SetSize(0, 4));
    EXPECT_FALSE(image->IsValid());
    EXPECT_EQ(nullptr, image->GetPixels());
    EXPECT_EQ(0, image->GetWidth());
    EXPECT_EQ(nullptr, image->Clone());
}

TEST(RasterImage, CloneCopiesPixelsPaletteAndTypeButNotProvenance)
{
    ImageRef image = MakeImage(PixelType::Indexed, 5, 3, [](int x, int y, int) { return x + y; });
    IndexedImage* indexed = image->AsIndexed();
    const uint8_t palette[] = {1, 2, 3, 40, 5, 6, 7, 80, 9, 10, 11, 120};
    indexed->SetPaletteRgba(3, palette);
    image->SetName(L"photo.gif");
    image->SetPath(L"C:\\pics\\photo.gif");
    image->SetFileType(ImageFileType::Gif);
    image->SetModifiedTime(1234);

    ImageRef copy = Own(image->Clone());
    ASSERT_TRUE(copy);
    EXPECT_EQ(TopDownSamples(*image), TopDownSamples(*copy));
    EXPECT_EQ(ImageFileType::Gif, copy->GetFileType());
    EXPECT_TRUE(copy->GetName().IsEmpty());
    EXPECT_TRUE(copy->GetPath().IsEmpty());
    EXPECT_EQ(0, copy->GetModifiedTime());
    ASSERT_TRUE(copy->AsIndexed());
    EXPECT_EQ(PixelType::Rgba, copy->AsIndexed()->GetPaletteType());
    EXPECT_EQ(3, copy->AsIndexed()->GetPaletteCount());
    EXPECT_EQ(0, memcmp(palette + 8, copy->AsIndexed()->GetPaletteEntry(2), 4));
}

TEST(RasterImage, HasAlphaFollowsTypeAndPaletteType)
{
    struct Case {
        PixelType type;
        bool alpha;
    } cases[] = {{PixelType::Rgb, false}, {PixelType::Rgba, true},      {PixelType::Alpha, true},
                 {PixelType::Gray, false}, {PixelType::GrayAlpha, true}};
    for (const Case& c : cases)
        EXPECT_EQ(c.alpha, Own(CreateRasterImage(c.type, 1, 1))->HasAlpha()) << int(c.type);
    ImageRef indexed = Own(CreateRasterImage(PixelType::Indexed, 1, 1));
    indexed->AsIndexed()->SetPaletteType(PixelType::Gray);
    EXPECT_FALSE(indexed->HasAlpha());
    indexed->AsIndexed()->SetPaletteType(PixelType::GrayAlpha);
    EXPECT_TRUE(indexed->HasAlpha());
}

TEST(RasterImage, PaletteSettersClampAndIgnoreMissingEntries)
{
    ImageRef image = Own(CreateRasterImage(PixelType::Indexed, 1, 1));
    IndexedImage* indexed = image->AsIndexed();
    indexed->SetPaletteRgb(0, reinterpret_cast<const uint8_t*>("abc"));
    indexed->SetPaletteRgb(4, nullptr);
    EXPECT_EQ(1, indexed->GetPaletteCount());
    std::vector<uint8_t> many(300 * 3, 9);
    indexed->SetPaletteRgb(300, many.data());
    EXPECT_EQ(256, indexed->GetPaletteCount());
    EXPECT_EQ(255, indexed->GetPaletteEntry(255)[3]);
    indexed->SetPaletteAlpha(-5, 1);
    indexed->SetPaletteAlpha(999, 2);
    EXPECT_EQ(1, indexed->GetPaletteEntry(0)[3]);
    EXPECT_EQ(2, indexed->GetPaletteEntry(255)[3]);
}

TEST(RasterImage, ConditionalConversionsScanEveryPixel)
{
    ImageRef gray = MakeImage(PixelType::Rgb, 3, 2, [](int x, int y, int) { return 10 * x + y; });
    ImageRef grayResult = Own(gray->ToGrayIfGray());
    ASSERT_TRUE(grayResult);
    EXPECT_EQ(PixelType::Gray, grayResult->GetPixelType());
    EXPECT_EQ((std::vector<uint8_t>{0, 10, 20, 1, 11, 21}), TopDownSamples(*grayResult));

    ImageRef colour = MakeImage(PixelType::Rgb, 3, 2, [](int x, int y, int c) { return x == 2 && y == 1 ? c : 5; });
    EXPECT_EQ(nullptr, colour->ToGrayIfGray());

    ImageRef rgba = MakeImage(PixelType::Rgba, 2, 2, [](int x, int y, int c) { return c == 3 ? 255 : 50 + x + c; });
    ImageRef rgb = Own(rgba->ToRgbIfOpaque());
    ASSERT_TRUE(rgb);
    EXPECT_EQ((std::vector<uint8_t>{50, 51, 52, 51, 52, 53, 50, 51, 52, 51, 52, 53}), TopDownSamples(*rgb));
    rgba->GetRow(0)[7] = 254;
    EXPECT_EQ(nullptr, rgba->ToRgbIfOpaque());
    EXPECT_EQ(nullptr, rgb->ToRgbIfOpaque());  // wrong source type

    ImageRef ga = MakeImage(PixelType::GrayAlpha, 2, 1, [](int x, int, int c) { return c ? 255 : 7 * x; });
    ga->SetName(L"a.png");
    ImageRef g = Own(ga->ToGrayIfOpaque());
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->GetName().EqualsText(L"a.png"));
    EXPECT_EQ((std::vector<uint8_t>{0, 7}), TopDownSamples(*g));
}

TEST(RasterImage, ExpansionsToDirectColour)
{
    ImageRef alpha = MakeImage(PixelType::Alpha, 2, 1, [](int x, int, int) { return 100 + x; });
    EXPECT_EQ((std::vector<uint8_t>{255, 255, 255, 100, 255, 255, 255, 101}), TopDownSamples(*Own(alpha->AlphaToRgba())));
    ImageRef gray = MakeImage(PixelType::Gray, 2, 1, [](int x, int, int) { return 3 + x; });
    EXPECT_EQ((std::vector<uint8_t>{3, 3, 3, 4, 4, 4}), TopDownSamples(*Own(gray->GrayToRgb())));
    ImageRef ga = MakeImage(PixelType::GrayAlpha, 1, 1, [](int, int, int c) { return c ? 9 : 8; });
    EXPECT_EQ((std::vector<uint8_t>{8, 8, 8, 9}), TopDownSamples(*Own(ga->GrayAlphaToRgba())));

    // Each palette type maps to its direct form.
    ImageRef indexed = MakeImage(PixelType::Indexed, 2, 1, [](int x, int, int) { return x; });
    const uint8_t entries[] = {10, 20, 30, 40, 50, 60, 70, 80};
    indexed->AsIndexed()->SetPaletteRgba(2, entries);
    struct Case {
        PixelType paletteType;
        PixelType direct;
        std::vector<uint8_t> pixels;
        std::vector<uint8_t> expanded;
    } cases[] = {
        {PixelType::Rgb, PixelType::Rgb, {10, 20, 30, 50, 60, 70}, {10, 20, 30, 50, 60, 70}},
        {PixelType::Rgba, PixelType::Rgba, {10, 20, 30, 40, 50, 60, 70, 80}, {10, 20, 30, 40, 50, 60, 70, 80}},
        {PixelType::Alpha, PixelType::Rgba, {255, 255, 255, 40, 255, 255, 255, 80}, {40, 80}},
        {PixelType::Gray, PixelType::Rgb, {10, 10, 10, 50, 50, 50}, {10, 50}},
        {PixelType::GrayAlpha, PixelType::Rgba, {10, 10, 10, 40, 50, 50, 50, 80}, {10, 40, 50, 80}},
    };
    for (const Case& c : cases) {
        indexed->AsIndexed()->SetPaletteType(c.paletteType);
        ImageRef direct = Own(indexed->IndexedToDirect());
        ASSERT_TRUE(direct);
        EXPECT_EQ(c.direct, direct->GetPixelType());
        EXPECT_EQ(c.pixels, TopDownSamples(*direct)) << int(c.paletteType);
        ImageRef expanded = Own(indexed->ExpandPalette());
        ASSERT_TRUE(expanded);
        EXPECT_EQ(c.paletteType, expanded->GetPixelType());
        EXPECT_EQ(c.expanded, TopDownSamples(*expanded)) << int(c.paletteType);
    }
    indexed->AsIndexed()->SetPaletteType(PixelType::Indexed);
    EXPECT_EQ(nullptr, indexed->IndexedToDirect());
}

TEST(RasterImage, ExpandToDirectColorSlot)
{
    ImageRef rgba = Own(CreateRasterImage(PixelType::Rgba, 2, 2));
    RasterImage* slot = rgba.Get();
    EXPECT_TRUE(ExpandToDirectColor(&slot, true));
    EXPECT_EQ(rgba.Get(), slot);
    EXPECT_EQ(1, rgba->GetRefCount());

    ImageRef source = MakeImage(PixelType::Indexed, 2, 1, [](int x, int, int) { return x; });
    RasterImage* indexed = source.Get();
    indexed->AddRef();  // the reference the slot hands over
    indexed->AsIndexed()->SetPaletteAlpha(0, 0);
    indexed->AsIndexed()->SetPaletteAlpha(1, 200);
    indexed->AsIndexed()->SetPaletteType(PixelType::Alpha);
    RasterImage* expanded = indexed;
    EXPECT_TRUE(ExpandToDirectColor(&expanded, true));
    EXPECT_EQ(1, source->GetRefCount());
    ImageRef result = Own(expanded);
    EXPECT_EQ(PixelType::Rgba, result->GetPixelType());
    EXPECT_EQ((std::vector<uint8_t>{255, 255, 255, 0, 255, 255, 255, 200}), TopDownSamples(*result));

    EXPECT_FALSE(ExpandToDirectColor(nullptr, false));
    RasterImage* none = nullptr;
    EXPECT_FALSE(ExpandToDirectColor(&none, false));
}

TEST(RasterImage, ToRgbAnswersTheReceiverOrACopy)
{
    ImageRef rgb = Own(CreateRasterImage(PixelType::Rgb, 1, 1));
    EXPECT_EQ(rgb.Get(), rgb->ToRgb());
    // An image without pixels is not valid: no answer, not the receiver.
    for (PixelType type : {PixelType::Rgb, PixelType::Rgba, PixelType::Gray}) {
        ImageRef invalid = Own(CreateRasterImage(type, 1, 1));
        EXPECT_FALSE(invalid->SetSize(0, 3));
        EXPECT_EQ(nullptr, invalid->ToRgb()) << int(type);
    }

    ImageRef rgba = MakeImage(PixelType::Rgba, 1, 1, [](int, int, int c) { return 10 + c; });
    rgba->SetName(L"x.png");
    ImageRef fromRgba = Own(rgba->ToRgb());
    EXPECT_EQ((std::vector<uint8_t>{10, 11, 12}), TopDownSamples(*fromRgba));
    EXPECT_TRUE(fromRgba->GetName().EqualsText(L"x.png"));

    ImageRef gray = MakeImage(PixelType::Gray, 1, 1, [](int, int, int) { return 42; });
    gray->SetName(L"g.png");
    ImageRef fromGray = Own(gray->ToRgb());
    EXPECT_EQ((std::vector<uint8_t>{42, 42, 42}), TopDownSamples(*fromGray));
    EXPECT_TRUE(fromGray->GetName().IsEmpty());

    ImageRef ga = MakeImage(PixelType::GrayAlpha, 1, 1, [](int, int, int c) { return c ? 0 : 42; });
    EXPECT_EQ((std::vector<uint8_t>{42, 42, 42}), TopDownSamples(*Own(ga->ToRgb())));
}

TEST(RasterImage, ClassifyPalette)
{
    struct Case {
        PixelType start;
        std::vector<uint8_t> entries;
        PixelType result;
    } cases[] = {
        {PixelType::Rgb, {10, 10, 10, 255, 20, 20, 20, 128}, PixelType::GrayAlpha},
        {PixelType::Rgb, {10, 11, 10, 255, 20, 20, 20, 255}, PixelType::Rgb},
        {PixelType::Rgba, {10, 11, 10, 255, 20, 20, 20, 255}, PixelType::Rgb},
        {PixelType::Rgba, {10, 10, 10, 255, 20, 20, 20, 255}, PixelType::Gray},
        {PixelType::Rgb, {10, 11, 10, 0, 20, 20, 20, 255}, PixelType::Rgba},
        {PixelType::Gray, {10, 11, 12, 3, 20, 20, 20, 255}, PixelType::GrayAlpha},
        {PixelType::GrayAlpha, {10, 11, 12, 255, 20, 20, 20, 255}, PixelType::Gray},
        {PixelType::Alpha, {10, 10, 10, 255, 20, 20, 20, 255}, PixelType::Alpha},
    };
    for (const Case& c : cases) {
        ImageRef image = Own(CreateRasterImage(PixelType::Indexed, 1, 1));
        IndexedImage* indexed = image->AsIndexed();
        indexed->SetPaletteRgba(2, c.entries.data());
        indexed->SetPaletteType(c.start);
        indexed->ClassifyPalette();
        EXPECT_EQ(c.result, indexed->GetPaletteType()) << int(c.start);
    }
    // Entries past the count do not count.
    ImageRef image = Own(CreateRasterImage(PixelType::Indexed, 1, 1));
    const uint8_t entries[] = {1, 2, 3, 255, 4, 5, 6, 0};
    image->AsIndexed()->SetPaletteRgba(2, entries);
    image->AsIndexed()->SetPaletteRgba(1, entries);
    image->AsIndexed()->ClassifyPalette();
    EXPECT_EQ(PixelType::Rgb, image->AsIndexed()->GetPaletteType());
}

TEST(RasterImage, CompactPaletteMergesAndRenumbers)
{
    const uint8_t entries[] = {1, 2, 3, 255, 4, 5, 6, 255, 1, 2, 3, 255, 7, 8, 9, 255};
    // Entry 2 equals entry 0: pixels using 0 and 2 end on one entry.
    ImageRef merged = MakeImage(PixelType::Indexed, 4, 2, [](int x, int, int) { return x % 2 ? 2 : 0; });
    merged->AsIndexed()->SetPaletteRgba(4, entries);
    merged->AsIndexed()->CompactPalette();
    EXPECT_EQ(1, merged->AsIndexed()->GetPaletteCount());
    EXPECT_EQ(std::vector<uint8_t>(8, 0), TopDownSamples(*merged));
    EXPECT_EQ(PixelType::Rgb, merged->AsIndexed()->GetPaletteType());

    // Only the first two entries used: only the count drops.
    ImageRef low = MakeImage(PixelType::Indexed, 4, 1, [](int x, int, int) { return x % 2; });
    low->AsIndexed()->SetPaletteRgba(4, entries);
    low->AsIndexed()->CompactPalette();
    EXPECT_EQ(2, low->AsIndexed()->GetPaletteCount());
    EXPECT_EQ((std::vector<uint8_t>{0, 1, 0, 1}), TopDownSamples(*low));
    EXPECT_EQ(7, low->AsIndexed()->GetPaletteEntry(3)[0]);

    // Entries 1 and 3 used: renumbered to 0 and 1, the rest reset.
    ImageRef gap = MakeImage(PixelType::Indexed, 2, 1, [](int x, int, int) { return x ? 1 : 3; });
    gap->AsIndexed()->SetPaletteRgba(4, entries);
    gap->AsIndexed()->CompactPalette();
    EXPECT_EQ(2, gap->AsIndexed()->GetPaletteCount());
    EXPECT_EQ((std::vector<uint8_t>{1, 0}), TopDownSamples(*gap));
    EXPECT_EQ(4, gap->AsIndexed()->GetPaletteEntry(0)[0]);
    EXPECT_EQ(7, gap->AsIndexed()->GetPaletteEntry(1)[0]);
    const uint8_t reset[] = {0, 0, 0, 255};
    EXPECT_EQ(0, memcmp(reset, gap->AsIndexed()->GetPaletteEntry(2), 4));

    // Indices past the count are kept as entries of their own.
    ImageRef past = MakeImage(PixelType::Indexed, 2, 1, [](int x, int, int) { return x ? 9 : 0; });
    past->AsIndexed()->SetPaletteRgba(1, entries);
    past->AsIndexed()->CompactPalette();
    EXPECT_EQ(2, past->AsIndexed()->GetPaletteCount());
    EXPECT_EQ((std::vector<uint8_t>{0, 1}), TopDownSamples(*past));
}

}  // namespace
