#include "addin/effects/SlideVisitLog.h"

#include "base/MKClock.h"
#include "base/MKCoTaskMemBuffer.h"

#include <string.h>

int64_t SlideVisit::GetShownMs(int64_t now) const
{
    return accumulated + (shownSince >= 0 ? now - shownSince : 0);
}

void SlideVisitLog::Open(int32_t slideNumber)
{
    if (slideNumber <= 0)
        return;
    const int64_t now = MKClock::ElapsedMs();
    const int count = m_visits.GetCount();
    if (count > 0 && m_visits[count - 1].slideNumber == slideNumber) {
        SlideVisit& last = m_visits[count - 1];
        if (last.shownSince < 0)
            last.shownSince = now;
        return;
    }
    SlideVisit visit;
    visit.slideNumber = slideNumber;
    visit.firstShown = MKDateTime::UtcNow();
    visit.shownSince = now;
    if (count >= kMaxVisits)
        m_visits.RemoveAt(0);
    m_visits.Add(visit);
}

void SlideVisitLog::Close(int32_t slideNumber)
{
    const int count = m_visits.GetCount();
    if (count == 0)
        return;
    SlideVisit& last = m_visits[count - 1];
    if (last.slideNumber != slideNumber || last.shownSince < 0)
        return;
    last.accumulated = last.GetShownMs(MKClock::ElapsedMs());
    last.shownSince = -1;
}

bool SlideVisitLog::WriteBlock(MKCoTaskMemBuffer& block) const
{
    block.Free();
    const int count = m_visits.GetCount();
    if (count == 0)
        return true;
    if (!block.Allocate(20 * count))
        return false;
    const int64_t now = MKClock::ElapsedMs();
    auto* numbers = static_cast<uint8_t*>(block.Data());
    uint8_t* times = numbers + 4 * count;
    uint8_t* durations = times + 8 * count;
    for (int i = 0; i < count; ++i) {
        const SlideVisit& visit = m_visits[count - 1 - i];
        const int64_t time = visit.firstShown.ToUnixMs();
        const int64_t shown = visit.GetShownMs(now);
        memcpy(numbers + 4 * i, &visit.slideNumber, 4);
        memcpy(times + 8 * i, &time, 8);
        memcpy(durations + 8 * i, &shown, 8);
    }
    return true;
}
