#pragma once
#include "addin/hosting/HostSnapshot.h"
#include "addin/hosting/NodeWindow.h"

class DibSurface;
class NodeHost;

// The layered popup (class "VistelloAntiBlinkWindow") that covers part of
// the host window with a picture of its current pixels while node windows
// appear or go, so the change shows at once and without blinking. It never
// keeps the focus.
class AntiBlinkWindow : public NodeWindow, public HostSnapshot {
public:
    explicit AntiBlinkWindow(NodeHost* host) : m_host(host) {}
    ~AntiBlinkWindow() override;

    // The source window's pixels of the logical host area; refused while a
    // snapshot of another source is shown (until Hide) and for an empty area.
    bool Show(HWND source, float x, float y, float width, float height) override;
    void Hide() override;
    using NodeWindow::Show;
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND GetSource() const { return m_source; }
    const RECT& GetRect() const { return m_rect; }
    DibSurface* GetSnapshot() const { return m_snapshot; }

    static void UnregisterClassAtExit();

private:
    void ReleaseAll();

    NodeHost* m_host;
    DibSurface* m_snapshot = nullptr;
    HWND m_source = nullptr;
    RECT m_rect = {};
};
