#include "addin/core/PptAnimationRef.h"

#include <float.h>

#include "addin/core/IntVariant.h"
#include "addin/core/PptShapeRef.h"
#include "addin/core/PptTimingRef.h"
#include "addin/core/ShapeEffectMarker.h"
#include "base/MKString.h"
#include "base/MKTArray.h"

using namespace PowerPoint;

namespace {

// Content must not start before this, so that it is ready to show.
constexpr float kEarliestContentStart = 0.01f;

}  // namespace


bool PptAnimationRef::ReadEffectTiming(MKComHolder<Timing>& out) const
{
    MKComHolder<Effect> effect;
    Timing* timing = nullptr;
    if (!Query(IID_Effect, effect)) {
        out.Release();
        return false;
    }
    return PptFetched(effect->get_Timing(&timing), &timing, out);
}

bool PptAnimationRef::GetTiming(PptTimingRef& out) const
{
    MKComHolder<Timing> timing;
    ReadEffectTiming(timing);
    out.Assign(timing.Get());
    return !out.IsEmpty();
}

bool PptAnimationRef::ReadTriggerType(long* type) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->get_TriggerType(type));
}

int32_t PptAnimationRef::GetTriggerType() const
{
    long type = 0;
    return ReadTriggerType(&type) ? type : 0;
}

bool PptAnimationRef::SetTriggerType(int32_t type) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->put_TriggerType(type));
}

bool PptAnimationRef::ReadEffectDelay(float* seconds) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->get_TriggerDelayTime(seconds));
}

float PptAnimationRef::GetEffectDelay() const
{
    float seconds = 0;
    return ReadEffectDelay(&seconds) ? seconds : -1;
}

bool PptAnimationRef::SetEffectDelay(float seconds) const
{
    MKComHolder<Timing> timing;
    return ReadEffectTiming(timing) && SUCCEEDED(timing->put_TriggerDelayTime(seconds));
}

bool PptAnimationRef::GetTriggerShape(PptShapeRef& out) const
{
    MKComHolder<Timing> timing;
    if (!ReadEffectTiming(timing)) {
        out.Release();
        return false;
    }
    Shape* shape = nullptr;
    return PptFetched(timing->get_TriggerShape(&shape), &shape, out);
}

bool PptAnimationRef::MoveTo(int position) const
{
    MKComHolder<Effect> effect;
    return Query(IID_Effect, effect) && SUCCEEDED(effect->MoveTo(position));
}

bool PptAnimationRef::MoveBefore(const PptAnimationRef& other) const
{
    MKComHolder<Effect> effect;
    MKComHolder<Effect> anchor;
    return Query(IID_Effect, effect) && other.Query(IID_Effect, anchor) &&
           SUCCEEDED(effect->MoveBefore(anchor.Get()));
}

bool PptAnimationRef::MoveAfter(const PptAnimationRef& other) const
{
    MKComHolder<Effect> effect;
    MKComHolder<Effect> anchor;
    return Query(IID_Effect, effect) && other.Query(IID_Effect, anchor) &&
           SUCCEEDED(effect->MoveAfter(anchor.Get()));
}

bool PptAnimationRef::DeleteEffect() const
{
    MKComHolder<Effect> effect;
    return Query(IID_Effect, effect) && SUCCEEDED(effect->Delete());
}

bool PptAnimationRef::GetBehaviors(PptAnimationRef& out) const
{
    return QueryChild(IID_Effect, &Effect::get_Behaviors, out);
}

bool PptAnimationRef::IsContentEffect() const
{
    MKComHolder<Effect> effect;
    return Query(IID_Effect, effect) && ReadShapeEffectId(effect.Get(), nullptr, nullptr);
}

bool PptAnimationRef::GetContentMarker(MKString& id) const
{
    MKComHolder<Effect> effect;
    if (!Query(IID_Effect, effect)) {
        id.Clear();
        return false;
    }
    return ReadShapeEffectId(effect.Get(), &id, nullptr);
}

bool PptAnimationRef::IsContentTarget() const
{
    PptShapeRef shape;
    return GetFirstObject(shape) && shape.GetShapeType() == msoEmbeddedOLEObject && shape.HasContentTag();
}

