#include <gtest/gtest.h>

#include <cstdlib>

#include "fixtures/AllocationProbe.h"
#include "JpegEncoder.h"
#include "NarrowPath.h"
#include "ParsedMovie.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfBitmapWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVBitmap.h"
#include "player/engine/PVImage.h"
#include "player/engine/PVJpegDecompressor.h"

namespace {

// A movie of the given character tags, then a RemoveObject2 that shows
// whether the tag loop got past them.
struct ParsedBitmaps {
    explicit ParsedBitmaps(const std::vector<std::pair<int, std::vector<uint8_t>>>& tags) : parsed(File(tags)) {}
    static std::vector<uint8_t> File(const std::vector<std::pair<int, std::vector<uint8_t>>>& tags)
    {
        SwfTimeline movie;
        for (const auto& [code, body] : tags)
            movie.Tag(code, body, true);
        movie.RemoveObject2(1).ShowFrame().End();
        return SwfMakeFile({}, movie.Bytes());
    }
    const PVBitmap* Bitmap(int id) const
    {
        const PVChar* c = parsed.dictionary.Get(id);
        return c && c->Type() == PVChar::kBitmap ? static_cast<const PVBitmap*>(c) : nullptr;
    }
    bool LoopWentOn() const { return parsed.movie && parsed.movie->Frame(0); }

    ParsedMovie parsed;
};

// The image's pixels as "R,G,B ..." rows joined by "/", one value per byte.
std::string Pixels(const PVImage& image)
{
    const int bpp = PVImage::BytesPerPixel(image.Kind());
    std::string text;
    for (int y = 0; y < image.Height(); ++y) {
        if (y)
            text += "/";
        for (int x = 0; x < image.Width(); ++x) {
            text += x ? " " : "";
            for (int c = 0; c < bpp; ++c)
                text += (c ? "," : "") + std::to_string(image.Row(y)[x * bpp + c]);
        }
    }
    return text;
}

struct LosslessCase {
    const char* name;
    int code;
    int format;
    uint16_t width;
    uint16_t height;
    int tableSize;
    std::vector<uint8_t> data;
    int kind;
    bool alpha;
    const char* pixels;
};

TEST(Bitmap, LosslessFormatsGiveTheirPixels)
{
    const LosslessCase cases[] = {
        // Width 3: index rows of 4 bytes; enlarged to 4 by repeating column 0.
        {"palette rgb", 20, 3, 3, 2, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 1, 2, 9, 2, 1, 0, 9}, PVImage::kRGB,
         false, "255,0,0 255,0,0 0,255,0 0,0,255/0,0,255 0,0,255 0,255,0 255,0,0"},
        {"palette rgba", 36, 3, 2, 1, 1, {10, 20, 30, 128, 40, 50, 60, 255, 1, 0, 9, 9}, PVImage::kRGBA, true,
         "40,50,60,255 10,20,30,128"},
        {"palette grey", 20, 3, 2, 1, 1, {7, 7, 7, 200, 200, 200, 1, 0, 0, 0}, PVImage::kGrey, false, "200 7"},
        {"15-bit", 20, 4, 2, 2, 0, {0x7C, 0x00, 0x03, 0xE0, 0x00, 0x1F, 0x7F, 0xFF}, PVImage::kRGB, false,
         "248,0,0 0,248,0/0,0,248 248,248,248"},
        {"24-bit", 20, 5, 2, 1, 0, {0, 10, 20, 30, 0, 40, 50, 60}, PVImage::kRGB, false, "10,20,30 40,50,60"},
        {"32-bit", 36, 5, 2, 1, 0, {128, 10, 20, 30, 255, 40, 50, 60}, PVImage::kRGBA, true,
         "10,20,30,128 40,50,60,255"},
        {"32-bit opaque", 36, 5, 2, 1, 0, {255, 10, 20, 30, 255, 40, 50, 60}, PVImage::kRGB, false,
         "10,20,30 40,50,60"},
        {"32-bit grey", 36, 5, 2, 1, 0, {255, 9, 9, 9, 64, 90, 90, 90}, PVImage::kGreyAlpha, true, "9,255 90,64"},
        {"24-bit grey", 20, 5, 2, 1, 0, {0, 9, 9, 9, 0, 90, 90, 90}, PVImage::kGrey, false, "9 90"},
        // A stream that ends early leaves the rest black, never unwritten.
        {"short stream", 20, 5, 2, 2, 0, {0, 10, 20, 30, 0, 40, 50, 60}, PVImage::kRGB, false,
         "10,20,30 40,50,60/0,0,0 0,0,0"},
    };
    for (const LosslessCase& c : cases) {
        ParsedBitmaps parsed({{c.code, SwfLossless(3, c.format, c.width, c.height, c.tableSize, c.data)}});
        const PVBitmap* bitmap = parsed.Bitmap(3);
        ASSERT_NE(bitmap, nullptr) << c.name;
        EXPECT_TRUE(parsed.LoopWentOn());
        EXPECT_EQ(bitmap->Width(), c.width) << c.name;
        EXPECT_EQ(bitmap->Height(), c.height) << c.name;
        EXPECT_EQ(bitmap->HasAlpha(), c.alpha) << c.name;
        ASSERT_NE(bitmap->Image(), nullptr);
        EXPECT_EQ(bitmap->Image()->Kind(), c.kind) << c.name;
        EXPECT_EQ(Pixels(*bitmap->Image()), c.pixels) << c.name;
    }
}

