#pragma once
#include "base/MKRefHolder.h"
#include "base/MKTimer.h"

class SessionReport;
class SlideShowController;

// Shows one report a moment after its show has ended, when PowerPoint has
// finished closing the show window: at the timer's first tick the timer
// stops and the controller shows the report. Owned by the controller, which
// never frees it inside its own tick.
class DeferredReportBox : public MKTimerListener {
public:
    DeferredReportBox(SlideShowController* controller, SessionReport* report);
    ~DeferredReportBox();
    DeferredReportBox(const DeferredReportBox&) = delete;
    DeferredReportBox& operator=(const DeferredReportBox&) = delete;

    bool Start(unsigned periodMs);
    void Stop() { m_timer.Stop(); }
    SessionReport* GetReport() const { return m_report.Get(); }
    bool IsTicking() const { return m_ticking; }

    void OnTimer(MKTimer* timer) override;

private:
    SlideShowController* m_controller;
    MKRefHolder<SessionReport> m_report;
    MKTimer m_timer;
    bool m_ticking = false;
};
