#pragma once
#include <windows.h>
#include <oleauto.h>

#include <stdint.h>

class EffectStepQueue;
class MKString;
class PptAnimationRef;

// What the build steps and the slide preparation need of one product effect
// of a slide: its content's answers, the queue of fired records that waits
// for the content, and the hand-over of those records as rows. The slide's
// effects implement it; the timeline keeps plain pointers, so an effect must
// outlive the timeline's step items (the layer clears the timeline before it
// lets its effects go). PowerPoint's user-interface thread only.
class StepEffect {
public:
    virtual EffectStepQueue& StepQueue() = 0;

    // The content's fire-steps call: the rows as six parallel one-dimensional
    // arrays (effect ids VT_BSTR, is-start VT_UI4, keys VT_UI4, times VT_I4,
    // per-repeat durations VT_I4, repeat counts VT_I4). The arrays stay the
    // caller's.
    virtual HRESULT FireSteps(int32_t time, SAFEARRAY* ids, SAFEARRAY* isStart, SAFEARRAY* keys, SAFEARRAY* times,
                              SAFEARRAY* durations, SAFEARRAY* repeatCounts) = 0;
    // The content's step mode for an effect id; false when it cannot answer.
    virtual bool QueryStepMode(const MKString& effectId, int32_t* mode) = 0;
    // Whether the content holds the sequence after the animation with this
    // command text; false when it cannot answer.
    virtual bool QueryHold(const MKString& commandText, bool* hold) = 0;
    // The kernel accepts the content for this effect id.
    virtual bool ConfirmWithKernel(const MKString& effectId) = 0;

    virtual bool AcceptsAnimation() const = 0;
    // 1: PowerPoint's own visibility animation shows the shape.
    virtual int32_t GetContentKind() const = 0;
    virtual bool HasTriggerCopy() const = 0;
    // Keeps the animation added to take over the source animation's trigger;
    // the effect undoes both when it is detached.
    virtual void SetTriggerCopy(const PptAnimationRef& copy, const PptAnimationRef& source) = 0;

protected:
    ~StepEffect() = default;
};