TEST(Bitmap, SidesBecomePowersOfTwoUpTo2048)
{
    struct Size {
        uint16_t width, height;
        int textureWidth, textureHeight;
    };
    for (const Size& s : {Size{100, 30, 128, 32}, Size{3000, 10, 2048, 16}, Size{1, 1, 1, 1}, Size{2049, 2, 2048, 2}}) {
        std::vector<uint8_t> rows;
        const size_t stride = (size_t(s.width) * 4 + 3) & ~size_t(3);
        for (int y = 0; y < s.height; ++y) {
            for (size_t x = 0; x < stride / 4; ++x) {
                const auto v = uint8_t(x * 7 + y);
                rows.insert(rows.end(), {0, v, uint8_t(v + 1), 200});
            }
        }
        ParsedBitmaps parsed({{20, SwfLossless(3, 5, s.width, s.height, 0, rows)}});
        const PVBitmap* bitmap = parsed.Bitmap(3);
        ASSERT_NE(bitmap, nullptr) << s.width;
        EXPECT_EQ(bitmap->Width(), s.width);
        EXPECT_EQ(bitmap->Height(), s.height);
        ASSERT_NE(bitmap->Image(), nullptr);
        EXPECT_EQ(bitmap->Image()->Width(), s.textureWidth) << s.width;
        EXPECT_EQ(bitmap->Image()->Height(), s.textureHeight) << s.width;
        EXPECT_EQ(bitmap->Image()->Kind(), PVImage::kRGB);
    }
}

TEST(Bitmap, BadLosslessTagsFailAndEndTheLoop)
{
    const std::vector<uint8_t> pixels(8, 0);
    std::vector<uint8_t> brokenStream = SwfLossless(3, 5, 2, 1, 0, pixels);
    brokenStream[brokenStream.size() - 3] ^= 0xFF;
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"format 6", SwfLossless(3, 6, 2, 1, 0, pixels)},
        {"width 0", SwfLossless(3, 5, 0, 1, 0, pixels)},
        {"height 0", SwfLossless(3, 5, 2, 0, 0, pixels)},
        {"broken stream", brokenStream},
    };
    for (const auto& [name, body] : cases) {
        ParsedBitmaps parsed({{20, body}});
        EXPECT_EQ(parsed.Bitmap(3), nullptr) << name;
        EXPECT_FALSE(parsed.LoopWentOn()) << name;
    }
}

TEST(Bitmap, HugeClaimsAreRefusedBeforeAllocating)
{
    const std::vector<uint8_t> pixels(64, 0);
    for (const auto& [width, height] : {std::pair<uint16_t, uint16_t>{65535, 65535}, {4096, 4097}, {65535, 300}}) {
        AllocationProbe probe;
        {
            ParsedBitmaps parsed({{36, SwfLossless(3, 5, width, height, 0, pixels)}});
            EXPECT_EQ(parsed.Bitmap(3), nullptr) << width << "x" << height;
        }
        EXPECT_LT(probe.Largest(), 1u << 20) << width << "x" << height;
    }
}

// 32 x 16 pixels in two flat colours (left and right half), RGB or grey.
std::vector<uint8_t> Picture(int components)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (components == 1)
                pixels.push_back(x < 16 ? 40 : 200);
            else
                pixels.insert(pixels.end(), {uint8_t(x < 16 ? 220 : 20), 30, uint8_t(x < 16 ? 40 : 240)});
        }
    }
    return pixels;
}

