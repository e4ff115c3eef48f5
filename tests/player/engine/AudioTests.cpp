#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <windows.h>

#include "fixtures/EmulatedCpu.h"
#include "AudioHarness.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfTimeline.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioBlock.h"
#include "player/engine/PVAudioDecoder.h"
#include "player/engine/PVAudioDecoderDriver.h"
#include "player/engine/PVAudioManager.h"
#include "player/engine/PVAudioPlayer.h"
#include "player/engine/PVAudioWaveOut.h"
#include "player/engine/PVEngineStart.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVMp3DecoderCache.h"
#include "player/engine/PVPlayingBuffers.h"
#include "player/engine/ThreadStart.h"

#include "base/MKAlloc.h"

namespace {

constexpr uint64_t kToneBytes = uint64_t{kToneSeconds} * kToneRate * 2;  // mono, 16-bit

// A movie whose stream (mono MP3 at 44100 Hz) holds `frames`, started in
// frame 0 of a one-frame movie.
std::vector<uint8_t> StreamMovie(const std::vector<uint8_t>& frames)
{
    const SwfSoundFormat mp3{};
    SwfTimeline movie;
    movie.SoundStreamHead(mp3, mp3).SoundStreamBlock(frames).ShowFrame().End();
    return SwfMakeFile({.frameCount = 1}, movie.Bytes());
}

// Decodes every block of `sound`; the buffers in order (freed by the caller).
std::vector<WAVEHDR*> DecodeAll(PVAudio& sound, int& result)
{
    std::vector<WAVEHDR*> buffers;
    PVAudioDecoderDriver* driver = nullptr;
    result = GetDecoderDriver(sound, driver);
    if (result != kAudioOk)
        return buffers;
    PVAudioDecoder decoder;
    result = decoder.Init(driver);
    if (result != kAudioOk)
        return buffers;
    WAVEHDR* buffer = nullptr;
    bool atEnd = false;
    while (decoder.DecodeBlock(&sound, buffer, atEnd)) {
        if (buffer)
            buffers.push_back(buffer);
    }
    return buffers;
}

uint64_t TotalLength(const std::vector<WAVEHDR*>& buffers)
{
    uint64_t total = 0;
    for (WAVEHDR* b : buffers)
        total += b->dwBufferLength;
    return total;
}

void FreeAll(const std::vector<WAVEHDR*>& buffers)
{
    for (WAVEHDR* b : buffers)
        MKFree(b);
}

TEST(Mp3Decoder, AnInstalledAcmDriverConvertsMp3ToPcm)
{
    int result = -1;
    PVAudioDecoderDriver* driver = CreateMp3DecoderDriver(2, 44100, result);
    ASSERT_EQ(result, kAudioOk) << "no ACM driver decodes MP3 here (Wine's l3codeca.acm with libmpg123 is needed)";
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->PcmFormat().wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(driver->PcmFormat().nChannels, 2);
    EXPECT_EQ(driver->PcmFormat().nSamplesPerSec, 44100u);
    EXPECT_EQ(driver->PcmFormat().wBitsPerSample, 16);
    EXPECT_EQ(driver->SourceFormat()->wFormatTag, WAVE_FORMAT_MPEGLAYER3);
    driver->AddRef();
    driver->Release();
}

// Every player's audio thread takes and drops references on the same cached
// drivers, so counts changed at once from several threads must all hold.
TEST(Mp3Decoder, DriverCountsHoldUnderConcurrentThreads)
{
    constexpr int kBase = 1000000;
    constexpr int kThreads = 8;
    auto* driver = new PVAudioDecoderDriver;
    for (int i = 0; i < kBase; ++i)
        driver->AddRef();
    LPTHREAD_START_ROUTINE churn = [](void* argument) WINAPI -> DWORD {
        auto* shared = static_cast<PVAudioDecoderDriver*>(argument);
        // The fences keep the compiler from merging the steps into one.
        for (int i = 0; i < 200000; ++i) {
            shared->AddRef();
            std::atomic_signal_fence(std::memory_order_seq_cst);
            shared->Release();
            std::atomic_signal_fence(std::memory_order_seq_cst);
        }
        return 0;
    };
    HANDLE threads[kThreads];
    for (HANDLE& thread : threads) {
        thread = CreateThread(nullptr, 0, churn, driver, 0, nullptr);
        ASSERT_NE(thread, nullptr);
    }
    WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    EXPECT_EQ(driver->RefCount(), kBase);
    delete driver;
}

TEST(EngineStart, CountsStartsAndFreesTheSlotWithTheLast)
{
    ASSERT_EQ(EngineStartCount(), 0);
    TermEngine(false);  // without a start: nothing
    EXPECT_EQ(EngineStartCount(), 0);
    ASSERT_TRUE(InitEngine(false));
    ASSERT_TRUE(InitEngine(false));
    EXPECT_EQ(EngineStartCount(), 2);
    EXPECT_NE(GetThreadWaiter(), nullptr);
    TermEngine(false);
    EXPECT_EQ(EngineStartCount(), 1);
    EXPECT_NE(GetThreadWaiter(), nullptr);  // the slot stays
    TermEngine(false);
    EXPECT_EQ(EngineStartCount(), 0);
    EXPECT_EQ(GetThreadWaiter(), nullptr);
    // A later start begins afresh.
    ASSERT_TRUE(InitEngine(false));
    EXPECT_NE(GetThreadWaiter(), nullptr);
    TermEngine(false);
}

TEST(Mp3DecoderCache, HoldsOneDriverPerRateAndChannelCount)
{
    EngineScope engine;
    ASSERT_TRUE(engine.started);
    int result = -1;
    EXPECT_EQ(FindMp3Decoder(2, 48000, result), nullptr);
    EXPECT_EQ(result, kAudioAcmFailed);
    PVAudioDecoderDriver* mono = FindMp3Decoder(1, 44100, result);
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(result, kAudioOk);
    EXPECT_EQ(mono->PcmFormat().nChannels, 1);
    PVAudioDecoderDriver* stereo = FindMp3Decoder(2, 22050, result);
    ASSERT_NE(stereo, nullptr);
    EXPECT_EQ(stereo->PcmFormat().nChannels, 2);
    EXPECT_EQ(stereo->PcmFormat().nSamplesPerSec, 22050u);
    // A second open counts; each close drops one reference.
    EXPECT_EQ(mono->RefCount(), 1);
    OpenMp3DecoderCache();
    EXPECT_EQ(mono->RefCount(), 2);
    CloseMp3DecoderCache();
    EXPECT_EQ(FindMp3Decoder(1, 44100, result), mono);
}

class Mp3Sounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(engine_.started);
        tone_ = ToneFrames();
        ASSERT_GT(tone_.size(), 40000u) << "the lame-made tone fixture is missing";
    }
    EngineScope engine_;
    std::vector<uint8_t> tone_;
};

