#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "player/engine/PVPlayer.h"

class PVAudio;
class PVMovie;

// Starts the engine with the MP3 decoder cache for one test, and stops it.
struct EngineScope {
    EngineScope();
    ~EngineScope();
    EngineScope(const EngineScope&) = delete;
    EngineScope& operator=(const EngineScope&) = delete;
    bool started;
};

// The lame-made tone of the test fixtures: 3 s of 440 Hz, mono, 44100 Hz,
// 128 kbit/s (its MPEG frames only).
std::vector<uint8_t> ToneFrames();
constexpr int kToneSeconds = 3;
constexpr int kToneRate = 44100;

// A counted sound with a reference of its own, released when it goes.
struct ReleaseSound {
    void operator()(PVAudio* sound) const;
};
using SoundRef = std::unique_ptr<PVAudio, ReleaseSound>;
// Takes a reference on `sound`.
SoundRef HoldSound(PVAudio* sound);

// An MP3 sound of `frames` (mono, 44100 Hz) as the parser would queue it,
// with the end of its data marked.
SoundRef Mp3Sound(const std::vector<uint8_t>& frames, int32_t blockSize = 0, int32_t loops = 0);

// A player whose device reports to a message-only window of the calling
// thread; Pump dispatches the window's messages and counts the bytes of the
// buffers the device has finished.
class AudioHarness {
public:
    AudioHarness();
    ~AudioHarness();
    AudioHarness(const AudioHarness&) = delete;
    AudioHarness& operator=(const AudioHarness&) = delete;

    // Loads the movie file (its main clip looping when `loops`) and starts
    // the player's audio; false on failure.
    bool Load(const std::vector<uint8_t>& file, bool loops = false);
    // Dispatches messages for `ms` milliseconds.
    void Pump(DWORD ms);
    // Dispatches messages until `bytes` have completed or `ms` have passed;
    // the milliseconds it took.
    DWORD PumpUntil(uint64_t bytes, DWORD ms);

    HWND Window() const { return window_; }
    uint64_t CompletedBytes() const { return completed_; }
    // The tick count at which the first buffer completed; 0 before.
    DWORD FirstCompletionTick() const { return firstCompletion_; }
    std::unique_ptr<PVPlayer> player;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    uint64_t completed_ = 0;
    DWORD firstCompletion_ = 0;
    std::vector<uint8_t> file_;
};
