#include "addin/effects/SlideTimeline.h"

#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/core/ShapeEffectMarker.h"
#include "addin/effects/StepEffect.h"
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

bool GetInteractiveSequence(const PptObjectRef& timeLine, long index, PptAnimationRef& out, long* count)
{
    MKComHolder<TimeLine> line;
    MKComHolder<Sequences> sequences;
    Sequences* found = nullptr;
    *count = 0;
    if (!timeLine.Query(IID_TimeLine, line) || !PptFetched(line->get_InteractiveSequences(&found), &found, sequences) ||
        FAILED(sequences->get_Count(count)))
        return false;
    if (index < 1 || index > *count)
        return true;
    Sequence* item = nullptr;
    return PptFetched(sequences->Item(int(index), &item), &item, out);
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
    if (!timeLine.GetFirstObject(main) || !NormalizeSequence(main))
        return false;
    long count = 0;
    PptAnimationRef none;
    if (!GetInteractiveSequence(timeLine, 0, none, &count))
        return false;
    for (long i = 1; i <= count; ++i) {
        PptAnimationRef sequence;
        if (!GetInteractiveSequence(timeLine, i, sequence, &count) || !NormalizeSequence(sequence))
            return false;
    }
    return true;
}

bool SlideTimeline::ApplyEffectTriggers()
{
    PptAnimationRef main;
    MKTArray<IUnknown*> animations;
    if (!m_timeLine.GetFirstObject(main) || !CollectAnimations(main, animations)) {
        ReleaseAll(animations);
        return false;
    }
    bool applied = true;
    for (int i = 0; i < animations.GetCount(); ++i) {
        PptAnimationRef animation;
        PptShapeRef shape;
        animation.Assign(animations[i]);
        if (!animation.IsContentEffect() || !animation.GetFirstObject(shape))
            continue;
        StepEffect* effect = m_layer->FindStepEffect(shape);
        if (!effect)
            continue;
        const bool ownVisibility = effect->GetContentKind() == 1;
        applied = animation.SetVisibilityBehaviors(ownVisibility) && applied;
        if (!ownVisibility || effect->HasTriggerCopy())
            continue;
        PptAnimationRef copy;
        if (main.InsertTriggerStandIn(shape, animation, copy))
            effect->SetTriggerCopy(copy, animation);
        else
            applied = false;
    }
    ReleaseAll(animations);
    return applied;
}

bool SlideTimeline::RestoreMainSequence(const PptObjectRef& timeLine)
{
    PptAnimationRef main;
    MKTArray<IUnknown*> animations;
    if (!timeLine.GetFirstObject(main) || !CollectAnimations(main, animations)) {
        ReleaseAll(animations);
        return false;
    }
    bool restored = true;
    for (int i = 0; i < animations.GetCount(); ++i) {
        PptAnimationRef animation;
        PptShapeRef shape;
        animation.Assign(animations[i]);
        if (!animation.IsContentEffect() || !animation.GetFirstObject(shape))
            continue;
        StepEffect* effect = m_layer->FindStepEffect(shape);
        if (effect && effect->GetContentKind() != 1)
            restored = animation.SetVisibilityBehaviors(true) && restored;
    }
    ReleaseAll(animations);
    return restored;
}
