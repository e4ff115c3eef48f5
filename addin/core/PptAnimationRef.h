#pragma once
#include "addin/core/PptObjectRef.h"

class MKString;
class PptShapeRef;
class PptTimingRef;

// Timing of one animation effect on the slide's clock, as
// PptAnimationRef::ReadTiming works it out: trigger type, start and end in
// seconds, repeat count, and whether it runs without end.
struct PptEffectTiming {
    int32_t triggerType = 0;
    float start = -1;
    float end = -1;
    int32_t repeatCount = 0;
    bool indefinite = false;
};

// A holder of an animation Sequence, an Effect of one, or an effect's
// AnimationBehaviors or AnimationBehavior (PptObjectRef.h tells how every
// wrapper answers).
class PptAnimationRef : public PptObjectRef {
public:
    // Effect.
    bool GetTiming(PptTimingRef& out) const;
    int32_t GetTriggerType() const;  // 0
    bool SetTriggerType(int32_t type) const;
    float GetEffectDelay() const;  // -1
    bool SetEffectDelay(float seconds) const;
    bool GetTriggerShape(PptShapeRef& out) const;
    bool MoveTo(int position) const;
    bool MoveBefore(const PptAnimationRef& effect) const;
    bool MoveAfter(const PptAnimationRef& effect) const;
    bool DeleteEffect() const;
    bool GetBehaviors(PptAnimationRef& out) const;
    // The effect carries the product's effect marker; the id that follows it.
    bool IsContentEffect() const;
    bool GetContentMarker(MKString& id) const;
    // The effect's shape is an embedded OLE object with the content tag.
    bool IsContentTarget() const;
    // False when a member the timing needs cannot be read.
    bool ReadTiming(PptEffectTiming& out) const;
    // Every animation behaviour that sets visibility is made to set it to the
    // value given.
    bool SetVisibilityBehaviors(bool visible) const;

    // Sequence.
    bool AddEffect(const PptShapeRef& shape, long effectId, long level, long trigger, int index,
                   PptAnimationRef& out) const;
    // Moves the start of content effects that run with or after the previous
    // one to at least 0.01 s, so that their content is ready when they start.
    // Content: by target, effects on tagged OLE objects; otherwise effects on
    // OLE objects, form controls and media, and with byMarker effects that
    // carry the marker.
    bool FixContentEffectStarts(bool byMarker, bool byTarget) const;
    // A near-invisible transparency effect on `shape` takes over the trigger
    // of `effect`, which then starts with it. The new effect goes to `out`.
    bool InsertTriggerStandIn(const PptShapeRef& shape, const PptAnimationRef& effect, PptAnimationRef& out) const;
    // Effects of the sequence whose target is a command object (see
    // IsContentTarget): deleted, or whether there is one.
    bool DeleteContentEffects() const;
    bool HasContentTargetEffect() const;
    // Whether an effect of the sequence carries the product's marker.
    bool HasContentEffect() const;
    // The first effect's trigger shape id: -1 when it has none, -2 for an
    // empty sequence (true) or an unreadable id (false).
    bool GetFirstTriggerShapeId(int32_t* id) const;
    bool GetFirstTriggerShape(PptShapeRef& out) const;

    // AnimationBehavior.
    bool GetBehaviorTiming(PptTimingRef& out) const;

private:
    // Whether an effect of the sequence passes `test`.
    bool HasEffectWhere(bool (PptAnimationRef::*test)() const) const;
    bool ReadEffectTiming(MKComHolder<PowerPoint::Timing>& out) const;
    bool ReadTriggerType(long* type) const;
    bool ReadEffectDelay(float* seconds) const;
};
