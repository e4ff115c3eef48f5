#pragma once
#include "addin/hosting/RectF.h"

#include <stdint.h>
#include <windows.h>

// What a host and its nodes ask of the object its owner attaches to it (the
// slide show's resource handler): the area a repaint snapshot must cover,
// where the keyboard focus goes when no node takes it, where hosted controls'
// mouse and key input goes, the commands keys stand for, and the news that
// the host closed. The owner keeps the handler alive while it is attached; the host
// never releases it and forgets it when it closes.
class HostHandler {
public:
    // May widen `bounds` (logical host units) and ask for a snapshot.
    virtual void GetSnapshotArea(RectF& bounds, bool& needed) = 0;
    virtual void OnSnapshotShown() = 0;
    virtual void OnHostClosed() = 0;
    virtual HWND GetFocusWindow() = 0;
    // The windows that receive the input a hosted control does not keep;
    // null: the control keeps it.
    virtual HWND GetMouseTarget() = 0;
    virtual HWND GetKeyTarget() = 0;
    // The command a key message stands for (with the key and its Shift, Ctrl
    // and Alt state in `keyState`), negative for none.
    virtual int32_t TranslateKey(UINT message, WPARAM wParam, LPARAM lParam, int32_t& keyState) = 0;

protected:
    ~HostHandler() = default;
};
