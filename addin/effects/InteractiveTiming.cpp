#include "addin/effects/InteractiveTiming.h"

#include "addin/core/PptAnimationRef.h"

using namespace PowerPoint;

namespace {

bool ReadMovedTriggerType(const PptAnimationRef& animation, int32_t position, const PptAnimationRef& mainMarker,
                          const PptAnimationRef& listMarker, int32_t* type)
{
    if (!animation.MoveAfter(mainMarker))
        return false;
    MKComHolder<Effect> effect;
    MKComHolder<Timing> timing;
    long read = 0;
    bool ok = animation.Query(IID_Effect, effect);
    Timing* found = nullptr;
    ok = ok && PptFetched(effect->get_Timing(&found), &found, timing) && SUCCEEDED(timing->get_TriggerType(&read));
    // Back home even when the read failed.
    bool back = animation.MoveAfter(listMarker) && animation.MoveTo(position);
    *type = read;
    return ok && back;
}

}  // namespace

bool ReadInteractiveTiming(const PptAnimationRef& animation, int32_t position, int officeCode,
                           const PptAnimationRef& mainMarker, const PptAnimationRef& listMarker,
                           PptEffectTiming& out)
{
    out = PptEffectTiming();
    int32_t kind = msoAnimTriggerOnShapeClick;
    if (position > 1) {
        if (officeCode >= 1200) {
            MKComHolder<Effect> effect;
            MKComHolder<Timing> timing;
            Timing* found = nullptr;
            long read = 0;
            if (!animation.Query(IID_Effect, effect) || !PptFetched(effect->get_Timing(&found), &found, timing) ||
                FAILED(timing->get_TriggerType(&read)))
                return false;
            kind = read;
        } else if (!ReadMovedTriggerType(animation, position, mainMarker, listMarker, &kind)) {
            return false;
        }
    }
    if (kind == msoAnimTriggerMixed || kind == msoAnimTriggerNone) {
        out.triggerType = kind;
        return true;
    }
    if (!animation.ReadTiming(out))
        return false;
    out.triggerType = kind;
    return true;
}
