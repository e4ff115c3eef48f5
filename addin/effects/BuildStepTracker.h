#pragma once
#include <stdint.h>

#include "addin/effects/FireRecord.h"
#include "base/MKTArray.h"

class Step;
class StepList;
struct StepItem;

// The start and end records of a slide's build steps in firing order, fired
// from a cursor as the timeline's time passes; fired records go to their
// effects' queues. Owns its records; the items they point at belong to the
// timeline's step lists, which outlive them. PowerPoint's user-interface
// thread only.
class BuildStepTracker {
public:
    BuildStepTracker() = default;
    ~BuildStepTracker() { DeleteAll(); }
    BuildStepTracker(const BuildStepTracker&) = delete;
    BuildStepTracker& operator=(const BuildStepTracker&) = delete;

    int GetCount() const { return m_records.GetCount(); }
    const FireRecord& GetRecord(int index) const { return *m_records[index]; }
    int32_t GetCursor() const { return m_cursor; }
    int32_t lastTime = -1;

    // Deletes every record; nothing has fired.
    void Reset();

    // The item's start record at `time`, and its end record: at `time` when
    // the item counts as completed (unless it runs open-ended in a mode other
    // than ending at the next click), else at its end unless open-ended.
    bool AddItemRecords(StepItem* item, int32_t time, bool completed);
    // The step fires at `time`: each item's records at time + its start.
    bool AddStepRecords(Step* step, int32_t time, bool completed);
    // Every item that ends at the next click, in the current step of a list,
    // without an end record yet, ends at `time`.
    bool EndClickModeItems(StepList* const* lists, int count, int32_t time);
    // Records after the cursor whose item belongs to the list are due now.
    void RetimePending(const StepList* list, int32_t time);
    void Sort();

    // Fires every record due at `now` in order, stopping at the first one
    // that has never fired and lies later.
    void Fire(int32_t now);
    // Back to nothing fired since the rewind: records stay, items idle.
    void Rewind(StepList* const* lists, int count);
    // Deletes the list's records of the steps with clicks first..last; the
    // records that have fired keep consecutive orders from 0.
    void DeleteRecords(const StepList* list, int32_t first, int32_t last);

private:
    bool Add(StepItem* item, bool isStart, int32_t time);
    bool HasEndRecord(const StepItem* item) const;
    void DeleteAll();

    MKTArray<FireRecord*> m_records;
    int32_t m_cursor = -1;
    uint32_t m_nextSerial = 0;
};
