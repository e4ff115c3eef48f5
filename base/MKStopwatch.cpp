#include "base/MKStopwatch.h"

#include "base/MKClock.h"

MKStopwatch::MKStopwatch(bool running, MKClockFunction clock)
    : m_clock(clock ? clock : MKClock::ElapsedMs), m_start(running ? m_clock() : -1)
{
}

int64_t MKStopwatch::Start()
{
    if (m_start < 0)
        m_start = m_clock();
    return m_start;
}

int64_t MKStopwatch::Stop()
{
    if (m_start >= 0) {
        m_accumulated += m_clock() - m_start;
        m_start = -1;
    }
    return m_accumulated;
}

void MKStopwatch::Reset()
{
    m_start = -1;
    m_accumulated = 0;
}

int64_t MKStopwatch::ElapsedMs() const
{
    return m_start >= 0 ? m_accumulated + m_clock() - m_start : m_accumulated;
}

void MKStopwatch::Discount(int64_t ms)
{
    if (m_start < 0 || ms <= 0)
        return;
    if (ms >= ElapsedMs()) {
        m_start = m_clock();
        m_accumulated = 0;
    } else {
        m_accumulated -= ms;
    }
}

void MKStopwatch::SetClock(MKClockFunction clock)
{
    Reset();
    m_clock = clock ? clock : MKClock::ElapsedMs;
}
