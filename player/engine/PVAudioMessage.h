#pragma once
#include <cstdint>

class PVAudio;
class PVReplySignal;

// A request to the audio thread; the thread frees it once handled.
struct PVAudioMessage {
    enum Type : uint32_t { kStart = 1, kStop = 5, kQuit = 6 };

    uint32_t type = 0;
    PVAudio* sound = nullptr;  // start: the sound, with a reference of the message
    int32_t startMs = 0;       // start: the position in ms
    // Start and quit: the reply the poster waits for; the message holds one
    // reference.
    PVReplySignal* reply = nullptr;
};
