#include "ImageTestUtil.h"
#include "addin/imaging/BmpReader.h"
#include "addin/imaging/IndexedImage.h"
#include "tests/fixtures/BmpWriter.h"

#include <gtest/gtest.h>

namespace {

ImageRef Decode(const std::vector<uint8_t>& bytes)
{
    BytesFile file(bytes);
    return Own(BmpDecode(file.Get()));
}

std::vector<uint8_t> Le32(uint32_t v)
{
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

TEST(BmpReader, SixteenBitPixels)
{
    // 0x7FFF: white in 5-5-5 (no bit fields) reads as 248 in each channel.
    BmpFields f;
    f.width = 1;
    f.bitCount = 16;
    f.data = {0xFF, 0x7F, 0, 0};
    ImageRef image = Decode(MakeBmp(f));
    ASSERT_TRUE(image);
    EXPECT_EQ((std::vector<uint8_t>{248, 248, 248}), TopDownSamples(*image));

    // The same bits with 5-6-5 masks; and 5-5-5 masks after the header are
    // read as 5-5-5, not taken for 5-6-5 because the red mask is not zero.
    f.compression = 3;
    std::vector<uint8_t> masks565 = Le32(0xF800), masks555 = Le32(0x7C00);
    for (uint32_t m : {0x07E0u, 0x001Fu}) {
        for (uint8_t b : Le32(m))
            masks565.push_back(b);
    }
    for (uint32_t m : {0x03E0u, 0x001Fu}) {
        for (uint8_t b : Le32(m))
            masks555.push_back(b);
    }
    f.afterHeader = masks565;
    EXPECT_EQ((std::vector<uint8_t>{120, 252, 248}), TopDownSamples(*Decode(MakeBmp(f))));
    f.afterHeader = masks555;
    EXPECT_EQ((std::vector<uint8_t>{248, 248, 248}), TopDownSamples(*Decode(MakeBmp(f))));
}

TEST(BmpReader, PalettesAndSignature)
{
    BmpFields f;
    f.width = 3;
    f.bitCount = 1;
    f.colours = {0x102030, 0xA0B0C0};  // colors used stays 0: two entries by the bit count
    f.data = {0xA0, 0, 0, 0};          // bits 1 0 1
    std::vector<uint8_t> bytes = MakeBmp(f);
    bytes[0] = 'b';
    bytes[1] = 'm';
    ImageRef image = Decode(bytes);
    ASSERT_TRUE(image);
    ASSERT_TRUE(image->AsIndexed());
    EXPECT_EQ(2, image->AsIndexed()->GetPaletteCount());
    EXPECT_EQ((std::vector<uint8_t>{1, 0, 1}), TopDownSamples(*image));
    EXPECT_EQ(0xA0, image->AsIndexed()->GetPaletteEntry(1)[0]);
    bytes[0] = 'B';
    bytes[1] = 'A';
    EXPECT_FALSE(Decode(bytes));
}

TEST(BmpReader, RunLengthData)
{
    BmpFields f;
    f.width = 6;
    f.height = 2;
    f.bitCount = 8;
    f.compression = 1;
    f.colours = std::vector<uint32_t>(10, 0x808080);
    f.colorsUsed = 10;
    // A run of 3 pixels of value 9, end of line, end of bitmap.
    f.data = {3, 9, 0, 0, 0, 1};
    ImageRef image = Decode(MakeBmp(f));
    ASSERT_TRUE(image);
    EXPECT_EQ((std::vector<uint8_t>{9, 9, 9, 0, 0, 0}), std::vector<uint8_t>(image->GetRow(0), image->GetRow(0) + 6));
    EXPECT_EQ(std::vector<uint8_t>(6, 0), std::vector<uint8_t>(image->GetRow(1), image->GetRow(1) + 6));

    // Runs, absolute runs and deltas past the row or the bitmap are clipped:
    // a run of 200, an absolute run of 9 (odd: padded), a delta far away.
    f.data = {200, 4, 0, 0, 0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 2, 250, 250, 5, 5, 0, 1};
    image = Decode(MakeBmp(f));
    ASSERT_TRUE(image);
    EXPECT_EQ(std::vector<uint8_t>(6, 4), std::vector<uint8_t>(image->GetRow(0), image->GetRow(0) + 6));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 5, 6}), std::vector<uint8_t>(image->GetRow(1), image->GetRow(1) + 6));

    // RLE4 nibbles: a run of 5 alternating 1 and 2, then an absolute run of 3.
    f.bitCount = 4;
    f.compression = 2;
    f.height = 1;
    f.data = {5, 0x12, 0, 3, 0x34, 0x50, 0, 1};
    image = Decode(MakeBmp(f));
    ASSERT_TRUE(image);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 1, 2, 1, 3}), TopDownSamples(*image));

    // Data that end before the rows are used up end the decode: the picture
    // loads with the pixels they did not reach at index 0, also when they end
    // inside an absolute run.
    for (const auto& [data, expected] : std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>>{
             {{5, 0x12}, {1, 2, 1, 2, 1, 0}},
             {{0, 4, 0x34}, {3, 4, 0, 0, 0, 0}},
             {{2, 0x77, 0, 2, 3}, {7, 7, 0, 0, 0, 0}},
         }) {
        f.data = data;
        image = Decode(MakeBmp(f));
        ASSERT_TRUE(image);
        EXPECT_EQ(expected, TopDownSamples(*image));
    }
}

