#include "ImageTestUtil.h"
#include "addin/imaging/IndexedImage.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"
#include "base/MKAlloc.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>

namespace {

// A smooth picture with a sharp edge, friendly to JPEG.
ImageRef Picture(PixelType type, int width = 40, int height = 30)
{
    return MakeImage(type, width, height, [](int x, int y, int c) {
        int v = x * 5 + y * 3 + c * 40;
        return x > 20 && y > 15 ? 230 - c * 30 : v % 256;
    });
}

std::vector<uint8_t> PngBytes(const RasterImage* image, int level)
{
    uint8_t* data = nullptr;
    size_t length = 0;
    if (!PngEncode(image, &data, &length, level))
        return {};
    std::vector<uint8_t> bytes(data, data + length);
    MKFree(data);
    return bytes;
}

std::vector<uint8_t> JpegBytes(const RasterImage* image, int quality, bool progressive = false, bool topDown = false,
                               ImageCancelCallback progress = nullptr, void* user = nullptr)
{
    uint8_t* data = nullptr;
    size_t length = 0;
    if (!JpegWriteImageToMemory(image, &data, &length, quality, progressive, topDown, progress, user))
        return {};
    std::vector<uint8_t> bytes(data, data + length);
    MKFree(data);
    return bytes;
}

int MeanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.empty())
        return 1000;
    long sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += abs(int(a[i]) - int(b[i]));
    return int(sum / long(a.size()));
}

TEST(PngEncode, RoundTripsEveryPixelType)
{
    struct Case {
        PixelType type;
        PixelType paletteType;
        int colourType;  // in the written header
        PixelType readBack;
    } cases[] = {
        {PixelType::Rgb, PixelType::None, 2, PixelType::Rgb},
        {PixelType::Rgba, PixelType::None, 6, PixelType::Rgba},
        {PixelType::Gray, PixelType::None, 0, PixelType::Gray},
        {PixelType::GrayAlpha, PixelType::None, 4, PixelType::GrayAlpha},
        {PixelType::Alpha, PixelType::None, 0, PixelType::Gray},
        {PixelType::Indexed, PixelType::Rgb, 2, PixelType::Rgb},
        {PixelType::Indexed, PixelType::GrayAlpha, 4, PixelType::GrayAlpha},
    };
    for (const Case& c : cases) {
        ImageRef image = Picture(c.type, 13, 7);
        if (IndexedImage* indexed = image->AsIndexed()) {
            std::vector<uint8_t> entries;
            for (int i = 0; i < 256; ++i)
                entries.insert(entries.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), uint8_t(i ^ 0x5A)});
            indexed->SetPaletteRgba(256, entries.data());
            indexed->SetPaletteType(c.paletteType);
        }
        std::vector<uint8_t> bytes = PngBytes(image.Get(), 6);
        ASSERT_GT(bytes.size(), 33u);
        EXPECT_EQ(8, bytes[24]) << int(c.type);
        EXPECT_EQ(c.colourType, bytes[25]) << int(c.type);
        ImageRef back = Own(PngDecode(bytes.data(), bytes.size()));
        ASSERT_TRUE(back);
        EXPECT_EQ(c.readBack, back->GetPixelType());
        EXPECT_EQ(ImageFileType::Png, back->GetFileType());
        if (c.type == PixelType::Indexed) {
            EXPECT_EQ(ToRgbaTopDown(*image), ToRgbaTopDown(*back)) << int(c.paletteType);
        } else {
            EXPECT_EQ(TopDownSamples(*image), TopDownSamples(*back)) << int(c.type);
        }
        int width = 0, height = 0;
        EXPECT_TRUE(PngReadSize(bytes.data(), bytes.size(), &width, &height));
        EXPECT_EQ(13, width);
        EXPECT_EQ(7, height);
    }
}

TEST(PngEncode, LevelsAreClampedAndFileOutputMatchesMemory)
{
    ImageRef image = Picture(PixelType::Rgba, 64, 64);
    std::vector<uint8_t> stored = PngBytes(image.Get(), 0), best = PngBytes(image.Get(), 9);
    EXPECT_EQ(best, PngBytes(image.Get(), 12));
    EXPECT_EQ(stored, PngBytes(image.Get(), -3));
    EXPECT_GT(stored.size(), best.size());

    ScratchFolder folder;
    std::wstring path = folder.File(L"out.png");
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_TRUE(file);
    EXPECT_TRUE(PngEncode(image.Get(), file, 9));
    fclose(file);
    EXPECT_EQ(best, ReadBytes(path));
}

TEST(PngEncode, MemoryOutputGrowsPastTheRawSize)
{
    // Stored (level 0) noise is larger than width x height x 4 + 256 bytes.
    ImageRef noise = MakeImage(PixelType::Rgba, 300, 300, [](int x, int y, int c) { return Noise(x, y, c) % 256; });
    std::vector<uint8_t> bytes = PngBytes(noise.Get(), 0);
    ASSERT_GT(bytes.size(), size_t(300 * 300 * 4 + 256));
    ImageRef back = Own(PngDecode(bytes.data(), bytes.size()));
    ASSERT_TRUE(back);
    EXPECT_EQ(TopDownSamples(*noise), TopDownSamples(*back));
}

TEST(PngEncode, RefusesNothingToWrite)
{
    uint8_t* data = reinterpret_cast<uint8_t*>(1);
    size_t length = 5;
    EXPECT_FALSE(PngEncode(nullptr, &data, &length, 6));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0u, length);
    ImageRef empty = Own(CreateRasterImage(PixelType::Rgb, 1, 1));
    empty->SetSize(0, 0);
    EXPECT_FALSE(PngEncode(empty.Get(), &data, &length, 6));
    EXPECT_FALSE(PngEncode(Picture(PixelType::Rgb).Get(), static_cast<FILE*>(nullptr), 6));
}

