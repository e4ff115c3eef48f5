#pragma once
#include "base/MKDateTime.h"
#include "base/MKTArray.h"

#include <stdint.h>

class MKCoTaskMemBuffer;

// One stay of the show on a slide; a slide shown again right after it was
// left (the pane's blank in between) continues its visit.
struct SlideVisit {
    int32_t slideNumber = 0;
    MKDateTime firstShown;
    // On the process clock (MKClock::ElapsedMs); -1 while not shown.
    int64_t shownSince = -1;
    int64_t accumulated = 0;

    // The time shown so far: what earlier showings added and, while shown,
    // the running one.
    int64_t GetShownMs(int64_t now) const;
};

// The slides a show visited, oldest first, and when the show began: what
// plug-ins read about a running show. Keeps the newest kMaxVisits visits.
// A plain value; one thread.
class SlideVisitLog {
public:
    static const int kMaxVisits = 1000;

    const MKDateTime& GetStart() const { return m_start; }
    void SetStart(const MKDateTime& start) { m_start = start; }

    // A slide comes on screen (numbers below 1 are no slide: nothing).
    void Open(int32_t slideNumber);
    // The slide leaves the screen; nothing unless it is the newest visit and
    // shown.
    void Close(int32_t slideNumber);

    int GetCount() const { return m_visits.GetCount(); }
    const SlideVisit& GetAt(int index) const { return m_visits[index]; }

    // The visits as one block of task memory, 20 bytes a visit: the 32-bit
    // slide numbers, then the 64-bit first-shown times in milliseconds since
    // 1970-01-01 UTC, then the 64-bit times shown in milliseconds, each array
    // from the newest visit to the oldest. No visits give no block; false
    // when the block cannot be allocated.
    bool WriteBlock(MKCoTaskMemBuffer& block) const;

private:
    MKDateTime m_start;
    MKTArray<SlideVisit> m_visits;
};
