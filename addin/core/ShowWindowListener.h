#pragma once
#include <windows.h>

// Told by the shell hook of a new slide-show window once PowerPoint has
// finished creating it; every listener is told, in registration order.
// PowerPoint's user-interface thread only.
class ShowWindowListener {
public:
    virtual void OnShowWindowCreated(HWND window) = 0;

protected:
    ~ShowWindowListener() = default;
};
