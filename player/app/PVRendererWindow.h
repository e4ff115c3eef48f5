#pragma once
#include <stdint.h>
#include <windows.h>

// What the two renderer windows share: a child of the view that keeps the
// movie's aspect ratio inside margins, tracks the mouse over the placed
// picture, hides the cursor in full screen after 2 s without mouse activity
// (a 2000 ms timer) and asks the view about full screen through callbacks.
// UI thread only; the view must outlive the renderer.
class PVRendererWindow {
public:
    typedef bool (*FullScreenCallback)(void* view);

    PVRendererWindow(HINSTANCE instance, HINSTANCE resources, const char* className);
    virtual ~PVRendererWindow();
    PVRendererWindow(const PVRendererWindow&) = delete;
    PVRendererWindow& operator=(const PVRendererWindow&) = delete;

    // A visible child of parentView named windowName; false when the window
    // (or its class) cannot be made.
    bool Create(const char* windowName, HWND parentView, const RECT& rect);
    HWND GetSafeHwnd() const { return m_window; }

    void SetMargins(int x, int y);
    // left = right = x, top = y, bottom = 2 y.
    void GetMargins(int& left, int& right, int& top, int& bottom) const;
    void SetFullScreenCallbacks(void* view, FullScreenCallback toggle, FullScreenCallback isFullScreen);

    // Fits the picture of the current aspect into cx x cy less the margins.
    virtual void Layout(int cx, int cy);
    // button 0 none, 1 left, 3 right; action 0 press, 1 move, 2 release.
    virtual void HandleMouse(int button, POINT screenPoint, int action, WPARAM keyFlags, bool fromOwnWindow);
    HCURSOR CurrentCursor() const { return m_cursor; }
    // The view's full-screen command; counts as mouse activity.
    void OnFullScreenCommand();

    int PlacedWidth() const { return m_placedWidth; }
    int PlacedHeight() const { return m_placedHeight; }
    int PlacedX() const { return m_placedX; }
    int PlacedY() const { return m_placedY; }

protected:
    // Messages of the window; the default handling covers mouse, cursor and
    // the cursor-hiding timer.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Answers whether the placed rectangle changed.
    bool Fit(int cx, int cy);
    bool IsFullScreen() const { return m_isFullScreen && m_isFullScreen(m_view); }
    void FillBlack();
    // The cursor for the pointer's place; the engine answers the button cursor.
    virtual HCURSOR CursorForPointer() { return m_arrowCursor; }
    void SetCurrentCursor(HCURSOR cursor);

    HINSTANCE m_instance;
    HINSTANCE m_resources;
    HWND m_window = nullptr;
    HCURSOR m_cursor;
    HCURSOR m_arrowCursor;
    HCURSOR m_buttonCursor;
    int m_marginX = 10;
    int m_marginY = 10;
    float m_aspect = 4.0f / 3.0f;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_placedWidth = 0;
    int m_placedHeight = 0;
    int m_placedX = 0;
    int m_placedY = 0;
    bool m_captured = false;
    int m_mouseX = -1;
    int m_mouseY = -1;
    bool m_leftButtonDown = false;
    void* m_view = nullptr;
    FullScreenCallback m_toggleFullScreen = nullptr;
    FullScreenCallback m_isFullScreen = nullptr;
    DWORD m_lastMouseActivity = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const char* m_className;
};
