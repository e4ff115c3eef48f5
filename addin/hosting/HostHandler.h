#pragma once
#include "addin/hosting/RectF.h"

#include <windows.h>

// What a host asks of the object its owner attaches to it (the slide show's
// resource handler): the area a repaint snapshot must cover, where the
// keyboard focus goes when no node takes it, and the news that the host
// closed. The owner keeps the handler alive while it is attached; the host
// never releases it and forgets it when it closes.
class HostHandler {
public:
    // May widen `bounds` (logical host units) and ask for a snapshot.
    virtual void GetSnapshotArea(RectF& bounds, bool& needed) = 0;
    virtual void OnSnapshotShown() = 0;
    virtual void OnHostClosed() = 0;
    virtual HWND GetFocusWindow() = 0;

protected:
    ~HostHandler() = default;
};
