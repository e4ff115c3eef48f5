// Damaged and lying files end in clean failures, never in a crash, a hang or
// a huge allocation.
#include "ImageTestUtil.h"
#include "addin/imaging/BmpReader.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"
#include "tests/fixtures/GifWriter.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <functional>

namespace {

enum class Outcome { Fails, Loads };

struct HostileCase {
    const char* name;
    const wchar_t* base;  // fixture the bytes start from; null for a made GIF
    std::function<void(std::vector<uint8_t>&)> damage;
    Outcome outcome;
};

size_t Find(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& what, size_t from = 0)
{
    auto at = std::search(bytes.begin() + from, bytes.end(), what.begin(), what.end());
    return at == bytes.end() ? bytes.size() : size_t(at - bytes.begin());
}

void PutBe32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v >> 24), b[at + 1] = uint8_t(v >> 16), b[at + 2] = uint8_t(v >> 8), b[at + 3] = uint8_t(v);
}

void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8), b[at + 2] = uint8_t(v >> 16), b[at + 3] = uint8_t(v >> 24);
}

// A PNG's header with another size, its checksum made right again, so the
// decoder believes it.
std::function<void(std::vector<uint8_t>&)> PngSize(uint32_t width, uint32_t height)
{
    return [=](std::vector<uint8_t>& b) {
        PutBe32(b, 16, width);
        PutBe32(b, 20, height);
        PutBe32(b, 29, uint32_t(crc32(0, b.data() + 12, 17)));
    };
}

std::function<void(std::vector<uint8_t>&)> Cut(size_t length)
{
    return [=](std::vector<uint8_t>& b) { b.resize(std::min(length, b.size())); };
}

std::function<void(std::vector<uint8_t>&)> CutFraction(int percent)
{
    return [=](std::vector<uint8_t>& b) { b.resize(b.size() * percent / 100); };
}

// Cuts the file in the middle of the chunk or marker segment that starts with
// the given bytes.
std::function<void(std::vector<uint8_t>&)> CutInside(std::vector<uint8_t> marker)
{
    return [=](std::vector<uint8_t>& b) { b.resize(Find(b, marker) + 40); };
}

// The first JPEG frame header's height and width.
std::function<void(std::vector<uint8_t>&)> JpegSize(uint16_t width, uint16_t height)
{
    return [=](std::vector<uint8_t>& b) {
        size_t at = Find(b, {0xFF, 0xC0});
        at = at < b.size() ? at : Find(b, {0xFF, 0xC2});
        b[at + 5] = uint8_t(height >> 8), b[at + 6] = uint8_t(height);
        b[at + 7] = uint8_t(width >> 8), b[at + 8] = uint8_t(width);
    };
}

std::function<void(std::vector<uint8_t>&)> Poke32(size_t at, uint32_t v)
{
    return [=](std::vector<uint8_t>& b) { PutLe32(b, at, v); };
}

std::function<void(std::vector<uint8_t>&)> Poke16(size_t at, uint16_t v)
{
    return [=](std::vector<uint8_t>& b) { b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8); };
}

// A made GIF: 4-colour global table, one 5 x 3 frame; the descriptor's ','
// stands at byte 25 and the LZW code size at byte 35.
std::vector<uint8_t> SmallGif()
{
    GifFields gif;
    gif.width = 5;
    gif.height = 3;
    gif.globalColours = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00};
    GifFrameFields frame;
    frame.width = 5;
    frame.height = 3;
    for (int i = 0; i < 15; ++i)
        frame.indices.push_back(uint8_t(i % 4));
    gif.frames = {frame};
    return MakeGif(gif);
}