TEST(JpegEncode, PixelTypesAndComponents)
{
    struct Case {
        PixelType type;
        PixelType readBack;
    } cases[] = {{PixelType::Rgb, PixelType::Rgb},   {PixelType::Rgba, PixelType::Rgb},
                 {PixelType::Gray, PixelType::Gray}, {PixelType::GrayAlpha, PixelType::Gray},
                 {PixelType::Alpha, PixelType::Gray}};
    for (const Case& c : cases) {
        ImageRef image = Picture(c.type);
        std::vector<uint8_t> bytes = JpegBytes(image.Get(), 95);
        ASSERT_FALSE(bytes.empty()) << int(c.type);
        ImageRef back = Own(JpegDecode(bytes.data(), bytes.size(), nullptr, nullptr));
        ASSERT_TRUE(back);
        EXPECT_EQ(c.readBack, back->GetPixelType());
        EXPECT_EQ(ImageFileType::Jpeg, back->GetFileType());
        // Compare what the JPEG holds: colour (or the one gray sample) only.
        ImageRef expected = MakeImage(c.readBack, 40, 30, [&](int x, int y, int ch) {
            return image->GetTopRow(y)[x * image->GetBytesPerPixel() + ch];
        });
        EXPECT_LE(MeanDifference(TopDownSamples(*expected), TopDownSamples(*back)), 8) << int(c.type);
    }
    ImageRef indexed = Own(CreateRasterImage(PixelType::Indexed, 4, 4));
    EXPECT_TRUE(JpegBytes(indexed.Get(), 90).empty());
}

TEST(JpegEncode, RowOrderQualityAndProgression)
{
    ImageRef image = Picture(PixelType::Rgb);
    std::vector<uint8_t> normal = JpegBytes(image.Get(), 90);
    std::vector<uint8_t> flipped = JpegBytes(image.Get(), 90, false, true);
    ImageRef upright = Own(JpegDecode(normal.data(), normal.size(), nullptr, nullptr));
    ImageRef upsideDown = Own(JpegDecode(flipped.data(), flipped.size(), nullptr, nullptr));
    ImageRef mirror = MakeImage(PixelType::Rgb, 40, 30, [&](int x, int y, int c) {
        return image->GetTopRow(29 - y)[x * 3 + c];
    });
    EXPECT_LE(MeanDifference(TopDownSamples(*image), TopDownSamples(*upright)), 8);
    EXPECT_LE(MeanDifference(TopDownSamples(*mirror), TopDownSamples(*upsideDown)), 8);
    EXPECT_GT(MeanDifference(TopDownSamples(*image), TopDownSamples(*upsideDown)), 20);

    EXPECT_LT(JpegBytes(image.Get(), 20).size(), normal.size());
    std::vector<uint8_t> progressive = JpegBytes(image.Get(), 90, true);
    const uint8_t sof2[] = {0xFF, 0xC2};
    EXPECT_NE(progressive.end(), std::search(progressive.begin(), progressive.end(), sof2, sof2 + 2));
    EXPECT_EQ(normal.end(), std::search(normal.begin(), normal.end(), sof2, sof2 + 2));
}

struct Progress {
    int calls = 0;
    int cancelAt = 0;  // 0: never
    static bool Ask(void* user)
    {
        Progress* p = static_cast<Progress*>(user);
        return ++p->calls == p->cancelAt;
    }
};

TEST(JpegEncode, ProgressIsAskedPerRowAndCancels)
{
    for (PixelType type : {PixelType::Rgb, PixelType::Rgba}) {
        ImageRef image = Picture(type);
        Progress all;
        EXPECT_FALSE(JpegBytes(image.Get(), 80, false, false, Progress::Ask, &all).empty());
        EXPECT_EQ(30, all.calls);
        Progress first;
        first.cancelAt = 1;
        EXPECT_TRUE(JpegBytes(image.Get(), 80, false, false, Progress::Ask, &first).empty());
        EXPECT_EQ(1, first.calls);
    }
}

TEST(JpegDecode, ProgressCancelsAfterAScanline)
{
    ImageRef image = Picture(PixelType::Rgb);
    std::vector<uint8_t> bytes = JpegBytes(image.Get(), 90);
    Progress first;
    first.cancelAt = 1;
    EXPECT_EQ(nullptr, JpegDecode(bytes.data(), bytes.size(), Progress::Ask, &first));
    EXPECT_EQ(1, first.calls);
    Progress all;
    ImageRef whole = Own(JpegDecode(bytes.data(), bytes.size(), Progress::Ask, &all));
    ASSERT_TRUE(whole);
    EXPECT_EQ(30, all.calls);

    BytesFile file(bytes);
    int width = 0, height = 0;
    EXPECT_TRUE(JpegReadSize(file.Get(), &width, &height));
    EXPECT_EQ(40, width);
    EXPECT_EQ(30, height);
}

TEST(JpegEncode, WritesToAnOpenFile)
{
    ImageRef image = Picture(PixelType::Gray);
    ScratchFolder folder;
    std::wstring path = folder.File(L"out.jpg");
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_TRUE(file);
    EXPECT_TRUE(JpegWriteImage(image.Get(), file, 75, false, false, nullptr, nullptr));
    fclose(file);
    EXPECT_EQ(JpegBytes(image.Get(), 75), ReadBytes(path));
    EXPECT_FALSE(JpegWriteImage(image.Get(), nullptr, 75, false, false, nullptr, nullptr));
}

}  // namespace