TEST_F(Mp3Sounds, ToneDecodesToItsDuration)
{
    auto sound = Mp3Sound(tone_);
    int result = -1;
    const std::vector<WAVEHDR*> buffers = DecodeAll(*sound, result);
    ASSERT_EQ(result, kAudioOk);
    EXPECT_GT(buffers.size(), 10u);
    EXPECT_NEAR(static_cast<double>(TotalLength(buffers)), static_cast<double>(kToneBytes), kToneBytes * 0.05);
    for (WAVEHDR* b : buffers) {
        EXPECT_EQ(b->lpData, reinterpret_cast<char*>(b) + 84);
        EXPECT_EQ(b->dwFlags, 0u);  // no loops asked
        EXPECT_EQ(b->dwLoops, 0u);
    }
    FreeAll(buffers);
}

TEST_F(Mp3Sounds, LargeFirstBlockConvertsInSeveralPassesIntoOneBuffer)
{
    auto sound = Mp3Sound(tone_, 1 << 20);
    ASSERT_EQ(sound->BlockCount(), 1);
    int result = -1;
    const std::vector<WAVEHDR*> buffers = DecodeAll(*sound, result);
    ASSERT_EQ(result, kAudioOk);
    ASSERT_EQ(buffers.size(), 1u);
    EXPECT_GT(buffers[0]->dwBufferLength, 22050u * 4);
    EXPECT_NEAR(static_cast<double>(buffers[0]->dwBufferLength), static_cast<double>(kToneBytes), kToneBytes * 0.05);
    FreeAll(buffers);
}

TEST_F(Mp3Sounds, LoopCountMarksTheFirstAndLastBuffers)
{
    auto sound = Mp3Sound(tone_, 0, 2);
    int result = -1;
    const std::vector<WAVEHDR*> buffers = DecodeAll(*sound, result);
    ASSERT_GE(buffers.size(), 3u);
    EXPECT_EQ(buffers.front()->dwFlags, static_cast<DWORD>(WHDR_BEGINLOOP));
    EXPECT_EQ(buffers.front()->dwLoops, 2u);
    EXPECT_EQ(buffers.back()->dwFlags, static_cast<DWORD>(WHDR_ENDLOOP));
    EXPECT_EQ(buffers.back()->dwLoops, 0u);
    for (size_t i = 1; i + 1 < buffers.size(); ++i)
        EXPECT_EQ(buffers[i]->dwFlags, 0u) << i;
    FreeAll(buffers);
}

