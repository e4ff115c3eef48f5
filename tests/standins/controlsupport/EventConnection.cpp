#include "tests/standins/controlsupport/EventConnection.h"

EventConnection::EventConnection(IUnknown* control, const IID& iid, IUnknown* sink)
{
    IConnectionPointContainer* points = nullptr;
    if (!control ||
        FAILED(control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points))))
        return;
    if (SUCCEEDED(points->FindConnectionPoint(iid, &m_point)) && FAILED(m_point->Advise(sink, &m_cookie)))
        m_cookie = 0;
    points->Release();
}

void EventConnection::Disconnect()
{
    if (m_point && m_cookie)
        m_point->Unadvise(m_cookie);
    m_cookie = 0;
    if (m_point)
        m_point->Release();
    m_point = nullptr;
}
