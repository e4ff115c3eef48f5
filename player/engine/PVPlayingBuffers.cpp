#include "player/engine/PVPlayingBuffers.h"

#include "base/MKAlloc.h"
#include "base/MKLock.h"

PVPlayingBuffers::~PVPlayingBuffers()
{
    while (WAVEHDR* buffer = list_.PopFront())
        MKFree(buffer);
}

void PVPlayingBuffers::Add(WAVEHDR* buffer)
{
    MKLock lock(lock_);
    list_.PushBack(buffer);
}

bool PVPlayingBuffers::Remove(WAVEHDR* buffer)
{
    MKLock lock(lock_);
    return list_.Remove(buffer);
}

DWORD PVPlayingBuffers::Release(HWAVEOUT device, WAVEHDR* buffer)
{
    MKLock lock(lock_);
    // A report posted before its device closed can name an address that a
    // new buffer, still queued on the next device, now occupies: only a
    // buffer the device has finished is taken.
    if (!buffer || !list_.Contains(buffer) || !(buffer->dwFlags & WHDR_DONE))
        return 0;
    list_.Remove(buffer);
    const DWORD bytes = buffer->dwBufferLength;
    waveOutUnprepareHeader(device, buffer, sizeof(WAVEHDR));
    MKFree(buffer);
    return bytes;
}

MMRESULT PVPlayingBuffers::CloseDevice(HWAVEOUT device)
{
    MKLock lock(lock_);
    waveOutReset(device);
    while (WAVEHDR* buffer = list_.PopFront()) {
        waveOutUnprepareHeader(device, buffer, sizeof(WAVEHDR));
        MKFree(buffer);
    }
    return waveOutClose(device);
}

MMRESULT PVPlayingBuffers::ResetDevice(HWAVEOUT device)
{
    MKLock lock(lock_);
    return waveOutReset(device);
}

int PVPlayingBuffers::Count()
{
    MKLock lock(lock_);
    int n = 0;
    for (WAVEHDR* at = list_.first; at; at = PVAudioBuffer::LinksOf(at).next)
        ++n;
    return n;
}

DWORD PVPlayingBuffers::Bytes()
{
    MKLock lock(lock_);
    DWORD n = 0;
    for (WAVEHDR* at = list_.first; at; at = PVAudioBuffer::LinksOf(at).next)
        n += at->dwBufferLength;
    return n;
}
