#pragma once
#include <cstdint>

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

class PVAudio;

// Codes of starting a sound, shared by the decoder cache, the drivers, the
// players and the audio manager.
enum PVAudioResult {
    kAudioOk = 0,
    kAudioAcmFailed = 1,     // driver enumeration or stream open failed
    kAudioNoDriver = 2,      // no driver converts the format to PCM
    kAudioNotMp3 = 3,        // not an MP3 sound, or no sound
    kAudioOutOfMemory = 4,
    kAudioNoDevice = 5,      // the device cannot be opened
};

// An opened ACM driver that converts one MP3 format (rate and channels) to
// PCM. Counted: holders (the decoder cache, decoders, players) add one and
// the release that brings the count to 0 or below deletes it, closing the
// driver. Cached drivers are shared by the audio threads of every player, so
// the count changes atomically.
class PVAudioDecoderDriver {
public:
    PVAudioDecoderDriver();
    virtual ~PVAudioDecoderDriver();
    PVAudioDecoderDriver(const PVAudioDecoderDriver&) = delete;
    PVAudioDecoderDriver& operator=(const PVAudioDecoderDriver&) = delete;

    void AddRef() { InterlockedIncrement(&refCount_); }
    void Release()
    {
        if (InterlockedDecrement(&refCount_) <= 0)
            delete this;
    }
    int RefCount() const { return static_cast<int>(refCount_); }

    // Describes the sound's MP3 format and selects the first installed
    // driver that converts it to PCM, which stays open. A PVAudioResult.
    int Open(const PVAudio& sound);

    HACMDRIVER Handle() const { return driver_; }
    HACMDRIVERID DriverId() const { return driverId_; }
    const WAVEFORMATEX* SourceFormat() const { return source_; }
    const WAVEFORMATEX& PcmFormat() const { return pcm_; }

private:
    static BOOL CALLBACK EnumDriverCallback(HACMDRIVERID id, DWORD_PTR instance, DWORD support);
    static BOOL CALLBACK EnumFormatCallback(HACMDRIVERID id, ACMFORMATDETAILSA* details, DWORD_PTR instance,
                                            DWORD support);
    void DescribeMp3(const PVAudio& sound);

    volatile LONG refCount_ = 0;
    HACMDRIVERID driverId_ = nullptr;
    HACMDRIVER driver_ = nullptr;
    alignas(4) uint8_t sourceArea_[512] = {};
    WAVEFORMATEX* source_;
    WAVEFORMATEX pcm_ = {};
};

// A driver for MP3 sound of `channels` (1 or 2) at `rate` Hz (5500, 11025,
// 22050 or 44100), opened; null with the code in `result` on failure.
PVAudioDecoderDriver* CreateMp3DecoderDriver(int channels, int rate, int& result);

// The driver for `sound`: for MP3 the decoder cache's (no reference is
// added), else none. A PVAudioResult.
int GetDecoderDriver(const PVAudio& sound, PVAudioDecoderDriver*& driver);