TEST_F(Mp3Sounds, OtherFormatsNeverStart)
{
    for (uint8_t format : {PVAudio::kUncompressed, PVAudio::kAdpcm}) {
        SoundRef sound = HoldSound(new PVAudio(0, format, 100, 0, 0, nullptr, 0));
        sound->SetStream(3, true, false);
        PVAudioPlayer player;
        EXPECT_EQ(player.Start(sound.get(), 0), kAudioNotMp3) << int{format};
        EXPECT_EQ(player.GetOutputFormat(), nullptr);
    }
    PVAudioPlayer player;
    EXPECT_EQ(player.Start(nullptr, 0), kAudioNotMp3);
}

TEST_F(Mp3Sounds, PlayerKeepsTheLeadAndSleepsTheRest)
{
    SKIP_WITHOUT_REAL_TIME();
    auto sound = Mp3Sound(tone_);
    PVAudioPlayer player;
    ASSERT_EQ(player.Start(sound.get(), 0), kAudioOk);
    PVPlayingBuffers playing;
    PVAudioWaveOut device(playing);
    ASSERT_EQ(device.Open(nullptr, WAVE_MAPPER, *player.GetOutputFormat()), 0);

    // The first pump writes the lead.
    ASSERT_EQ(player.Pump(device), PVAudioPlayer::kPumpAhead);
    EXPECT_GE(player.SubmittedMs(), PVAudioPlayer::kLeadMs);
    EXPECT_LT(player.SubmittedMs(), PVAudioPlayer::kLeadMs + 300);
    EXPECT_GT(playing.Count(), 0);
    // With the lead held, the next one decodes ahead into the queue, up to
    // two seconds of output.
    ASSERT_EQ(player.Pump(device), PVAudioPlayer::kPumpAhead);
    const double now = NowSeconds();
    EXPECT_GT(player.QueuedBytes(), 0u);
    EXPECT_LE(player.QueuedBytes(), 2u * kToneRate * 2 + 16384);
    const double sleep = player.SleepTime(now);
    EXPECT_GE(sleep, 0.0);
    EXPECT_LT(sleep, 0.3);

    int result = 0;
    const DWORD start = GetTickCount();
    while ((result = player.Pump(device)) != PVAudioPlayer::kPumpFinished && GetTickCount() - start < 6000) {
        const double wait = player.SleepTime(NowSeconds());
        if (wait > 0)
            Sleep(static_cast<DWORD>(wait * 1000));
    }
    ASSERT_EQ(result, PVAudioPlayer::kPumpFinished);
    // Writing keeps pace with real time: the rest after the lead took about
    // as long as it plays.
    EXPECT_GE(GetTickCount() - start, kToneSeconds * 1000u - PVAudioPlayer::kLeadMs - 300);
    EXPECT_NEAR(player.SubmittedMs(), kToneSeconds * 1000, 150);
    // Nothing is left to write: the thread sleeps a second at a time.
    EXPECT_EQ(player.SleepTime(NowSeconds() + 10), 1.0);
    EXPECT_EQ(device.Close(), 0);
    EXPECT_EQ(playing.Count(), 0);
}

TEST_F(Mp3Sounds, ToneMovieCompletesItsBytesAndQuitJoinsTheThread)
{
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(StreamMovie(tone_)));
    PVAudioManager* audio = harness.player->AudioManager();
    ASSERT_NE(audio, nullptr);
    EXPECT_TRUE(audio->IsRunning());
    const DWORD start = GetTickCount();
    harness.player->Step(nullptr, -1, -1, false, false);
    ASSERT_NE(harness.player->MainClip()->StreamInProgress(), nullptr);
    harness.PumpUntil(kToneBytes, kToneSeconds * 1000 + 3000);
    const DWORD took = GetTickCount() - start;
    EXPECT_NEAR(static_cast<double>(harness.CompletedBytes()), static_cast<double>(kToneBytes), kToneBytes * 0.05);
    // The test device (ALSA's null device under Wine) finishes a buffer as
    // soon as it is written; the audio thread writes no more than its lead
    // ahead of real time, so the tone cannot complete sooner than this.
    EXPECT_GE(took, kToneSeconds * 1000u - PVAudioPlayer::kLeadMs - 300);
    harness.Pump(300);
    EXPECT_EQ(audio->Playing().Count(), 0);

    const DWORD quitStart = GetTickCount();
    audio->Quit();
    EXPECT_LT(GetTickCount() - quitStart, 2000u);
    EXPECT_EQ(WaitForSingleObject(audio->ThreadHandle(), 0), WAIT_OBJECT_0);
    EXPECT_FALSE(audio->IsRunning());
}

