#pragma once
#include <windows.h>

#include "base/MKCriticalSection.h"
#include "player/engine/PVAudioBuffer.h"

// The buffers written to a waveOut device and not yet reported done, under
// one lock: the audio thread adds them as it writes and releases them all
// when it closes the device; the user-interface thread releases each one
// the device reports done. A buffer is unprepared and freed by whoever takes
// it off the list, so a late or repeated report never touches a freed
// buffer, and no unprepare runs while the device is being closed.
class PVPlayingBuffers {
public:
    PVPlayingBuffers() = default;
    ~PVPlayingBuffers();  // frees what is still listed
    PVPlayingBuffers(const PVPlayingBuffers&) = delete;
    PVPlayingBuffers& operator=(const PVPlayingBuffers&) = delete;

    void Add(WAVEHDR* buffer);
    // Takes `buffer` back without freeing it; false when it is not listed.
    bool Remove(WAVEHDR* buffer);
    // A finished buffer of `device`: unprepared and freed when listed and
    // marked done. Its byte count, or 0 for a buffer that is not (or no
    // longer) listed or still queued.
    DWORD Release(HWAVEOUT device, WAVEHDR* buffer);
    // Resets and closes `device` with every listed buffer unprepared and
    // freed in between, all under the lock. The result of waveOutClose.
    MMRESULT CloseDevice(HWAVEOUT device);
    // Resets `device` under the lock. The result of waveOutReset.
    MMRESULT ResetDevice(HWAVEOUT device);
    // The number of listed buffers and their bytes.
    int Count();
    DWORD Bytes();

private:
    MKCriticalSection lock_;
    PVAudioBuffer::Chain list_;
};
