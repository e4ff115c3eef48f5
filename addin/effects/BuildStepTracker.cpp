#include "addin/effects/BuildStepTracker.h"

#include "addin/effects/EffectStepQueue.h"
#include "addin/effects/StepEffect.h"
#include "addin/effects/StepList.h"

#include <new>

void BuildStepTracker::DeleteAll()
{
    for (int i = 0; i < m_records.GetCount(); ++i)
        delete m_records[i];
    m_records.RemoveAll();
}

void BuildStepTracker::Reset()
{
    DeleteAll();
    m_cursor = -1;
    lastTime = -1;
}

bool BuildStepTracker::Add(StepItem* item, bool isStart, int32_t time)
{
    FireRecord* record = new (std::nothrow) FireRecord;
    if (!record)
        return false;
    record->item = item;
    record->isStart = isStart;
    record->time = time;
    record->serial = m_nextSerial++;
    if (m_records.Add(record))
        return true;
    delete record;
    return false;
}

bool BuildStepTracker::AddItemRecords(StepItem* item, int32_t time, bool completed)
{
    if (!Add(item, true, time))
        return false;
    if (completed) {
        if (item->openEnded && item->mode != StepItem::kEndsAtNextClick)
            return true;
        return Add(item, false, time);
    }
    if (item->openEnded)
        return true;
    return Add(item, false, time + (item->end - item->start));
}

bool BuildStepTracker::AddStepRecords(Step* step, int32_t time, bool completed)
{
    step->fireTime = time;
    bool added = true;
    for (int i = 0; i < step->GetItemCount(); ++i) {
        StepItem* item = step->GetItem(i);
        added = AddItemRecords(item, time + item->start, completed) && added;
    }
    return added;
}

bool BuildStepTracker::HasEndRecord(const StepItem* item) const
{
    for (int i = 0; i < m_records.GetCount(); ++i) {
        if (m_records[i]->item == item && !m_records[i]->isStart)
            return true;
    }
    return false;
}

bool BuildStepTracker::EndClickModeItems(StepList* const* lists, int count, int32_t time)
{
    bool added = true;
    for (int l = 0; l < count; ++l) {
        Step* step = lists[l]->FindStepByClick(lists[l]->currentStep);
        if (!step)
            continue;
        for (int i = 0; i < step->GetItemCount(); ++i) {
            StepItem* item = step->GetItem(i);
            if (item->mode == StepItem::kEndsAtNextClick && !HasEndRecord(item))
                added = Add(item, false, time) && added;
        }
    }
    return added;
}

void BuildStepTracker::RetimePending(const StepList* list, int32_t time)
{
    for (int i = m_cursor + 1; i < m_records.GetCount(); ++i) {
        if (m_records[i]->item->list == list)
            m_records[i]->time = time;
    }
}

void BuildStepTracker::Sort()
{
    SortFireRecords(m_records.GetData(), m_records.GetCount());
}

void BuildStepTracker::Fire(int32_t now)
{
    for (int i = m_cursor + 1; i < m_records.GetCount(); ++i) {
        FireRecord* record = m_records[i];
        if (!record->hasFired && record->time > now)
            return;
        StepItem* item = record->item;
        if (item->effect)
            item->effect->StepQueue().Add(record);
        item->state = record->isStart ? StepItem::kStarted : StepItem::kEnded;
        record->order = i;
        record->firedSinceRewind = true;
        record->hasFired = true;
        record->time = FireRecord::kNoTime;
        m_cursor = i;
    }
}

void BuildStepTracker::Rewind(StepList* const* lists, int count)
{
    for (int i = 0; i < m_records.GetCount(); ++i)
        m_records[i]->firedSinceRewind = false;
    for (int l = 0; l < count; ++l) {
        for (int s = 0; s < lists[l]->GetStepCount(); ++s) {
            Step* step = lists[l]->GetStep(s);
            for (int i = 0; i < step->GetItemCount(); ++i)
                step->GetItem(i)->state = StepItem::kIdle;
        }
    }
    m_cursor = -1;
}

void BuildStepTracker::DeleteRecords(const StepList* list, int32_t first, int32_t last)
{
    int kept = 0;
    int32_t order = 0;
    for (int i = 0; i < m_records.GetCount(); ++i) {
        FireRecord* record = m_records[i];
        int32_t click = record->item->step->clickIndex;
        if (record->item->list == list && click >= first && click <= last) {
            delete record;
            continue;
        }
        if (record->hasFired)
            record->order = order++;
        m_records[kept++] = record;
    }
    m_records.SetSize(kept);
}
