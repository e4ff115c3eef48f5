#include "addin/effects/SlideTimeline.h"

#include "addin/effects/EffectStepQueue.h"
#include "addin/effects/StepEffect.h"
#include "addin/effects/StepList.h"
#include "addin/effects/TimelineLayer.h"

#include <new>

namespace {

SlideTimeline::TickSource s_defaultTicks = nullptr;

}  // namespace

void SlideTimeline::SetDefaultTickSource(TickSource ticks)
{
    s_defaultTicks = ticks;
}

SlideTimeline::SlideTimeline(TimelineLayer* layer, TickSource ticks)
    : m_layer(layer), m_ticks(ticks ? ticks : (s_defaultTicks ? s_defaultTicks : &GetTickCount))
{
}

SlideTimeline::~SlideTimeline()
{
    DeleteLists();
    m_journal.Drop();
}

StepList* SlideTimeline::AppendList(int32_t sequenceIndex)
{
    StepList* list = new (std::nothrow) StepList(this, sequenceIndex);
    if (list && m_lists.Add(list))
        return list;
    delete list;
    return nullptr;
}

void SlideTimeline::DeleteLists()
{
    for (int i = 0; i < m_lists.GetCount(); ++i) {
        m_lists[i]->ReleaseReferences();
        delete m_lists[i];
    }
    m_lists.RemoveAll();
}

void SlideTimeline::Reset()
{
    m_paused = true;
    m_startTick = 0;
    m_elapsed = 0;
    m_elapsedAtResume = 0;
    for (int i = 0; i < m_lists.GetCount(); ++i)
        m_lists[i]->ResetSteps();
    m_tracker.Reset();
    // Records queued for a content belong to the tracker.
    for (int i = 0; i < m_layer->GetStepEffectCount(); ++i) {
        if (StepEffect* effect = m_layer->GetStepEffect(i))
            effect->StepQueue().Clear();
    }
}

void SlideTimeline::ClearLists()
{
    Reset();
    DeleteLists();
}

void SlideTimeline::Clear()
{
    ClearLists();
    m_journal.Undo();
    m_timeLine.Release();
}

void SlideTimeline::Resume()
{
    if (!m_paused)
        return;
    m_startTick = m_ticks();
    m_elapsedAtResume = m_elapsed;
    m_paused = false;
}

void SlideTimeline::Pause()
{
    if (m_paused)
        return;
    UpdateElapsed();
    m_paused = true;
}

int32_t SlideTimeline::GetElapsed() const
{
    if (m_paused)
        return m_elapsed;
    return int32_t(m_ticks() + DWORD(m_elapsedAtResume) - m_startTick);
}

void SlideTimeline::UpdateElapsed()
{
    m_elapsed = GetElapsed();
}

void SlideTimeline::RunQueued(bool reset, int32_t now)
{
    m_layer->BeginUpdate();
    for (int i = 0; i < m_layer->GetStepEffectCount(); ++i) {
        if (StepEffect* effect = m_layer->GetStepEffect(i))
            effect->StepQueue().Flush(reset, now);
    }
    m_layer->EndUpdate();
}

void SlideTimeline::FireAndRun(int32_t now)
{
    if (now < m_tracker.lastTime)
        return;
    bool reset = m_tracker.lastTime < 0;
    m_tracker.Fire(now);
    m_tracker.lastTime = now;
    RunQueued(reset, now);
}

void SlideTimeline::Tick()
{
    if (m_paused)
        return;
    UpdateElapsed();
    FireAndRun(m_elapsed);
}

