#include "addin/effects/StepList.h"

#include <new>

Step::~Step()
{
    for (int i = 0; i < m_items.GetCount(); ++i)
        delete m_items[i];
}

bool Step::AddItem(StepItem* item)
{
    if (m_items.Add(item))
        return true;
    delete item;
    return false;
}

void Step::RemoveItemsOf(StepEffect* effect)
{
    for (int i = m_items.GetCount() - 1; i >= 0; --i) {
        if (m_items[i]->effect == effect) {
            delete m_items[i];
            m_items.RemoveAt(i);
        }
    }
}

bool Step::HasClickableItem() const
{
    for (int i = 0; i < m_items.GetCount(); ++i) {
        if (!m_items[i]->plainTextBox)
            return true;
    }
    return false;
}

StepList::~StepList()
{
    for (int i = 0; i < m_steps.GetCount(); ++i)
        delete m_steps[i];
}

bool StepList::AddStep(Step* step)
{
    if (m_steps.Add(step))
        return true;
    delete step;
    return false;
}

Step* StepList::FindStepByClick(int32_t click) const
{
    if (click < 0)
        return nullptr;
    for (int i = 0; i < m_steps.GetCount(); ++i) {
        if (m_steps[i]->clickIndex == click)
            return m_steps[i];
    }
    return nullptr;
}

int32_t StepList::GetHighestClick() const
{
    for (int i = m_steps.GetCount() - 1; i >= 0; --i) {
        if (m_steps[i]->clickIndex >= 0)
            return m_steps[i]->clickIndex;
    }
    return 0;
}

void StepList::RenumberClicks()
{
    int32_t click = 1;
    for (int i = 0; i < m_steps.GetCount(); ++i) {
        Step* step = m_steps[i];
        step->clickIndex = -1;
        bool numbered = step->inserted || step->HasClickableItem() || (i == 0 && step->GetItemCount() == 0);
        if (!numbered)
            continue;
        step->clickIndex = i == 0 ? 0 : click++;
    }
    currentStep = kBeforeFirstClick;
}

bool StepList::EnsureSteps(int32_t clicks)
{
    int32_t missing = clicks - GetHighestClick();
    if (missing <= 0)
        return true;
    for (int32_t n = 0; n < missing; ++n) {
        Step* step = new (std::nothrow) Step(this, -1);
        if (!step || !m_steps.InsertAt(1, step)) {
            delete step;
            RenumberClicks();
            return false;
        }
    }
    RenumberClicks();
    return true;
}

void StepList::ResetSteps()
{
    for (int i = 0; i < m_steps.GetCount(); ++i) {
        Step* step = m_steps[i];
        step->fireTime = -1;
        for (int j = 0; j < step->GetItemCount(); ++j)
            step->GetItem(j)->state = StepItem::kIdle;
    }
    currentStep = kNotSynchronised;
}

void StepList::ReleaseReferences()
{
    sequence.Release();
    marker.Release();
    for (int i = 0; i < m_steps.GetCount(); ++i) {
        Step* step = m_steps[i];
        step->firstEffect.Release();
        for (int j = 0; j < step->GetItemCount(); ++j)
            step->GetItem(j)->animation.Release();
    }
}
