// Tiny files that claim huge pictures fail before anything of that size is
// allocated; pictures up to the bound still load.
#include "ImageTestUtil.h"
#include "addin/imaging/BmpReader.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/ImageLimits.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"
#include "fixtures/AllocationProbe.h"
#include "tests/fixtures/BmpWriter.h"
#include "tests/fixtures/GifWriter.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include <algorithm>
#include <functional>

namespace {

// Anything a refused file may allocate: headers, tables, library state.
const size_t kSmall = 1 << 20;

enum class Reader { Png, Jpeg, Bmp, Gif };

struct ClaimCase {
    const char* name;
    Reader reader;
    std::function<std::vector<uint8_t>()> make;
};

void PutBe32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v >> 24), b[at + 1] = uint8_t(v >> 16), b[at + 2] = uint8_t(v >> 8), b[at + 3] = uint8_t(v);
}

// A text chunk that claims `length` bytes, its checksum right for the bytes
// that are there, placed after the header chunk.
std::vector<uint8_t> PngWithTextClaiming(uint32_t length)
{
    std::vector<uint8_t> b = ReadBytes(ImageFixture(L"png_gray8.png"));
    std::vector<uint8_t> chunk = {0, 0, 0, 0, 't', 'E', 'X', 't', 'k', 0, 'v', 0, 0, 0, 0};
    PutBe32(chunk, 0, length);
    PutBe32(chunk, 11, uint32_t(crc32(0, chunk.data() + 4, 7)));
    b.insert(b.begin() + 33, chunk.begin(), chunk.end());
    return b;
}

std::vector<uint8_t> PngClaiming(const wchar_t* fixture, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> b = ReadBytes(ImageFixture(fixture));
    PutBe32(b, 16, width);
    PutBe32(b, 20, height);
    PutBe32(b, 29, uint32_t(crc32(0, b.data() + 12, 17)));
    return b;
}

