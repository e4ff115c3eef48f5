#pragma once
#include <stdint.h>

#include "base/MKTArray.h"

class StepEffect;
struct FireRecord;

// The records fired for one effect since its content was last called, handed
// over as rows in one call. The records belong to the timeline's tracker and
// are only borrowed until the next flush. PowerPoint's user-interface thread
// only.
class EffectStepQueue {
public:
    // The row that tells the content to forget what it was told: no id and
    // this is-start value, every other column 0.
    static constexpr uint32_t kResetRow = 0xFFFFFFFF;

    explicit EffectStepQueue(StepEffect* effect) : m_effect(effect) {}
    EffectStepQueue(const EffectStepQueue&) = delete;
    EffectStepQueue& operator=(const EffectStepQueue&) = delete;

    bool Add(FireRecord* record) { return m_records.Add(record); }
    int GetCount() const { return m_records.GetCount(); }
    void Clear() { m_records.RemoveAll(); }

    // The queued rows, after a reset row when `reset`, go to the content's
    // fire-steps call with `time`; nothing is called without rows. Empties
    // the queue. False when the arrays cannot be made or the call fails.
    bool Flush(bool reset, int32_t time);

    // A record's key column: sequence index and position in the sequence.
    static uint32_t RowKey(int32_t sequenceIndex, int32_t position);
    // A record's per-repeat duration column: the item's length, shared among
    // its repeats (at least 1 ms when it has a length).
    static int32_t RepeatDuration(int32_t start, int32_t end, int32_t repeatCount);

private:
    StepEffect* m_effect;
    MKTArray<FireRecord*> m_records;
};
