#pragma once
#include <windows.h>

// A visible top-level window with a grey client area that paints nothing
// itself, so what is blitted into it stays.
class TargetWindow {
public:
    TargetWindow()
    {
        static ATOM atom = 0;
        if (!atom) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
            wc.lpszClassName = L"PlatformDeviceTestWindow";
            atom = RegisterClassW(&wc);
        }
        m_window = CreateWindowExW(WS_EX_TOPMOST, L"PlatformDeviceTestWindow", L"", WS_POPUP | WS_VISIBLE, 10, 10,
                                   64, 64, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(m_window);
        Pump();
    }
    ~TargetWindow() { DestroyWindow(m_window); }
    HWND Get() const { return m_window; }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        GdiFlush();
    }

private:
    HWND m_window;
};
