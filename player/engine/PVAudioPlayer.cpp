#include "player/engine/PVAudioPlayer.h"

#include <new>

#include "base/MKAlloc.h"
#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioDecoder.h"
#include "player/engine/PVAudioDecoderDriver.h"
#include "player/engine/PVAudioWaveOut.h"

double NowSeconds()
{
    return static_cast<double>(static_cast<DWORD>(GetTickCount())) * 0.001;
}

PVAudioPlayer::~PVAudioPlayer()
{
    while (WAVEHDR* buffer = queue_.PopFront())
        MKFree(buffer);
    if (driver_)
        driver_->Release();
    delete decoder_;
    if (sound_)
        sound_->Release();
}

int PVAudioPlayer::Start(PVAudio* sound, int32_t startMs)
{
    if (!sound)
        return kAudioNotMp3;
    PVAudioDecoderDriver* driver = nullptr;
    const int found = GetDecoderDriver(*sound, driver);
    if (!driver)
        return found;
    driver->AddRef();
    auto* decoder = new (std::nothrow) PVAudioDecoder;
    const int made = decoder ? decoder->Init(driver) : kAudioOutOfMemory;
    if (made != kAudioOk) {
        delete decoder;
        driver->Release();
        return made;
    }
    driver_ = driver;
    decoder_ = decoder;
    sound->AddRef();
    sound_ = sound;
    bytesPerSecond_ = driver->PcmFormat().nAvgBytesPerSec;
    maxQueuedBytes_ = 2 * bytesPerSecond_;
    playStart_ = NowSeconds();
    firstSubmit_ = true;
    while (WAVEHDR* buffer = queue_.PopFront())
        MKFree(buffer);
    queuedBytes_ = 0;
    submittedMs_ = 0;
    decodeDone_ = endOfStream_ = false;
    startMs_ = startMs;
    // The whole sound was loaded before it could start.
    sound->SetEndOfData(true);
    sound->Seek(startMs);
    return kAudioOk;
}

int32_t PVAudioPlayer::AheadMs(double now) const
{
    const auto elapsedMs = static_cast<int32_t>((now - playStart_) * 1000.0);
    return submittedMs_ - elapsedMs;
}

int PVAudioPlayer::Pump(PVAudioWaveOut& device)
{
    if (endOfStream_ && queue_.Empty())
        return kPumpFinished;
    for (;;) {
        // Decode ahead while the device has its lead, up to the queue's size.
        while (!(queuedBytes_ > 0 && AheadMs(NowSeconds()) < kLeadMs) && queuedBytes_ < maxQueuedBytes_) {
            WAVEHDR* buffer = nullptr;
            bool atEnd = false;
            if (!decoder_ || !decoder_->DecodeBlock(sound_, buffer, atEnd)) {
                decodeDone_ = true;
                endOfStream_ = endOfStream_ || atEnd;
                break;
            }
            decodeDone_ = false;
            endOfStream_ = atEnd;
            if (buffer) {
                queue_.PushBack(buffer);
                queuedBytes_ += buffer->dwBufferLength;
            }
        }
        // Write as much as keeps the lead.
        for (;;) {
            if (AheadMs(NowSeconds()) >= kLeadMs)
                return kPumpAhead;
            if (queue_.Empty()) {
                if (decodeDone_ && endOfStream_)
                    return kPumpFinished;
                if (decodeDone_)
                    return kPumpDecoded;
                break;  // decode more
            }
            WAVEHDR* buffer = queue_.PopFront();
            queuedBytes_ -= buffer->dwBufferLength;
            if (firstSubmit_) {
                playStart_ = NowSeconds();
                firstSubmit_ = false;
            }
            if (bytesPerSecond_)
                submittedMs_ += static_cast<int32_t>(static_cast<uint64_t>(buffer->dwBufferLength) * 1000u /
                                                     bytesPerSecond_);
            device.Write(buffer);
        }
    }
}

double PVAudioPlayer::SleepTime(double now) const
{
    const auto elapsedMs = static_cast<int32_t>((now - playStart_) * 1000.0);
    const double sleep = (submittedMs_ - elapsedMs - kLeadMs) / 1000.0;
    if (sleep <= 0.0 && queue_.Empty() && decodeDone_)
        return 1.0;
    return sleep;
}

const WAVEFORMATEX* PVAudioPlayer::GetOutputFormat() const
{
    return driver_ ? &driver_->PcmFormat() : nullptr;
}
