#pragma once
#include <windows.h>
#include <unknwn.h>
#include <string>

// A container that is not ours: Wine's ATL control window ("AtlAxWin" of
// atl.dll), made for a control's CLSID or ProgID as a child of a visible
// top-level window of its own at (0, 0) of the screen. The destructor
// destroys both windows (which closes the control). Tests that use it take
// the "screen" resource lock.
class AtlAxHost {
public:
    AtlAxHost(const std::wstring& control, int width, int height);
    ~AtlAxHost();
    AtlAxHost(const AtlAxHost&) = delete;
    AtlAxHost& operator=(const AtlAxHost&) = delete;

    HWND Window() const { return m_host; }
    // The control's IUnknown (AtlAxGetControl) with one reference, or null.
    IUnknown* Control() const;
    // The pixel at (x, y) of the ATL window's client area as read back from
    // the screen, after the control's own windows painted what is pending
    // (the ATL window itself is not repainted: see RepaintOver).
    COLORREF Pixel(int x, int y) const;
    // Fills the ATL window's client area with a colour and has the container
    // repaint the control over it (a windowless control draws then).
    void RepaintOver(COLORREF background) const;

private:
    HMODULE m_atl = nullptr;
    HWND m_frame = nullptr;
    HWND m_host = nullptr;
};
