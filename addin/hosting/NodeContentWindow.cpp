#include "addin/hosting/NodeContentWindow.h"

#include "addin/hosting/GdiRenderer.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/WindowClassRecord.h"
#include "addin/hosting/WindowedNode.h"

namespace {

WindowClassRecord* s_class = nullptr;

}  // namespace

void NodeContentWindow::RegisterClassOnce(HINSTANCE module)
{
    WindowClassRecord::RegisterOnce(s_class, L"VistelloNodeWindow", module);
}

void NodeContentWindow::UnregisterClassAtExit()
{
    WindowClassRecord::UnregisterAtExit(s_class);
}

bool NodeContentWindow::Create(HWND parent, int x, int y, int width, int height, bool show, int windowMode)
{
    if (!m_node)
        return false;
    HWND insertAfter = nullptr;
    if (NodeWindow* above = m_node->FindWindowAbove(windowMode != Child))
        insertAfter = above->GetHwnd();
    NodeHost* host = m_node->GetHost();
    RegisterClassOnce(HostingModuleInstance());
    return NodeWindow::Create(parent, host ? host->GetWindow() : nullptr, s_class, x, y, width, height, windowMode,
                              show, insertAfter);
}

void NodeContentWindow::Destroy()
{
    m_node = nullptr;
    Close();
}

void NodeContentWindow::UpdateNow()
{
    HWND window = GetHwnd();
    if (!window)
        return;
    if (GetWindowMode() != LayeredPerPixel) {
        UpdateWindow(window);
        return;
    }
    // A per-pixel-alpha window gets no WM_PAINT: it shows the back buffer.
    if (m_node && m_node->GetRenderer() && m_node->GetRenderer()->GetKind() == NodeRenderer::Gdi)
        UpdateLayered(static_cast<GdiRenderer*>(m_node->GetRenderer())->GetMemoryDC());
}

LRESULT NodeContentWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCDESTROY: {
        Forget();
        WindowedNode* node = m_node;
        if (node)
            node->ReleaseLayer();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_PAINT:
        if (GetWindowMode() != LayeredPerPixel) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (m_node)
                m_node->PaintWindow(dc, paint);
            EndPaint(window, &paint);
            return 0;
        }
        break;
    default:
        break;
    }
    return NodeWindow::WindowProc(window, message, wParam, lParam);
}
