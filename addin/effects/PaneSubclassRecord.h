#pragma once
#include <windows.h>

#include "base/MKCSubclassWnd.h"

class SlideShowSession;

// One session's two watched windows. Messages go to the session first; what
// it does not handle goes on to PowerPoint's procedure. The destruction of
// the show window stops the session.
class PaneSubclassRecord {
public:
    explicit PaneSubclassRecord(SlideShowSession* session);
    PaneSubclassRecord(const PaneSubclassRecord&) = delete;
    PaneSubclassRecord& operator=(const PaneSubclassRecord&) = delete;

    bool Attach(HWND pane, HWND showWindow);
    void Detach()
    {
        m_pane.Detach();
        m_show.Detach();
    }
    SlideShowSession* GetSession() const { return m_session; }
    HWND GetPane() const { return m_pane.Window(); }
    HWND GetShowWindow() const { return m_show.Window(); }

private:
    class Side : public MKCSubclassWnd {
    public:
        Side(SlideShowSession* session, bool show) : m_session(session), m_isShow(show) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SlideShowSession* m_session;
        bool m_isShow;
    };

    SlideShowSession* m_session;
    Side m_pane;
    Side m_show;
};
