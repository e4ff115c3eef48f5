#include "addin/hosting/ClockPauseGuard.h"

#include "addin/hosting/NodeHost.h"

void ClockPauseGuard::Attach(NodeHost* host)
{
    Release();
    if (!host)
        return;
    host->AddRef();
    m_host = host;
    const MKStopwatch& watch = host->GetRepaintStopwatch();
    m_wasRunning = watch.IsRunning();
    m_attachedAt = watch.ClockNow();
}

void ClockPauseGuard::Release()
{
    NodeHost* host = m_host;
    if (!host)
        return;
    m_host = nullptr;
    MKStopwatch& watch = host->GetRepaintStopwatch();
    if (watch.IsRunning()) {
        if (m_wasRunning) {
            watch.Discount(watch.ClockNow() - m_attachedAt);
        } else {
            watch.Reset();
            watch.Start();
        }
    }
    host->Release();
}
