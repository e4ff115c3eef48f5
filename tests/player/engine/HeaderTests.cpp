#include <gtest/gtest.h>

#include "MemoryInStream.h"
#include "fixtures/SwfBitWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVMovieParser.h"

namespace {

struct HeaderResult {
    bool ok = false;
    PVRect rect;
    float rate = 0;
    uint16_t frames = 0;
    uint32_t imageLength = 0;
};

HeaderResult ReadHeaderOf(const std::vector<uint8_t>& file)
{
    HeaderResult r;
    PVMovieParser parser;
    MemoryInStream stream(file);
    r.ok = parser.ReadHeader(stream, r.rect, r.rate, r.frames);
    r.imageLength = parser.ImageLength();
    return r;
}

// Enough tags for the smallest header to pass the length check.
std::vector<uint8_t> EndOnly()
{
    return SwfTimeline().Tag(99, std::vector<uint8_t>(8, 0)).End().Bytes();
}

TEST(Header, ReadsRectangleRateAndCount)
{
    SwfHeader header{.xmin = -200, .xmax = 6400, .ymin = 40, .ymax = 4840, .rate = 0x1880, .frameCount = 321};
    for (bool deflate : {false, true}) {
        std::vector<uint8_t> file = SwfMakeFile(header, EndOnly());
        if (deflate)
            file = SwfDeflateFile(file);
        HeaderResult r = ReadHeaderOf(file);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.rect.xmin, -200);
        EXPECT_EQ(r.rect.xmax, 6400);
        EXPECT_EQ(r.rect.ymin, 40);
        EXPECT_EQ(r.rect.ymax, 4840);
        EXPECT_EQ(r.rate, 24.5f);
        EXPECT_EQ(r.frames, 321);
    }
    EXPECT_EQ(ReadHeaderOf(SwfMakeFile({.rate = 0x0C00}, EndOnly())).rate, 12.0f);
}

TEST(Header, CheckHeaderWantsASignatureAndALengthAbove20)
{
    struct Case {
        const char* signature;
        uint32_t length;
        bool ok;
    } cases[] = {
        {"FWS", 21, true}, {"CWS", 21, true}, {"FWS", 20, false}, {"CWS", 0, false},
        {"fws", 100, false}, {"ZWS", 100, false}, {"FWC", 100, false}, {"FWS", 0xFFFFFFFF, true},
    };
    for (const Case& c : cases) {
        uint8_t header[8] = {static_cast<uint8_t>(c.signature[0]), static_cast<uint8_t>(c.signature[1]),
                             static_cast<uint8_t>(c.signature[2]), 7,
                             static_cast<uint8_t>(c.length), static_cast<uint8_t>(c.length >> 8),
                             static_cast<uint8_t>(c.length >> 16), static_cast<uint8_t>(c.length >> 24)};
        PVMovieParser parser;
        EXPECT_EQ(parser.CheckHeader(header), c.ok) << c.signature << " " << c.length;
        if (c.ok) {
            EXPECT_EQ(parser.FileLength(), c.length);
            EXPECT_EQ(parser.Version(), 7);
            EXPECT_EQ(parser.IsCompressed(), c.signature[0] == 'C');
        }
    }
}

TEST(Header, LengthOf21IsEnoughForASmallHeader)
{
    // A one-pixel frame, rate and count take 8 bytes after the header; the
    // file is padded to the smallest length the header check accepts.
    SwfBitWriter w;
    for (uint8_t byte : {uint8_t{'F'}, uint8_t{'W'}, uint8_t{'S'}, uint8_t{1}})
        w.U8(byte);
    w.U32(21);
    w.Rect(0, 20, 0, 20);
    w.U16(0x0100);
    w.U16(1);
    std::vector<uint8_t> file = w.Data();
    file.resize(21);
    EXPECT_TRUE(ReadHeaderOf(file).ok);
}

