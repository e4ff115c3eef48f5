#include "addin/hosting/NodeWindow.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/WindowClassRecord.h"
#include "base/MKCrashGuard.h"

NodeWindow::~NodeWindow()
{
    // A window still alive must not route messages to a deleted object.
    if (IsWindow())
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
}

bool NodeWindow::Create(HWND parent, HWND owner, WindowClassRecord* windowClass, int x, int y, int width,
                        int height, int windowMode, bool show, HWND insertAfter)
{
    if (m_created || !windowClass)
        return false;
    m_created = true;
    m_windowMode = windowMode;
    DWORD style = windowMode == Child ? WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
                                      : WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    DWORD exStyle = windowMode >= LayeredAlpha ? WS_EX_LAYERED : 0;
    RECT rect = {x, y, x + width, y + height};
    if (windowMode != Child)
        ClientRectToScreen(parent, rect);
    m_x = rect.left;
    m_y = rect.top;
    m_width = width;
    m_height = height;
    if (m_offScreen) {
        style |= WS_VISIBLE;
        rect = {0, 0, 1, 1};
    } else if (show) {
        style |= WS_VISIBLE;
    }
    m_owner = owner;
    m_parent = parent;
    HWND window = CreateWindowExW(exStyle, windowClass->GetName(), nullptr, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                  windowClass->GetModule(), this);
    if (window && windowMode == Child)
        SetWindowPos(window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return window != nullptr && IsWindow();
}

int NodeWindow::Show(bool show)
{
    if (!IsWindow())
        return 0;
    if (!m_offScreen)
        return ShowWindow(m_window, show ? SW_SHOW : SW_HIDE);
    if (show == m_shown)
        return 0;
    m_shown = show;
    if (show)
        MoveWindow(m_window, m_x, m_y, m_width, m_height, TRUE);
    else
        MoveWindow(m_window, m_x, m_y, 1, 1, FALSE);
    return 1;
}

void NodeWindow::Move(int x, int y, int width, int height)
{
    if (!IsWindow() || !m_parent)
        return;
    RECT rect = {x, y, x + width, y + height};
    if (m_offScreen) {
        m_x = x;
        m_y = y;
        m_width = width;
        m_height = height;
        if (!m_shown)
            return;
    } else if (IsPopup()) {
        ClientRectToScreen(m_parent, rect);
    }
    MoveWindow(m_window, rect.left, rect.top, width, height, TRUE);
}

void NodeWindow::MoveToRect(const RECT& rect)
{
    Move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool NodeWindow::GetPlacement(RECT& rect) const
{
    if (m_offScreen) {
        rect = {m_x, m_y, m_x + m_width, m_y + m_height};
        return true;
    }
    if (!IsWindow() || !GetClientRect(m_window, &rect))
        return false;
    MapWindowPoints(m_window, m_parent, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

bool NodeWindow::GetClientArea(RECT& rect) const
{
    if (m_offScreen) {
        rect = {0, 0, m_width, m_height};
        return true;
    }
    return IsWindow() && GetClientRect(m_window, &rect);
}

void NodeWindow::Invalidate(const RECT* rect)
{
    if (!IsWindow() || (rect && IsRectEmpty(rect)) || (m_offScreen && !m_shown) || m_windowMode == LayeredPerPixel)
        return;
    InvalidateRect(m_window, rect, FALSE);
}

void NodeWindow::SetAlpha(BYTE alpha)
{
    if (m_windowMode == LayeredAlpha && IsWindow())
        SetLayeredWindowAttributes(m_window, 0, alpha, LWA_ALPHA);
}

bool NodeWindow::UpdateLayered(HDC dc)
{
    RECT rect;
    if (!IsWindow() || !dc || !GetWindowRect(m_window, &rect))
        return false;
    POINT position = {rect.left, rect.top};
    SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return UpdateLayeredWindow(m_window, nullptr, &position, &size, dc, &source, 0, &blend, ULW_ALPHA) != FALSE;
}

void NodeWindow::Destroy()
{
    if (m_created && IsWindow())
        DestroyWindow(m_window);
}

void NodeWindow::Close()
{
    HWND window = m_window;
    m_window = nullptr;
    m_parent = nullptr;
    m_owner = nullptr;
    ForgetPlacement();
    if (window && ::IsWindow(window)) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

void NodeWindow::Forget()
{
    if (IsWindow())
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    m_window = nullptr;
    m_parent = nullptr;
    ForgetPlacement();
    m_created = false;
}

void NodeWindow::ForgetPlacement()
{
    m_x = m_y = m_width = m_height = 0;
    m_shown = false;
}

bool NodeWindow::HasStyle(DWORD bits) const
{
    return IsWindow() && (GetWindowLongW(m_window, GWL_STYLE) & bits) != 0;
}

LRESULT NodeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        m_window = nullptr;
        m_parent = nullptr;
        m_owner = nullptr;
        ForgetPlacement();
        m_created = false;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_SYSCOMMAND:
        if (m_owner && ::IsWindow(m_owner)) {
            SendMessageW(m_owner, message, wParam, lParam);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (m_owner && ::IsWindow(m_owner))
            SetFocus(m_owner);
        return 0;
    case WM_NCACTIVATE:
        // The popup and its parent both look active.
        if (wParam && !m_inActivationEcho) {
            m_inActivationEcho = true;
            SendMessageW(GetParent(window), WM_NCACTIVATE, TRUE, -1);
            m_inActivationEcho = false;
        }
        if (wParam)
            return DefWindowProcW(window, message, TRUE, lParam);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK NodeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<LRESULT>(0), [&]() -> LRESULT {
        NodeWindow* object = nullptr;
        if (message == WM_NCCREATE) {
            object = static_cast<NodeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
            if (object)
                object->m_window = window;
        } else {
            object = reinterpret_cast<NodeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        return object ? object->WindowProc(window, message, wParam, lParam)
                      : DefWindowProcW(window, message, wParam, lParam);
    });
}

bool ClientRectToScreen(HWND window, RECT& rect)
{
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    if (!ClientToScreen(window, &corners[0]) || !ClientToScreen(window, &corners[1]))
        return false;
    rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

bool ScreenRectToClient(HWND window, RECT& rect)
{
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    if (!ScreenToClient(window, &corners[0]) || !ScreenToClient(window, &corners[1]))
        return false;
    rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

DibSurface* CreateWindowSurface(HWND window, int width, int height)
{
    if (!window || !::IsWindow(window) || width <= 0 || height <= 0)
        return nullptr;
    HDC dc = GetDC(window);
    DibSurface* surface = DibSurface::Create(dc, width, height);
    ReleaseDC(window, dc);
    return surface;
}