// Each pixel of `image` is within 4 of Picture(components), but for the
// columns next to the edge between the colours, which subsampled colour
// blurs; `alpha` is exact.
void ExpectPicture(const PVImage& image, int components, const std::vector<uint8_t>* alpha, const char* name)
{
    ASSERT_EQ(image.Width(), 32) << name;
    ASSERT_EQ(image.Height(), 16) << name;
    const std::vector<uint8_t> picture = Picture(components);
    const int bpp = PVImage::BytesPerPixel(image.Kind());
    int bad = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t* p = image.Row(y) + x * bpp;
            for (int c = 0; c < components && (x < 14 || x > 17); ++c)
                bad += std::abs(p[c] - picture[(y * 32 + x) * components + c]) > 4;
            if (alpha)
                bad += p[bpp - 1] != (*alpha)[y * 32 + x];

        }
    }
    EXPECT_EQ(bad, 0) << name;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Bitmap, JpegTagsDecodeEveryWayTheTablesCome)
{
    const std::vector<uint8_t> rgb = EncodeJpeg(32, 16, 3, Picture(3));
    const std::vector<uint8_t> grey = EncodeJpeg(32, 16, 1, Picture(1));
    const JpegParts parts = EncodeAbbreviatedJpeg(32, 16, 3, Picture(3));
    const std::vector<uint8_t> swapped = Concat({0xFF, 0xD9, 0xFF, 0xD8}, rgb);
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::vector<uint8_t>>> tags;
        int components;
    };
    const Case cases[] = {
        {"tables then DefineBits", {{8, parts.tables}, {6, SwfIdAndBytes(3, parts.image)}}, 3},
        {"tables with swapped markers", {{8, Concat({0xFF, 0xD9, 0xFF, 0xD8}, parts.tables)}, {6, SwfIdAndBytes(3, parts.image)}}, 3},
        {"empty tables, whole stream", {{8, {}}, {6, SwfIdAndBytes(3, rgb)}}, 3},
        {"JPEG2", {{21, SwfIdAndBytes(3, rgb)}}, 3},
        {"JPEG2 grey", {{21, SwfIdAndBytes(3, grey)}}, 1},
        {"JPEG2 tables and image streams", {{21, SwfIdAndBytes(3, Concat(parts.tables, parts.image))}}, 3},
        {"JPEG2 swapped markers", {{21, SwfIdAndBytes(3, swapped)}}, 3},
    };
    for (const Case& c : cases) {
        ParsedBitmaps parsed(c.tags);
        const PVBitmap* bitmap = parsed.Bitmap(3);
        ASSERT_NE(bitmap, nullptr) << c.name;
        EXPECT_TRUE(parsed.LoopWentOn()) << c.name;
        EXPECT_FALSE(bitmap->HasAlpha()) << c.name;
        EXPECT_EQ(bitmap->Image()->Kind(), c.components == 1 ? PVImage::kGrey : PVImage::kRGB) << c.name;
        ExpectPicture(*bitmap->Image(), c.components, nullptr, c.name);
    }
}

TEST(Bitmap, Jpeg3TakesItsAlphaFromTheDeflatedBytes)
{
    std::vector<uint8_t> alpha(32 * 16);
    for (size_t i = 0; i < alpha.size(); ++i)
        alpha[i] = uint8_t(i * 3);
    for (int components : {3, 1}) {
        const std::vector<uint8_t> jpeg = EncodeJpeg(32, 16, components, Picture(components));
        ParsedBitmaps parsed({{35, SwfJpeg3(3, jpeg, SwfDeflate(alpha))}, {35, SwfJpeg3(4, Concat({0xFF, 0xD9, 0xFF, 0xD8}, jpeg), SwfDeflate(alpha))}});
        for (int id : {3, 4}) {
            const PVBitmap* bitmap = parsed.Bitmap(id);
            ASSERT_NE(bitmap, nullptr) << components;
            EXPECT_TRUE(bitmap->HasAlpha());
            EXPECT_EQ(bitmap->Image()->Kind(), components == 1 ? PVImage::kGreyAlpha : PVImage::kRGBA);
            ExpectPicture(*bitmap->Image(), components, &alpha, "JPEG3");
        }
    }
}

TEST(Bitmap, BadJpegTagsFailAndEndTheLoop)
{
    const std::vector<uint8_t> rgb = EncodeJpeg(32, 16, 3, Picture(3));
    const JpegParts parts = EncodeAbbreviatedJpeg(32, 16, 3, Picture(3));
    std::vector<uint8_t> cmyk = EncodeJpeg(32, 16, 4, std::vector<uint8_t>(32 * 16 * 4, 77));
    std::vector<uint8_t> damagedAlpha = SwfDeflate(std::vector<uint8_t>(32 * 16, 1));
    damagedAlpha.resize(damagedAlpha.size() / 2);
    std::vector<uint8_t> garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 37);
    const std::pair<const char*, std::vector<std::pair<int, std::vector<uint8_t>>>> cases[] = {
        {"DefineBits before any tables", {{6, SwfIdAndBytes(3, rgb)}}},
        {"abbreviated image without tables", {{21, SwfIdAndBytes(3, parts.image)}}},
        {"tables only", {{21, SwfIdAndBytes(3, parts.tables)}}},
        {"not a JPEG", {{21, SwfIdAndBytes(3, garbage)}}},
        {"broken tables", {{8, garbage}}},
        {"CMYK", {{21, SwfIdAndBytes(3, cmyk)}}},
        {"cut alpha", {{35, SwfJpeg3(3, rgb, damagedAlpha)}}},
        {"JPEG length past the tag", {{35, SwfJpeg3(3, rgb, {})}}},
    };
    for (const auto& [name, tags] : cases) {
        auto body = tags;
        if (std::string(name) == "JPEG length past the tag")
            body[0].second[2] += 1;
        ParsedBitmaps parsed(body);
        EXPECT_EQ(parsed.Bitmap(3), nullptr) << name;
        EXPECT_FALSE(parsed.LoopWentOn()) << name;
    }
}

