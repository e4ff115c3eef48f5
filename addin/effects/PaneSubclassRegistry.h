#pragma once
#include <windows.h>

#include "base/MKCSubclassWnd.h"
#include "base/MKTArray.h"

class SlideShowHost;
class SlideShowSession;
class PaneSubclassRecord;

// Watches PowerPoint's windows while shows run: each session's pane and show
// window, whose messages reach the session first, and PowerPoint's main
// window, wrapped while any session is watched. The windows join the base
// library's subclassing chains, so letting go never cuts off a procedure that
// someone installed over ours later (ours then stays in the chain as a pass-
// through until it is on top again). One per process, from the library's
// attach to its detach; deleting it lets go of every window. PowerPoint's
// user-interface thread only.
class PaneSubclassRegistry {
public:
    static PaneSubclassRegistry* Get();
    static void CreateInstance();
    static void DestroyInstance();

    PaneSubclassRegistry() = default;
    ~PaneSubclassRegistry();
    PaneSubclassRegistry(const PaneSubclassRegistry&) = delete;
    PaneSubclassRegistry& operator=(const PaneSubclassRegistry&) = delete;

    // Subclasses both windows for the session (not counted; it must call
    // Remove before it goes) and the main window when not done yet. Null
    // when either window cannot be watched.
    PaneSubclassRecord* Add(SlideShowSession* session, HWND pane, HWND showWindow, SlideShowHost* host);
    // Lets go of the session's windows; nothing for an unknown session.
    void Remove(SlideShowSession* session);
    // Records let go of during a window procedure's call stay in memory
    // until the outermost call has returned.
    class CallScope {
    public:
        CallScope();
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;
    };

    int GetRecordCount() const { return m_records.GetCount(); }
    HWND GetMainWindow() const { return m_main.Window(); }

private:
    void ReleaseMainWhenIdle();

    void DeleteRetired();

    MKCSubclassWnd m_main;
    MKTArray<PaneSubclassRecord*> m_records;
    MKTArray<PaneSubclassRecord*> m_retired;
    int m_callDepth = 0;
};
