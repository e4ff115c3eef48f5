#pragma once
#include <windows.h>

// Where a dialog keeps its placement between runs; owned by the caller.
struct MKDialogPlacement {
    bool valid = false;
    WINDOWPLACEMENT placement = {};
};

// A modal dialog from a template of the program's resources that gives its
// children the common dialog font (when fontToChildren is set), can restore
// and remember its placement, and swallows help requests (F1). Subclasses
// answer OnInitDialog and OnMessage. UI thread only.
class MKCDialog {
public:
    MKCDialog(UINT templateId, HWND parent);
    virtual ~MKCDialog() = default;
    MKCDialog(const MKCDialog&) = delete;
    MKCDialog& operator=(const MKCDialog&) = delete;

    void SetPlacementStore(MKDialogPlacement* store) { m_placementStore = store; }
    // The button that ended it (IDOK, IDCANCEL), or -1.
    INT_PTR DoModal();
    HWND GetSafeHwnd() const { return m_window; }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Messages beyond initialisation, OK, Cancel and help; FALSE for the
    // dialog manager's default.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }

    HWND m_window = nullptr;
    UINT m_templateId;
    UINT m_helpId;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_parent;
    MKDialogPlacement* m_placementStore = nullptr;
};
