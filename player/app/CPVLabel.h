#pragma once
#include "base/MKCSubclassWnd.h"
#include "base/MKString.h"

#include <windows.h>

// A static text that works as a hyperlink: link colour, hover colour while the
// pointer is over it, underline while pressed outside it, and a click that
// opens its target (or its own text) with the shell. Attach it to a static
// control of a dialog; the dialog forwards WM_CTLCOLORSTATIC for the label to
// OnCtlColor. UI thread only.
class CPVLabel : private MKCSubclassWnd {
public:
    CPVLabel();
    ~CPVLabel();
    CPVLabel(const CPVLabel&) = delete;
    CPVLabel& operator=(const CPVLabel&) = delete;

    bool Attach(HWND staticControl);
    HWND GetSafeHwnd() const { return Window(); }

    void SetLink(bool enabled, const char* target);
    void SetCursor(HCURSOR cursor) { m_cursor = cursor; }
    void SetUnderline(bool on);
    COLORREF TextColour() const { return m_textColour; }
    // The reflected colour message: font and colour into dc, brush out.
    HBRUSH OnCtlColor(HDC dc);

private:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PointerInside(LPARAM lParam) const;
    void SetColour(COLORREF colour);
    void MakeFont(bool underline);

    COLORREF m_textColour;
    HBRUSH m_backgroundBrush;
    LOGFONTA m_logFont = {};
    HFONT m_font = nullptr;
    bool m_linkEnabled = true;
    MKString m_target;
    HCURSOR m_cursor = nullptr;
    COLORREF m_linkColour = RGB(0, 0, 255);
    COLORREF m_hoverColour = RGB(255, 0, 0);
    bool m_captured = false;
};