TEST(Bitmap, DecompressorRecoversFromErrorsKeepingItsTables)
{
    const JpegParts parts = EncodeAbbreviatedJpeg(32, 16, 3, Picture(3));
    const std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF, 0xC0, 0, 3, 1, 2, 3};
    PVJpegDecompressor* decompressor = PVJpegDecompressor::Create();
    ASSERT_NE(decompressor, nullptr);
    ASSERT_TRUE(decompressor->ReadTables(parts.tables.data(), uint32_t(parts.tables.size())));
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(decompressor->Decode(garbage.data(), uint32_t(garbage.size()), false), nullptr);
        PVImage* image = decompressor->Decode(parts.image.data(), uint32_t(parts.image.size()), false);
        ASSERT_NE(image, nullptr) << round;
        ExpectPicture(*image, 3, nullptr, "after an error");
        delete image;
    }
    delete decompressor;
}

TEST(Bitmap, JpegOfTooManyPixelsIsRefusedBeforeAllocating)
{
    // A progressive picture would have its coefficients for the whole image
    // allocated when decompression starts.
    for (bool progressive : {false, true}) {
        std::vector<uint8_t> jpeg = EncodeJpeg(32, 16, 3, Picture(3), progressive);
        // Height and width of the frame header: 4097 x 4096.
        for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
            if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
                jpeg[i + 5] = 0x10;
                jpeg[i + 6] = 0x01;
                jpeg[i + 7] = 0x10;
                jpeg[i + 8] = 0x00;
                break;
            }
        }
        AllocationProbe probe;
        {
            ParsedBitmaps parsed({{21, SwfIdAndBytes(3, jpeg)}});
            EXPECT_EQ(parsed.Bitmap(3), nullptr) << progressive;
        }
        EXPECT_LT(probe.Largest(), 4u << 20) << progressive;
    }
}

TEST(Bitmap, TakenImageBelongsToTheCallerAndTheTextureIsReleasedWithTheBitmap)
{
    struct Released {
        void* context = nullptr;
        uint32_t handle = 0;
        int calls = 0;
    } released;
    auto release = [](void* context, uint32_t handle) {
        auto* r = static_cast<Released*>(context);
        r->context = context;
        r->handle = handle;
        ++r->calls;
    };
    auto* bitmap = new PVBitmap(3);
    ASSERT_TRUE(bitmap->SetImage(PVImage::Create(PVImage::kRGB, 3, 5)));
    EXPECT_EQ(bitmap->Image()->Width(), 4);
    EXPECT_EQ(bitmap->Image()->Height(), 8);
    PVImage* image = bitmap->TakeImage(release, &released, 17);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(bitmap->TakeImage(release, &released, 18), nullptr);
    EXPECT_EQ(bitmap->TextureHandle(), 17u);
    delete image;
    EXPECT_EQ(released.calls, 0);
    bitmap->Release();
    EXPECT_EQ(released.calls, 1);
    EXPECT_EQ(released.handle, 17u);
    EXPECT_EQ(released.context, &released);
}

TEST(Bitmap, FfmpegJpegFramesBecomeTextureSizedImages)
{
    ParsedMovie parsed(NarrowPath(FixturePath(L"ffmpeg_mjpeg_mp3.swf")).c_str());
    ASSERT_NE(parsed.movie, nullptr);
    int bitmaps = 0;
    for (int id = 0; id < parsed.dictionary.SlotCount(); ++id) {
        const PVChar* c = parsed.dictionary.Get(id);
        if (!c || c->Type() != PVChar::kBitmap)
            continue;
        const auto* bitmap = static_cast<const PVBitmap*>(c);
        ++bitmaps;
        EXPECT_EQ(bitmap->Width(), 320);
        EXPECT_EQ(bitmap->Height(), 240);
        ASSERT_NE(bitmap->Image(), nullptr);
        EXPECT_EQ(bitmap->Image()->Width(), 512);
        EXPECT_EQ(bitmap->Image()->Height(), 256);
        EXPECT_EQ(bitmap->Image()->Kind(), PVImage::kRGB);
    }
    // Each frame replaces the one image, under one id or a few.
    EXPECT_GE(bitmaps, 1);
    EXPECT_EQ(parsed.movie->FrameCount(), 24);
}

}  // namespace
