#pragma once
#include <windows.h>

#include <string>

// One run of plovaplayer.exe, driven from the test by messages: commands to
// its main window, texts of its status-bar panes and of its dialogs' items.
// The destructor closes it (and ends it when it does not exit).
class PlayerProcess {
public:
    explicit PlayerProcess(const std::wstring& arguments);
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    // The main window once it exists; null when it did not come within 30 s.
    HWND MainWindow();
    // WM_COMMAND sent (the call returns once it is handled).
    bool Command(UINT id);
    // WM_COMMAND posted, for commands that open a modal dialog.
    void PostCommand(UINT id);
    // The text of a status-bar pane by index (0 message, 1 rate, 2 frame,
    // 3 time).
    std::string PaneText(int index);
    // Waits until the pane shows text (or 10 s pass); answers the last text.
    std::string WaitForPane(int index, const std::string& text, DWORD timeoutMs = 10000);
    // A dialog of the player's UI thread with this caption; null after 10 s.
    HWND WaitForDialog(const wchar_t* caption);
    HWND ChildOfClass(HWND parent, const wchar_t* className);
    // Whether the UI thread answers a message within the time.
    bool Responds(DWORD timeoutMs = 5000);
    // WM_CLOSE and the exit code; -1 when it did not exit within 30 s.
    long Close();
    // Whether the process exited within the time.
    bool WaitForExit(DWORD timeoutMs);

private:
    PROCESS_INFORMATION m_process = {};
    HWND m_window = nullptr;
};

std::wstring PlayerProgramPath();
std::string DialogItemText(HWND dialog, int id);
