#include "addin/hosting/ControlHostWindow.h"

#include "addin/hosting/ControlWindowOwner.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/SceneNode.h"
#include "addin/hosting/WindowClassRecord.h"

namespace {

WindowClassRecord* s_class = nullptr;

constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

}  // namespace

ControlHostWindow::~ControlHostWindow()
{
    delete m_background;
}

void ControlHostWindow::UnregisterClassAtExit()
{
    WindowClassRecord::UnregisterAtExit(s_class);
}

bool ControlHostWindow::Create(HWND parent, int x, int y, int width, int height, bool show, uint8_t flag)
{
    m_flag = flag;
    HWND insertAfter = nullptr;
    NodeHost* host = nullptr;
    if (m_node) {
        if (NodeWindow* above = m_node->FindWindowAbove(false))
            insertAfter = above->GetHwnd();
        host = m_node->GetHost();
    }
    WindowClassRecord* windowClass =
        WindowClassRecord::RegisterOnce(s_class, L"VistelloAxHostWindow", HostingModuleInstance());
    return NodeWindow::Create(parent, host ? host->GetWindow() : nullptr, windowClass, x, y, width, height, Child,
                              show, insertAfter);
}

void ControlHostWindow::ForgetOwner()
{
    m_node = nullptr;
    m_owner = nullptr;
}

bool ControlHostWindow::CaptureBackground()
{
    RECT client, placement;
    HWND window = GetHwnd();
    if (!window || !GetClientArea(client) || !GetPlacement(placement))
        return false;
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (!m_background || m_background->GetWidth() != width || m_background->GetHeight() != height) {
        delete m_background;
        m_background = CreateWindowSurface(window, width, height);
        if (!m_background)
            return false;
    }
    HWND parent = GetParentWindow();
    // The window hides for the copy so the parent shows what lies behind it.
    if (IsOffScreen())
        SetWindowPos(window, nullptr, 0, 0, 0, 0, kKeepPlace | SWP_HIDEWINDOW);
    UpdateWindow(parent);
    m_background->CopyFromWindow(parent, placement.left, placement.top, width, height, 0, 0);
    if (IsOffScreen())
        SetWindowPos(window, nullptr, 0, 0, 0, 0, kKeepPlace | SWP_SHOWWINDOW);
    m_background->SetAlpha(0, 0, width, height, 255);
    return true;
}

LRESULT ControlHostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCDESTROY:
        delete m_background;
        m_background = nullptr;
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE && m_owner)
            m_owner->AttachControlWindow(reinterpret_cast<HWND>(lParam));
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return NodeWindow::WindowProc(window, message, wParam, lParam);
}
