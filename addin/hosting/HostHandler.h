#pragma once
#include "addin/hosting/RectF.h"

#include <objidl.h>

#include <stdint.h>
#include <windows.h>

// What a host and its nodes ask of the object its owner attaches to it (the
// slide show's resource handler): the area a repaint snapshot must cover,
// where the keyboard focus goes when no node takes it, where hosted controls'
// mouse and key input goes, the commands keys stand for, and the news that
// the host closed. The owner keeps the handler alive while it is attached; the host
// never releases it and forgets it when it closes.
class UrlParts;

class HostHandler {
public:
    // May widen `bounds` (logical host units) and ask for a snapshot.
    virtual void GetSnapshotArea(RectF& bounds, bool& needed) = 0;
    virtual void OnSnapshotShown() = 0;
    virtual void OnHostClosed() = 0;
    virtual HWND GetFocusWindow() = 0;
    // A hosted control's request for a name below the virtual root: true
    // when answered, with `code` 0 (data in `stream`, one reference, and
    // `size`), 1 (later) or 2 (not served); `handled` says who took it.
    // False leaves the request to the node, with the values as set.
    virtual bool ResolveNodeUrl(int bindingId, const UrlParts& url, int32_t& handled, IStream*& stream,
                                uint32_t& size, int& code) = 0;
    // The windows that receive the input a hosted control does not keep;
    // null: the control keeps it.
    virtual HWND GetMouseTarget() = 0;
    virtual HWND GetKeyTarget() = 0;
    // The command a key message stands for (with the key and its Shift, Ctrl
    // and Alt state in `keyState`), negative for none.
    virtual int32_t TranslateKey(UINT message, WPARAM wParam, LPARAM lParam, int32_t& keyState) = 0;
    // Hands a command (one that TranslateKey answered) to the application
    // behind the host; true when it was sent.
    virtual bool SendCommand(int32_t command) = 0;

protected:
    ~HostHandler() = default;
};
