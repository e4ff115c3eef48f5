#pragma once
#include <windows.h>

// A visible top-level window of our own at (0, 0) of the screen, for a
// control under TestControlSite; destroyed with the object.
class HostWindow {
public:
    HostWindow(int width, int height);
    ~HostWindow() { DestroyWindow(m_window); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Get() const { return m_window; }

private:
    HWND m_window;
};
