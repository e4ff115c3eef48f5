#pragma once
#include "base/MKString.h"
#include "player/app/PVPlaybackView.h"
#include "player/app/framework/MKCommandTarget.h"

#include <stdint.h>
#include <windows.h>

class DravoRenderer;
class FlashRenderer;
class PVRendererWindow;
class PVUIFeedBack;
class PVViewHost;

// The view of the player's document: owns the two renderers (the Flash
// Player control and the system's own engine), shows the movie in the one
// selected, dispatches every playback request to it, switches renderers by
// reopening the movie, toggles full screen and sizes the main window to the
// movie. The host must outlive the view. UI thread only.
class CDravoPlayerView final : public PVPlaybackView, public MKCommandTarget {
public:
    CDravoPlayerView(HINSTANCE instance, PVViewHost* host);
    ~CDravoPlayerView();
    CDravoPlayerView(const CDravoPlayerView&) = delete;
    CDravoPlayerView& operator=(const CDravoPlayerView&) = delete;

    bool Create(HWND parent, const char* windowName);
    HWND GetSafeHwnd() const { return m_window; }

    // For every new or opened document.
    void OnInitialUpdate();
    // 1 loaded, 0 not loaded, -1 the renderer window cannot be made.
    int Open(const char* path);
    void CloseMovie();

    // PVPlaybackView: states 0 none, 1 Stopped, 2 Paused, 3 Playing, 4 Ended.
    int GetState() const override;
    double GetFrameRate() const override;
    int GetFrameCount() const override;
    void Pause() override;
    void Seek(int frame) override;

    void TogglePlay();
    // Rewinds and leaves full screen.
    void OnStop();
    void Rewind() { Seek(0); }
    uint16_t GetCurrentFrame() const;
    void GetMovieSize(int& width, int& height) const;
    int GetMovieVersion() const;
    void SetFeedback(PVUIFeedBack* feedback);
    // One idle call's playback work; false when there is no renderer.
    bool IdleStep();
    // How long the idle loop may wait for a message before IdleStep is due.
    DWORD IdleWaitMs() const;

    bool UsesFlash() const { return m_useFlash; }
    void SetUseFlashActiveX(bool useFlash);
    bool IsLooping() const { return m_looping; }
    DravoRenderer* EngineRenderer() const { return m_engineRenderer; }
    FlashRenderer* FlashRendererObject() const { return m_flashRenderer; }

    static bool IsFullScreen() { return s_fullScreen; }
    static bool ToggleFullScreen(void* view);

    void OnEnterMenuLoop();
    void OnExitMenuLoop();

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, MKCommandState& state) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    PVRendererWindow* ActiveRenderer() const;
    void ResizeFrameToMovie();
    void ShowProperties();
    void ShowAbout();
    void EnterFullScreen(HWND frame);
    void LeaveFullScreen(HWND frame);

    static bool s_fullScreen;
    static bool s_wasZoomed;
    static bool s_toolBarWasVisible;
    static bool s_statusBarWasVisible;
    static LONG s_savedViewExStyle;
    static bool s_mp3CacheNotYetOpened;

    HINSTANCE m_instance;
    PVViewHost* m_host;
    HWND m_window = nullptr;
    MKString m_windowName;
    DravoRenderer* m_engineRenderer;
    FlashRenderer* m_flashRenderer;
    PVUIFeedBack* m_feedback = nullptr;
    bool m_looping;
    bool m_useFlash = true;
};
