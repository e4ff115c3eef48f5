#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

class PVPlayingBuffers;

// The waveOut device of one audio manager. Audio thread only; the device
// reports finished buffers as MM_WOM_DONE to the callback window.
class PVAudioWaveOut {
public:
    // `playing` (the manager's in-flight list) must outlive this object.
    explicit PVAudioWaveOut(PVPlayingBuffers& playing) : playing_(playing) {}
    virtual ~PVAudioWaveOut();
    PVAudioWaveOut(const PVAudioWaveOut&) = delete;
    PVAudioWaveOut& operator=(const PVAudioWaveOut&) = delete;

    // Opens `deviceId` for `format`, reporting to `window`: 5 when it cannot
    // be opened. With a device already open it only resets it (1 when the
    // reset fails).
    int Open(HWND window, UINT deviceId, const WAVEFORMATEX& format);
    // Resets and closes the device (every written buffer is freed); 1 when
    // closing fails.
    int Close();
    // 1 when the reset fails.
    int Reset();
    // Prepares and writes the buffer, listing it as playing; 0 on success.
    // Without a device, or on failure (1), the buffer is freed.
    int Write(WAVEHDR* buffer);

    bool IsOpen() const { return device_ != nullptr; }
    HWAVEOUT Device() const { return device_; }
    // The format the device was opened with (18 bytes).
    const WAVEFORMATEX& Format() const { return format_; }

private:
    PVPlayingBuffers& playing_;
    HWAVEOUT device_ = nullptr;
    WAVEFORMATEX format_ = {};
};