// A 16 x 16 JPEG made with libjpeg, its frame header then claiming another
// size; every component at full resolution when `fullColour`.
std::vector<uint8_t> JpegClaiming(bool progressive, bool fullColour, uint16_t width, uint16_t height)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* data = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&cinfo, &data, &length);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (fullColour) {
        for (int c = 0; c < 3; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    }
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    uint8_t row[16 * 3];
    for (int y = 0; y < 16; ++y) {
        for (int i = 0; i < 48; ++i)
            row[i] = uint8_t(i * 5 + y * 11);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> b(data, data + length);
    free(data);
    const uint8_t sof[2] = {0xFF, uint8_t(progressive ? 0xC2 : 0xC0)};
    size_t at = size_t(std::search(b.begin(), b.end(), sof, sof + 2) - b.begin());
    b[at + 5] = uint8_t(height >> 8), b[at + 6] = uint8_t(height);
    b[at + 7] = uint8_t(width >> 8), b[at + 8] = uint8_t(width);
    return b;
}

// A bitmap header over a few bytes of data.
std::vector<uint8_t> BmpClaiming(int width, int height, uint16_t bitCount, uint32_t compression)
{
    BmpFields f;
    f.width = width;
    f.height = height;
    f.bitCount = bitCount;
    f.compression = compression;
    if (bitCount <= 8) {
        f.colours = {0x000000, 0xFFFFFF};
        f.colorsUsed = 2;
    }
    f.data = compression ? std::vector<uint8_t>{3, 1, 0, 1} : std::vector<uint8_t>(64, 0x55);
    return MakeBmp(f);
}

std::vector<uint8_t> GifClaiming(int width, int height)
{
    GifFields gif;
    gif.width = width;
    gif.height = height;
    gif.globalColours = {0x000000, 0xFFFFFF};
    GifFrameFields frame;
    frame.indices = {1};
    gif.frames = {frame};
    std::vector<uint8_t> b = MakeGif(gif);
    // The frame's own width and height follow its ',' and position.
    size_t at = size_t(std::find(b.begin() + 13, b.end(), ',') - b.begin());
    b[at + 5] = uint8_t(width), b[at + 6] = uint8_t(width >> 8);
    b[at + 7] = uint8_t(height), b[at + 8] = uint8_t(height >> 8);
    return b;
}

RasterImage* Decode(Reader reader, const std::vector<uint8_t>& bytes)
{
    if (reader == Reader::Png)
        return PngDecode(bytes.data(), bytes.size());
    if (reader == Reader::Jpeg)
        return JpegDecode(bytes.data(), bytes.size(), nullptr, nullptr);
    BytesFile file(bytes);
    return reader == Reader::Bmp ? BmpDecode(file.Get()) : GifLoadFirstFrame(file.Get());
}

const ClaimCase kClaims[] = {
    {"png one row above the pixel bound", Reader::Png, [] { return PngClaiming(L"png_gray8.png", 8192, 8193); }},
    {"png 30000 x 30000 RGBA", Reader::Png, [] { return PngClaiming(L"png_rgba8.png", 30000, 30000); }},
    {"png 16-bit RGBA 8000 x 9000", Reader::Png, [] { return PngClaiming(L"png_rgba16.png", 8000, 9000); }},
    // libpng only warns about a chunk longer than its limit, then asks for it.
    {"png text chunk of 1.6 GB", Reader::Png, [] { return PngWithTextClaiming(1635018021); }},
    {"jpeg baseline 20000 x 20000", Reader::Jpeg, [] { return JpegClaiming(false, false, 20000, 20000); }},
    {"jpeg progressive 20000 x 20000", Reader::Jpeg, [] { return JpegClaiming(true, false, 20000, 20000); }},
    // Within the pixel bound, but its coefficients (6 bytes a pixel) are not
    // within libjpeg's memory limit.
    {"jpeg progressive full colour 8192 x 8192", Reader::Jpeg, [] { return JpegClaiming(true, true, 8192, 8192); }},
    {"bmp 24 bits 8000 x 8000 in 118 bytes", Reader::Bmp, [] { return BmpClaiming(8000, 8000, 24, 0); }},
    {"bmp 1 bit 1 x 40000000 in 118 bytes", Reader::Bmp, [] { return BmpClaiming(1, 40000000, 1, 0); }},
    {"bmp 8 bits 20000 x 20000", Reader::Bmp, [] { return BmpClaiming(20000, 20000, 8, 0); }},
    {"bmp RLE8 9000 x 9000", Reader::Bmp, [] { return BmpClaiming(9000, 9000, 8, 1); }},
    {"bmp RLE4 one column above the pixel bound", Reader::Bmp, [] { return BmpClaiming(8193, 8192, 4, 2); }},
    {"gif 65535 x 65535", Reader::Gif, [] { return GifClaiming(65535, 65535); }},
    {"gif one row above the pixel bound", Reader::Gif, [] { return GifClaiming(8192, 8193); }},
};

TEST(ImageLimits, HugeClaimsFailBeforeAllocating)
{
    for (const ClaimCase& c : kClaims) {
        std::vector<uint8_t> bytes = c.make();
        ASSERT_LT(bytes.size(), 16384u) << c.name;
        AllocationProbe probe;
        RasterImage* image = Decode(c.reader, bytes);
        EXPECT_EQ(nullptr, image) << c.name;
        if (image)
            image->Release();
        EXPECT_LT(probe.Largest(), kSmall) << c.name;
    }
}

TEST(ImageLimits, SizeBound)
{
    EXPECT_TRUE(ImageSizeAllowed(8192, 8192));
    EXPECT_TRUE(ImageSizeAllowed(kMaxImagePixels, 1));
    EXPECT_FALSE(ImageSizeAllowed(8192, 8193));
    EXPECT_FALSE(ImageSizeAllowed(kMaxImagePixels + 1, 1));
    EXPECT_FALSE(ImageSizeAllowed(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_FALSE(ImageSizeAllowed(0, 5));
    EXPECT_FALSE(ImageSizeAllowed(-3, -3));
}

TEST(ImageLimits, PictureAtTheBoundLoads)
{
    // 8192 x 8192 gray: 64 MB of pixels, the image's one large block.
    ImageRef source = Own(CreateRasterImage(PixelType::Gray, 8192, 8192));
    ASSERT_TRUE(source);
    for (int r = 0; r < 8192; ++r)
        memset(source->GetRow(r), r & 0xFF, 8192);
    uint8_t* png = nullptr;
    size_t length = 0;
    ASSERT_TRUE(PngEncode(source.Get(), &png, &length, 1));
    AllocationProbe probe;
    ImageRef image = Own(PngDecode(png, length));
    MKFree(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(8192, image->GetWidth());
    EXPECT_EQ(8192, image->GetHeight());
    EXPECT_EQ(source->GetRow(300)[7], image->GetRow(300)[7]);
    EXPECT_EQ(size_t(8192) * 8192, probe.Largest());
}

TEST(ImageLimits, LargeProgressiveJpegLoads)
{
    // 4000 x 3000 with every component at full resolution: its coefficients
    // take 72 MB, well within libjpeg's limit.
    ImageRef source = MakeImage(PixelType::Rgb, 4000, 3000, [](int x, int y, int c) { return (x + y * 3 + c * 50) & 0xFF; });
    ASSERT_TRUE(source);
    uint8_t* jpeg = nullptr;
    size_t length = 0;
    ASSERT_TRUE(JpegWriteImageToMemory(source.Get(), &jpeg, &length, 95, true, false, nullptr, nullptr));
    AllocationProbe probe;
    ImageRef image = Own(JpegDecode(jpeg, length, nullptr, nullptr));
    MKFree(jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(4000, image->GetWidth());
    EXPECT_EQ(3000, image->GetHeight());
    EXPECT_LE(probe.Largest(), kMaxImageBytes);
}

TEST(ImageLimits, BmpRunLengthDecodesIntoTheImageAlone)
{
    // 8000 x 8000 run-length data that end at once: the picture is the only
    // large block; no second buffer of its size.
    std::vector<uint8_t> bytes = BmpClaiming(8000, 8000, 8, 1);
    BytesFile file(bytes);
    AllocationProbe probe;
    ImageRef image = Own(BmpDecode(file.Get()));
    ASSERT_TRUE(image);
    const unsigned long long pixels = 8000ull * 8000;
    EXPECT_EQ(pixels, probe.Largest());
    EXPECT_LT(probe.Total(), pixels + kSmall);
    EXPECT_EQ(1, image->GetRow(0)[2]);
    EXPECT_EQ(0, image->GetRow(0)[3]);
    EXPECT_EQ(0, image->GetRow(7999)[7999]);
}

TEST(ImageLimits, StoredBmpNeedsTheBytesItsPixelsTake)
{
    // 2 x 2 at 24 bits: 8 bytes a row; one byte short is refused before the
    // image is made.
    BmpFields f;
    f.width = 2;
    f.height = 2;
    f.data.assign(16, 0x40);
    std::vector<uint8_t> whole = MakeBmp(f);
    {
        BytesFile file(whole);
        EXPECT_TRUE(Own(BmpDecode(file.Get())));
    }
    whole.pop_back();
    BytesFile file(whole);
    AllocationProbe probe;
    EXPECT_FALSE(Own(BmpDecode(file.Get())));
    EXPECT_LT(probe.Largest(), 4096u);
}

}  // namespace