TEST(BmpReader, RunLengthDataThatEndEarlyLeaveTheRestOfTheBuffer)
{
    // Into a buffer of 9s: pixels the data do not reach keep their value,
    // also inside an absolute run cut short; the answer is true throughout.
    struct Case {
        BmpRleMode mode;
        std::vector<uint8_t> data;
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {BmpRleMode::Rle8, {0, 4, 7, 8}, {7, 8, 9, 9, 9, 9}},
        {BmpRleMode::Rle4, {0, 5, 0x34}, {3, 4, 9, 9, 9, 9}},
        {BmpRleMode::Rle4, {3, 0x12}, {1, 2, 1, 9, 9, 9}},
        {BmpRleMode::Rle8, {2, 5, 0}, {5, 5, 9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        BytesFile file(c.data);
        std::vector<uint8_t> buffer(6, 9);
        EXPECT_TRUE(BmpDecodeRle(file.Get(), buffer.data(), c.mode, 6, 1));
        EXPECT_EQ(c.expected, buffer);
    }
}

TEST(BmpReader, ThirtyTwoBitAlpha)
{
    // Files commonly write the unused fourth byte as 0: 0 everywhere loads
    // opaque; any other value anywhere makes every fourth byte alpha as stored.
    struct Case {
        std::vector<uint8_t> data;      // B, G, R, fourth byte; two pixels
        std::vector<uint8_t> expected;  // R, G, B, A
    };
    const Case cases[] = {
        {{1, 2, 3, 0, 4, 5, 6, 0}, {3, 2, 1, 255, 6, 5, 4, 255}},  // all 0: opaque
        {{1, 2, 3, 0, 4, 5, 6, 9}, {3, 2, 1, 0, 6, 5, 4, 9}},      // mixed: as stored
        {{1, 2, 3, 255, 4, 5, 6, 0}, {3, 2, 1, 255, 6, 5, 4, 0}},
        {{1, 2, 3, 128, 4, 5, 6, 7}, {3, 2, 1, 128, 6, 5, 4, 7}},
    };
    for (const Case& c : cases) {
        BmpFields f;
        f.width = 2;
        f.bitCount = 32;
        f.data = c.data;
        ImageRef image = Decode(MakeBmp(f));
        ASSERT_TRUE(image);
        EXPECT_EQ(PixelType::Rgba, image->GetPixelType());
        EXPECT_EQ(c.expected, TopDownSamples(*image)) << int(c.data[3]) << "," << int(c.data[7]);
    }
    // Over two rows, a non-zero byte in the last row only still counts.
    BmpFields f;
    f.width = 1;
    f.height = 2;
    f.bitCount = 32;
    f.data = {1, 2, 3, 0, 4, 5, 6, 1};
    EXPECT_EQ((std::vector<uint8_t>{6, 5, 4, 1, 3, 2, 1, 0}), TopDownSamples(*Decode(MakeBmp(f))));

    // A long header that declares an alpha mask means what it says.
    f = BmpFields();
    f.width = 2;
    f.bitCount = 32;
    f.data = {1, 2, 3, 0, 4, 5, 6, 0};
    f.compression = 3;
    f.headerSize = 108;
    for (uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
        for (uint8_t b : Le32(m))
            f.afterHeader.push_back(b);
    }
    f.afterHeader.resize(108 - 40, 0);
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}), TopDownSamples(*Decode(MakeBmp(f))));
}

TEST(BmpReader, SizeQueries)
{
    BmpFields f;
    f.width = 300;
    f.height = -200;
    BytesFile topDown(MakeBmp(f));
    int width = 0, height = 0;
    EXPECT_TRUE(BmpReadSize(topDown.Get(), &width, &height));
    EXPECT_EQ(300, width);
    EXPECT_EQ(200, height);

    f.coreHeader = true;
    f.height = 7;
    BytesFile core(MakeBmp(f));
    EXPECT_TRUE(BmpReadSize(core.Get(), &width, &height));
    EXPECT_EQ(7, height);

    f.coreHeader = false;
    f.width = 0;
    BytesFile empty(MakeBmp(f));
    EXPECT_FALSE(BmpReadSize(empty.Get(), &width, &height));
}

}  // namespace
