#pragma once
#include <cstdint>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include "player/engine/PVAudioBuffer.h"

class PVAudio;
class PVAudioDecoder;
class PVAudioDecoderDriver;
class PVAudioWaveOut;

// GetTickCount as seconds.
double NowSeconds();

// Plays one sound: decodes ahead into a queue of up to two seconds of
// output and writes buffers so that the device holds 2000 ms beyond real
// time. Audio thread only; the player holds a reference on its sound.
class PVAudioPlayer {
public:
    static constexpr int32_t kLeadMs = 2000;

    enum PumpResult { kPumpAhead = 1, kPumpFinished = 2, kPumpDecoded = 3 };

    PVAudioPlayer() = default;
    virtual ~PVAudioPlayer();
    PVAudioPlayer(const PVAudioPlayer&) = delete;
    PVAudioPlayer& operator=(const PVAudioPlayer&) = delete;

    // Selects the driver and decoder for `sound` and seeks it to `startMs`.
    // A PVAudioResult; called once.
    int Start(PVAudio* sound, int32_t startMs);
    // Decodes and writes as far as the lead and the queue allow: kPumpAhead
    // when the device is a lead ahead, kPumpDecoded when the sound is decoded
    // but not at its end, kPumpFinished when all of it was written.
    int Pump(PVAudioWaveOut& device);
    // Seconds the thread may sleep at `now` (NowSeconds): the time written
    // beyond the lead, or 1 once nothing is left to write.
    double SleepTime(double now) const;
    // The driver's PCM format; null before Start.
    const WAVEFORMATEX* GetOutputFormat() const;

    int32_t SubmittedMs() const { return submittedMs_; }
    uint32_t QueuedBytes() const { return queuedBytes_; }

private:
    int32_t AheadMs(double now) const;

    PVAudioDecoderDriver* driver_ = nullptr;
    PVAudioDecoder* decoder_ = nullptr;
    PVAudio* sound_ = nullptr;
    int32_t startMs_ = 0;
    PVAudioBuffer::Chain queue_;
    uint32_t queuedBytes_ = 0;
    int32_t submittedMs_ = 0;
    bool firstSubmit_ = false;
    double playStart_ = 0.0;
    bool decodeDone_ = false;
    bool endOfStream_ = false;
    uint32_t maxQueuedBytes_ = 0;
    uint32_t bytesPerSecond_ = 0;
};
