#pragma once
#include "player/app/PVWToolBar.h"
#include "player/app/PVWUIFeedBack.h"
#include "player/app/framework/MKCommandTarget.h"
#include "player/app/framework/MKStatusBar.h"

#include <windows.h>

class CDravoPlayerView;
class PVViewHost;
class PVWndPlacement;

// The player's main window ("DravoPlayerMain"): menu and accelerators 128,
// the view, the tool bar with the seek bar and the status bar below it, and
// the playback feedback into both bars. Commands go to the view first, then
// to the frame, then to the application. Esc stops the movie before any
// accelerator sees it; moving or sizing the window pauses the engine. The
// host and the application's command target must outlive the frame.
class CDravoPlayerFrame final : public MKCommandTarget {
public:
    CDravoPlayerFrame(HINSTANCE instance, PVViewHost* host, MKCommandTarget* application);
    ~CDravoPlayerFrame();
    CDravoPlayerFrame(const CDravoPlayerFrame&) = delete;
    CDravoPlayerFrame& operator=(const CDravoPlayerFrame&) = delete;

    // At the placement's normal rectangle when it is valid, else 400 x 300.
    bool Create(const PVWndPlacement& placement);
    HWND GetSafeHwnd() const { return m_window; }
    CDravoPlayerView* View() const { return m_view; }
    MKStatusBar& StatusBar() { return m_statusBar; }
    PVWToolBar& ToolBar() { return m_toolBar; }
    PVWUIFeedBack& Feedback() { return m_feedback; }

    // Esc and the accelerators; true when the message was consumed.
    bool PreTranslateMessage(MSG& message);
    void RecalcLayout();
    // Links the bars to the view (the end of start-up).
    void LinkBars();
    void SetMessageText(const char* text);
    void UpdateTitle(const char* path);

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, MKCommandState& state) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    int OnCreate();
    void OnClose();
    void UpdateMenu(HMENU popup);
    bool Route(UINT id);
    void ToggleBar(HWND bar);

    HINSTANCE m_instance;
    PVViewHost* m_host;
    MKCommandTarget* m_application;
    HWND m_window = nullptr;
    HACCEL m_accelerators = nullptr;
    MKStatusBar m_statusBar;
    PVWToolBar m_toolBar;
    PVWUIFeedBack m_feedback;
    CDravoPlayerView* m_view = nullptr;
    static bool s_wasPlayingBeforeSizeMove;
};
