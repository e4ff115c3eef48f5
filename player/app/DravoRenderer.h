#pragma once
#include "player/app/PVRendererWindow.h"

#include <stdint.h>

class PVGLDraw;
class PVInStream;
class PVPlayer;
class PVUIFeedBack;
class WGLView;

// The renderer that plays the movie in the system's own engine: a PVPlayer
// drawn through OpenGL (a WGL view and a PVGLDraw) into this window, paced
// from the application's idle time at the movie's rate or held to its
// streaming sound, with the movie's buttons under the mouse and the 3D views'
// drags. The root clip always loops. States: 0 nothing playable, 2 stopped,
// 3 playing. The feedback is not owned. UI thread only; the audio thread
// reports finished buffers to this window as MM_WOM_DONE.
class DravoRenderer : public PVRendererWindow {
public:
    DravoRenderer(HINSTANCE instance, HINSTANCE resources);
    ~DravoRenderer() override;

    // A visible child of the view at (10, 10)-(20, 20).
    bool Create(const char* windowName, HWND parentView);
    // False when the file cannot be opened or the movie not loaded.
    bool LoadFile(const char* path);
    // False with nothing loaded, except that a drawer that cannot start
    // leaves a silent movie that never plays (state 0).
    bool Load(PVInStream& stream);
    void Close();
    bool HasPlayer() const { return m_player != nullptr; }
    PVPlayer* Player() const { return m_player; }
    PVGLDraw* Drawer() const { return m_drawer; }

    int GetState() const;
    void SetPlaying(bool on);
    void TogglePlay();
    void Rewind();
    void SetFeedback(PVUIFeedBack* feedback);
    // The engine's root clip loops whatever the view's setting says.
    void SetLooping(bool) {}
    int MovieVersion() const { return m_movieVersion; }

    bool IsPlayAsFastAsPossible() const { return m_playAsFastAsPossible; }
    void SetPlayAsFastAsPossible(bool on);
    bool IsOutlines() const;
    void SetOutlines(bool on);
    bool IsBWOutlines() const;
    void SetBWOutlines(bool on);
    int GetViewMode() const;
    void SetViewMode(int mode);

    // One call per idle call of the application: at most one frame.
    void PlayLoopStep();
    // How long the idle loop may wait for a message before the next frame
    // is due: INFINITE while nothing plays.
    DWORD IdleWaitMs() const;
    void HandleMouse(int button, POINT screenPoint, int action, WPARAM keyFlags, bool fromOwnWindow) override;

    // Pause for a menu, remembering whether the movie played; resume after.
    void OnEnterMenuLoop();
    void OnExitMenuLoop();
    bool WasPlayingBeforeMenu() const { return s_wasPlayingBeforeMenu; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HCURSOR CursorForPointer() override;

private:
    // The movie's frames per second; 0 (a rate of 0 in the file) means the
    // movie has no clock.
    float Rate() const;
    // Whether pacing holds frames back now; false when one is due.
    bool WaitForFrame(uint32_t now, bool streaming);
    void SyncToSound(uint32_t now);
    void ReportFrame(uint32_t now);
    void ReleaseGL();

    static bool s_wasPlayingBeforeMenu;

    WGLView* m_glView = nullptr;
    PVPlayer* m_player = nullptr;
    PVGLDraw* m_drawer = nullptr;
    PVUIFeedBack* m_feedback = nullptr;
    bool m_behindSound = false;
    bool m_playAsFastAsPossible = false;
    uint32_t m_playStartTick = 0;
    uint32_t m_framesPlayed = 0;
    uint32_t m_fpsWindowStart = 0;
    uint32_t m_fpsWindowFrames = 0;
    int m_movieVersion = 0;
};
