#include "addin/effects/ShowEventLog.h"

#include "base/MKClock.h"
#include "base/MKCoTaskMemBuffer.h"

#include <string.h>

int64_t ShowEventRecord::GetDurationMs() const
{
    return duration != 0 ? duration : MKClock::ElapsedMs() - start;
}

ShowEventLog::ShowEventLog() : m_start(MKDateTime::UtcNow()) {}

bool ShowEventLog::WriteBlock(MKCoTaskMemBuffer& block) const
{
    block.Free();
    const int count = m_records.GetCount();
    if (count == 0)
        return true;
    if (count > 0x7FFFFFFF / 20 || !block.Allocate(20 * count))
        return false;
    auto* ids = static_cast<uint8_t*>(block.Data());
    uint8_t* times = ids + 4 * count;
    uint8_t* durations = times + 8 * count;
    for (int i = 0; i < count; ++i) {
        const ShowEventRecord& record = m_records[count - 1 - i];
        const int64_t time = record.time.ToUnixMs();
        const int64_t duration = record.GetDurationMs();
        memcpy(ids + 4 * i, &record.id, 4);
        memcpy(times + 8 * i, &time, 8);
        memcpy(durations + 8 * i, &duration, 8);
    }
    return true;
}
