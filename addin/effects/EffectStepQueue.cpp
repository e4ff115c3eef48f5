#include "addin/effects/EffectStepQueue.h"

#include "addin/effects/FireRecord.h"
#include "addin/effects/StepEffect.h"
#include "addin/effects/StepList.h"
#include "base/MKSafeArray.h"

uint32_t EffectStepQueue::RowKey(int32_t sequenceIndex, int32_t position)
{
    return (uint32_t(sequenceIndex) << 16) | (uint32_t(position) & 0xFFFF);
}

int32_t EffectStepQueue::RepeatDuration(int32_t start, int32_t end, int32_t repeatCount)
{
    int32_t length = int32_t(uint32_t(end) - uint32_t(start));
    if (repeatCount == 0 || repeatCount == 1 || end == start)
        return length;
    int32_t share = length / repeatCount;
    return share < 1 ? 1 : share;
}

bool EffectStepQueue::Flush(bool reset, int32_t time)
{
    int queued = m_records.GetCount();
    int rows = queued + (reset ? 1 : 0);
    if (rows == 0)
        return true;
    MKSafeArray ids(VT_BSTR);
    MKSafeArray starts(VT_UI4);
    MKSafeArray keys(VT_UI4);
    MKSafeArray times(VT_I4);
    MKSafeArray durations(VT_I4);
    MKSafeArray repeats(VT_I4);
    MKSafeArray* arrays[] = {&ids, &starts, &keys, &times, &durations, &repeats};
    bool made = true;
    for (MKSafeArray* array : arrays)
        made = made && array->Create(rows) && array->AccessData();
    if (!made) {
        m_records.RemoveAll();
        return false;
    }
    auto* idData = static_cast<BSTR*>(ids.AccessData());
    auto* startData = static_cast<uint32_t*>(starts.AccessData());
    auto* keyData = static_cast<uint32_t*>(keys.AccessData());
    auto* timeData = static_cast<int32_t*>(times.AccessData());
    auto* durationData = static_cast<int32_t*>(durations.AccessData());
    auto* repeatData = static_cast<int32_t*>(repeats.AccessData());
    int row = 0;
    if (reset) {
        // The arrays come zeroed: only the is-start column differs.
        startData[row++] = kResetRow;
    }
    for (int i = 0; i < queued; ++i, ++row) {
        const FireRecord* record = m_records[i];
        const StepItem* item = record->item;
        idData[row] = item->effectId.ToBstr();
        startData[row] = record->isStart ? 1 : 0;
        keyData[row] = RowKey(item->list->GetSequenceIndex(), item->position);
        timeData[row] = item->step->fireTime + item->start;
        durationData[row] = RepeatDuration(item->start, item->end, item->repeatCount);
        repeatData[row] = item->openEnded ? 0 : item->repeatCount;
    }
    m_records.RemoveAll();
    for (MKSafeArray* array : arrays)
        array->Unaccess();
    return SUCCEEDED(m_effect->FireSteps(time, ids.Get(), starts.Get(), keys.Get(), times.Get(), durations.Get(),
                                         repeats.Get()));
}
