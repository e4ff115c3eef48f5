#pragma once
#include <windows.h>

class DibSurface;
class WindowClassRecord;

// One Win32 window of the hosting layer, of a class registered with the
// shared window procedure (NodeWindowProc), which routes the window's
// messages to the object from WM_NCCREATE until WM_NCDESTROY. The window is
// a child, a popup or a layered popup by window mode. An off-screen window
// stays visible at 1 x 1 while hidden (some controls stop drawing when their
// window is hidden). Used on the thread that created it.
class NodeWindow {
public:
    enum Mode { Child = 0, Popup = 1, LayeredAlpha = 2, LayeredPerPixel = 3 };

    NodeWindow() = default;
    virtual ~NodeWindow();
    NodeWindow(const NodeWindow&) = delete;
    NodeWindow& operator=(const NodeWindow&) = delete;

    // (x, y) in the parent's client coordinates, also for popups. A child
    // window goes right after `insertAfter` in the z-order. False when
    // created before, without class record or when the system refuses.
    bool Create(HWND parent, HWND owner, WindowClassRecord* windowClass, int x, int y, int width, int height,
                int windowMode, bool show, HWND insertAfter);
    virtual int Show(bool show);
    void Move(int x, int y, int width, int height);
    void MoveToRect(const RECT& rect);
    // The window's rectangle in the parent's client coordinates.
    bool GetPlacement(RECT& rect) const;
    bool GetClientArea(RECT& rect) const;
    void Invalidate(const RECT* rect = nullptr);
    void SetAlpha(BYTE alpha);
    // Pushes the DC's pixels (premultiplied, per-pixel alpha) to a layered
    // window.
    bool UpdateLayered(HDC dc);
    void Destroy();
    // Forgets the window first, then destroys it.
    void Close();
    // Lets go of the window without destroying it; no later message reaches
    // the object.
    void Forget();

    bool IsWindow() const { return m_window && ::IsWindow(m_window); }
    HWND GetHwnd() const { return IsWindow() ? m_window : nullptr; }
    bool HasStyle(DWORD bits) const;
    bool IsPopup() const { return HasStyle(WS_POPUP); }
    bool IsCreated() const { return m_created; }
    HWND GetParentWindow() const { return m_parent; }
    HWND GetOwner() const { return m_owner; }
    int GetWindowMode() const { return m_windowMode; }
    void SetOffScreen(bool offScreen) { m_offScreen = offScreen; }
    bool IsOffScreen() const { return m_offScreen; }

    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend LRESULT CALLBACK NodeWindowProc(HWND, UINT, WPARAM, LPARAM);
    void ForgetPlacement();

    bool m_created = false;
    HWND m_parent = nullptr;
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    int m_windowMode = Child;
    bool m_inActivationEcho = false;
    bool m_offScreen = false;
    int m_x = 0, m_y = 0, m_width = 0, m_height = 0;
    bool m_shown = false;
};

// The class procedure of every hosting window class.
LRESULT CALLBACK NodeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Both corners converted; true only when both conversions succeed.
bool ClientRectToScreen(HWND window, RECT& rect);
bool ScreenRectToClient(HWND window, RECT& rect);
// A surface compatible with the window's DC; null for a missing window or a
// zero size.
DibSurface* CreateWindowSurface(HWND window, int width, int height);
