#include "addin/effects/PaneSubclassRecord.h"

#include "addin/effects/PaneSubclassRegistry.h"
#include "addin/effects/SlideShowSession.h"
#include "base/MKRefHolder.h"

PaneSubclassRecord::PaneSubclassRecord(SlideShowSession* session)
    : m_session(session), m_pane(session, false), m_show(session, true)
{
}

bool PaneSubclassRecord::Attach(HWND pane, HWND showWindow)
{
    return m_pane.Attach(pane) && m_show.Attach(showWindow) && pane && showWindow;
}

LRESULT PaneSubclassRecord::Side::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The message may stop the session, which lets go of this record; the
    // registry keeps it in memory until the call has returned.
    PaneSubclassRegistry::CallScope call;
    MKRefHolder<SlideShowSession> session;
    session.AssignPointer(m_session);
    HWND window = Window();
    WNDPROC original = SavedProc();
    if (m_isShow && message == WM_DESTROY) {
        LRESULT result = MKCSubclassWnd::WindowProc(message, wParam, lParam);
        session->OnShowWindowDestroyed();
        return result;
    }
    bool handled = false;
    LRESULT result = m_isShow ? session->OnShowWindowMessage(message, wParam, lParam, &handled)
                              : session->OnPaneMessage(message, wParam, lParam, &handled);
    if (handled)
        return result;
    if (Window())
        return MKCSubclassWnd::WindowProc(message, wParam, lParam);
    // Stopped by the message: PowerPoint still gets it.
    return CallWindowProcW(original, window, message, wParam, lParam);
}
