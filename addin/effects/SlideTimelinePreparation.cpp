#include "addin/effects/SlideTimeline.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/core/ShapeEffectMarker.h"
#include "addin/effects/StepEffect.h"
#include "addin/effects/TimeLineSequences.h"
#include "addin/effects/TimelineLayer.h"
#include "base/MKString.h"

using namespace PowerPoint;

namespace {

// The sequence's animations, each with one reference; false when one cannot
// be read.
bool CollectAnimations(const PptAnimationRef& sequence, MKTArray<IUnknown*>& out)
{
    int32_t count = sequence.GetCount();
    for (int i = 1; i <= count; ++i) {
        PptAnimationRef animation;
        if (!sequence.GetItem(i, animation) || !out.Add(animation.Get()))
            return false;
        animation.Get()->AddRef();
    }
    return true;
}

void ReleaseAll(MKTArray<IUnknown*>& items)
{
    for (int i = 0; i < items.GetCount(); ++i)
        items[i]->Release();
    items.RemoveAll();
}

// Calls visit(main sequence, animation, shape, effect) for each product
// animation of the time line's main sequence whose shape has an effect in the
// layer; false when the sequence cannot be read or a visit answered false
// (the others are still visited).
template <class Visit>
bool VisitMainContentEffects(const PptObjectRef& timeLine, const TimelineLayer& layer, Visit visit)
{
    PptAnimationRef main;
    MKTArray<IUnknown*> animations;
    if (!timeLine.GetFirstObject(main) || !CollectAnimations(main, animations)) {
        ReleaseAll(animations);
        return false;
    }
    bool done = true;
    for (int i = 0; i < animations.GetCount(); ++i) {
        PptAnimationRef animation;
        PptShapeRef shape;
        animation.Assign(animations[i]);
        if (!animation.IsContentEffect() || !animation.GetFirstObject(shape))
            continue;
        if (StepEffect* effect = layer.FindStepEffect(shape))
            done = visit(main, animation, shape, *effect) && done;
    }
    ReleaseAll(animations);
    return done;
}

}  // namespace

bool SlideTimeline::NormalizeSequence(const PptAnimationRef& sequence)
{
    MKTArray<IUnknown*> removed;
    int32_t count = sequence.GetCount();
    bool done = true;
    for (int i = 1; done && i <= count; ++i) {
        PptAnimationRef animation;
        PptShapeRef shape;
        if (!sequence.GetItem(i, animation)) {
            done = false;
            break;
        }
        animation.GetFirstObject(shape);
        StepEffect* effect = m_layer->FindStepEffect(shape);
        if (effect && !effect->AcceptsAnimation() && !animation.IsContentEffect() && removed.Add(animation.Get()))
            animation.Get()->AddRef();
    }
    for (int i = 0; i < removed.GetCount(); ++i) {
        PptAnimationRef animation;
        animation.Assign(removed[i]);
        done = done && m_journal.DeleteAnimation(sequence, animation);
    }
    ReleaseAll(removed);
    if (!done)
        return false;

    bool hold = false;
    count = sequence.GetCount();
    for (int i = 1; i <= count; ++i) {
        PptAnimationRef animation;
        PptShapeRef shape;
        if (!sequence.GetItem(i, animation))
            return false;
        animation.GetFirstObject(shape);
        StepEffect* effect = m_layer->FindStepEffect(shape);
        MKString id;
        bool holds = false;
        if (effect && animation.GetContentMarker(id) &&
            !effect->QueryHold(MKString::Concat(MKString(kShapeEffectMarker), id), &holds))
            return false;
        if (!hold) {
            hold = holds;
            continue;
        }
        int32_t type = animation.GetTriggerType();
        if (type == msoAnimTriggerAfterPrevious) {
            if (!m_journal.SetTriggerType(animation, msoAnimTriggerOnPageClick))
                return false;
            type = msoAnimTriggerOnPageClick;
        }
        if (holds && type == msoAnimTriggerWithPrevious) {
            if (!m_journal.SetTriggerType(animation, msoAnimTriggerOnPageClick))
                return false;
            hold = false;
        } else if (type == msoAnimTriggerOnPageClick) {
            hold = false;
        } else if (holds) {
            hold = true;
        }
    }
    return true;
}

bool SlideTimeline::NormalizeSequences(const PptObjectRef& timeLine)
{
    PptAnimationRef main;
    return timeLine.GetFirstObject(main) && NormalizeSequence(main) &&
           ForEachInteractiveSequence(timeLine,
                                      [&](long, const PptAnimationRef& sequence) { return NormalizeSequence(sequence); });
}

bool SlideTimeline::ApplyEffectTriggers()
{
    return VisitMainContentEffects(m_timeLine, *m_layer,
                                   [](const PptAnimationRef& main, const PptAnimationRef& animation,
                                      const PptShapeRef& shape, StepEffect& effect) {
                                       const bool ownVisibility = effect.GetContentKind() == 1;
                                       bool applied = animation.SetVisibilityBehaviors(ownVisibility);
                                       if (!ownVisibility || effect.HasTriggerCopy())
                                           return applied;
                                       PptAnimationRef copy;
                                       if (!main.InsertTriggerStandIn(shape, animation, copy))
                                           return false;
                                       effect.SetTriggerCopy(copy, animation);
                                       return applied;
                                   });
}

bool SlideTimeline::RestoreMainSequence(const PptObjectRef& timeLine)
{
    return VisitMainContentEffects(timeLine, *m_layer,
                                   [](const PptAnimationRef&, const PptAnimationRef& animation, const PptShapeRef&,
                                      StepEffect& effect) {
                                       return effect.GetContentKind() == 1 || animation.SetVisibilityBehaviors(true);
                                   });
}
