#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "fixtures/Fixtures.h"
#include "NarrowPath.h"
#include "ParseDump.h"
#include "ParsedMovie.h"
#include "RecordingDrawer.h"
#include "player/engine/PVInFileStream.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieParser.h"
#include "player/engine/PVPlayer.h"

namespace {

// Movies written by ffmpeg at build time (see CMakeLists.txt).
struct FfmpegMovie {
    const wchar_t* file;
    PVRect frame;
    float rate;
};

const FfmpegMovie kMjpeg = {L"ffmpeg_mjpeg_mp3.swf", {0, 320 * 20, 0, 240 * 20}, 12.0f};
const FfmpegMovie kFlv = {L"ffmpeg_flv1.swf", {0, 176 * 20, 0, 144 * 20}, 15.0f};

// The frame count field as the file holds it, read without the parser.
uint16_t RawFrameCount(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    uint8_t bytes[32] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    const int bits = bytes[8] >> 3;
    const size_t at = 8 + (5 + 4 * bits + 7) / 8 + 2;
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// Tag codes and their counts over the whole file, walked with the parser's
// own tag reader.
std::map<int, int> TagCounts(const std::string& path, bool& endedCleanly)
{
    std::map<int, int> counts;
    PVInFileStream stream;
    PVMovieParser parser;
    PVRect rect;
    float rate;
    uint16_t frames;
    endedCleanly = false;
    if (!stream.Open(path.c_str()) || !parser.ReadHeader(stream, rect, rate, frames))
        return counts;
    PVTagHeader tag;
    while (parser.ReadTagHeader(tag)) {
        ++counts[tag.code];
        parser.SkipTag(tag);
        if (tag.code == 0) {
            endedCleanly = tag.end == parser.FileLength();
            break;
        }
    }
    return counts;
}

class FfmpegMovies : public ::testing::TestWithParam<FfmpegMovie> {};

TEST_P(FfmpegMovies, HeaderIsAsFfmpegWroteIt)
{
    const std::string path = NarrowPath(FixturePath(GetParam().file));
    PVInFileStream stream;
    ASSERT_TRUE(stream.Open(path.c_str())) << path;
    PVMovieParser parser;
    PVRect rect;
    float rate = 0;
    uint16_t frames = 0;
    ASSERT_TRUE(parser.ReadHeader(stream, rect, rate, frames));
    EXPECT_FALSE(parser.IsCompressed());
    EXPECT_EQ(rect.xmin, GetParam().frame.xmin);
    EXPECT_EQ(rect.xmax, GetParam().frame.xmax);
    EXPECT_EQ(rect.ymin, GetParam().frame.ymin);
    EXPECT_EQ(rect.ymax, GetParam().frame.ymax);
    EXPECT_EQ(rate, GetParam().rate);
    EXPECT_EQ(frames, RawFrameCount(path));
}

INSTANTIATE_TEST_SUITE_P(Files, FfmpegMovies, ::testing::Values(kMjpeg, kFlv));

TEST(FfmpegMovie, JpegFramesAndStreamSoundAreFound)
{
    const std::string path = NarrowPath(FixturePath(kMjpeg.file));
    bool ended = false;
    std::map<int, int> counts = TagCounts(path, ended);
    EXPECT_TRUE(ended);
    EXPECT_EQ(counts[1], 24);                         // 2 s at 12 frames per second
    EXPECT_EQ(counts[21], 24);                        // a JPEG per frame
    EXPECT_EQ(counts[18] + counts[45], 1);            // one stream head
    EXPECT_GE(counts[19], 20);                        // MP3 blocks
    EXPECT_EQ(counts[4], 24);                         // the frame's image placed
}

TEST(FfmpegMovie, TimelineOfTheJpegMovieIsRead)
{
    ParsedMovie parsed(NarrowPath(FixturePath(kMjpeg.file)).c_str());
    const PVMovie* movie = parsed.movie;
    ASSERT_NE(movie, nullptr);
    // Every frame places its image, so each grows the frame count by one.
    EXPECT_EQ(movie->FrameCount(), 24);
    int places = 0, removes = 0;
    for (int i = 0; i < movie->FrameCount(); ++i) {
        const PVMovieFrame* frame = movie->Frame(i);
        ASSERT_NE(frame, nullptr) << i;
        for (const PVControlRecord* r = frame->first; r; r = r->next) {
            places += r->kind == PVControlRecord::kPlace;
            removes += r->kind == PVControlRecord::kRemove;
        }
    }
    EXPECT_EQ(places, 24);
    EXPECT_EQ(removes, 23);
}

TEST(FfmpegMovie, VideoMovieReadsToItsEnd)
{
    const std::string path = NarrowPath(FixturePath(kFlv.file));
    bool ended = false;
    std::map<int, int> counts = TagCounts(path, ended);
    EXPECT_TRUE(ended);
    EXPECT_EQ(counts[1], 15);
    EXPECT_EQ(counts[61], 15);  // video frames, which the engine skips
}

// Written into a pipe, where ffmpeg cannot seek back: the header keeps its
// placeholder length (100 MB) and frame count (600 s worth).
struct PipedMovie {
    const wchar_t* file;
    int frames;  // ShowFrame tags the file holds
    float rate;
};

class FfmpegPipedMovies : public ::testing::TestWithParam<PipedMovie> {};

TEST_P(FfmpegPipedMovies, LoadWithTheirRealFrameCountAndPlayToTheEnd)
{
    const std::string path = NarrowPath(FixturePath(GetParam().file));
    PVPlayer player;
    ASSERT_TRUE(player.Init());
    player.SetMainMovieLoops(false);
    PVInFileStream stream;
    ASSERT_TRUE(stream.Open(path.c_str())) << path;
    PVMovieParser parser;
    ASSERT_TRUE(parser.Load(stream, player));
    EXPECT_EQ(parser.FileLength(), 104857600u);
    EXPECT_EQ(parser.ImageLength(), static_cast<uint32_t>(std::ifstream(path, std::ios::binary | std::ios::ate).tellg()));
    EXPECT_EQ(RawFrameCount(path), static_cast<uint16_t>(600 * GetParam().rate));
    ASSERT_EQ(player.GetFrameCount(), GetParam().frames);

    RecordingDrawer drawer{&player};
    for (int i = 0; i < GetParam().frames; ++i) {
        EXPECT_EQ(player.GetCurrentFrame(), i);
        player.Step(&drawer, -1, -1, false, true);
    }
    EXPECT_EQ(player.GetCurrentFrame(), GetParam().frames);
    player.Step(&drawer, -1, -1, false, true);
    EXPECT_EQ(player.GetCurrentFrame(), GetParam().frames);  // stays at its end
}

INSTANTIATE_TEST_SUITE_P(Files, FfmpegPipedMovies,
                         ::testing::Values(PipedMovie{L"ffmpeg_pipe_mp3.swf", 78, 10.0f},
                                           PipedMovie{L"ffmpeg_pipe_mjpeg_mp3.swf", 24, 12.0f}));

TEST(FfmpegMovie, PipedJpegMovieHasTheTimelineOfTheSeekableOne)
{
    ParsedMovie piped(NarrowPath(FixturePath(L"ffmpeg_pipe_mjpeg_mp3.swf")).c_str());
    ParsedMovie seekable(NarrowPath(FixturePath(kMjpeg.file)).c_str());
    ASSERT_NE(piped.movie, nullptr);
    ASSERT_NE(seekable.movie, nullptr);
    EXPECT_EQ(piped.Dump(), seekable.Dump());
}

}  // namespace
