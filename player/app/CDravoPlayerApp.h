#pragma once
#include "base/MKString.h"
#include "player/app/CDravoPlayerDoc.h"
#include "player/app/PVViewHost.h"
#include "player/app/PVWndPlacement.h"
#include "player/app/framework/MKCommandTarget.h"
#include "player/app/framework/MKRecentFileList.h"
#include "player/app/framework/MKShellOpenServer.h"

#include <windows.h>

class CDravoPlayerFrame;
class CDravoPlayerView;

// The player program: starts the movie engine, reads the command line and
// the profile, makes the main frame with its view and opens the movie, runs
// the message loop whose idle time plays the movie, and at exit writes the
// file association, deletes a movie given with "/delete" and stops the
// engine. One per process, on the UI thread.
class CDravoPlayerApp : public PVViewHost, public MKCommandTarget {
public:
    explicit CDravoPlayerApp(HINSTANCE instance);
    ~CDravoPlayerApp();
    CDravoPlayerApp(const CDravoPlayerApp&) = delete;
    CDravoPlayerApp& operator=(const CDravoPlayerApp&) = delete;

    // The whole life of the program; its exit code.
    int Run(int argc, char** argv, int showCommand);

    bool InitInstance(int argc, char** argv, int showCommand);
    int ExitInstance(int exitCode);
    // Until WM_QUIT; its exit code.
    int MessageLoop();
    // One idle call: the framework's own work, then the view's playback.
    // True while the framework wants more idle calls.
    bool OnIdle(long count);

    // Shows the Goodies menu (remove false) or takes it off the menu bar.
    void ShowGoodiesMenu(bool remove) override;

    // PVViewHost
    const char* DocumentPath() const override { return m_document.GetPathName().GetText(); }
    void NewDocument() override;
    bool OpenDocument(const char* path) override;
    bool DeletesMovieAtExit() const override { return deleteMovieAtExit; }
    void ShowMainWindow() override;
    HWND MainWindow() const override;
    HWND ToolBarWindow() const override;
    HWND StatusBarWindow() const override;
    void RecalcLayout() override;
    void SetMessageText(const char* text) override;
    PVUIFeedBack* BindFeedback(PVPlaybackView* view) override;

    // MKCommandTarget
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, MKCommandState& state) override;
    void OnInitMenuPopup(HMENU popup) override;

    static bool deleteMovieAtExit;
    static MKString moviePath;

private:
    CDravoPlayerView* View() const;
    void OnFileOpen();
    static int ApplicationMessageBox(const char* text, UINT type, UINT helpId);
    static bool OpenFromShell(void* application, const char* path);

    static CDravoPlayerApp* s_instance;

    HINSTANCE m_instance;
    PVWndPlacement m_placement;
    bool m_maintainAssociation = false;
    int m_showCommand = SW_SHOWNORMAL;
    bool m_engineStarted = false;
    bool m_oleStarted = false;
    MKRecentFileList m_recentFiles;
    MKShellOpenServer m_shellOpen;
    CDravoPlayerDoc m_document;
    CDravoPlayerFrame* m_frame = nullptr;
};