const HostileCase kCases[] = {
    {"png cut in signature", L"png_rgba8.png", Cut(7), Outcome::Fails},
    {"png cut in header", L"png_rgba8.png", Cut(20), Outcome::Fails},
    {"png cut in image data", L"png_rgba8.png", CutInside({'I', 'D', 'A', 'T'}), Outcome::Fails},
    {"png 60000 x 60000 RGBA", L"png_rgba8.png", PngSize(60000, 60000), Outcome::Fails},
    {"png wider than the library allows", L"png_gray8.png", PngSize(0x7FFFFFFF, 2), Outcome::Fails},
    {"png zero width", L"png_gray8.png", PngSize(0, 29), Outcome::Fails},
    {"png more rows than data", L"png_gray8.png", PngSize(37, 5000), Outcome::Fails},
    {"png bad header checksum", L"png_gray8.png", [](std::vector<uint8_t>& b) { b[30] ^= 0x55; }, Outcome::Fails},
    {"png damaged deflate data", L"png_rgb8.png",
     [](std::vector<uint8_t>& b) {
         size_t at = Find(b, {'I', 'D', 'A', 'T'});
         uint32_t n = uint32_t(b[at - 4]) << 24 | b[at - 3] << 16 | b[at - 2] << 8 | b[at - 1];
         memset(b.data() + at + 6, 0xA5, 20);
         PutBe32(b, at + 4 + n, uint32_t(crc32(0, b.data() + at, 4 + n)));
     },
     Outcome::Fails},
    {"jpeg cut after the start marker", L"jpg_rgb.jpg", Cut(2), Outcome::Fails},
    {"jpeg cut in the tables", L"jpg_rgb.jpg", Cut(100), Outcome::Fails},
    {"jpeg cut in the scan", L"jpg_rgb.jpg", CutFraction(60), Outcome::Loads},
    {"jpeg cut in a progressive scan", L"jpg_progressive.jpg", CutFraction(50), Outcome::Loads},
    {"jpeg 65000 x 65000", L"jpg_rgb.jpg", JpegSize(65000, 65000), Outcome::Fails},
    {"jpeg progressive 60000 x 60000", L"jpg_progressive.jpg", JpegSize(60000, 60000), Outcome::Fails},
    {"jpeg zero height", L"jpg_gray.jpg", JpegSize(37, 0), Outcome::Fails},
    {"jpeg comment length 1", L"jpg_rgb.jpg",
     [](std::vector<uint8_t>& b) { b.insert(b.begin() + 2, {0xFF, 0xFE, 0x00, 0x01, 0x41, 0x42}); }, Outcome::Fails},
    {"jpeg comment longer than the file", L"jpg_rgb.jpg",
     [](std::vector<uint8_t>& b) { b.insert(b.begin() + 2, {0xFF, 0xFE, 0xFF, 0xF0, 0x41}); }, Outcome::Fails},
    {"jpeg garbage after the start marker", L"jpg_rgb.jpg",
     [](std::vector<uint8_t>& b) {
         b.resize(2);
         b.resize(4000, 0x11);
     },
     Outcome::Fails},
    {"bmp cut in file header", L"bmp_24.bmp", Cut(10), Outcome::Fails},
    {"bmp cut in info header", L"bmp_24.bmp", Cut(30), Outcome::Fails},
    {"bmp without pixel data", L"bmp_24.bmp", Cut(54), Outcome::Fails},
    {"bmp last row short", L"bmp_24.bmp", [](std::vector<uint8_t>& b) { b.pop_back(); }, Outcome::Fails},
    {"bmp cut in colour table", L"bmp_8.bmp", Cut(300), Outcome::Fails},
    {"bmp cut in run-length data", L"bmp_rle8.bmp", CutFraction(70), Outcome::Loads},
    {"bmp huge width and height", L"bmp_24.bmp",
     [](std::vector<uint8_t>& b) { PutLe32(b, 18, 0x7FFFFFFF), PutLe32(b, 22, 0x7FFFFFFF); }, Outcome::Fails},
    {"bmp 46341 x 46341 at 24 bits", L"bmp_24.bmp",
     [](std::vector<uint8_t>& b) { PutLe32(b, 18, 46341), PutLe32(b, 22, 46341); }, Outcome::Fails},
    {"bmp height of -2^31", L"bmp_24.bmp", Poke32(22, 0x80000000), Outcome::Fails},
    {"bmp colour count 2^32 - 1", L"bmp_8.bmp", Poke32(46, 0xFFFFFFFF), Outcome::Loads},
    {"bmp colour count past the file", L"bmp_4.bmp",
     [](std::vector<uint8_t>& b) { PutLe32(b, 46, 0x10000000), PutLe32(b, 10, 0x40000000); }, Outcome::Fails},
    {"bmp header size 2^32 - 16", L"bmp_24.bmp", Poke32(14, 0xFFFFFFF0), Outcome::Fails},
    {"bmp header size 8", L"bmp_24.bmp", Poke32(14, 8), Outcome::Fails},
    {"bmp 2 bits per pixel", L"bmp_4.bmp", Poke16(28, 2), Outcome::Fails},
    {"bmp embedded png compression", L"bmp_24.bmp", Poke32(30, 5), Outcome::Fails},
    {"bmp run-length 24 bits", L"bmp_24.bmp", Poke32(30, 1), Outcome::Fails},
    {"bmp data offset past the end", L"bmp_24.bmp", Poke32(10, 0x7FFFFFFF), Outcome::Fails},
    {"gif cut in signature", nullptr, Cut(4), Outcome::Fails},
    {"gif cut in screen", nullptr, Cut(10), Outcome::Fails},
    {"gif cut in colour table", nullptr, Cut(18), Outcome::Fails},
    {"gif cut in descriptor", nullptr, Cut(30), Outcome::Fails},
    {"gif cut in image data", nullptr, Cut(40), Outcome::Fails},
    {"gif frame 65535 x 65535", nullptr,
     [](std::vector<uint8_t>& b) { b[30] = b[31] = b[32] = b[33] = 0xFF; }, Outcome::Fails},
    {"gif frame 0 wide", nullptr, [](std::vector<uint8_t>& b) { b[30] = b[31] = 0; }, Outcome::Fails},
    {"gif code size 12", nullptr, [](std::vector<uint8_t>& b) { b[35] = 12; }, Outcome::Fails},
    {"gif code size 0", nullptr, [](std::vector<uint8_t>& b) { b[35] = 0; }, Outcome::Fails},
    {"gif garbage codes", nullptr, [](std::vector<uint8_t>& b) { memset(b.data() + 37, 0xFF, 6); }, Outcome::Fails},
    {"gif no colour table", nullptr,
     [](std::vector<uint8_t>& b) {
         b[10] &= 0x7F;  // no global table: drop it
         b.erase(b.begin() + 13, b.begin() + 25);
     },
     Outcome::Fails},
};