TEST(Header, FrameNarrowerThanOnePixelIsRefused)
{
    struct Case {
        int32_t xmin, xmax, ymin, ymax;
        bool ok;
    } cases[] = {
        {0, 20, 0, 20, true},     {0, 19, 0, 400, false},  {0, 400, 0, 19, false},
        {100, 120, -50, -30, true}, {0, 0, 0, 400, false},  {400, 0, 0, 400, false},
        {0, 400, 400, 0, false},  {-1000000, 1000000, 0, 1310700, true},
    };
    for (const Case& c : cases) {
        SwfHeader header{.xmin = c.xmin, .xmax = c.xmax, .ymin = c.ymin, .ymax = c.ymax};
        EXPECT_EQ(ReadHeaderOf(SwfMakeFile(header, EndOnly())).ok, c.ok)
            << c.xmin << " " << c.xmax << " " << c.ymin << " " << c.ymax;
    }
}

TEST(Header, SourceEndingBeforeTheClaimedLengthKeepsWhatArrived)
{
    // Writers that cannot seek back leave a placeholder length: the image
    // holds what arrived, and only a body too short for the frame
    // rectangle, rate and count fails.
    std::vector<uint8_t> file = SwfMakeFile({}, SwfTimeline().Tag(99, std::vector<uint8_t>(300, 7)).End().Bytes());
    const size_t fields = SwfTagsOffset({});
    for (size_t cut = 0; cut < file.size(); ++cut) {
        std::vector<uint8_t> part(file.begin(), file.begin() + cut);
        HeaderResult r = ReadHeaderOf(part);
        EXPECT_EQ(r.ok, cut >= fields) << cut;
        if (r.ok) {
            EXPECT_EQ(r.imageLength, cut);
        }
    }
    EXPECT_EQ(ReadHeaderOf(file).imageLength, file.size());

    // A deflated body gives what the bytes before the cut inflate to.
    const std::vector<uint8_t> deflated = SwfDeflateFile(file);
    for (size_t cut = 0; cut < deflated.size(); ++cut) {
        std::vector<uint8_t> part(deflated.begin(), deflated.begin() + cut);
        HeaderResult r = ReadHeaderOf(part);
        EXPECT_EQ(r.ok, r.imageLength >= fields) << cut;
        EXPECT_LE(r.imageLength, file.size()) << cut;
    }
    EXPECT_EQ(ReadHeaderOf(deflated).imageLength, file.size());
}

TEST(Header, SourceErrorEndsTheBody)
{
    // Bytes that deflate hardly shrinks, so half the deflated body inflates
    // to part of the movie.
    std::vector<uint8_t> body(5000);
    uint32_t seed = 1;
    for (uint8_t& b : body)
        b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    const std::vector<uint8_t> file = SwfMakeFile({}, body);
    for (bool deflate : {false, true}) {
        std::vector<uint8_t> whole = deflate ? SwfDeflateFile(file) : file;
        PVMovieParser parser;
        MemoryInStream stream(whole, 64, static_cast<int>(whole.size()) / 2);
        PVRect rect;
        float rate;
        uint16_t frames;
        EXPECT_TRUE(parser.ReadHeader(stream, rect, rate, frames)) << deflate;
        EXPECT_LT(parser.ImageLength(), file.size()) << deflate;
        if (!deflate) {
            EXPECT_EQ(parser.ImageLength(), whole.size() / 2);
        }
    }
    // A source that fails before any of the body arrives fails the body.
    PVMovieParser parser;
    MemoryInStream stream(file, 64, 8);
    PVRect rect;
    float rate;
    uint16_t frames;
    EXPECT_FALSE(parser.ReadHeader(stream, rect, rate, frames));
}

TEST(Header, CorruptDeflatedBodyFails)
{
    std::vector<uint8_t> file = SwfDeflateFile(SwfMakeFile({}, std::vector<uint8_t>(3000, 0x40)));
    file[12] ^= 0xFF;
    file[13] ^= 0x55;
    EXPECT_FALSE(ReadHeaderOf(file).ok);
}

TEST(Header, BytesBeyondTheClaimedLengthAreNotRead)
{
    std::vector<uint8_t> file = SwfMakeFile({}, EndOnly());
    const size_t length = file.size();
    file.resize(length + 100, 0xEE);
    PVMovieParser parser;
    MemoryInStream stream(file);
    PVRect rect;
    float rate;
    uint16_t frames;
    ASSERT_TRUE(parser.ReadHeader(stream, rect, rate, frames));
    EXPECT_EQ(stream.Delivered(), length);
}

}  // namespace
