#include "player/app/DravoAboutDlg.h"

#include "player/app/PVPlayerCommands.h"
#include "player/app/framework/MKWindowLayer.h"

namespace {

enum { kMakerLink = 1002, kProductName = 1019, kFlashLink = 1021, kMakerLine = 1022 };

const char kFlashMakerPage[] = "https://www.adobe.com/products/flashplayer/";
const int kVersionMajor = 1;
const int kVersionMinor = 7;

}  // namespace

DravoAboutDlg::DravoAboutDlg(HWND parent) : MKCDialog(kResAboutDialog, parent) {}

BOOL DravoAboutDlg::OnInitDialog()
{
    MKCDialog::OnInitDialog();
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kResButtonCursor));
    m_makerLink.Attach(GetDlgItem(m_window, kMakerLink));
    m_makerLink.SetLink(true, kMakerWebPage);
    m_makerLink.SetCursor(hand);
    m_makerLink.SetUnderline(false);
    m_flashLink.Attach(GetDlgItem(m_window, kFlashLink));
    m_flashLink.SetLink(true, kFlashMakerPage);
    m_flashLink.SetCursor(hand);
    m_flashLink.SetUnderline(false);
    SetFontOnChildren(m_window, GetDialogFont());

    char name[128] = "";
    GetDlgItemTextA(m_window, kProductName, name, sizeof name);
    MKString text(name);
    text.AppendString(MKString::FromFormat(" %d.%d", kVersionMajor, kVersionMinor));
    SetDlgItemTextA(m_window, kProductName, text.GetText());
    SetDlgItemTextA(m_window, kMakerLine, "Copyright (C) Brelix Technologies. All rights reserved.");
    return TRUE;
}

INT_PTR DravoAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CTLCOLORSTATIC)
        return FALSE;
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control == m_makerLink.GetSafeHwnd())
        return reinterpret_cast<INT_PTR>(m_makerLink.OnCtlColor(reinterpret_cast<HDC>(wParam)));
    if (control == m_flashLink.GetSafeHwnd())
        return reinterpret_cast<INT_PTR>(m_flashLink.OnCtlColor(reinterpret_cast<HDC>(wParam)));
    return FALSE;
}