// A sound that tells when it is destroyed.
class WatchedSound : public PVAudio {
public:
    explicit WatchedSound(std::atomic<bool>& gone) : PVAudio(0, kMp3, 100, 0, 0, nullptr, 0), gone_(gone) {}
    ~WatchedSound() override { gone_ = true; }

private:
    std::atomic<bool>& gone_;
};

// A stream's owner may drop it (with its movie) as soon as it started: the
// audio thread keeps the sound until it has played it to the end, then
// frees it.
TEST_F(Mp3Sounds, SoundDroppedByItsOwnerPlaysToItsEndAndTheThreadFreesIt)
{
    PVAudioManager manager(nullptr);
    ASSERT_TRUE(manager.Open());
    ASSERT_TRUE(manager.StartThread());
    std::atomic<bool> gone{false};
    SoundRef sound = HoldSound(new WatchedSound(gone));
    sound->SetStream(3, true, false);
    sound->AddBlock(PVAudioBlock::Create(tone_.data(), static_cast<int32_t>(tone_.size())));
    sound->SetEndOfData(true);
    const DWORD start = GetTickCount();
    ASSERT_TRUE(manager.PlaySound(sound.get(), 0));
    sound.reset();
    EXPECT_FALSE(gone);
    while (!gone && GetTickCount() - start < kToneSeconds * 1000u + 3000u)
        Sleep(10);
    EXPECT_TRUE(gone);
    // Freed only once all of it was written, a lead ahead of its end.
    EXPECT_GE(GetTickCount() - start, kToneSeconds * 1000u - PVAudioPlayer::kLeadMs - 300);
    manager.Quit();
}

TEST_F(Mp3Sounds, QuitWhilePlayingJoinsWithinTwoSeconds)
{
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(StreamMovie(tone_)));
    harness.player->Step(nullptr, -1, -1, false, false);
    harness.Pump(400);
    EXPECT_GT(harness.player->AudioManager()->Playing().Count(), 0);
    PVAudioManager* audio = harness.player->AudioManager();
    const DWORD quitStart = GetTickCount();
    audio->Quit();
    EXPECT_LT(GetTickCount() - quitStart, 2000u);
    EXPECT_EQ(WaitForSingleObject(audio->ThreadHandle(), 0), WAIT_OBJECT_0);
    // Closing freed what was still playing; late reports change nothing.
    EXPECT_EQ(audio->Playing().Count(), 0);
    harness.Pump(100);
}

TEST_F(Mp3Sounds, StoppingThePlayingClipStopsTheSound)
{
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(StreamMovie(tone_)));
    harness.player->Step(nullptr, -1, -1, false, false);
    harness.Pump(300);
    PVMovieClip* clip = harness.player->MainClip();
    clip->SetPlaying(false);
    EXPECT_EQ(clip->StreamInProgress(), nullptr);
    harness.Pump(600);
    const uint64_t stopped = harness.CompletedBytes();
    EXPECT_LT(stopped, kToneBytes * 9 / 10);
    EXPECT_EQ(harness.player->AudioManager()->Playing().Count(), 0);
    harness.Pump(600);
    EXPECT_EQ(harness.CompletedBytes(), stopped);
    // Playing again resumes the stream of frame 0.
    EXPECT_TRUE(clip->SetPlaying(true));
    EXPECT_NE(clip->StreamInProgress(), nullptr);
}

TEST_F(Mp3Sounds, SoundSwitchedOffIgnoresStarts)
{
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(StreamMovie(tone_)));
    harness.player->EnableSound(false);
    harness.player->Step(nullptr, -1, -1, false, false);
    harness.Pump(500);
    EXPECT_EQ(harness.CompletedBytes(), 0u);
    EXPECT_EQ(harness.player->AudioManager()->Playing().Count(), 0);
    harness.player->EnableSound(true);  // resumes the playing clip's stream
    harness.Pump(500);
    EXPECT_GT(harness.player->AudioManager()->Playing().Count() + harness.CompletedBytes(), 0u);
}

