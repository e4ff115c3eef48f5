#pragma once
#include <windows.h>

class CPVSliderCallback;

// The seek bar: a groove with the played part shaded and a raised thumb,
// dragged with the left button. It answers TBM_GETPOS, TBM_GETRANGEMIN and
// TBM_GETRANGEMAX like a track bar. The callback is not owned and must outlive
// the window. UI thread only.
class CPVSlider {
public:
    CPVSlider();
    ~CPVSlider();
    CPVSlider(const CPVSlider&) = delete;
    CPVSlider& operator=(const CPVSlider&) = delete;

    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    HWND GetSafeHwnd() const { return m_window; }
    void SetCallback(CPVSliderCallback* callback) { m_callback = callback; }

    int GetPosition() const { return m_position; }
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    // Clamped to the range; repaints when it changed.
    void SetPosition(int position);
    void SetMinimum(int minimum, bool redrawNow);
    void SetMaximum(int maximum, bool redrawNow);
    void SetRange(int minimum, int maximum, bool redrawNow);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Track(int x);
    void Paint(HDC dc);
    void Redraw(bool now);

    HWND m_window = nullptr;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;
    CPVSliderCallback* m_callback = nullptr;
    bool m_captured = false;
    COLORREF m_remainingColour = RGB(255, 255, 255);
    COLORREF m_darkColour = RGB(0, 0, 0);
    COLORREF m_faceColour;
    COLORREF m_shadowColour;
    COLORREF m_highlightColour;
};
