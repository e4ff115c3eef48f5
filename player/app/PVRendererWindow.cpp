#include "player/app/PVRendererWindow.h"

#include <windowsx.h>

namespace {

const UINT_PTR kCursorTimer = 1;
const DWORD kCursorHideMs = 2000;
const int kButtonCursorResource = 138;

}  // namespace

PVRendererWindow::PVRendererWindow(HINSTANCE instance, HINSTANCE resources, const char* className)
    : m_instance(instance),
      m_resources(resources),
      m_arrowCursor(LoadCursor(nullptr, IDC_ARROW)),
      m_className(className)
{
    HCURSOR button = resources ? LoadCursorA(resources, MAKEINTRESOURCEA(kButtonCursorResource)) : nullptr;
    m_buttonCursor = button ? button : LoadCursor(nullptr, IDC_HAND);
    m_cursor = m_arrowCursor;
}

PVRendererWindow::~PVRendererWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

bool PVRendererWindow::Create(const char* windowName, HWND parentView, const RECT& rect)
{
    WNDCLASSA existing;
    if (!GetClassInfoA(m_instance, m_className, &existing)) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = m_instance;
        windowClass.lpszClassName = m_className;
        if (!RegisterClassA(&windowClass))
            return false;
    }
    m_window = CreateWindowExA(0, m_className, windowName ? windowName : "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parentView, nullptr, m_instance, this);
    if (!m_window)
        return false;
    SetTimer(m_window, kCursorTimer, kCursorHideMs, nullptr);
    return true;
}

LRESULT CALLBACK PVRendererWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<PVRendererWindow*>(create->lpCreateParams)->m_window = window;
    }
    auto* renderer = reinterpret_cast<PVRendererWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!renderer)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        renderer->m_window = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return renderer->OnMessage(message, wParam, lParam);
}

void PVRendererWindow::SetMargins(int x, int y)
{
    m_marginX = x;
    m_marginY = y;
}

void PVRendererWindow::GetMargins(int& left, int& right, int& top, int& bottom) const
{
    left = right = m_marginX;
    top = m_marginY;
    bottom = 2 * m_marginY;
}

void PVRendererWindow::SetFullScreenCallbacks(void* view, FullScreenCallback toggle, FullScreenCallback isFullScreen)
{
    m_view = view;
    m_toggleFullScreen = toggle;
    m_isFullScreen = isFullScreen;
}

bool PVRendererWindow::Fit(int cx, int cy)
{
    if (cx == 0 || cy == 0)
        return false;
    int w = cx - 2 * m_marginX;
    int h = cy - 3 * m_marginY;
    if (w <= 0 || h <= 0) {
        m_clientWidth = m_clientHeight = 0;
        m_placedWidth = m_placedHeight = m_placedX = m_placedY = 0;
        return false;
    }
    m_clientWidth = cx;
    m_clientHeight = cy;
    int width = w;
    int height = int(w / m_aspect + 0.5f);
    if (height > h) {
        height = h;
        width = int(h * m_aspect + 0.5f);
    }
    int x = (w - width) / 2 + m_marginX;
    int y = (h - height) / 2 + m_marginY;
    if (width == m_placedWidth && height == m_placedHeight && x == m_placedX && y == m_placedY)
        return false;
    m_placedWidth = width;
    m_placedHeight = height;
    m_placedX = x;
    m_placedY = y;
    return true;
}

void PVRendererWindow::Layout(int cx, int cy)
{
    if (!Fit(cx, cy) || !m_window)
        return;
    SetWindowPos(m_window, nullptr, m_placedX, m_placedY, m_placedWidth, m_placedHeight,
                 SWP_ASYNCWINDOWPOS | SWP_NOSENDCHANGING | SWP_NOCOPYBITS | SWP_NOZORDER);
    if (IsFullScreen())
        FillBlack();
}

void PVRendererWindow::FillBlack()
{
    if (!m_window)
        return;
    RECT client;
    GetClientRect(m_window, &client);
    HDC dc = GetDC(m_window);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(m_window, dc);
}

void PVRendererWindow::SetCurrentCursor(HCURSOR cursor)
{
    if (cursor == m_cursor)
        return;
    m_cursor = cursor;
    SetCursor(cursor);
}

void PVRendererWindow::HandleMouse(int button, POINT screenPoint, int action, WPARAM, bool)
{
    POINT point = screenPoint;
    if (m_window)
        ScreenToClient(m_window, &point);
    bool inside = point.x >= 0 && point.x < m_placedWidth && point.y >= 0 && point.y < m_placedHeight;
    m_mouseX = inside ? point.x : -1;
    m_mouseY = inside ? point.y : -1;
    if (button == 1 && action == 0)
        m_leftButtonDown = true;
    else if (button == 1 && action == 2)
        m_leftButtonDown = false;
    m_lastMouseActivity = GetTickCount();
    SetCurrentCursor(CursorForPointer());
}

void PVRendererWindow::OnFullScreenCommand()
{
    if (m_toggleFullScreen)
        m_toggleFullScreen(m_view);
    m_lastMouseActivity = GetTickCount();
}

LRESULT PVRendererWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kCursorTimer && IsFullScreen() && IsWindowVisible(m_window) &&
            GetTickCount() - m_lastMouseActivity >= kCursorHideMs) {
            m_cursor = nullptr;
            SetCursor(nullptr);
        }
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != m_window)
            return FALSE;
        SetCursor(m_cursor);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(m_window, &point);
        int button = (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) ? 1
                     : message == WM_MOUSEMOVE                              ? 0
                                                                            : 3;
        int action = (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) ? 0 : message == WM_MOUSEMOVE ? 1 : 2;
        HandleMouse(button, point, action, wParam, true);
        return 0;
    }
    case WM_DESTROY:
        if (m_captured) {
            m_captured = false;
            ReleaseCapture();
        }
        KillTimer(m_window, kCursorTimer);
        return 0;
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
}
