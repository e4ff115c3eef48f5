#include "player/engine/PVAudioWaveOut.h"

#include "base/MKAlloc.h"
#include "player/engine/PVPlayingBuffers.h"

PVAudioWaveOut::~PVAudioWaveOut()
{
    Close();
}

int PVAudioWaveOut::Open(HWND window, UINT deviceId, const WAVEFORMATEX& format)
{
    if (device_)
        return playing_.ResetDevice(device_) == MMSYSERR_NOERROR ? 0 : 1;
    WAVEFORMATEX wanted = format;
    wanted.cbSize = 0;
    HWAVEOUT device = nullptr;
    const DWORD callback = window ? CALLBACK_WINDOW : CALLBACK_NULL;
    if (waveOutOpen(&device, deviceId, &wanted, reinterpret_cast<DWORD_PTR>(window), 0, callback) !=
        MMSYSERR_NOERROR)
        return 5;
    device_ = device;
    format_ = format;
    return 0;
}

int PVAudioWaveOut::Close()
{
    if (!device_)
        return 0;
    const MMRESULT closed = playing_.CloseDevice(device_);
    device_ = nullptr;
    return closed == MMSYSERR_NOERROR ? 0 : 1;
}

int PVAudioWaveOut::Reset()
{
    if (!device_)
        return 0;
    return playing_.ResetDevice(device_) == MMSYSERR_NOERROR ? 0 : 1;
}

int PVAudioWaveOut::Write(WAVEHDR* buffer)
{
    if (!device_) {
        MKFree(buffer);
        return 0;
    }
    if (waveOutPrepareHeader(device_, buffer, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        MKFree(buffer);
        return 1;
    }
    // Listed before the write: the device may report it done at once.
    playing_.Add(buffer);
    if (waveOutWrite(device_, buffer, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        if (playing_.Remove(buffer)) {
            waveOutUnprepareHeader(device_, buffer, sizeof(WAVEHDR));
            MKFree(buffer);
        }
        return 1;
    }
    return 0;
}
