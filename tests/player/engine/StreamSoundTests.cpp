#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "AudioHarness.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioManager.h"
#include "player/engine/PVMovieClip.h"

// How the play state of clips drives stream sound, heard through the test
// device, which finishes each buffer as soon as it is written: a sound
// shorter than the audio thread's 2000 ms lead completes at once.
namespace {

class StreamSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(engine_.started);
        tone_ = ToneFrames();
        ASSERT_FALSE(tone_.empty());
    }
    // Dispatches until the completed bytes stop growing for 300 ms.
    static uint64_t Settle(AudioHarness& harness)
    {
        uint64_t last = ~uint64_t{0};
        for (int i = 0; i < 20 && harness.CompletedBytes() != last; ++i) {
            last = harness.CompletedBytes();
            harness.Pump(300);
        }
        return harness.CompletedBytes();
    }
    EngineScope engine_;
    std::vector<uint8_t> tone_;
};

std::vector<uint8_t> ReadFile(const wchar_t* name)
{
    std::ifstream in(FixturePath(name).c_str(), std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(StreamSound, PlayingOnFromAFrameStartsTheSoundAtThatFramesTime)
{
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(ReadFile(L"ffmpeg_mjpeg_mp3.swf")));
    PVMovieClip& clip = *harness.player->MainClip();
    harness.player->Step(nullptr, -1, -1, false, false);
    const uint64_t whole = Settle(harness);
    ASSERT_GT(whole, 150000u);  // 2 s of mono 16-bit sound at 44100 Hz

    clip.SetPlaying(false);
    EXPECT_EQ(clip.StreamInProgress(), nullptr);
    clip.Seek(12);
    ASSERT_TRUE(clip.SetPlaying(true));
    EXPECT_NE(clip.StreamInProgress(), nullptr);
    EXPECT_EQ(clip.StreamStartFrame(), 12);
    // Frame 12 of 12 per second: the sound goes on from one second.
    const uint64_t rest = Settle(harness) - whole;
    EXPECT_NEAR(static_cast<double>(rest), static_cast<double>(whole) - 88200.0, whole * 0.03);
}

TEST_F(StreamSound, LoopingMovieStartsItsStreamOnEveryPass)
{
    const std::vector<uint8_t> shortTone(tone_.begin(), tone_.begin() + 20 * 417);
    const SwfSoundFormat mp3{};
    SwfTimeline movie;
    movie.SoundStreamHead(mp3, mp3).SoundStreamBlock(shortTone).ShowFrame().ShowFrame().End();
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(SwfMakeFile({.frameCount = 2}, movie.Bytes()), true));
    PVMovieClip& clip = *harness.player->MainClip();
    harness.player->Step(nullptr, -1, -1, false, false);  // frame 0 starts the stream
    const uint64_t once = Settle(harness);
    ASSERT_GT(once, 0u);
    harness.player->Step(nullptr, -1, -1, false, false);  // frame 1
    harness.player->Step(nullptr, -1, -1, false, false);  // frame 0 again
    EXPECT_NE(clip.StreamInProgress(), nullptr);
    EXPECT_EQ(clip.StreamStartFrame(), 0);
    EXPECT_EQ(Settle(harness), 2 * once);
}

TEST_F(StreamSound, StoppedClipReplayingItsFrameDoesNotRestartTheSound)
{
    const SwfSoundFormat mp3{};
    SwfTimeline movie;
    movie.SoundStreamHead(mp3, mp3).SoundStreamBlock(std::vector<uint8_t>(tone_.begin(), tone_.begin() + 8340));
    movie.ShowFrame().ShowFrame().End();
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(SwfMakeFile({.frameCount = 2}, movie.Bytes())));
    PVMovieClip& clip = *harness.player->MainClip();
    harness.player->Step(nullptr, -1, -1, false, false);
    const uint64_t once = Settle(harness);
    clip.StepBack();
    // Resuming at frame 0 starts the stream there; executing frame 0 then
    // finds it already playing.
    clip.SetPlaying(false);
    ASSERT_TRUE(clip.SetPlaying(true));
    harness.player->Step(nullptr, -1, -1, false, false);
    EXPECT_EQ(Settle(harness), 2 * once);
}

TEST_F(StreamSound, SeekStopsTheSoundAndGotoPlaysOnFromTheTarget)
{
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(ReadFile(L"ffmpeg_mjpeg_mp3.swf")));
    PVMovieClip& clip = *harness.player->MainClip();
    harness.player->Step(nullptr, -1, -1, false, false);
    harness.Pump(50);
    clip.Seek(6);
    EXPECT_EQ(clip.StreamInProgress(), nullptr);
    EXPECT_TRUE(clip.IsPlaying());
    Settle(harness);
    EXPECT_EQ(harness.player->AudioManager()->Playing().Count(), 0);

    const uint64_t before = harness.CompletedBytes();
    clip.GotoFrame(17);  // replays up to 17, plays on from 18
    EXPECT_EQ(clip.CurrentFrame(), 18);
    EXPECT_EQ(clip.StreamStartFrame(), 18);
    const uint64_t rest = Settle(harness) - before;
    EXPECT_GT(rest, 0u);
    EXPECT_LT(rest, 88200u);  // the last half second
}

TEST(PlayerSound, WithoutAnAudioManagerOnlyIgnoredSoundsSucceed)
{
    PVPlayer player;
    ASSERT_TRUE(player.Init());
    PVAudio sound(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0);
    EXPECT_FALSE(player.PlaySound(&sound, 0));
    EXPECT_FALSE(player.PlaySound(nullptr, 0));
    player.EnableSound(false);
    EXPECT_TRUE(player.PlaySound(&sound, 0));  // sound is off: nothing to do
}

}  // namespace
