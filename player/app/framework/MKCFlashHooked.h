#pragma once
#include "base/MKCSubclassWnd.h"

#include <windows.h>

class MKCFlashWnd;

// Lets a user of the Flash window see the control window's messages first.
class MKCFlashMessageFilter {
public:
    virtual LRESULT Filter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~MKCFlashMessageFilter() = default;
};

// Mouse and paint messages of the control window; a handler that sets handled
// answers for the control.
class MKCFlashMouseListener {
public:
    virtual LRESULT OnLButtonUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    virtual LRESULT OnLButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    virtual LRESULT OnRButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    virtual LRESULT OnLButtonDblClk(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    virtual LRESULT OnMouseMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    // After the control has painted; updateRegion is what it was asked to paint.
    virtual LRESULT OnPaint(HWND window, HRGN updateRegion, UINT message, WPARAM wParam, LPARAM lParam,
                            bool& handled) = 0;

protected:
    ~MKCFlashMouseListener() = default;
};

// The hook on the Flash control's own window: keeps right-button messages
// from the control while its owner blocks them, so the control's context menu
// never opens, and hands messages to the optional filter and listener first.
// Neither interface is owned; both must outlive the hook.
class MKCFlashHooked : public MKCSubclassWnd {
public:
    explicit MKCFlashHooked(MKCFlashWnd* owner) : m_owner(owner) {}
    ~MKCFlashHooked() override;

    void SetMessageFilter(MKCFlashMessageFilter* filter) { m_messageFilter = filter; }
    void SetMouseListener(MKCFlashMouseListener* listener) { m_mouseListener = listener; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT PaintThenTell(UINT message, WPARAM wParam, LPARAM lParam);

    MKCFlashWnd* m_owner;
    MKCFlashMessageFilter* m_messageFilter = nullptr;
    MKCFlashMouseListener* m_mouseListener = nullptr;
};
