#pragma once
#include <windows.h>

#include "addin/core/ShowEventTarget.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKTArray.h"

class DeferredReportBox;
class SessionReport;
class SlideShowHost;
class SlideShowSession;
class SlideVisitLog;

// The entry of the slide-show machinery, one per Office connection: keeps
// one session per show window, routes PowerPoint's show events to the
// session of their window, collects a report per show and shows it when the
// show has ended (at once when PowerPoint was started to show, else 50 ms
// later), and stops every session at shut-down. It also keeps a copy of
// PowerPoint's accelerator table (PPINTL.DLL, 1292) for hosted content.
// The host must outlive it. PowerPoint's user-interface thread only.
class SlideShowController : public ShowEventTarget {
public:
    explicit SlideShowController(SlideShowHost* host);
    ~SlideShowController();
    SlideShowController(const SlideShowController&) = delete;
    SlideShowController& operator=(const SlideShowController&) = delete;

    void OnSlideShowBegin(PowerPoint::SlideShowWindow* window) override;
    void OnNextBuild(PowerPoint::SlideShowWindow* window) override;
    void OnNextSlide(PowerPoint::SlideShowWindow* window) override;
    void OnSlideShowEnd(PowerPoint::Presentation* presentation) override;
    void OnNextClick(PowerPoint::SlideShowWindow* window, PowerPoint::Effect* effect) override;
    void OnNext(PowerPoint::SlideShowWindow* window) override;
    void OnPrevious(PowerPoint::SlideShowWindow* window) override;
    // The shell hook saw the show window: its session is made when needed.
    void AttachShowWindow(PowerPoint::SlideShowWindow* window);
    // Ends every running show and stops its session; drops the reports.
    void Shutdown();

    // By COM identity of the window; -1 when none.
    int FindSession(PowerPoint::SlideShowWindow* window) const;
    // The visits of the window's show, for plug-ins; null without a session.
    const SlideVisitLog* FindVisitLog(PowerPoint::SlideShowWindow* window) const;
    // Null only when it cannot be made; a session that failed to begin is
    // answered stopped and leaves the list at its next event.
    SlideShowSession* FindOrCreateSession(PowerPoint::SlideShowWindow* window);
    void StopSession(SlideShowSession* session, bool dropReport);
    void ShowReport(SessionReport* report);

    SlideShowHost* GetHost() const { return m_host; }
    int GetSessionCount() const { return m_sessions.GetCount(); }
    SlideShowSession* GetSession(int index) const { return m_sessions.SafeGetAt(index); }
    int GetReportCount() const { return m_reports.GetCount(); }
    const ACCEL* GetAccelerators() const { return m_accelerators.GetData(); }
    int GetAcceleratorCount() const { return m_accelerators.GetCount(); }
    bool HasPendingBox() const { return m_pendingBox != nullptr; }

private:
    friend class DeferredReportBox;

    // The five mid-show events: a stopped session leaves the list, a
    // suspended one hears nothing.
    template <class Handler>
    void Route(PowerPoint::SlideShowWindow* window, Handler&& handler);
    void CopyAccelerators();
    void DisposePendingBox();
    void RemoveReportAt(int index);
    // Called by the box from its own tick.
    void OnBoxDue(DeferredReportBox* box);

    SlideShowHost* m_host;
    MKTArray<SlideShowSession*> m_sessions;
    MKTArray<SessionReport*> m_reports;
    MKTArray<ACCEL> m_accelerators;
    DeferredReportBox* m_pendingBox = nullptr;
    // Boxes let go of inside their own tick, freed once that tick is over.
    MKTArray<DeferredReportBox*> m_finishedBoxes;
};
