#include "player/app/framework/MKStatusBar.h"

#include <commctrl.h>
#include <string.h>

MKStatusBar::~MKStatusBar()
{
    if (m_window && IsWindow(m_window))
        DestroyWindow(m_window);
}

bool MKStatusBar::Create(HWND parent, const UINT* ids, const char* const* samples, int count)
{
    if (count < 0 || count + 1 > kMaxPanes)
        return false;
    InitCommonControls();
    m_window = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!m_window)
        return false;
    m_count = count + 1;
    m_ids[0] = 0;
    HDC dc = GetDC(m_window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(m_window, WM_GETFONT, 0, 0)));
    for (int i = 0; i < count; ++i) {
        m_ids[i + 1] = ids[i];
        SIZE size = {};
        GetTextExtentPoint32A(dc, samples[i], int(strlen(samples[i])), &size);
        m_widths[i + 1] = size.cx + 12;  // the pane's borders and margins
    }
    SelectObject(dc, old);
    ReleaseDC(m_window, dc);
    Reposition();
    return true;
}

void MKStatusBar::Reposition()
{
    if (!m_window)
        return;
    SendMessageA(m_window, WM_SIZE, 0, 0);
    RECT client;
    GetClientRect(m_window, &client);
    // Right edges from the right: the indicators keep their widths, the
    // message pane takes the rest and the last pane runs to the end.
    int edges[kMaxPanes];
    int x = client.right;
    edges[m_count - 1] = -1;
    for (int i = m_count - 1; i > 0; --i) {
        x -= m_widths[i];
        edges[i - 1] = x > 0 ? x : 0;
    }
    SendMessageA(m_window, SB_SETPARTS, WPARAM(m_count), reinterpret_cast<LPARAM>(edges));
}

int MKStatusBar::PaneIndex(UINT id) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_ids[i] == id)
            return i;
    }
    return -1;
}

bool MKStatusBar::SetPaneText(UINT id, const char* text)
{
    int index = PaneIndex(id);
    if (index < 0 || !m_window)
        return false;
    if (!text)
        text = "";
    if (strcmp(GetPaneText(id).GetText(), text) == 0)
        return true;
    SendMessageA(m_window, SB_SETTEXTA, WPARAM(index), reinterpret_cast<LPARAM>(text));
    UpdateWindow(m_window);
    return true;
}

MKString MKStatusBar::GetPaneText(UINT id) const
{
    MKString text;
    int index = PaneIndex(id);
    if (index < 0 || !m_window)
        return text;
    int length = LOWORD(SendMessageA(m_window, SB_GETTEXTLENGTHA, WPARAM(index), 0));
    if (char* chars = text.PrepareOverwrite(length)) {
        chars[0] = 0;
        SendMessageA(m_window, SB_GETTEXTA, WPARAM(index), reinterpret_cast<LPARAM>(chars));
        chars[length] = 0;
        text.SetLength(int(strlen(chars)));
    }
    return text;
}