TEST(AudioManager, StopBeforeTheThreadRunsPostsNothing)
{
    EngineScope engine;
    PVAudioManager manager(nullptr);
    ASSERT_TRUE(manager.Open());
    EXPECT_TRUE(manager.StopSound());
    EXPECT_FALSE(manager.IsRunning());
}

TEST(AudioManager, PlayWithoutAThreadWaitsForTheReplyAndGivesUp)
{
    EngineScope engine;
    PVAudioManager manager(nullptr);
    ASSERT_TRUE(manager.Open());
    SoundRef sound = HoldSound(new PVAudio(0, PVAudio::kMp3, 100, 0, 0, nullptr, 0));
    const DWORD start = GetTickCount();
    EXPECT_TRUE(manager.PlaySound(sound.get(), 0));
    EXPECT_GE(GetTickCount() - start, PVAudioManager::kReplyWaitMs - 50);
    // The message stays queued and is freed with the manager.
}

TEST(AudioManager, WaveDoneForAnUnknownBufferChangesNothing)
{
    EngineScope engine;
    PVAudioManager manager(nullptr);
    WAVEHDR stray = {};
    EXPECT_EQ(manager.OnWaveDone(nullptr, &stray), 0u);
    EXPECT_EQ(manager.OnWaveDone(nullptr, nullptr), 0u);
}

// A report posted before the device closed may arrive once a new buffer
// occupies the same address on the next device: a buffer the device still
// holds is never freed by it.
TEST(AudioManager, WaveDoneForAQueuedBufferLeavesItPlaying)
{
    PVPlayingBuffers playing;
    PVAudioWaveOut device(playing);
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 44100, 88200, 2, 16, 0};
    ASSERT_EQ(device.Open(nullptr, WAVE_MAPPER, format), 0);
    ASSERT_EQ(waveOutPause(device.Device()), MMSYSERR_NOERROR);
    constexpr DWORD kBytes = 88200;
    auto* area = static_cast<uint8_t*>(MKAlloc(PVAudioBuffer::kHeaderSize + kBytes));
    ASSERT_NE(area, nullptr);
    std::memset(area, 0, PVAudioBuffer::kHeaderSize + kBytes);
    auto* buffer = reinterpret_cast<WAVEHDR*>(area);
    buffer->lpData = reinterpret_cast<LPSTR>(PVAudioBuffer::Data(area));
    buffer->dwBufferLength = kBytes;
    ASSERT_EQ(device.Write(buffer), 0);
    ASSERT_FALSE(buffer->dwFlags & WHDR_DONE);

    EXPECT_EQ(playing.Release(device.Device(), buffer), 0u);
    EXPECT_EQ(playing.Count(), 1);
    // Once the device gives it back, its report frees it.
    ASSERT_EQ(device.Reset(), 0);
    EXPECT_EQ(playing.Release(device.Device(), buffer), kBytes);
    EXPECT_EQ(playing.Count(), 0);
    EXPECT_EQ(device.Close(), 0);
}

// Runs in a child process whose ACM has no MP3 driver (see below).
TEST(NoMp3Driver, SoundsFailWithCode2AndTheMoviePlaysSilently)
{
    if (!std::getenv("VISTELLO_NO_MP3_DRIVER"))
        GTEST_SKIP() << "runs in the child process of NoMp3Driver.ChildWithoutTheDriver";
    int result = -1;
    EXPECT_EQ(CreateMp3DecoderDriver(1, 44100, result), nullptr);
    EXPECT_EQ(result, kAudioNoDriver);
    EngineScope engine;
    ASSERT_TRUE(engine.started);
    EXPECT_EQ(FindMp3Decoder(2, 44100, result), nullptr);
    EXPECT_EQ(result, kAudioNoDriver);
    const std::vector<uint8_t> tone = ToneFrames();
    auto sound = Mp3Sound(tone);
    PVAudioPlayer player;
    EXPECT_EQ(player.Start(sound.get(), 0), kAudioNoDriver);

    AudioHarness harness;
    SwfTimeline movie;
    movie.SoundStreamHead({}, {}).SoundStreamBlock(tone).ShowFrame().ShowFrame().ShowFrame().End();
    ASSERT_TRUE(harness.Load(SwfMakeFile({.frameCount = 3}, movie.Bytes())));
    for (int i = 0; i < 3; ++i)
        harness.player->Step(nullptr, -1, -1, false, false);
    EXPECT_EQ(harness.player->GetCurrentFrame(), 3);
    harness.Pump(300);
    EXPECT_EQ(harness.CompletedBytes(), 0u);
    EXPECT_EQ(harness.player->AudioManager()->Playing().Count(), 0);
    std::printf("NO_MP3_DRIVER_CHECKED\n");
}

