#include "player/app/framework/MKCFlashHooked.h"

#include "player/app/framework/MKCFlashWnd.h"

MKCFlashHooked::~MKCFlashHooked()
{
    m_messageFilter = nullptr;
    m_mouseListener = nullptr;
    Detach();
}

LRESULT MKCFlashHooked::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Window();
    bool handled = false;
    if (m_messageFilter) {
        LRESULT result = m_messageFilter->Filter(window, message, wParam, lParam, handled);
        if (handled)
            return result;
    }
    if (m_owner && m_owner->BlocksRightButton() &&
        (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK))
        return 0;
    if (m_mouseListener) {
        LRESULT result = 0;
        switch (message) {
        case WM_PAINT:
            return PaintThenTell(message, wParam, lParam);
        case WM_MOUSEMOVE:
            result = m_mouseListener->OnMouseMove(window, message, wParam, lParam, handled);
            break;
        case WM_LBUTTONDOWN:
            result = m_mouseListener->OnLButtonDown(window, message, wParam, lParam, handled);
            break;
        case WM_LBUTTONUP:
            result = m_mouseListener->OnLButtonUp(window, message, wParam, lParam, handled);
            break;
        case WM_LBUTTONDBLCLK:
            result = m_mouseListener->OnLButtonDblClk(window, message, wParam, lParam, handled);
            break;
        case WM_RBUTTONDOWN:
            result = m_mouseListener->OnRButtonDown(window, message, wParam, lParam, handled);
            break;
        default:
            break;
        }
        if (handled)
            return result;
    }
    return MKCSubclassWnd::WindowProc(message, wParam, lParam);
}

LRESULT MKCFlashHooked::PaintThenTell(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Window();
    // The control's BeginPaint validates the window: take the region first.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region)
        GetUpdateRgn(window, region, FALSE);
    MKCSubclassWnd::WindowProc(message, wParam, lParam);
    bool handled = false;
    LRESULT result = m_mouseListener ? m_mouseListener->OnPaint(window, region, message, wParam, lParam, handled) : 0;
    if (region)
        DeleteObject(region);
    return result;
}
