#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "NarrowPath.h"
#include "ParsedMovie.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfSoundWriter.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioBlock.h"
#include "player/engine/PVControlRecord.h"
#include "player/engine/PVInFileStream.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVMp3Frame.h"
#include "player/engine/PVSprite.h"

namespace {

const SwfSoundFormat kMp3Mono{.format = 2, .rate = 3, .sixteenBit = true, .stereo = false};

std::vector<uint8_t> Bytes(size_t n, uint8_t seed)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

// Sizes of a sound's blocks in queue order.
std::vector<int> BlockSizes(const PVAudio& sound)
{
    std::vector<int> sizes;
    for (const PVAudioBlock* b = sound.FirstBlock(); b; b = b->next)
        sizes.push_back(b->size);
    return sizes;
}

std::vector<uint8_t> SoundBytes(const PVAudio& sound)
{
    std::vector<uint8_t> bytes;
    for (const PVAudioBlock* b = sound.FirstBlock(); b; b = b->next)
        bytes.insert(bytes.end(), b->Data(), b->Data() + b->size);
    return bytes;
}

// A sound whose queue holds `data` as one block (pieces when above the limit).
void Fill(PVAudio& sound, const std::vector<uint8_t>& data)
{
    ASSERT_EQ(sound.AddBlock(PVAudioBlock::Create(data.data(), static_cast<int32_t>(data.size()))), 0);
}

SwfTimeline SoundMovie()
{
    SwfTimeline sprite;
    sprite.SoundStreamHead({.rate = 1, .sixteenBit = false}, {.format = 0, .rate = 1, .stereo = true}, true);
    sprite.ShowFrame().SoundStreamBlock(Bytes(300, 3)).ShowFrame().End();

    SwfTimeline movie;
    movie.DefineSound(3, kMp3Mono, SwfMp3Frames(3), 441);
    movie.DefineSound(4, {.format = 1, .rate = 2, .stereo = true}, Bytes(90, 1));
    movie.DefineSound(5, {.format = 3}, Bytes(40, 2));  // refused
    movie.DefineSprite(6, 2, sprite);
    movie.SoundStreamHead(kMp3Mono, kMp3Mono);
    movie.SoundStreamBlock({}, 0);  // no data: starts nothing
    movie.ShowFrame();
    movie.SoundStreamBlock(SwfMp3Frames(2), -200).ShowFrame();
    movie.SoundStreamBlock(SwfMp3Frames(5)).ShowFrame();
    movie.SoundStreamHead({.rate = 2}, {.format = 2, .rate = 2, .stereo = true}, true);
    movie.SoundStreamBlock(SwfMp3Frames(1), 2205).ShowFrame().End();
    return movie;
}

TEST(SoundParse, DumpMatchesTheWritersManifest)
{
    const SwfTimeline movie = SoundMovie();
    ParsedMovie parsed(SwfMakeFile({.frameCount = 4}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.Dump(), movie.Manifest(4));
    // Spot checks that the manifest says what it should.
    const auto* defined = static_cast<const PVAudio*>(parsed.dictionary.Get(3));
    ASSERT_NE(defined, nullptr);
    EXPECT_EQ(defined->Type(), PVChar::kAudio);
    EXPECT_EQ(defined->StartOffset(), 10);  // 441 samples at 44100 Hz
    EXPECT_EQ(parsed.dictionary.Get(5), nullptr);
    ASSERT_EQ(parsed.movie->Sounds().Count(), 2);
    EXPECT_EQ(parsed.movie->Sounds()[0]->StartOffset(), 0);    // seek samples -200
    EXPECT_EQ(parsed.movie->Sounds()[1]->StartOffset(), 100);  // 2205 at 22050 Hz
    EXPECT_EQ(parsed.movie->Sounds()[1]->GetSampleRate(), 22050);
    const auto* sprite = static_cast<const PVSprite*>(parsed.dictionary.Get(6));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->Movie()->Sounds().Count(), 1);
}

TEST(SoundParse, CompressedMovieReadsTheSame)
{
    const SwfTimeline movie = SoundMovie();
    const std::vector<uint8_t> file = SwfMakeFile({.frameCount = 4}, movie.Bytes());
    EXPECT_EQ(ParsedMovie(SwfDeflateFile(file)).Dump(), ParsedMovie(file).Dump());
}

TEST(SoundParse, ShortOrBrokenSoundTagsAreDroppedAndTheLoadGoesOn)
{
    SwfTimeline movie;
    movie.Tag(14, {3, 0, 0x2E, 0, 0, 0, 0});        // DefineSound of 7 bytes
    movie.Tag(18, {0x0E});                          // stream head cut short
    movie.SoundStreamBlock(Bytes(10, 1));           // a block without a head
    movie.RemoveObject2(4).ShowFrame().End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    EXPECT_EQ(parsed.dictionary.Get(3), nullptr);
    EXPECT_EQ(parsed.movie->Sounds().Count(), 0);
    EXPECT_EQ(DumpMovie(*parsed.movie, 0), "movie frames=1\n frame 0 label=\"\"\n  removedepth depth=4\n");
}

TEST(SoundParse, StreamsOfAFailedLoopStayPlayableThroughTheirRecords)
{
    SwfTimeline movie;
    movie.SoundStreamHead(kMp3Mono, kMp3Mono).SoundStreamBlock(SwfMp3Frames(2)).ShowFrame();
    movie.Tag(23, {9, 0, 0});  // DefineButtonCxform naming no button: ends the loop
    movie.End();
    ParsedMovie parsed(SwfMakeFile({}, movie.Bytes()));
    ASSERT_NE(parsed.movie, nullptr);
    const PVMovieFrame* frame = parsed.movie->Frame(0);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->first->kind, PVControlRecord::kStreamStart);
    // The record holds the stream beside the parser's list.
    EXPECT_EQ(frame->first->stream->RefCount(), 2);
    EXPECT_EQ(frame->first->stream->TotalBytes(), 2 * 417);
}

