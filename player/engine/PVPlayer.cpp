#include "player/engine/PVPlayer.h"

#include <windows.h>

#include <new>

#include "player/engine/PVActionVM.h"
#include "player/engine/PVAudioManager.h"
#include "player/engine/PVButton.h"
#include "player/engine/PVButtonClip.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVCounted.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDraw.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVMovieClip.h"

PVPlayer::PVPlayer() = default;

PVPlayer::~PVPlayer()
{
    if (audio_)
        audio_->Quit();
    // Queued actions hold clips; they go first so that every clip is gone
    // before the dictionary whose characters the clips show.
    if (vm_)
        vm_->Clear();
    if (buttonUnderMouse_)
        buttonUnderMouse_->Release();
    if (mainClip_)
        mainClip_->Release();
}

bool PVPlayer::Init()
{
    std::unique_ptr<PVCharDictionary> dictionary(new (std::nothrow) PVCharDictionary);
    if (!dictionary || !dictionary->Init())
        return false;
    std::unique_ptr<PVActionVM> vm(new (std::nothrow) PVActionVM(this));
    if (!vm)
        return false;
    dictionary_ = std::move(dictionary);
    vm_ = std::move(vm);
    return true;
}

bool PVPlayer::InitAudio(HWND window)
{
    std::unique_ptr<PVAudioManager> audio(new (std::nothrow) PVAudioManager(window));
    if (!audio || !audio->Open() || !audio->StartThread())
        return false;
    audio_ = std::move(audio);
    return true;
}

DWORD PVPlayer::OnWaveOutDone(HWAVEOUT device, WAVEHDR* buffer)
{
    return audio_ ? audio_->OnWaveDone(device, buffer) : 0;
}

void PVPlayer::EnableSound(bool on)
{
    if (on == soundEnabled_)
        return;
    soundEnabled_ = on;
    if (!on) {
        PlaySound(nullptr, 0);
    } else if (mainClip_ && mainClip_->IsPlaying()) {
        mainClip_->SetPlaying(false);
        mainClip_->SetPlaying(true);
    }
}

bool PVPlayer::PlaySound(PVAudio* audio, int32_t startMs)
{
    if (!soundEnabled_ && audio)
        return true;
    if (!audio_)
        return false;
    if (audio)
        return audio_->PlaySound(audio, startMs);
    audio_->StopSound();
    return true;
}

bool PVPlayer::SetMainMovie(PVMovie* movie)
{
    auto* clip = new (std::nothrow) PVMovieClip(this);
    if (!clip)
        return false;
    clip->AddRef();
    PVString name;
    if (!name.Assign("<main>", 6) || !clip->Init(name, nullptr, movie, mainMovieLoops_)) {
        clip->Release();
        return false;
    }
    if (mainClip_)
        mainClip_->Release();
    mainClip_ = clip;
    return true;
}

int PVPlayer::GetCurrentFrame() const
{
    return mainClip_ ? mainClip_->CurrentFrame() : 0;
}

int PVPlayer::GetFrameCount() const
{
    return mainClip_ ? mainClip_->GetFrameCount() : 0;
}

bool PVPlayer::Step(PVDraw* drawer, int mouseX, int mouseY, bool mouseDown, bool draw)
{
    if (!vm_)
        return false;
    const double nowSeconds = GetTickCount() * 0.001;
    if (mainClip_ && mainClip_->Step())
        vm_->Run(nowSeconds);
    if (draw && drawer)
        drawer->Render(nullptr, mouseX, mouseY, false);
    return HandleButtons(drawer ? drawer->ButtonUnderMouse() : nullptr, mouseDown, nowSeconds);
}

bool PVPlayer::HandleButtons(PVButtonClip* now, bool mouseDown, double nowSeconds)
{
    PVButtonClip* previous = buttonUnderMouse_;
    const bool up = !mouseDown;
    int previousCode = 0;
    int nowCode = 0;
    bool captured = false;
    if (now == previous) {
        if (previous && mouseWasDown_ && up)
            previousCode = PVButton::kDownToOver;
        else if (previous && !mouseWasDown_ && !up)
            previousCode = PVButton::kOverToDown;
    } else {
        if (previous) {
            const bool menu = previous->TracksAsMenu();
            previousCode = up ? PVButton::kOverToIdle : menu ? PVButton::kDownToIdleMenu : PVButton::kDownLeaves;
            // A pressed button keeps the mouse while it stays down.
            if (!menu && mouseWasDown_ && !up) {
                if (capturedOutside_)
                    previousCode = 0;
                captured = true;
                now = previous;
            }
        }
        if (now && now != previous) {
            const bool menu = now->TracksAsMenu();
            nowCode = up ? PVButton::kIdleToOver : menu ? PVButton::kIdleToDownMenu : PVButton::kDownEnters;
        }
    }

    bool handled = false;
    if (previousCode && previous->OnTransition(previousCode, *vm_))
        handled = true;
    if (nowCode && now->OnTransition(nowCode, *vm_))
        handled = true;
    PVHold(buttonUnderMouse_, now);
    mouseWasDown_ = mouseDown;
    capturedOutside_ = captured;
    vm_->Run(nowSeconds);
    return handled;
}

PVMovieClip* PVPlayer::FindTarget(PVMovieClip* from, const char* path, int length) const
{
    if (!path || length <= 0)
        return mainClip_;
    PVMovieClip* clip = path[0] == '/' || !from ? mainClip_ : from;
    int i = 0;
    while (clip && i < length) {
        const int start = i;
        while (i < length && path[i] != '/')
            ++i;
        const int n = i - start;
        if (i < length)
            ++i;
        const char* name = path + start;
        if (n == 0 || (n == 1 && name[0] == '.'))
            continue;
        if (n == 2 && name[0] == '.' && name[1] == '.') {
            if (clip->Parent())
                clip = clip->Parent();
            continue;
        }
        const PVDListObject* child = clip->FindChild(name, n);
        clip = child ? child->clip : nullptr;
    }
    return clip;
}
