#include "addin/effects/PreparationJournal.h"

#include "addin/core/PptShapeRef.h"
#include "addin/core/PptTimingRef.h"

#include <new>

using namespace PowerPoint;

struct PreparationJournal::Entry {
    enum Kind { kDeleted, kTriggerType, kDelay, kAdded };

    explicit Entry(Kind kind) : kind(kind) {}

    Kind kind;
    PptAnimationRef animation;
    // kDeleted: where and what it was.
    PptAnimationRef sequence;
    PptShapeRef shape;
    PptShapeRef triggerShape;
    int index = 0;
    long effectType = 0;
    int32_t triggerType = 0;
    float delay = 0;
    float duration = 0;
    int32_t repeatCount = 0;
    float repeatDuration = 0;

    bool Undo() const;
    bool Recreate() const;
};

bool PreparationJournal::Entry::Undo() const
{
    switch (kind) {
    case kDeleted:
        return Recreate();
    case kTriggerType:
        return animation.SetTriggerType(triggerType);
    case kDelay:
        return animation.SetEffectDelay(delay);
    case kAdded:
        // An effect the preparation deleted itself is already gone.
        animation.DeleteEffect();
        return true;
    }
    return false;
}

bool PreparationJournal::Entry::Recreate() const
{
    PptAnimationRef made;
    if (!sequence.AddEffect(shape, effectType, 0, triggerType, index, made))
        return false;
    PptTimingRef timing;
    MKComHolder<Timing> held;
    if (!made.GetTiming(timing) || !timing.Query(IID_Timing, held))
        return false;
    MKComHolder<Shape> trigger;
    bool restored = SUCCEEDED(held->put_Duration(duration)) && SUCCEEDED(held->put_TriggerDelayTime(delay)) &&
                    SUCCEEDED(held->put_RepeatCount(repeatCount)) &&
                    SUCCEEDED(held->put_RepeatDuration(repeatDuration));
    if (restored && triggerShape.Query(IID_Shape, trigger))
        restored = SUCCEEDED(held->put_TriggerShape(trigger.Get()));
    return restored;
}

bool PreparationJournal::Add(Entry* entry)
{
    if (entry && m_entries.Add(entry))
        return true;
    delete entry;
    return false;
}

bool PreparationJournal::DeleteAnimation(const PptAnimationRef& sequence, const PptAnimationRef& animation)
{
    MKComHolder<Effect> effect;
    MKComHolder<Timing> timing;
    Entry* entry = new (std::nothrow) Entry(Entry::kDeleted);
    if (!entry)
        return false;
    entry->sequence.Assign(sequence.Get());
    PptTimingRef timingRef;
    long trigger = 0;
    bool read = animation.Query(IID_Effect, effect) && SUCCEEDED(effect->get_Index(&entry->index)) &&
                SUCCEEDED(effect->get_EffectType(&entry->effectType)) && animation.GetFirstObject(entry->shape) &&
                animation.GetTiming(timingRef) && timingRef.Query(IID_Timing, timing) &&
                SUCCEEDED(timing->get_TriggerType(&trigger)) && SUCCEEDED(timing->get_TriggerDelayTime(&entry->delay)) &&
                SUCCEEDED(timing->get_Duration(&entry->duration)) &&
                SUCCEEDED(timing->get_RepeatCount(&entry->repeatCount)) &&
                SUCCEEDED(timing->get_RepeatDuration(&entry->repeatDuration));
    // What cannot be put back is not taken away.
    if (!read) {
        delete entry;
        return false;
    }
    entry->triggerType = trigger;
    animation.GetTriggerShape(entry->triggerShape);
    if (!animation.DeleteEffect()) {
        delete entry;
        return false;
    }
    if (Add(entry))
        return true;
    return false;
}

bool PreparationJournal::SetTriggerType(const PptAnimationRef& animation, int32_t type)
{
    long old = 0;
    MKComHolder<Timing> timing;
    PptTimingRef timingRef;
    if (!animation.GetTiming(timingRef) || !timingRef.Query(IID_Timing, timing) || FAILED(timing->get_TriggerType(&old)))
        return false;
    Entry* entry = new (std::nothrow) Entry(Entry::kTriggerType);
    if (!entry)
        return false;
    entry->animation.Assign(animation.Get());
    entry->triggerType = old;
    if (!Add(entry))
        return false;
    if (animation.SetTriggerType(type))
        return true;
    delete m_entries[m_entries.GetCount() - 1];
    m_entries.RemoveAt(m_entries.GetCount() - 1);
    return false;
}

bool PreparationJournal::RaiseStartDelays(const PptAnimationRef& sequence, bool byMarker, bool byTarget)
{
    MKTArray<Entry*> before;
    int32_t count = sequence.GetCount();
    for (int i = 1; i <= count; ++i) {
        Entry* entry = new (std::nothrow) Entry(Entry::kDelay);
        if (!entry || !sequence.GetItem(i, entry->animation) || !before.Add(entry)) {
            delete entry;
            continue;
        }
        entry->delay = entry->animation.GetEffectDelay();
    }
    bool fixed = sequence.FixContentEffectStarts(byMarker, byTarget);
    // Kept also when the walk failed half-way: what it raised is undone.
    for (int i = 0; i < before.GetCount(); ++i) {
        Entry* entry = before[i];
        if (entry->delay >= 0 && entry->animation.GetEffectDelay() != entry->delay)
            Add(entry);
        else
            delete entry;
    }
    return fixed;
}

void PreparationJournal::NoteAdded(const PptAnimationRef& animation)
{
    Entry* entry = new (std::nothrow) Entry(Entry::kAdded);
    if (!entry)
        return;
    entry->animation.Assign(animation.Get());
    Add(entry);
}

bool PreparationJournal::Undo()
{
    bool undone = true;
    for (int i = m_entries.GetCount() - 1; i >= 0; --i)
        undone = m_entries[i]->Undo() && undone;
    Drop();
    return undone;
}

void PreparationJournal::Drop()
{
    for (int i = 0; i < m_entries.GetCount(); ++i)
        delete m_entries[i];
    m_entries.RemoveAll();
}
