#include "addin/hosting/AntiBlinkWindow.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/WindowClassRecord.h"

namespace {

WindowClassRecord* s_class = nullptr;

}  // namespace

AntiBlinkWindow::~AntiBlinkWindow()
{
    ReleaseAll();
}

void AntiBlinkWindow::UnregisterClassAtExit()
{
    WindowClassRecord::UnregisterAtExit(s_class);
}

bool AntiBlinkWindow::Show(HWND source, float x, float y, float width, float height)
{
    if ((m_source && m_source != source) || (IsWindow() && !m_source) || !m_host)
        return false;
    const double scale = m_host->GetScale();
    if (int(width * scale + 0.5) <= 0 || int(height * scale + 0.5) <= 0)
        return false;
    RECT rect = m_host->LogicalToClientRect(x, y, width, height);
    if (IsRectEmpty(&rect))
        return false;
    HWND hostWindow = m_host->GetWindow();
    InflateRect(&rect, 1, 1);
    m_source = source;
    // The snapshot never reaches beyond the letterboxed host area.
    RECT area = m_host->LogicalToClientRect(0, 0, m_host->GetWidth(), m_host->GetHeight());
    IntersectRect(&rect, &rect, &area);
    RECT sourceRect = rect;
    if (source != hostWindow) {
        MapWindowPoints(hostWindow, source, reinterpret_cast<POINT*>(&sourceRect), 2);
    }
    m_rect = rect;
    const int snapWidth = rect.right - rect.left, snapHeight = rect.bottom - rect.top;
    const bool created = !IsWindow();
    if (created) {
        WindowClassRecord* windowClass =
            WindowClassRecord::RegisterOnce(s_class, L"VistelloAntiBlinkWindow", HostingModuleInstance());
        if (!NodeWindow::Create(hostWindow, hostWindow, windowClass, rect.left, rect.top, snapWidth, snapHeight,
                                LayeredPerPixel, false, nullptr)) {
            ReleaseAll();
            return false;
        }
    }
    if (!m_snapshot || m_snapshot->GetWidth() != snapWidth || m_snapshot->GetHeight() != snapHeight) {
        delete m_snapshot;
        m_snapshot = CreateWindowSurface(source, snapWidth, snapHeight);
    }
    if (!m_snapshot) {
        ReleaseAll();
        return false;
    }
    m_snapshot->CopyFromWindow(source, sourceRect.left, sourceRect.top, snapWidth, snapHeight, 0, 0);
    m_snapshot->SetAlpha(0, 0, snapWidth, snapHeight, 255);
    if (created)
        NodeWindow::Show(true);
    else
        MoveToRect(rect);
    UpdateLayered(m_snapshot->GetDC());
    return true;
}

void AntiBlinkWindow::Hide()
{
    if (!m_source)
        return;
    ReleaseAll();
}

void AntiBlinkWindow::ReleaseAll()
{
    NodeWindow::Show(false);
    delete m_snapshot;
    m_snapshot = nullptr;
    Destroy();
    m_source = nullptr;
    m_rect = RECT{};
}

LRESULT AntiBlinkWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFOCUS:
        // The snapshot never keeps the focus.
        if (m_host && m_host->GetWindow()) {
            HWND parent = GetParent(m_host->GetWindow());
            SetFocus(parent);
            SetActiveWindow(parent);
        }
        return 0;
    case WM_NCACTIVATE:
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return NodeWindow::WindowProc(window, message, wParam, lParam);
    }
}
