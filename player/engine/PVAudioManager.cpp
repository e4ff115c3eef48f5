#include "player/engine/PVAudioManager.h"

#include <cstring>
#include <new>

#include "player/engine/PVAudio.h"
#include "player/engine/PVAudioDecoderDriver.h"
#include "player/engine/PVAudioMessage.h"
#include "player/engine/PVAudioPlayer.h"
#include "player/engine/PVAudioWaveOut.h"
#include "player/engine/PVMessageQueue.h"
#include "player/engine/PVReplySignal.h"
#include "player/engine/ThreadStart.h"

PVAudioManager::PVAudioManager(HWND window) : window_(window) {}

PVAudioManager::~PVAudioManager()
{
    Quit();
    if (thread_)
        CloseHandle(thread_);
    delete waveOut_;
    if (queue_) {
        while (PVAudioMessage* message = queue_->PopFront())
            FreeMessage(message);
        delete queue_;
    }
    DeletePlayer();
    if (quitMessage_)
        FreeMessage(quitMessage_);
}

void PVAudioManager::FreeMessage(PVAudioMessage* message)
{
    if (message->reply)
        message->reply->Release();
    if (message->sound)
        message->sound->Release();
    delete message;
}

bool PVAudioManager::Open()
{
    if (!queue_ && !(queue_ = new (std::nothrow) PVMessageQueue))
        return false;
    if (!waveOut_ && !(waveOut_ = new (std::nothrow) PVAudioWaveOut(playing_)))
        return false;
    if (!quitMessage_) {
        auto* quit = new (std::nothrow) PVAudioMessage;
        if (!quit || !(quit->reply = PVReplySignal::Create()) || !queue_->ReserveFrontNode()) {
            if (quit)
                FreeMessage(quit);
            return false;
        }
        quit->type = PVAudioMessage::kQuit;
        quitMessage_ = quit;
    }
    return true;
}

bool PVAudioManager::StartThread()
{
    // Without its quit request a running thread could never be stopped.
    if (!queue_ || !waveOut_ || !quitMessage_ || thread_)
        return false;
    void* handle = nullptr;
    if (!StartThreadAndWait(&PVAudioManager::AudioThreadProc, this, handle))
        return false;
    thread_ = handle;
    // Set here rather than by the thread: the thread may touch the manager
    // only once its start has been taken.
    InterlockedExchange(&running_, 1);
    return IsRunning();
}

int PVAudioManager::AudioThreadProc(ThreadStartBlock* block, void* argument)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    // A start that came after the starter gave up: the owner deletes the
    // manager, so it is never touched.
    if (!SignalThreadStarted(block, true))
        return 0;
    auto* manager = static_cast<PVAudioManager*>(argument);
    if (PVReplySignal* reply = manager->RunLoop()) {
        reply->Signal();
        reply->Release();
    }
    return 0;
}

bool PVAudioManager::PlaySound(PVAudio* sound, int32_t startMs)
{
    if (!queue_)
        return false;
    auto* message = new (std::nothrow) PVAudioMessage;
    PVReplySignal* reply = PVReplySignal::Create();
    if (!message || !reply) {
        delete message;
        if (reply)
            reply->Release();
        return false;
    }
    message->type = PVAudioMessage::kStart;
    // The owner may drop the sound (a stream dies with its movie) while the
    // request waits or the thread plays it.
    if (sound)
        sound->AddRef();
    message->sound = sound;
    message->startMs = startMs;
    reply->AddRef();
    message->reply = reply;
    reply->Lock();
    if (!queue_->PushBack(message)) {
        reply->Unlock();
        FreeMessage(message);
        reply->Release();
        return false;
    }
    reply->Wait(kReplyWaitMs);
    reply->Unlock();
    reply->Release();
    return true;
}

bool PVAudioManager::StopSound()
{
    if (!IsRunning())
        return true;
    auto* message = new (std::nothrow) PVAudioMessage;
    if (!message)
        return false;
    message->type = PVAudioMessage::kStop;
    if (!queue_->PushBack(message)) {
        delete message;
        return false;
    }
    return true;
}

void PVAudioManager::Quit()
{
    if (!IsRunning())
        return;
    // The quit was made at Open and the queue keeps a node for it, so it is
    // always posted: the thread ends before the manager can go.
    PVAudioMessage* message = quitMessage_;
    quitMessage_ = nullptr;
    PVReplySignal* reply = message->reply;
    reply->AddRef();
    reply->Lock();
    queue_->PushFront(message);
    reply->Wait(kReplyWaitMs);
    reply->Unlock();
    reply->Release();
    InterlockedExchange(&running_, 0);
    // The thread uses this manager until it ends; it ends soon after the
    // quit, at the latest when its current sleep is over.
    if (thread_)
        WaitForSingleObject(thread_, INFINITE);
}

DWORD PVAudioManager::OnWaveDone(HWAVEOUT device, WAVEHDR* buffer)
{
    return playing_.Release(device, buffer);
}

void PVAudioManager::DeletePlayer()
{
    delete player_;
    player_ = nullptr;
}

PVReplySignal* PVAudioManager::RunLoop()
{
    for (;;) {
        PVAudioMessage* message = player_ ? queue_->PopFront() : queue_->WaitPopFront(INFINITE);
        if (!message) {
            if (player_)
                IdleStep();
            continue;
        }
        switch (message->type) {
        case PVAudioMessage::kStart:
            StartPlayer(message->sound, message->startMs);
            if (message->reply)
                message->reply->Signal();
            break;
        case PVAudioMessage::kStop:
            waveOut_->Reset();
            DeletePlayer();
            break;
        case PVAudioMessage::kQuit: {
            waveOut_->Close();
            PVReplySignal* reply = message->reply;
            message->reply = nullptr;
            delete message;
            return reply;
        }
        default:
            break;
        }
        FreeMessage(message);
    }
}

void PVAudioManager::IdleStep()
{
    if (player_->Pump(*waveOut_) == PVAudioPlayer::kPumpFinished) {
        DeletePlayer();
        return;
    }
    const auto ms = static_cast<int32_t>(player_->SleepTime(NowSeconds()) * 1000.0);
    if (ms > 0)
        Sleep(static_cast<DWORD>(ms));
}

int PVAudioManager::StartPlayer(PVAudio* sound, int32_t startMs)
{
    if (!sound)
        return kAudioNotMp3;
    DeletePlayer();
    player_ = new (std::nothrow) PVAudioPlayer;
    if (!player_) {
        waveOut_->Reset();
        return kAudioOutOfMemory;
    }
    const int started = player_->Start(sound, startMs);
    if (started != kAudioOk) {
        DeletePlayer();
        waveOut_->Reset();
        return started;
    }
    const WAVEFORMATEX* format = player_->GetOutputFormat();
    if (waveOut_->IsOpen()) {
        if (format && std::memcmp(format, &waveOut_->Format(), sizeof(WAVEFORMATEX)) == 0) {
            waveOut_->Reset();
            return kAudioOk;
        }
        waveOut_->Close();
    }
    if (!format) {
        DeletePlayer();
        waveOut_->Reset();
        return kAudioNotMp3;
    }
    const int opened = waveOut_->Open(window_, WAVE_MAPPER, *format);
    if (opened != kAudioOk)
        DeletePlayer();
    return opened;
}