void SlideTimeline::OnStepChanged(StepList* list, int32_t click)
{
    if (!list)
        return;
    if (!m_paused)
        UpdateElapsed();
    int32_t now = m_elapsed;
    if (now < m_tracker.lastTime)
        return;
    if (list->currentStep == StepList::kNotSynchronised)
        list->currentStep = StepList::kBeforeFirstClick;
    int32_t highest = list->GetHighestClick();
    if (click < -1 || click > highest)
        return;
    int32_t current = list->currentStep;
    if (click >= current) {
        m_tracker.RetimePending(list, now);
        if (list->IsMain() && current >= 0)
            m_tracker.EndClickModeItems(m_lists.GetData(), m_lists.GetCount(), now);
        if (click > current) {
            for (int32_t c = current + 1; c < click; ++c) {
                if (Step* step = list->FindStepByClick(c))
                    m_tracker.AddStepRecords(step, now, true);
            }
            if (Step* step = list->FindStepByClick(click))
                m_tracker.AddStepRecords(step, now, false);
            list->currentStep = click;
        }
        m_tracker.Sort();
    } else {
        m_tracker.Rewind(m_lists.GetData(), m_lists.GetCount());
        for (int32_t c = click + 1; c <= current; ++c) {
            if (Step* step = list->FindStepByClick(c))
                step->fireTime = -1;
        }
        m_tracker.DeleteRecords(list, click + 1, current);
        m_tracker.lastTime = -1;
        list->currentStep = click;
    }
    FireAndRun(now);
}

void SlideTimeline::StepBack()
{
    StepList* main = m_lists.SafeGetAt(0);
    if (main && main->currentStep != StepList::kBeforeFirstClick)
        OnStepChanged(main, main->currentStep - 1);
}

bool SlideTimeline::FindVerb(int32_t verb, StepList** list, int32_t* click, bool* isEnd) const
{
    // Steps without verbs hold -1; a stray verb must not match them.
    if (verb < 0)
        return false;
    for (int l = 0; l < m_lists.GetCount(); ++l) {
        for (int s = 0; s < m_lists[l]->GetStepCount(); ++s) {
            Step* step = m_lists[l]->GetStep(s);
            if (verb != step->startVerb && verb != step->endVerb)
                continue;
            *list = m_lists[l];
            *click = step->clickIndex;
            *isEnd = verb != step->startVerb;
            return true;
        }
    }
    return false;
}

bool SlideTimeline::EnsureMainSteps(int32_t clicks)
{
    StepList* main = m_lists.SafeGetAt(0);
    return main && main->EnsureSteps(clicks);
}

void SlideTimeline::ApplyStepModes()
{
    for (int l = 0; l < m_lists.GetCount(); ++l) {
        for (int s = 0; s < m_lists[l]->GetStepCount(); ++s) {
            Step* step = m_lists[l]->GetStep(s);
            for (int i = 0; i < step->GetItemCount(); ++i) {
                StepItem* item = step->GetItem(i);
                if (!item->effect)
                    continue;
                int32_t mode = StepItem::kEndsByItself;
                if (!item->effect->QueryStepMode(item->effectId, &mode))
                    mode = StepItem::kEndsByItself;
                if (mode == StepItem::kEndsByItself && item->openEnded)
                    mode = StepItem::kOpenEnded;
                if (mode != StepItem::kEndsByItself)
                    item->openEnded = true;
                item->mode = mode;
            }
        }
    }
}

void SlideTimeline::RemoveEffect(StepEffect* effect)
{
    for (int l = 0; l < m_lists.GetCount(); ++l) {
        for (int s = 0; s < m_lists[l]->GetStepCount(); ++s)
            m_lists[l]->GetStep(s)->RemoveItemsOf(effect);
    }
}

bool SlideTimeline::IsAnimated(const StepEffect* effect) const
{
    for (int l = 0; l < m_lists.GetCount(); ++l) {
        for (int s = 0; s < m_lists[l]->GetStepCount(); ++s) {
            Step* step = m_lists[l]->GetStep(s);
            for (int i = 0; i < step->GetItemCount(); ++i) {
                if (step->GetItem(i)->effect == effect)
                    return true;
            }
        }
    }
    return false;
}

void SlideTimeline::ReleaseStepReferences()
{
    for (int l = 0; l < m_lists.GetCount(); ++l)
        m_lists[l]->ReleaseReferences();
}
