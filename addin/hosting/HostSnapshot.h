#pragma once
#include <windows.h>

// The snapshot a host shows over an area of its window while node windows
// appear and disappear, so the change does not blink (the anti-blink window
// of the node-window layer). Owned by its host; used on the host's thread.
class HostSnapshot {
public:
    virtual ~HostSnapshot() = default;
    // Covers the logical host area with the source window's current pixels;
    // false (nothing shown) when the area is empty or the snapshot cannot be
    // taken.
    virtual bool Show(HWND source, float x, float y, float width, float height) = 0;
    virtual void Hide() = 0;
};