bool PptAnimationRef::ReadTiming(PptEffectTiming& out) const
{
    out = PptEffectTiming();
    MKComHolder<Effect> effect;
    MKComHolder<Timing> timing;
    if (!Query(IID_Effect, effect) || !ReadEffectTiming(timing))
        return false;
    long effectType = 0;
    if (FAILED(effect->get_EffectType(&effectType)))
        effectType = 0;
    long trigger = 0;
    if (FAILED(timing->get_TriggerType(&trigger)))
        return false;
    out.triggerType = trigger;
    if (trigger == msoAnimTriggerMixed || trigger == msoAnimTriggerNone)
        return true;
    float delay = 0;
    if (FAILED(timing->get_TriggerDelayTime(&delay)))
        return false;
    if (effectType == msoAnimEffectAppear) {
        out.start = out.end = delay;
        out.repeatCount = 1;
        return true;
    }
    int repeatCount = 0;
    float repeatDuration = 0;
    float duration = 0;
    if (FAILED(timing->get_RepeatCount(&repeatCount)) || FAILED(timing->get_RepeatDuration(&repeatDuration)) ||
        FAILED(timing->get_Duration(&duration)))
        return false;
    if (duration == FLT_MAX) {
        duration = 0;
        out.indefinite = true;
    }
    if (repeatDuration > 0 && repeatDuration < duration)
        duration = repeatDuration;
    if (repeatCount < 1) {
        out.indefinite = true;
        out.repeatCount = 0;
    } else {
        out.repeatCount = repeatCount;
        duration *= float(repeatCount);
    }
    out.start = delay;
    out.end = delay + duration;
    return true;
}

bool PptAnimationRef::SetVisibilityBehaviors(bool visible) const
{
    PptAnimationRef behaviors;
    if (!GetBehaviors(behaviors))
        return false;
    MKComHolder<AnimationBehaviors> list;
    long count = 0;
    if (!behaviors.Query(IID_AnimationBehaviors, list) || FAILED(list->get_Count(&count)) || count < 0)
        return false;
    for (long i = 1; i <= count; ++i) {
        AnimationBehavior* item = nullptr;
        MKComHolder<AnimationBehavior> behavior;
        long type = 0;
        if (!PptFetched(list->Item(int(i), &item), &item, behavior) || FAILED(behavior->get_Type(&type)))
            return false;
        if (type != msoAnimTypeSet)
            continue;
        SetEffect* set = nullptr;
        MKComHolder<SetEffect> setEffect;
        long property = 0;
        if (!PptFetched(behavior->get_SetEffect(&set), &set, setEffect) || FAILED(setEffect->get_Property(&property)))
            return false;
        if (property != msoAnimVisibility)
            continue;
        if (FAILED(setEffect->put_To(IntVariant(visible ? 1 : 0))))
            return false;
    }
    return true;
}

// Sequence.

bool PptAnimationRef::AddEffect(const PptShapeRef& shapeRef, long effectId, long level, long trigger, int index,
                                PptAnimationRef& out) const
{
    MKComHolder<Sequence> sequence;
    MKComHolder<Shape> shape;
    if (!Query(IID_Sequence, sequence) || !shapeRef.Query(IID_Shape, shape)) {
        out.Release();
        return false;
    }
    Effect* effect = nullptr;
    return PptFetched(sequence->AddEffect(shape.Get(), effectId, level, trigger, index, &effect), &effect, out);
}

bool PptAnimationRef::FixContentEffectStarts(bool byMarker, bool byTarget) const
{
    int32_t count = GetCount();
    if (count <= 0)
        return true;
    float base = 0;
    float groupEnd = 0;
    for (int i = 1; i <= count; ++i) {
        PptAnimationRef effect;
        PptEffectTiming timing;
        if (!GetItem(i, effect) || !effect.ReadTiming(timing))
            return false;
        bool afterPrevious = timing.triggerType == msoAnimTriggerAfterPrevious;
        if (timing.triggerType != msoAnimTriggerWithPrevious && !afterPrevious)
            return true;

        PptShapeRef shape;
        long shapeType = msoMedia;
        if (effect.GetFirstObject(shape)) {
            shapeType = shape.GetShapeType();
            if (shapeType == msoShapeTypeMixed)
                return false;
        }
        bool content;
        if (byTarget)
            content = effect.IsContentTarget();
        else if (shapeType == msoEmbeddedOLEObject || shapeType == msoFormControl ||
                 shapeType == msoLinkedOLEObject || shapeType == msoOLEControlObject || shapeType == msoMedia)
            content = true;
        else
            content = byMarker && effect.IsContentEffect();

        // The group end is already on the slide's clock: it becomes the base.
        if (afterPrevious)
            base = groupEnd;
        float start = timing.start + base;
        float end = timing.end + base;
        if (content && start < kEarliestContentStart) {
            float push = kEarliestContentStart - start;
            float delay = 0;
            if (!effect.ReadEffectDelay(&delay) || !effect.SetEffectDelay(delay + push))
                return false;
            start = kEarliestContentStart;
            end += push;
        }
        groupEnd = afterPrevious ? end : (end > groupEnd ? end : groupEnd);
    }
    return true;
}

