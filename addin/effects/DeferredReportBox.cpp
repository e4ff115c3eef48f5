#include "addin/effects/DeferredReportBox.h"

#include "addin/effects/SessionReport.h"
#include "addin/effects/SlideShowController.h"

DeferredReportBox::DeferredReportBox(SlideShowController* controller, SessionReport* report)
    : m_controller(controller)
{
    m_report.AssignPointer(report);
    m_timer.SetListener(this);
}

DeferredReportBox::~DeferredReportBox()
{
    m_timer.Stop();
}

bool DeferredReportBox::Start(unsigned periodMs)
{
    m_timer.SetPeriod(periodMs);
    return m_timer.Start();
}

void DeferredReportBox::OnTimer(MKTimer*)
{
    m_timer.Stop();
    m_ticking = true;
    m_controller->OnBoxDue(this);
    m_ticking = false;
}