// Decodes by the base's kind: from a file, and from memory where the codec
// reads memory too; both must agree.
bool DecodesToImage(const HostileCase& c, const std::vector<uint8_t>& bytes)
{
    std::wstring base = c.base ? c.base : L"x.gif";
    std::wstring ext = base.substr(base.rfind(L'.'));
    BytesFile file(bytes);
    if (!file.Get())
        return false;
    RasterImage* image = nullptr;
    RasterImage* fromMemory = nullptr;
    bool viaMemory = false;
    if (std::string(c.name).rfind("jpeg", 0) == 0) {
        image = JpegDecode(file.Get(), nullptr, nullptr);
        fromMemory = JpegDecode(bytes.data(), bytes.size(), nullptr, nullptr);
        viaMemory = true;
    } else if (ext == L".png") {
        image = PngDecode(file.Get());
        fromMemory = PngDecode(bytes.data(), bytes.size());
        viaMemory = true;
    } else if (ext == L".bmp") {
        image = BmpDecode(file.Get());
    } else {
        image = GifLoadFirstFrame(file.Get());
    }
    if (viaMemory) {
        EXPECT_EQ(image != nullptr, fromMemory != nullptr) << c.name;
        if (image && fromMemory) {
            EXPECT_EQ(TopDownSamples(*image), TopDownSamples(*fromMemory)) << c.name;
        }
    }
    if (fromMemory)
        fromMemory->Release();
    if (image)
        image->Release();
    return image != nullptr;
}