TEST(SoundBlocks, LargeBlockIsCutAtTheLimit)
{
    PVAudio raw(0, PVAudio::kUncompressed, 100, 0, 0, nullptr, 0);
    const std::vector<uint8_t> data = Bytes(5000, 9);
    Fill(raw, data);
    EXPECT_EQ(BlockSizes(raw), (std::vector<int>{2040, 2040, 920}));
    EXPECT_EQ(SoundBytes(raw), data);
    EXPECT_EQ(raw.TotalBytes(), 5000);
}

TEST(SoundBlocks, Mp3IsCutBetweenFrames)
{
    PVAudio mp3(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0);
    const std::vector<uint8_t> data = SwfMp3Frames(11);  // 417-byte frames
    Fill(mp3, data);
    EXPECT_EQ(BlockSizes(mp3), (std::vector<int>{4 * 417, 4 * 417, 3 * 417}));
    EXPECT_EQ(SoundBytes(mp3), data);

    // A frame above the limit goes alone; bytes that are no frame are cut
    // at the limit.
    PVAudio small(0, PVAudio::kMp3, 100, 0, 0, nullptr, 400);
    std::vector<uint8_t> mixed = SwfMp3Frames(2);
    const std::vector<uint8_t> junk = Bytes(500, 0x10);
    mixed.insert(mixed.end(), junk.begin(), junk.end());
    Fill(small, mixed);
    EXPECT_EQ(BlockSizes(small), (std::vector<int>{417, 417, 400, 100}));
    EXPECT_EQ(SoundBytes(small), mixed);
}

TEST(SoundBlocks, EmptyBlockIsRefused)
{
    PVAudio sound(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0);
    auto* block = PVAudioBlock::Create(reinterpret_cast<const uint8_t*>("x"), 1);
    block->size = 0;
    EXPECT_EQ(sound.AddBlock(block), -1);
    EXPECT_EQ(sound.BlockCount(), 0);
}

