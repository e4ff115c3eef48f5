#pragma once
#include <stdint.h>

struct StepItem;

// The start or the end of one step item, due at a time of the slide's
// timeline; kept by the tracker until the slide restarts or goes back.
struct FireRecord {
    // The time of a record that has fired, and of a new one before its time
    // is set.
    static constexpr int32_t kNoTime = -123456789;

    StepItem* item = nullptr;
    bool isStart = false;
    int32_t time = kNoTime;
    bool firedSinceRewind = false;
    bool hasFired = false;
    // Position in the tracker's list when it fired; -1 before.
    int32_t order = -1;
    // Made-order within the tracker: the last tie-break, so that records with
    // equal keys always sort the same way whatever order they came in.
    uint32_t serial = 0;
};

// Negative, 0 or positive as a fires before, with or after b: fired records
// first in firing order, the others by time; at one time by sequence, click,
// the item's own start or end time, end records before start records (an
// item's start still before its own end), and position. A strict weak order
// (lexicographic over the keys), and total for distinct records.
int CompareFireRecords(const FireRecord& a, const FireRecord& b);

// Sorts the records in place by CompareFireRecords (two by one comparison,
// more by quicksort).
void SortFireRecords(FireRecord** records, int count);
