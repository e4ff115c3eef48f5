#include <gtest/gtest.h>

#include <random>

#include "fixtures/AllocationProbe.h"
#include "MemoryInStream.h"
#include "ParsedMovie.h"
#include "fixtures/SwfActionWriter.h"
#include "fixtures/SwfBitWriter.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfSoundWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVSprite.h"

namespace {

// A small movie with a sprite, labels, places, actions, sounds and a long
// header.
SwfTimeline SampleMovie()
{
    const SwfSoundFormat mp3{};
    SwfTimeline sprite;
    sprite.FrameLabel("in").PlaceObject2({.depth = 1, .id = 1, .name = "n"}).ShowFrame().End();
    SwfTimeline movie;
    movie.DefineSound(7, mp3, SwfMp3Frames(2), 10);
    movie.SoundStreamHead(mp3, mp3).SoundStreamBlock(SwfMp3Frames(1), -3);
    movie.DefineSprite(1, 1, sprite).FrameLabel("start");
    movie.PlaceObject2({.depth = 3, .id = 1, .matrix = SwfMatrix{.translateX = 40}});
    movie.DoAction(SwfActionWriter().GotoFrame(1).GetURL("u", "t").ConstantPool({"a", "b"}).Plain(0x07));
    movie.Tag(99, std::vector<uint8_t>(70, 1)).ShowFrame();
    movie.RemoveObject2(3).ShowFrame().End();
    return movie;
}

std::vector<uint8_t> WithLength(std::vector<uint8_t> file, size_t length)
{
    file.resize(length);
    for (int i = 0; i < 4; ++i)
        file[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    return file;
}

TEST(Hostile, FileCutAtEveryTagBoundaryReadsUpToTheCut)
{
    const SwfHeader header{.frameCount = 2};
    const SwfTimeline movie = SampleMovie();
    const std::vector<uint8_t> file = SwfMakeFile(header, movie.Bytes());
    const size_t tags = SwfTagsOffset(header);
    for (size_t start : movie.TagStarts()) {
        // The header still claims the whole file: the movie keeps the tags
        // before the cut and only the frames they hold.
        std::vector<uint8_t> cut(file.begin(), file.begin() + tags + start);
        ParsedMovie parsed(cut);
        ASSERT_NE(parsed.movie, nullptr) << start;
        ParsedMovie deflated(SwfDeflateFile(cut));
        ASSERT_NE(deflated.movie, nullptr) << start;
        EXPECT_EQ(parsed.Dump(), deflated.Dump()) << start;
        EXPECT_LE(parsed.movie->FrameCount(), 2) << start;
        // A file whose length field matches the cut reads the same tags and
        // keeps the header's frame count.
        std::vector<uint8_t> consistent = WithLength(file, tags + start);
        if (consistent.size() <= 20)
            continue;
        ParsedMovie whole(consistent);
        ASSERT_NE(whole.movie, nullptr) << start;
        ParsedMovie wholeDeflated(SwfDeflateFile(consistent));
        ASSERT_NE(wholeDeflated.movie, nullptr) << start;
        EXPECT_EQ(whole.Dump(), wholeDeflated.Dump());
        EXPECT_EQ(whole.movie->FrameCount(), 2) << start;
    }
}

TEST(Hostile, PlaceholderLengthKeepsTheFramesThatArrived)
{
    // Frame count and length both placeholders, as a writer that cannot seek
    // back leaves them; records after the last ShowFrame make one more frame.
    struct Case {
        int shown;
        bool trailingRecord;
        int frames;
    } cases[] = {{0, false, 0}, {0, true, 1}, {3, false, 3}, {3, true, 4}};
    for (const Case& c : cases) {
        SwfTimeline movie;
        for (int i = 0; i < c.shown; ++i)
            movie.RemoveObject2(1).ShowFrame();
        if (c.trailingRecord)
            movie.RemoveObject2(2);
        movie.End();
        std::vector<uint8_t> file = SwfMakeFile({.frameCount = 6000}, movie.Bytes());
        for (bool deflate : {false, true}) {
            std::vector<uint8_t> bytes = file;
            for (int i = 0; i < 4; ++i)
                bytes[4 + i] = static_cast<uint8_t>(104857600u >> (8 * i));
            ParsedMovie parsed(deflate ? SwfDeflateFile(bytes) : bytes);
            ASSERT_NE(parsed.movie, nullptr);
            EXPECT_EQ(parsed.movie->FrameCount(), c.frames) << c.shown << c.trailingRecord << deflate;
        }
    }
}

TEST(Hostile, FileCutAtEveryByteParsesCleanly)
{
    const std::vector<uint8_t> file = SwfMakeFile({.frameCount = 2}, SampleMovie().Bytes());
    for (size_t length = 21; length < file.size(); ++length) {
        ParsedMovie parsed(WithLength(file, length));
        if (length >= SwfTagsOffset({})) {
            EXPECT_NE(parsed.movie, nullptr) << length;
        }
    }
}

TEST(Hostile, TagLengthPastTheDataEndsTheLoop)
{
    SwfTimeline movie;
    movie.RemoveObject2(1).ShowFrame();
    std::vector<uint8_t> bytes = movie.Bytes();
    const uint8_t lying[] = {0x3F, 0x07, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0};  // RemoveObject2, 2 GB long
    bytes.insert(bytes.end(), std::begin(lying), std::end(lying));
    ParsedMovie parsed(SwfMakeFile({.frameCount = 3}, bytes));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(DumpMovie(*parsed.movie, 0), "movie frames=3\n frame 0 label=\"\"\n  removedepth depth=1\n");
}

TEST(Hostile, SoundTagsClaimingMoreThanTheirDataEndTheLoop)
{
    const SwfSoundFormat mp3{};
    for (int code : {14, 18, 19, 45}) {
        SwfTimeline movie;
        movie.SoundStreamHead(mp3, mp3).RemoveObject2(1).ShowFrame();
        std::vector<uint8_t> bytes = movie.Bytes();
        const uint8_t lying[] = {static_cast<uint8_t>(code << 6 | 0x3F), static_cast<uint8_t>(code >> 2),
                                 0xFF, 0xFF, 0xFF, 0x7F, 7, 0, 0x2E};
        bytes.insert(bytes.end(), std::begin(lying), std::end(lying));
        AllocationProbe probe;
        ParsedMovie parsed(SwfMakeFile({.frameCount = 3}, bytes));
        ASSERT_NE(parsed.movie, nullptr) << code;
        EXPECT_EQ(parsed.dictionary.Get(7), nullptr) << code;
        EXPECT_LE(probe.Largest(), 64u << 10) << code;
    }
}

TEST(Hostile, SpriteTagsAreBoundedByTheSprite)
{
    // The sprite's last inner tag claims more bytes than the sprite holds;
    // the bytes after the sprite must not be taken as its data.
    SwfTimeline inner;
    inner.RemoveObject2(1).ShowFrame();
    std::vector<uint8_t> innerBytes = inner.Bytes();
    innerBytes.push_back(0x0A);  // RemoveObject2 claiming 10 bytes
    innerBytes.push_back(0x07);
    SwfBitWriter sprite;
    sprite.U16(4);
    sprite.U16(1);
    sprite.Bytes(innerBytes);
    SwfTimeline movie;
    movie.Tag(39, sprite.Data()).RemoveObject2(2).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.dictionary.Get(4), nullptr);
    EXPECT_EQ(parsed.movie->Frame(0), nullptr);  // the failing sprite ended the loop

    // A sprite without its End tag is refused the same way.
    SwfTimeline open;
    open.RemoveObject2(1).ShowFrame();
    SwfTimeline second;
    second.DefineSprite(5, 1, open).RemoveObject2(2).ShowFrame().End();
    ParsedMovie unterminated(SwfMakeFile({}, second.Bytes()));
    ASSERT_NE(unterminated.movie, nullptr);
    EXPECT_EQ(unterminated.dictionary.Get(5), nullptr);
}

TEST(Hostile, SelfNestingSpritesStopAtTheNestingBound)
{
    for (int depth : {PVMovieParser::kMaxSpriteNesting, PVMovieParser::kMaxSpriteNesting + 1, 5000}) {
        SwfTimeline nested;
        nested.PlaceObject2({.depth = 1, .id = 1}).ShowFrame().End();  // places itself
        for (int level = 1; level < depth; ++level) {
            SwfTimeline outer;
            outer.DefineSprite(1, 1, nested).PlaceObject2({.depth = 1, .id = 1}).ShowFrame().End();
            nested = outer;
        }
        SwfTimeline movie;
        movie.DefineSprite(1, 1, nested).RemoveObject2(9).ShowFrame().End();
        ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
        ASSERT_NE(parsed.movie, nullptr);
        const bool fits = depth <= PVMovieParser::kMaxSpriteNesting;
        EXPECT_EQ(parsed.dictionary.Get(1) != nullptr, fits) << depth;
        EXPECT_EQ(parsed.movie->Frame(0) != nullptr, fits) << depth;
    }
}

TEST(Hostile, LargestClaimsCostNoMoreThanTheInput)
{
    // A 65535 x 65535 pixel frame of 65535 frames, a sprite of 65535 frames
    // and the largest ids and depths, in a few hundred bytes.
    SwfTimeline sprite;
    sprite.PlaceObject2({.depth = 65535, .id = 65535, .ratio = 65535, .clipDepth = 65535}).ShowFrame().End();
    SwfTimeline movie;
    movie.DefineSprite(65535, 65535, sprite).DefineSprite(2, 65535, SwfTimeline().End());
    movie.PlaceObject(65535, 65535, SwfMatrix{});
    movie.Tag(56, {0xFF, 0xFF, 1, 0});  // 65535 exports, one half-written
    movie.DoAction(SwfActionWriter().ConstantPool(std::vector<std::string>(127, "")));
    movie.ShowFrame().End();
    const SwfHeader header{.xmax = 65535 * 20, .ymax = 65535 * 20, .frameCount = 65535};
    const std::vector<uint8_t> file = SwfMakeFile(header, movie.Bytes());

    AllocationProbe probe;
    {
        ParsedMovie parsed(file);
        ASSERT_NE(parsed.movie, nullptr);
        EXPECT_EQ(parsed.rect.xmax, 65535 * 20);
        EXPECT_EQ(parsed.movie->FrameCount(), 65535);
        ASSERT_NE(parsed.dictionary.Get(65535), nullptr);
        EXPECT_EQ(static_cast<PVSprite*>(parsed.dictionary.Get(65535))->Movie()->FrameCount(), 65535);
    }
    // The only fixed cost: dictionary slots for the largest 16-bit id.
    EXPECT_LE(probe.Largest(), 65536 * sizeof(void*) + file.size());
}

TEST(Hostile, ClaimedFileLengthCostsOnlyWhatArrives)
{
    // Claims up to the image bound load what arrived; larger ones are
    // refused. Neither costs more than the data that came.
    const std::vector<uint8_t> real = SwfMakeFile({}, SwfTimeline().ShowFrame().End().Bytes());
    for (uint32_t claim : {PVMovieParser::kMaxImageSize, PVMovieParser::kMaxImageSize + 1, 0xFFFFFFFFu}) {
        for (bool deflate : {false, true}) {
            std::vector<uint8_t> file = real;
            for (int i = 0; i < 4; ++i)
                file[4 + i] = static_cast<uint8_t>(claim >> (8 * i));
            if (deflate)
                file = SwfDeflateFile(file);
            AllocationProbe probe;
            ParsedMovie parsed(file);
            if (claim <= PVMovieParser::kMaxImageSize) {
                ASSERT_NE(parsed.movie, nullptr) << deflate;
                EXPECT_EQ(parsed.movie->FrameCount(), 1);
            } else {
                EXPECT_EQ(parsed.movie, nullptr) << claim << " " << deflate;
            }
            EXPECT_LE(probe.Largest(), 64u << 10) << claim << " " << deflate;
        }
    }
}

TEST(Hostile, FrameCountCannotWrap)
{
    SwfTimeline movie;
    for (int i = 0; i < 65535; ++i)
        movie.ShowFrame();
    movie.RemoveObject2(1).FrameLabel("past").End();
    ParsedMovie parsed(SwfMakeFile({.frameCount = 65535}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.movie->FrameCount(), 65535);
    EXPECT_EQ(parsed.movie->Frame(65534), nullptr);
}

TEST(Hostile, RandomlyDamagedMoviesParseCleanly)
{
    const std::vector<uint8_t> file = SwfMakeFile({.frameCount = 2}, SampleMovie().Bytes());
    const size_t tags = SwfTagsOffset({});
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> damaged = file;
        const int hits = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < hits; ++i)
            damaged[tags + random() % (file.size() - tags)] = static_cast<uint8_t>(random());
        ParsedMovie parsed(damaged);
        EXPECT_NE(parsed.movie, nullptr);
        parsed.Dump();
    }
}

}  // namespace