TEST(SoundBlocks, TakingReportsRestartOffsetAndEnd)
{
    PVAudio sound(0, PVAudio::kUncompressed, 100, 0, 0, nullptr, 100);
    Fill(sound, Bytes(250, 1));
    sound.SetEndOfData(true);
    bool restart = false, atEnd = false;
    int32_t offset = -1;
    std::vector<std::pair<bool, bool>> flags;
    while (const PVAudioBlock* block = sound.TakeNextBlock(restart, atEnd, offset)) {
        flags.emplace_back(restart, atEnd);
        EXPECT_EQ(offset, 0);
        EXPECT_GT(block->size, 0);
    }
    EXPECT_EQ(flags, (std::vector<std::pair<bool, bool>>{{true, false}, {false, false}, {false, true}}));
    EXPECT_EQ(sound.TakeNextBlock(restart, atEnd, offset), nullptr);
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(sound.BlockCount(), 3);  // read, not taken away

    // Seek(0) goes back to the first block without the restart flag.
    ASSERT_TRUE(sound.Seek(0));
    ASSERT_NE(sound.TakeNextBlock(restart, atEnd, offset), nullptr);
    EXPECT_FALSE(restart);
    EXPECT_FALSE(sound.Seek(500));  // not MP3
}

TEST(SoundBlocks, HandOverTakesBlocksAwayAndRefusesSeeking)
{
    PVAudio sound(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0);
    Fill(sound, SwfMp3Frames(6));
    sound.SetHandOver(true);
    bool restart, atEnd;
    int32_t offset;
    PVAudioBlock* block = sound.TakeNextBlock(restart, atEnd, offset);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(sound.BlockCount(), 1);
    EXPECT_EQ(sound.TotalBytes(), 2 * 417);
    PVAudioBlock::Free(block);
    EXPECT_FALSE(sound.Seek(0));
}

struct SeekCase {
    int ms;
    bool found;
    int frame;  // index of the frame the read position lands on
};

class Mp3Seek : public ::testing::TestWithParam<SeekCase> {};

// 128 kbit/s, 44100 Hz, no padding: 417-byte frames of 26.06 ms, cut into
// blocks of four frames.
TEST_P(Mp3Seek, LandsOnTheFirstFrameAtOrAfterTheTime)
{
    PVAudio sound(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0);
    Fill(sound, SwfMp3Frames(10));
    EXPECT_EQ(sound.Seek(GetParam().ms), GetParam().found);
    bool restart, atEnd;
    int32_t offset = 0;
    const PVAudioBlock* block = sound.TakeNextBlock(restart, atEnd, offset);
    if (!GetParam().found) {
        EXPECT_EQ(block, nullptr);
        return;
    }
    ASSERT_NE(block, nullptr);
    int blockIndex = 0;
    for (const PVAudioBlock* b = sound.FirstBlock(); b != block; b = b->next)
        ++blockIndex;
    EXPECT_EQ(blockIndex * 4 * 417 + offset, GetParam().frame * 417);
}

INSTANTIATE_TEST_SUITE_P(Times, Mp3Seek,
                         ::testing::Values(SeekCase{0, true, 0}, SeekCase{26, true, 1}, SeekCase{27, true, 2},
                                           SeekCase{100, true, 4}, SeekCase{105, true, 5},
                                           SeekCase{234, true, 9}, SeekCase{300, false, 0}));

TEST(Mp3Seek, JunkBetweenFramesIsStepped)
{
    std::vector<uint8_t> data = {0x00, 0xFF, 0x10, 0xFF, 0xFB, 0xF0, 0x00, 0xFF, 0xFF, 0x0C, 0x00};
    const size_t junk = data.size();  // a bad-bitrate header and stray syncs first
    const std::vector<uint8_t> frames = SwfMp3Frames(3);
    data.insert(data.end(), frames.begin(), frames.end());
    PVAudio sound(0, PVAudio::kMp3, 100, 0, 0, nullptr, 4000);
    Fill(sound, data);
    ASSERT_TRUE(sound.Seek(30));
    bool restart, atEnd;
    int32_t offset;
    ASSERT_NE(sound.TakeNextBlock(restart, atEnd, offset), nullptr);
    EXPECT_EQ(offset, static_cast<int32_t>(junk + 2 * 417));
}