TEST(HostileFiles, FailCleanly)
{
    for (const HostileCase& c : kCases) {
        std::vector<uint8_t> bytes = c.base ? ReadBytes(ImageFixture(c.base)) : SmallGif();
        ASSERT_FALSE(bytes.empty()) << c.name;
        ASSERT_TRUE(DecodesToImage(c, bytes)) << "undamaged base of " << c.name;
        c.damage(bytes);
        EXPECT_EQ(c.outcome == Outcome::Loads, DecodesToImage(c, bytes)) << c.name;
    }
}

// A baseline JPEG of two components (no colour space libjpeg knows), made
// with libjpeg itself: too few samples a pixel for an RGB picture.
std::vector<uint8_t> TwoComponentJpeg(int width, int height)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* data = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&cinfo, &data, &length);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 2;
    cinfo.in_color_space = JCS_UNKNOWN;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(width) * 2);
    for (int y = 0; y < height; ++y) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = uint8_t(i * 9 + y * 5);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(data, data + length);
    free(data);
    return bytes;
}

TEST(HostileFiles, JpegOfTwoComponentsIsRefused)
{
    // Taking three samples of each two-sample pixel would read past the row.
    std::vector<uint8_t> bytes = TwoComponentJpeg(9, 4);
    ASSERT_FALSE(bytes.empty());
    int width = 0, height = 0;
    EXPECT_TRUE(JpegReadSize(bytes.data(), bytes.size(), &width, &height));
    EXPECT_EQ(9, width);
    EXPECT_EQ(nullptr, JpegDecode(bytes.data(), bytes.size(), nullptr, nullptr));
    BytesFile file(bytes);
    EXPECT_EQ(nullptr, JpegDecode(file.Get(), nullptr, nullptr));
}

TEST(HostileFiles, EmptyInputs)
{
    EXPECT_EQ(nullptr, PngDecode(nullptr, 10));
    EXPECT_EQ(nullptr, PngDecode(reinterpret_cast<const uint8_t*>("x"), 0));
    EXPECT_EQ(nullptr, JpegDecode(nullptr, 10, nullptr, nullptr));
    EXPECT_EQ(nullptr, PngDecode(static_cast<FILE*>(nullptr)));
    EXPECT_EQ(nullptr, BmpDecode(nullptr));
    EXPECT_EQ(nullptr, GifLoadFirstFrame(nullptr));
    BytesFile empty({});
    EXPECT_EQ(nullptr, BmpDecode(empty.Get()));
    int width, height;
    EXPECT_FALSE(JpegReadSize(empty.Get(), &width, &height));
}

}  // namespace

namespace {

// Each call has its own recovery point: failing and succeeding decodes may
// run on several threads at once.
struct DecodeWork {
    std::vector<uint8_t> good, bad, expected;
    LONG failures = 0;
};

DWORD WINAPI DecodeRepeatedly(void* parameter)
{
    DecodeWork* w = static_cast<DecodeWork*>(parameter);
    for (int i = 0; i < 40; ++i) {
        RasterImage* image = JpegDecode(w->good.data(), w->good.size(), nullptr, nullptr);
        if (!image || TopDownSamples(*image) != w->expected)
            InterlockedIncrement(&w->failures);
        if (image)
            image->Release();
        if (JpegDecode(w->bad.data(), w->bad.size(), nullptr, nullptr))
            InterlockedIncrement(&w->failures);
    }
    return 0;
}

TEST(HostileFiles, JpegDecodesOnSeveralThreadsAtOnce)
{
    DecodeWork work;
    work.good = ReadBytes(ImageFixture(L"jpg_rgb.jpg"));
    work.bad = work.good;
    work.bad.insert(work.bad.begin() + 2, {0xFF, 0xFE, 0x00, 0x01});
    ImageRef reference = Own(JpegDecode(work.good.data(), work.good.size(), nullptr, nullptr));
    ASSERT_TRUE(reference);
    work.expected = TopDownSamples(*reference);
    HANDLE threads[4];
    for (HANDLE& thread : threads)
        thread = CreateThread(nullptr, 0, DecodeRepeatedly, &work, 0, nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    EXPECT_EQ(0, work.failures);
}

}  // namespace
