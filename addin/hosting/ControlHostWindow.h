#pragma once
#include "addin/hosting/NodeWindow.h"

#include <stdint.h>

class ControlWindowOwner;
class DibSurface;
class SceneNode;

// The child window (class "VistelloAxHostWindow") that parents a windowed
// ActiveX control. It hands the control's window to its owner as soon as the
// control creates it, never erases its background (the control paints all
// of it), and can keep a picture of what lies behind it for controls that
// draw transparently.
class ControlHostWindow : public NodeWindow {
public:
    // `node` places the window (its rectangle and z-order); `owner` receives
    // the control's window. Neither is owned.
    ControlHostWindow(SceneNode* node, ControlWindowOwner* owner) : m_node(node), m_owner(owner) {}
    ~ControlHostWindow() override;

    // A child window at (x, y) of the parent's client area; `flag` is kept
    // for the owner.
    bool Create(HWND parent, int x, int y, int width, int height, bool show, uint8_t flag);
    uint8_t GetFlag() const { return m_flag; }
    // Copies the parent's pixels under the window (the window hidden
    // meanwhile) into the background picture, opaque; false when no picture
    // could be made.
    bool CaptureBackground();
    DibSurface* GetBackground() const { return m_background; }
    // Lets go of the node and the owner (they are going away).
    void ForgetOwner();

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    static void UnregisterClassAtExit();

private:
    SceneNode* m_node;
    ControlWindowOwner* m_owner;
    uint8_t m_flag = 0;
    DibSurface* m_background = nullptr;
};
