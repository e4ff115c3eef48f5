#pragma once
#include <windows.h>

// What a control host window tells the node that owns it: the control made
// its window inside the host window.
class ControlWindowOwner {
public:
    virtual void AttachControlWindow(HWND control) = 0;

protected:
    ~ControlWindowOwner() = default;
};
