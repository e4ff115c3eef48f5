#pragma once
#include "addin/hosting/NodeWindow.h"

class WindowedNode;

// The window of a windowed node (class "VistelloNodeWindow"): paints from
// the node's renderer and lets the node release its layers when the system
// destroys the window first.
class NodeContentWindow : public NodeWindow {
public:
    explicit NodeContentWindow(WindowedNode* node) : m_node(node) {}

    // Placed in the window z-order below the nearest node window above the
    // node; owned by the host window.
    bool Create(HWND parent, int x, int y, int width, int height, bool show, int windowMode);
    // Forgets the node, then closes the window.
    void Destroy();
    // Paints now: UpdateWindow, or for a per-pixel-alpha window the GDI
    // renderer's back buffer pushed to the layered window.
    void UpdateNow();
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    static void RegisterClassOnce(HINSTANCE module);
    static void UnregisterClassAtExit();

private:
    WindowedNode* m_node;
};
