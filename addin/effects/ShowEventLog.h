#pragma once
#include "base/MKDateTime.h"
#include "base/MKTOArray.h"

#include <stdint.h>

class MKCoTaskMemBuffer;

// One timed event of a slide show.
struct ShowEventRecord {
    int32_t id = 0;
    MKDateTime time;
    // Its start on the process's millisecond clock (MKClock::ElapsedMs).
    int32_t start = 0;
    // In milliseconds; 0 while the event runs.
    int32_t duration = 0;

    // The stored duration, else the time the event has run so far.
    int64_t GetDurationMs() const;
};

// What a slide show keeps for the plug-ins that ask about it: when it started
// and its timed events in the order they came. A plain value; one thread.
class ShowEventLog {
public:
    // Starts now.
    ShowEventLog();

    const MKDateTime& GetStart() const { return m_start; }
    void SetStart(const MKDateTime& start) { m_start = start; }
    bool Add(const ShowEventRecord& record) { return m_records.Add(record); }
    int GetCount() const { return m_records.GetCount(); }
    const ShowEventRecord& GetAt(int index) const { return m_records[index]; }

    // The events as one block of task memory, 20 bytes an event: the 32-bit
    // ids, then the 64-bit times in milliseconds since 1970-01-01 UTC, then
    // the 64-bit durations in milliseconds, each array from the last event
    // to the first. An empty log gives no block; false when the block cannot
    // be allocated.
    bool WriteBlock(MKCoTaskMemBuffer& block) const;

private:
    MKDateTime m_start;
    MKTOArray<ShowEventRecord> m_records;
};