bool PptAnimationRef::InsertTriggerStandIn(const PptShapeRef& shape, const PptAnimationRef& effect,
                                           PptAnimationRef& out) const
{
    out.Release();
    long trigger = 0;
    if (!effect.ReadTriggerType(&trigger))
        return false;
    PptAnimationRef standIn;
    if (!AddEffect(shape, msoAnimEffectTransparency, 0, trigger, -1, standIn))
        return false;

    MKComHolder<Effect> added;
    EffectParameters* parameters = nullptr;
    MKComHolder<EffectParameters> held;
    MKComHolder<Timing> timing;
    bool made = standIn.Query(IID_Effect, added) &&
                PptFetched(added->get_EffectParameters(&parameters), &parameters, held) &&
                SUCCEEDED(held->put_Amount(0)) && standIn.ReadEffectTiming(timing) &&
                SUCCEEDED(timing->put_Duration(PptTimingRef::kShortestDuration));
    if (made && standIn.MoveBefore(effect) && effect.SetTriggerType(msoAnimTriggerWithPrevious)) {
        out.Assign(standIn.Get());
        return true;
    }
    standIn.DeleteEffect();
    return false;
}

bool PptAnimationRef::DeleteContentEffects() const
{
    // Collected first: deleting while walking would shift the indices.
    MKTArray<IUnknown*> found;
    int32_t count = GetCount();
    for (int i = 1; i <= count; ++i) {
        PptAnimationRef effect;
        if (GetItem(i, effect) && effect.IsContentTarget() && found.Add(effect.Get()))
            effect.Get()->AddRef();
    }
    for (int i = 0; i < found.GetCount(); ++i) {
        PptAnimationRef effect;
        effect.Attach(found[i]);
        effect.DeleteEffect();
    }
    return true;
}

bool PptAnimationRef::HasEffectWhere(bool (PptAnimationRef::*test)() const) const
{
    int32_t count = GetCount();
    for (int i = 1; i <= count; ++i) {
        PptAnimationRef effect;
        if (GetItem(i, effect) && (effect.*test)())
            return true;
    }
    return false;
}

bool PptAnimationRef::HasContentEffect() const
{
    return HasEffectWhere(&PptAnimationRef::IsContentEffect);
}

bool PptAnimationRef::HasContentTargetEffect() const
{
    return HasEffectWhere(&PptAnimationRef::IsContentTarget);
}

bool PptAnimationRef::GetFirstTriggerShapeId(int32_t* id) const
{
    *id = -2;
    if (GetCount() <= 0)
        return true;
    PptShapeRef shape;
    if (!GetFirstTriggerShape(shape))
        return false;
    if (shape.IsEmpty()) {
        *id = -1;
        return true;
    }
    MKComHolder<Shape> held;
    int value = 0;
    if (!shape.Query(IID_Shape, held) || FAILED(held->get_Id(&value)))
        return false;
    *id = value;
    return true;
}

bool PptAnimationRef::GetFirstTriggerShape(PptShapeRef& out) const
{
    out.Release();
    if (GetCount() <= 0)
        return true;
    PptAnimationRef first;
    MKComHolder<Timing> timing;
    if (!GetItem(1, first) || !first.ReadEffectTiming(timing))
        return false;
    // A trigger shape that cannot be read is no trigger shape.
    Shape* shape = nullptr;
    PptFetched(timing->get_TriggerShape(&shape), &shape, out);
    return true;
}

bool PptAnimationRef::GetBehaviorTiming(PptTimingRef& out) const
{
    return QueryChild(IID_AnimationBehavior, &AnimationBehavior::get_Timing, out);
}
