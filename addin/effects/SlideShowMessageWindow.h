#pragma once
#include <windows.h>

class SlideShowSession;

// The session's hidden child of the show's pane, class and title
// "VistelloMessageWindow": the frame timer ticks on it and the trampoline
// server posts content verbs to it with the registered verb message (wParam
// the verb). Owned by its session, which it does not count; made and
// destroyed on PowerPoint's user-interface thread.
class SlideShowMessageWindow {
public:
    // The process's window class, registered by the module start (or by the
    // first window) and unregistered by the module stop.
    static bool RegisterWindowClass(HINSTANCE instance);
    static void UnregisterWindowClass();
    // "{7A121FE9-1253-48e4-9337-9205C2B179DF}", registered once per process.
    static UINT VerbMessage();

    explicit SlideShowMessageWindow(SlideShowSession* session) : m_session(session) {}
    ~SlideShowMessageWindow();
    SlideShowMessageWindow(const SlideShowMessageWindow&) = delete;
    SlideShowMessageWindow& operator=(const SlideShowMessageWindow&) = delete;

    // A child of the parent, zero-sized and hidden, titled like its class.
    bool Create(HWND parent);
    void Destroy();
    HWND Handle() const { return m_window; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    SlideShowSession* m_session;
    HWND m_window = nullptr;
};
