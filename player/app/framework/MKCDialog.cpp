#include "player/app/framework/MKCDialog.h"

#include "player/app/framework/MKWindowLayer.h"

namespace {

// The framework's command-help message (F1 on a command), sent to the
// window that has the focus.
constexpr UINT kCommandHelp = 0x0365;

}  // namespace

MKCDialog::MKCDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_helpId(templateId), m_parent(parent)
{
}

INT_PTR MKCDialog::DoModal()
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), m_parent, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL MKCDialog::OnInitDialog()
{
    if (fontToChildren)
        SetFontOnChildren(m_window, GetDialogFont());
    if (m_placementStore && m_placementStore->valid)
        SetWindowPlacement(m_window, &m_placementStore->placement);
    return TRUE;
}

void MKCDialog::OnOK()
{
    if (m_placementStore) {
        m_placementStore->placement.length = sizeof(WINDOWPLACEMENT);
        m_placementStore->valid = GetWindowPlacement(m_window, &m_placementStore->placement) != FALSE;
    }
    EndDialog(m_window, IDOK);
}

void MKCDialog::OnCancel()
{
    EndDialog(m_window, IDCANCEL);
}

INT_PTR CALLBACK MKCDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MKCDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<MKCDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_window = window;
        return dialog->OnInitDialog();
    }
    dialog = reinterpret_cast<MKCDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            dialog->OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            dialog->OnCancel();
            return TRUE;
        }
        break;
    case WM_HELP:
    case kCommandHelp:
        // The player has no help: either request is consumed.
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_NCDESTROY:
        dialog->m_window = nullptr;
        return FALSE;
    default:
        break;
    }
    return dialog->OnMessage(message, wParam, lParam);
}
