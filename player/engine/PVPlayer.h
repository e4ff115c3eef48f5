#pragma once
#include <cstdint>
#include <memory>

#include <windows.h>
#include <mmsystem.h>
// The engine's own PlaySound members, not the Windows function's A/W name.
#undef PlaySound

#include "player/engine/PVGeometry.h"

class PVActionVM;
class PVAudio;
class PVAudioManager;
class PVButtonClip;
class PVCharDictionary;
class PVDraw;
class PVMovie;
class PVMovieClip;

// One opened movie: the character dictionary, the action interpreter and
// the main clip, advanced one frame per Step by the host's idle loop. All
// calls come from the thread that steps the player.
class PVPlayer {
public:
    PVPlayer();
    ~PVPlayer();
    PVPlayer(const PVPlayer&) = delete;
    PVPlayer& operator=(const PVPlayer&) = delete;

    // Creates the dictionary and the interpreter; false, keeping neither,
    // when they cannot be made.
    bool Init();

    // Creates and starts the audio manager, whose device reports finished
    // buffers to `window` as MM_WOM_DONE; false (the player stays silent)
    // when it cannot be started. Needs the engine started (InitEngine).
    bool InitAudio(HWND window);
    // Hands a finished buffer (MM_WOM_DONE's wParam and lParam) to the audio
    // manager; its byte count, 0 when it was no longer playing or there is
    // no manager.
    DWORD OnWaveOutDone(HWAVEOUT device, WAVEHDR* buffer);
    // Switching on resumes the main clip's stream when it plays; switching
    // off stops all sound.
    void EnableSound(bool on);
    bool SoundEnabled() const { return soundEnabled_; }
    // Plays `audio` from `startMs` in place of any other sound, or stops all
    // sound when it is null. With sound disabled a sound is ignored (true);
    // without an audio manager the answer is false.
    bool PlaySound(PVAudio* audio, int32_t startMs);
    PVAudioManager* AudioManager() const { return audio_.get(); }

    // Plays `movie` (a reference is taken) in a new main clip named "<main>"
    // that loops when MainMovieLoops is set; false when the clip cannot be
    // made. Needs Init.
    bool SetMainMovie(PVMovie* movie);

    // One tick: the main clip's frame and the queued actions, then drawing
    // (when `draw` is set) and the button transitions of the mouse, whose
    // position and button the host passes. True when a transition was
    // handled. `drawer` may be null: then no button is under the mouse. The
    // actions run at the tick count read once per step (seconds).
    bool Step(PVDraw* drawer, int mouseX, int mouseY, bool mouseDown, bool draw);

    // The main clip's current frame and its movie's frame count; 0 without.
    int GetCurrentFrame() const;
    int GetFrameCount() const;

    // Resolves a "/"-separated target path: a leading "/" starts at the main
    // clip, otherwise at `from` (the main clip when null); "." stays, ".."
    // goes to the parent, any other name to the child clip of that name.
    // An empty path gives the main clip; a name not found gives null.
    PVMovieClip* FindTarget(PVMovieClip* from, const char* path, int length) const;

    PVCharDictionary* Dictionary() const { return dictionary_.get(); }
    PVActionVM* ActionVM() const { return vm_.get(); }
    PVMovieClip* MainClip() const { return mainClip_; }
    // The button clip the last step left under the mouse (one reference).
    PVButtonClip* ButtonUnderMouse() const { return buttonUnderMouse_; }

    void SetMainMovieLoops(bool on) { mainMovieLoops_ = on; }
    const PVRect& FrameRect() const { return frameRect_; }
    // Frames per second as the file states it; 0 is possible.
    float FrameRate() const { return frameRate_; }
    void SetFrameGeometry(const PVRect& rect, float rate)
    {
        frameRect_ = rect;
        frameRate_ = rate;
    }
    bool HighQuality() const { return highQuality_; }
    void ToggleQuality() { highQuality_ = !highQuality_; }

private:
    // The transition code for the button under the mouse now and for the one
    // before, applied in that order (previous first).
    bool HandleButtons(PVButtonClip* now, bool mouseDown, double nowSeconds);

    // Declared first so that it goes last: the audio thread is quit before
    // the movies whose sounds it may play are released.
    std::unique_ptr<PVAudioManager> audio_;
    bool soundEnabled_ = true;
    std::unique_ptr<PVCharDictionary> dictionary_;
    std::unique_ptr<PVActionVM> vm_;
    PVMovieClip* mainClip_ = nullptr;
    bool mainMovieLoops_ = false;
    PVRect frameRect_;
    float frameRate_ = 0;
    bool highQuality_ = true;
    PVButtonClip* buttonUnderMouse_ = nullptr;
    bool mouseWasDown_ = false;
    // The pressed button the pointer has left while the mouse stays down:
    // its leaving is reported once, not at every step.
    bool capturedOutside_ = false;
};
