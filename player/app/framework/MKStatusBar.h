#pragma once
#include "base/MKString.h"

#include <windows.h>

// The frame's status bar: a stretching message pane (id 0) and indicator
// panes, each named by its command id and as wide as its sample text. A pane's
// text is set with an immediate repaint, and only when it changes. UI thread
// only.
class MKStatusBar {
public:
    enum { kMaxPanes = 8 };

    MKStatusBar() = default;
    ~MKStatusBar();
    MKStatusBar(const MKStatusBar&) = delete;
    MKStatusBar& operator=(const MKStatusBar&) = delete;

    // ids[0..count) follow the message pane; samples give their widths.
    bool Create(HWND parent, const UINT* ids, const char* const* samples, int count);
    HWND GetSafeHwnd() const { return m_window; }
    // Follows the parent's width (call on the parent's WM_SIZE).
    void Reposition();

    // The index of the pane with that id (0 for the message pane), or -1.
    int PaneIndex(UINT id) const;
    bool SetPaneText(UINT id, const char* text);
    MKString GetPaneText(UINT id) const;

private:
    HWND m_window = nullptr;
    int m_count = 0;
    UINT m_ids[kMaxPanes] = {};
    int m_widths[kMaxPanes] = {};
};
