#pragma once
#include <cstdint>

#include <windows.h>
#include <mmsystem.h>
// The engine's own PlaySound members, not the Windows function's A/W name.
#undef PlaySound

#include "player/engine/PVPlayingBuffers.h"

class PVAudio;
class PVAudioPlayer;
class PVAudioWaveOut;
class PVMessageQueue;
struct PVAudioMessage;
class PVReplySignal;
struct ThreadStartBlock;

// The sound of one player: an audio thread that plays at most one sound at
// a time on one waveOut device, fed through a message queue. The
// user-interface thread (the one that creates the manager) posts starts,
// stops and the quit, and hands each MM_WOM_DONE that the device sends to
// the callback window back through OnWaveDone. The engine must be started
// (InitEngine) while a manager exists.
class PVAudioManager {
public:
    // Replies to a start or a quit are awaited this long at most.
    static constexpr DWORD kReplyWaitMs = 2000;

    // `window` receives the device's MM_WOM_DONE messages; it may be null
    // (nothing is reported then, and written buffers are freed when the
    // device closes).
    explicit PVAudioManager(HWND window);
    // Quits the thread first when it still runs.
    virtual ~PVAudioManager();
    PVAudioManager(const PVAudioManager&) = delete;
    PVAudioManager& operator=(const PVAudioManager&) = delete;

    // Makes the queue, the device wrapper and the quit request; false when
    // out of memory.
    bool Open();
    // Starts the audio thread after a successful Open and waits (at most
    // 2000 ms) until it runs; true when it does.
    bool StartThread();
    // Asks the thread to play `sound` from `startMs`, replacing the sound
    // that plays, and waits at most 2000 ms for it to take the request. The
    // request and then the thread's player hold references on the sound.
    // False only when the request cannot be posted; whether the sound starts
    // is not reported.
    bool PlaySound(PVAudio* sound, int32_t startMs);
    // Asks the thread to stop the sound without waiting; true at once when
    // no thread runs, else whether the request was posted.
    bool StopSound();
    // Asks the thread to close the device and end, ahead of other requests,
    // waits for its reply and then for the thread itself. Nothing without a
    // running thread.
    void Quit();
    // A buffer the device reports done: freed when it is still playing.
    // Its byte count, or 0 for a buffer that was already freed.
    DWORD OnWaveDone(HWAVEOUT device, WAVEHDR* buffer);

    bool IsRunning() const { return running_ != 0; }
    HANDLE ThreadHandle() const { return thread_; }
    // The buffers written and not yet reported done.
    PVPlayingBuffers& Playing() { return playing_; }

private:
    static int AudioThreadProc(ThreadStartBlock* block, void* manager);
    // Handles messages until the quit, whose reply it returns.
    PVReplySignal* RunLoop();
    void IdleStep();
    int StartPlayer(PVAudio* sound, int32_t startMs);
    void DeletePlayer();
    static void FreeMessage(PVAudioMessage* message);

    PVAudioPlayer* player_ = nullptr;
    PVAudioWaveOut* waveOut_ = nullptr;
    PVMessageQueue* queue_ = nullptr;
    volatile LONG running_ = 0;
    HWND window_;
    PVPlayingBuffers playing_;
    HANDLE thread_ = nullptr;
    // Made by Open so that stopping the thread needs no memory.
    PVAudioMessage* quitMessage_ = nullptr;
};
