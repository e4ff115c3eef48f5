#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/PngCodec.h"
#include "addin/imaging/RasterImage.h"
#include "addin/imaging/drawing/DrawImageDecoder.h"
#include "base/MKAlloc.h"
#include "base/MKString.h"
#include "fixtures/Fixtures.h"
#include "fixtures/IcoWriter.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {

// A PNG of one RGBA colour (R, G, B, A bytes).
std::vector<uint8_t> SolidPng(int width, int height, const uint8_t rgba[4])
{
    RasterImage* image = CreateRasterImage(PixelType::Rgba, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            memcpy(image->GetRow(y) + 4 * x, rgba, 4);
    uint8_t* data = nullptr;
    size_t length = 0;
    EXPECT_TRUE(PngEncode(image, &data, &length, 6));
    image->Release();
    std::vector<uint8_t> bytes(data, data + length);
    MKFree(data);
    return bytes;
}

// Icon entries 16 x 16 blue, 32 x 32 green, 32 x 32 red (the last of the
// size), 48 x 48 as a PNG of half-transparent white.
std::vector<uint8_t> SampleIcon()
{
    const uint8_t white[4] = {255, 255, 255, 128};
    return MakeIco({{16, 16, MakeIcoDib32(16, 16, 0xFF0000FF)},
                    {32, 32, MakeIcoDib32(32, 32, 0xFF00FF00)},
                    {32, 32, MakeIcoDib32(32, 32, 0xFFFF0000)},
                    {48, 48, SolidPng(48, 48, white)}});
}

}  // namespace

TEST(DrawImageDecoder, IconGivesTheEntryOfTheSizeOrNone)
{
    std::vector<uint8_t> icon = SampleIcon();
    struct Case {
        int width, height;
        int expectWidth;  // 0: no entry of that size, the decode fails
        uint32_t expectPixel;
    };
    const Case cases[] = {
        {32, 32, 32, 0xFFFF0000},  // the last 32 x 32
        {16, 16, 16, 0xFF0000FF},
        {48, 48, 48, 0x80808080},  // PNG entry, premultiplied
        {20, 20, 0, 0},
        {40, 40, 0, 0},
        {32, 16, 0, 0},
        {0, 0, 32, 0xFFFF0000},    // the system icon size
    };
    for (const Case& c : cases) {
        DrawBitmap bitmap;
        DrawImageFormat format = DrawImageFormat::Unknown;
        bool decoded =
            DecodeMemorySized(icon.data(), icon.size(), bitmap, BitmapConfig::Argb8888, c.width, c.height, &format);
        if (!c.expectWidth) {
            EXPECT_FALSE(decoded) << c.width << "x" << c.height;
            EXPECT_TRUE(bitmap.IsEmpty());
            continue;
        }
        ASSERT_TRUE(decoded) << c.width;
        EXPECT_EQ(format, DrawImageFormat::Ico);
        EXPECT_EQ(bitmap.GetWidth(), c.expectWidth);
        EXPECT_EQ(bitmap.GetHeight(), c.expectWidth);
        EXPECT_EQ(bitmap.Row32(c.expectWidth / 2)[3], c.expectPixel) << c.width;
    }
    // A load that asks for no size takes the entry nearest the system icon
    // size: with only 16 and 48 that is the larger.
    std::vector<uint8_t> apart = MakeIco({{16, 16, MakeIcoDib32(16, 16, 0xFF0000FF)},
                                          {48, 48, MakeIcoDib32(48, 48, 0xFF00FF00)}});
    DrawBitmap unsized;
    ASSERT_TRUE(DecodeImageData(apart.data(), apart.size(), unsized));
    EXPECT_EQ(unsized.GetWidth(), 48);
    // No entry of the config: no choice, no bitmap.
    DrawBitmap none;
    EXPECT_FALSE(DecodeMemorySized(icon.data(), icon.size(), none, BitmapConfig::A8, 32, 32, nullptr));
    EXPECT_TRUE(none.IsEmpty());
}

TEST(DrawImageDecoder, PalettedIconUsesItsAndMask)
{
    // 2 x 2: red, green / blue, transparent.
    std::vector<uint8_t> icon =
        MakeIco({{2, 2, MakeIcoDib8(2, 2, {0xFF0000, 0x00FF00, 0x0000FF}, {0, 1, 2, 0}, {false, false, false, true})}});
    DrawBitmap bitmap;
    ASSERT_TRUE(DecodeMemorySized(icon.data(), icon.size(), bitmap, BitmapConfig::Argb8888, 2, 2, nullptr));
    EXPECT_EQ(bitmap.Row32(0)[0], 0xFFFF0000u);
    EXPECT_EQ(bitmap.Row32(0)[1], 0xFF00FF00u);
    EXPECT_EQ(bitmap.Row32(1)[0], 0xFF0000FFu);
    EXPECT_EQ(bitmap.Row32(1)[1], 0u);
}

TEST(DrawImageDecoder, DamagedIconsAreRefused)
{
    std::vector<uint8_t> icon = SampleIcon();
    DrawBitmap bitmap;
    // Cut inside the chosen image, inside the directory, and an entry whose
    // offset points past the end.
    const size_t cuts[] = {icon.size() - 10, 20, 5};
    for (size_t cut : cuts)
        EXPECT_FALSE(DecodeMemorySized(icon.data(), cut, bitmap, BitmapConfig::Argb8888, 48, 48, nullptr)) << cut;
    std::vector<uint8_t> lying = icon;
    lying[6 + 12] = 0xFF;
    lying[6 + 15] = 0x7F;
    EXPECT_FALSE(DecodeMemorySized(lying.data(), lying.size(), bitmap, BitmapConfig::Argb8888, 16, 16, nullptr));
    EXPECT_TRUE(bitmap.IsEmpty());
}

TEST(DrawImageDecoder, FilesAreDecodedByTheirBytesAndNonImagesFail)
{
    ScratchFolder folder;
    const uint8_t colour[4] = {10, 20, 30, 255};
    std::vector<uint8_t> png = SolidPng(3, 2, colour);
    std::wstring pngPath = folder.File(L"picture.dat");
    std::wstring textPath = folder.File(L"notes.png");
    FILE* file = _wfopen(pngPath.c_str(), L"wb");
    fwrite(png.data(), 1, png.size(), file);
    fclose(file);
    file = _wfopen(textPath.c_str(), L"wb");
    fputs("not a picture at all", file);
    fclose(file);

    DrawBitmap bitmap;
    DrawImageFormat format = DrawImageFormat::Unknown;
    ASSERT_TRUE(DecodeFileSized(pngPath.c_str(), bitmap, BitmapConfig::Argb8888, 0, 0, &format));
    EXPECT_EQ(format, DrawImageFormat::Png);
    EXPECT_EQ(bitmap.GetWidth(), 3);
    EXPECT_TRUE(bitmap.IsOpaque());
    EXPECT_EQ(bitmap.Row32(1)[2], 0xFF0A141Eu);
    EXPECT_FALSE(DecodeFileSized(textPath.c_str(), bitmap, BitmapConfig::Argb8888, 0, 0, nullptr));
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_FALSE(DecodeFileSized(folder.File(L"missing.png").c_str(), bitmap, BitmapConfig::Argb8888, 0, 0, nullptr));
    EXPECT_FALSE(DecodeFileSized(L"", bitmap, BitmapConfig::Argb8888, 0, 0, nullptr));
}
