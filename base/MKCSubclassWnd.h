#pragma once
#include <windows.h>

#include "base/MKChar.h"

MK_TEXT_NAMESPACE_BEGIN

// Lets an object see the messages of a window someone else created. Objects
// attached to one window form a chain behind one shared window procedure
// (MKCSubclassWndMap), the newest first; the window's own procedure comes
// last. The narrow build calls the A forms of the window functions, so a
// window's messages keep the character set it was made with. UI thread only;
// the object must stay alive while attached.
class MKCSubclassWnd {
public:
    MKCSubclassWnd() = default;
    virtual ~MKCSubclassWnd();
    MKCSubclassWnd(const MKCSubclassWnd&) = delete;
    MKCSubclassWnd& operator=(const MKCSubclassWnd&) = delete;

    // Detaches from any other window first. True when attached (or for a null
    // window); false, detached, for a handle that is no window.
    bool Attach(HWND window);
    void Detach();

    HWND Window() const { return m_window; }
    // The window's own procedure while attached, else null.
    WNDPROC SavedProc() const { return m_savedProc; }

    // Overrides handle what they want and call this for the rest: it passes the
    // message to the next (older) object, or to the window's own procedure,
    // also after this object detached itself while handling the message.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class MKCSubclassWndMap;

    HWND m_window = nullptr;
    WNDPROC m_savedProc = nullptr;  // the window's own procedure
    MKCSubclassWnd* m_next = nullptr;
};

MK_TEXT_NAMESPACE_END