// Wine's MP3 decoder is switched off for one program name only (an
// application override in the prefix), under which a copy of this test runs.
TEST(NoMp3Driver, ChildWithoutTheDriver)
{
    const wchar_t kChild[] = L"vistello_no_mp3_child.exe";
    const std::wstring overrides = std::wstring(L"Software\\Wine\\AppDefaults\\") + kChild + L"\\DllOverrides";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"l3codeca.acm", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    RegCloseKey(key);
    struct Cleanup {
        std::wstring key;
        ~Cleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
    } cleanup{std::wstring(L"Software\\Wine\\AppDefaults\\") + kChild};

    wchar_t exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    ScratchFolder folder;
    const std::wstring copy = folder.File(kChild);
    ASSERT_TRUE(CopyFileW(exe, copy.c_str(), FALSE));
    const std::wstring command =
        L"\"" + copy + L"\" --gtest_filter=NoMp3Driver.SoundsFailWithCode2AndTheMoviePlaysSilently";
    const ChildProcessResult child = RunChildProcess(command, {{L"VISTELLO_NO_MP3_DRIVER", L"1"}});
    ASSERT_TRUE(child.started);
    EXPECT_EQ(child.exitCode, 0u) << child.output;
    EXPECT_NE(child.output.find("NO_MP3_DRIVER_CHECKED"), std::string::npos) << child.output;
}

}  // namespace

namespace {

// The ffmpeg movie (24 JPEG frames at 12 fps over 2 s of MP3 stream sound)
// played as the player application's loop plays it: a frame, then a sleep
// until the frame's time since the stream started. After each frame, the
// frame's time is compared with the sound's position. The test device (ALSA's
// null device under Wine) finishes a buffer as soon as it is written, so
// its first completion marks when the sound began, and a device that plays
// in real time is that far into the sound now.
TEST_F(Mp3Sounds, FfmpegMovieSoundKeepsStepWithItsFrames)
{
    std::ifstream in(FixturePath(L"ffmpeg_mjpeg_mp3.swf").c_str(), std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    AudioHarness harness;
    ASSERT_TRUE(harness.Load(file));
    PVPlayer& player = *harness.player;
    PVMovieClip& clip = *player.MainClip();
    const PVAudio* stream = player.MainClip()->Movie()->Sounds()[0];
    const double bytesPerMs = stream->GetSampleRate() * (stream->IsStereo() ? 2 : 1) * 2 / 1000.0;
    const float rate = player.FrameRate();
    ASSERT_EQ(rate, 12.0f);

    const DWORD start = GetTickCount();
    double worst = 0;
    double sum = 0;
    int measured = 0;
    while (clip.CurrentFrame() < player.GetFrameCount() && GetTickCount() - start < 10000) {
        player.Step(nullptr, -1, -1, false, false);
        ASSERT_NE(clip.StreamInProgress(), nullptr);
        const auto frames = static_cast<uint16_t>(clip.CurrentFrame() - clip.StreamStartFrame());
        const int expected = static_cast<int>(frames / rate * 1000.0f + 0.5f);
        const int elapsed = static_cast<int>(GetTickCount() - clip.StreamStartTick());
        if (expected > elapsed)
            harness.Pump(static_cast<DWORD>(expected - elapsed));
        harness.Pump(0);
        if (!harness.FirstCompletionTick())
            continue;
        const double soundMs = GetTickCount() - harness.FirstCompletionTick();
        const double drift = expected - soundMs;
        worst = std::max(worst, std::abs(drift));
        sum += drift;
        ++measured;
    }
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(clip.CurrentFrame(), 24);
    EXPECT_GE(took, 1900u);  // the frames keep their rate
    EXPECT_LT(took, 3000u);
    ASSERT_GE(measured, 20);
    std::printf("drift over %d frames: worst %.0f ms, mean %.0f ms\n", measured, worst, sum / measured);
    // The start hand-off to the audio thread and the frame sleeps, in
    // milliseconds of the tick count.
    EXPECT_LE(worst, 100.0);  // about 30 ms measured here, most of it the report's delivery
    // All of the sound was written.
    harness.Pump(200);
    EXPECT_GE(harness.CompletedBytes(), static_cast<uint64_t>(2000 * bytesPerMs * 0.95));
}

}  // namespace
