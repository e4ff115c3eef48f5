#include "player/app/CPVLabel.h"

#include "player/app/OpenUrl.h"

#include <windowsx.h>

CPVLabel::CPVLabel()
    : m_textColour(GetSysColor(COLOR_WINDOWTEXT)), m_backgroundBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
{
}

CPVLabel::~CPVLabel()
{
    Detach();
    if (m_font)
        DeleteObject(m_font);
    DeleteObject(m_backgroundBrush);
}

bool CPVLabel::Attach(HWND staticControl)
{
    if (!MKCSubclassWnd::Attach(staticControl) || !staticControl)
        return false;
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(staticControl, WM_GETFONT, 0, 0));
    GetObjectA(dialogFont ? dialogFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof m_logFont,
               &m_logFont);
    MakeFont(m_linkEnabled);
    return true;
}

void CPVLabel::MakeFont(bool underline)
{
    m_logFont.lfUnderline = underline ? TRUE : FALSE;
    HFONT font = CreateFontIndirectA(&m_logFont);
    if (!font)
        return;
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
}

void CPVLabel::SetLink(bool enabled, const char* target)
{
    m_linkEnabled = enabled;
    m_target = target;
    HWND window = Window();
    if (window) {
        LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        SetWindowLongPtrA(window, GWL_STYLE, enabled ? (style | SS_NOTIFY) : (style & ~LONG_PTR(SS_NOTIFY)));
    }
    m_textColour = enabled ? m_linkColour : GetSysColor(COLOR_WINDOWTEXT);
    SetUnderline(enabled);
}

void CPVLabel::SetUnderline(bool on)
{
    MakeFont(on);
    if (Window())
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CPVLabel::SetColour(COLORREF colour)
{
    m_textColour = colour;
    if (Window())
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBRUSH CPVLabel::OnCtlColor(HDC dc)
{
    if (m_font)
        SelectObject(dc, m_font);
    SetTextColor(dc, m_textColour);
    SetBkMode(dc, TRANSPARENT);
    return m_backgroundBrush;
}

bool CPVLabel::PointerInside(LPARAM lParam) const
{
    RECT client;
    GetClientRect(Window(), &client);
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, point) != FALSE;
}

LRESULT CPVLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR && m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    if (m_linkEnabled) {
        switch (message) {
        case WM_MOUSEMOVE:
            if (wParam & MK_LBUTTON) {
                SetUnderline(!PointerInside(lParam));
            } else if (PointerInside(lParam)) {
                if (!m_captured) {
                    SetCapture(Window());
                    m_captured = true;
                    SetColour(m_hoverColour);
                }
            } else if (m_captured) {
                m_captured = false;
                ReleaseCapture();
                SetColour(m_linkColour);
            }
            break;
        case WM_LBUTTONDOWN:
            SetUnderline(false);
            break;
        case WM_LBUTTONUP: {
            SetUnderline(true);
            if (m_captured) {
                m_captured = false;
                ReleaseCapture();
                SetColour(m_linkColour);
            }
            if (PointerInside(lParam)) {
                MKString target = m_target;
                if (target.IsEmpty()) {
                    int length = GetWindowTextLengthA(Window());
                    if (char* chars = target.PrepareOverwrite(length))
                        GetWindowTextA(Window(), chars, length + 1);
                }
                OpenUrl(target.GetText());
            }
            break;
        }
        default:
            break;
        }
    }
    return MKCSubclassWnd::WindowProc(message, wParam, lParam);
}
