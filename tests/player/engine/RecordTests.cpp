#include <gtest/gtest.h>

#include "MemoryInStream.h"
#include "fixtures/SwfBitWriter.h"
#include "fixtures/SwfFile.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVString.h"

namespace {

// A parser positioned at `bytes`, which follow a valid movie header; reads
// are bounded by the end of the file.
class RecordReader {
public:
    explicit RecordReader(const std::vector<uint8_t>& bytes) : file_(SwfMakeFile({}, bytes))
    {
        MemoryInStream stream(file_);
        PVRect rect;
        float rate;
        uint16_t frames;
        ok_ = parser_.ReadHeader(stream, rect, rate, frames);
    }
    PVMovieParser& operator*() { return parser_; }
    PVMovieParser* operator->() { return &parser_; }
    bool ok() const { return ok_; }

private:
    std::vector<uint8_t> file_;
    PVMovieParser parser_;
    bool ok_ = false;
};

TEST(Records, BitsAreReadMostSignificantFirstAcrossBytes)
{
    RecordReader r({0b10110011, 0b01011110, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0, 0x00, 0x00, 0x00, 0x80});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->ReadUBits(0), 0u);
    EXPECT_EQ(r->ReadUBits(3), 0b101u);
    EXPECT_EQ(r->ReadUBits(7), 0b1001101u);
    EXPECT_EQ(r->ReadSBits(4), 0b0111);
    EXPECT_EQ(r->ReadSBits(2), -2);
    EXPECT_EQ(r->ReadUBits(1), 1u);
    EXPECT_EQ(r->ReadUBits(32), 0xFFFFFFFFu);  // spans five bytes
    EXPECT_EQ(r->ReadSBits(32), INT32_MIN + 1);
    EXPECT_FALSE(r->Overrun());
}

TEST(Records, SignedFieldsExtendTheirTopBit)
{
    struct Case {
        uint8_t byte;
        int bits;
        int32_t value;
    } cases[] = {{0x80, 1, -1}, {0x00, 1, 0}, {0xF0, 4, -1}, {0x70, 4, 7}, {0x80, 4, -8}, {0x7F, 8, 127}, {0x80, 8, -128}};
    for (const Case& c : cases) {
        RecordReader r({c.byte});
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->ReadSBits(c.bits), c.value) << int(c.byte) << "/" << c.bits;
    }
}

TEST(Records, ByteReadsDropTheRestOfTheBitBuffer)
{
    RecordReader r({0xFF, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAB});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->ReadUBits(3), 7u);
    EXPECT_EQ(r->ReadU16(), 0x1234);
    EXPECT_EQ(r->ReadU32(), 0x12345678u);
    EXPECT_EQ(r->ReadU8(), 0xAB);
    EXPECT_FALSE(r->Overrun());
}

TEST(Records, RectMatrixAndCxformRoundTrip)
{
    SwfMatrix m;
    m.hasScale = true;
    m.scaleX = 0x28000;   // 2.5
    m.scaleY = -0x8000;   // -0.5
    m.hasRotate = true;
    m.rotateSkew0 = 0x4000;
    m.rotateSkew1 = -0x10000;
    m.translateX = -12345;
    m.translateY = 678;
    SwfCxform c;
    c.hasAdd = c.hasMult = true;
    const int16_t add[4] = {-255, 0, 255, 17};
    const int16_t mult[4] = {512, -256, 0, 100};
    for (int i = 0; i < 4; ++i) {
        c.add[i] = add[i];
        c.mult[i] = mult[i];
    }
    SwfBitWriter w;
    w.Rect(-1, 70000, -70000, 3);
    w.Matrix(m);
    w.Cxform(c, true);
    w.Cxform(c, false);
    w.Matrix(SwfMatrix());
    RecordReader r(w.Data());
    ASSERT_TRUE(r.ok());

    PVRect rect = r->ReadRect();
    EXPECT_EQ(rect.xmin, -1);
    EXPECT_EQ(rect.xmax, 70000);
    EXPECT_EQ(rect.ymin, -70000);
    EXPECT_EQ(rect.ymax, 3);
    PVMatrix pm = r->ReadMatrix();
    EXPECT_EQ(pm.scaleX, 2.5f);
    EXPECT_EQ(pm.scaleY, -0.5f);
    EXPECT_EQ(pm.rotateSkew0, 0.25f);
    EXPECT_EQ(pm.rotateSkew1, -1.0f);
    EXPECT_EQ(pm.translateX, -12345.0f);
    EXPECT_EQ(pm.translateY, 678.0f);
    PVCxform withAlpha = r->ReadCxform(true);
    EXPECT_EQ(withAlpha.addRed, -255);
    EXPECT_EQ(withAlpha.addBlue, 255);
    EXPECT_EQ(withAlpha.addAlpha, 17);
    EXPECT_EQ(withAlpha.multRed, 512);
    EXPECT_EQ(withAlpha.multGreen, -256);
    EXPECT_EQ(withAlpha.multAlpha, 100);
    PVCxform noAlpha = r->ReadCxform(false);
    EXPECT_EQ(noAlpha.addRed, -255);
    EXPECT_EQ(noAlpha.addAlpha, 0);
    EXPECT_EQ(noAlpha.multBlue, 0);
    EXPECT_EQ(noAlpha.multAlpha, 256);
    PVMatrix identity = r->ReadMatrix();
    EXPECT_EQ(identity.scaleX, 1.0f);
    EXPECT_EQ(identity.rotateSkew1, 0.0f);
    EXPECT_EQ(identity.translateX, 0.0f);
    EXPECT_FALSE(r->Overrun());
}

TEST(Records, ColoursAndStrings)
{
    RecordReader r({1, 2, 3, 4, 5, 6, 7, 'h', 'i', 0, 0, 'x', 'y'});
    ASSERT_TRUE(r.ok());
    PVRGBA rgb = r->ReadRGB(false);
    EXPECT_EQ(rgb.red, 1);
    EXPECT_EQ(rgb.blue, 3);
    EXPECT_EQ(rgb.alpha, 255);
    PVRGBA rgba = r->ReadRGB(true);
    EXPECT_EQ(rgba.red, 4);
    EXPECT_EQ(rgba.alpha, 7);
    PVString text;
    ASSERT_TRUE(r->ReadString(text));
    EXPECT_TRUE(text.Equals("hi", 2));
    EXPECT_EQ(text.Data()[2], 0);
    ASSERT_TRUE(r->ReadString(text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(r->Overrun());
    // "xy" runs into the end of the data without its 0.
    ASSERT_TRUE(r->ReadString(text));
    EXPECT_TRUE(r->Overrun());
}

TEST(Records, ReadsPastTheEndAnswerZeroAndMarkTheOverrun)
{
    RecordReader r({0xAB});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->ReadU16(), 0);
    EXPECT_TRUE(r->Overrun());
    EXPECT_EQ(r->ReadU8(), 0);
    EXPECT_EQ(r->ReadU32(), 0u);
    EXPECT_EQ(r->ReadUBits(12), 0u);
    PVRect rect = r->ReadRect();
    EXPECT_EQ(rect.xmax, 0);
}

}  // namespace