struct HeaderCase {
    uint8_t b1, b2;
    bool frame;
    int length;
};

class Mp3Header : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Mp3Header, DecodesLengthOrRefuses)
{
    PVMp3Frame frame;
    EXPECT_EQ(PVReadMp3Frame(GetParam().b1, GetParam().b2, frame), GetParam().frame);
    if (GetParam().frame)
        EXPECT_EQ(frame.length, GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, Mp3Header,
    ::testing::Values(HeaderCase{0xFB, 0x90, true, 417},   // MPEG-1 III 128k 44100
                      HeaderCase{0xFB, 0x92, true, 418},   // with padding
                      HeaderCase{0xF3, 0x84, true, 192},   // MPEG-2 III 64k 24000
                      HeaderCase{0xE3, 0x88, true, 576},   // MPEG-2.5 III 64k 8000
                      HeaderCase{0xFD, 0x94, true, 480},   // MPEG-1 II 160k 48000
                      HeaderCase{0xFF, 0x90, true, 313},   // MPEG-1 I 288k 44100
                      HeaderCase{0xFB, 0xF0, false, 0},    // bitrate index 15
                      HeaderCase{0xFB, 0x0C, false, 0},    // free format, rate index 3
                      HeaderCase{0xFB, 0x9C, false, 0},    // rate index 3
                      HeaderCase{0xEB, 0x90, false, 0},    // reserved version
                      HeaderCase{0xF9, 0x90, false, 0},    // reserved layer
                      HeaderCase{0xDF, 0x90, false, 0}));  // no sync

// Every SoundStreamBlock payload of the (uncompressed) ffmpeg movie, after
// its two counts, in file order.
std::vector<uint8_t> FileStreamBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PVInFileStream stream;
    PVMovieParser parser;
    PVRect rect;
    float rate;
    uint16_t frames;
    std::vector<uint8_t> bytes;
    if (!stream.Open(path.c_str()) || !parser.ReadHeader(stream, rect, rate, frames))
        return bytes;
    PVTagHeader tag;
    while (parser.ReadTagHeader(tag) && tag.code != 0) {
        if (tag.code == 19 && tag.length > 4) {
            const uint8_t* data = file.data() + tag.start + 4;
            bytes.insert(bytes.end(), data, data + tag.length - 4);
        }
        parser.SkipTag(tag);
    }
    return bytes;
}

TEST(SoundParse, FfmpegStreamHoldsTheFilesBlocks)
{
    const std::string path = NarrowPath(FixturePath(L"ffmpeg_mjpeg_mp3.swf"));
    ParsedMovie parsed(path.c_str());
    ASSERT_NE(parsed.movie, nullptr);
    ASSERT_EQ(parsed.movie->Sounds().Count(), 1);
    const PVAudio& stream = *parsed.movie->Sounds()[0];
    EXPECT_TRUE(stream.IsMp3());
    const std::vector<uint8_t> expected = FileStreamBytes(path);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(SoundBytes(stream), expected);
    // Each block holds whole frames.
    for (const PVAudioBlock* b = stream.FirstBlock(); b; b = b->next) {
        PVMp3Frame frame;
        ASSERT_EQ(b->Data()[0], 0xFF);
        ASSERT_TRUE(PVReadMp3Frame(b->Data()[1], b->Data()[2], frame));
    }
    // The stream starts where its first block is.
    int starts = 0;
    for (int i = 0; i < parsed.movie->FrameCount(); ++i) {
        for (const PVControlRecord* r = parsed.movie->Frame(i) ? parsed.movie->Frame(i)->first : nullptr; r;
             r = r->next)
            starts += r->kind == PVControlRecord::kStreamStart;
    }
    EXPECT_EQ(starts, 1);
}

}  // namespace
