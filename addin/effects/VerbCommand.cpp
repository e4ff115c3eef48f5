#include "addin/effects/VerbCommand.h"

#include "addin/core/PptTimingRef.h"
#include "base/MKString.h"

namespace {

const long kCommandBehavior = 6;
const long kVerbCommand = 2;

int s_nextVerb = 1;

// No duration, speed 0, no trigger delay.
bool MakeInstant(PowerPoint::Timing* timing)
{
    if (!timing)
        return false;
    PptTimingRef holder;
    holder.Assign(timing);
    bool duration = holder.SetDuration(0);
    bool speed = SUCCEEDED(timing->put_Speed(0));
    bool delay = holder.SetTriggerDelayTime(0);
    return duration && speed && delay;
}

}  // namespace

bool CreateVerbCommand(PowerPoint::Effect* effect, MKComHolder<PowerPoint::CommandEffect>& command)
{
    command.Release();
    if (!effect)
        return false;
    PowerPoint::AnimationBehaviors* behaviors = nullptr;
    if (FAILED(effect->get_Behaviors(&behaviors)) || !behaviors)
        return false;
    MKComHolder<PowerPoint::AnimationBehaviors> heldBehaviors;
    heldBehaviors.Attach(behaviors);
    PowerPoint::AnimationBehavior* behavior = nullptr;
    if (FAILED(behaviors->Add(kCommandBehavior, -1, &behavior)) || !behavior)
        return false;
    MKComHolder<PowerPoint::AnimationBehavior> heldBehavior;
    heldBehavior.Attach(behavior);
    PowerPoint::CommandEffect* commandEffect = nullptr;
    if (FAILED(behavior->get_CommandEffect(&commandEffect)) || !commandEffect)
        return false;
    command.Attach(commandEffect);
    if (FAILED(commandEffect->put_Type(kVerbCommand)))
        return false;

    PowerPoint::Timing* timing = nullptr;
    bool effectTiming = SUCCEEDED(effect->get_Timing(&timing)) && MakeInstant(timing);
    if (timing)
        timing->Release();
    timing = nullptr;
    bool behaviorTiming = SUCCEEDED(behavior->get_Timing(&timing)) && MakeInstant(timing);
    if (timing)
        timing->Release();
    return effectTiming && behaviorTiming;
}

int AddVerbEffect(PowerPoint::Effect* effect)
{
    MKComHolder<PowerPoint::CommandEffect> command;
    if (!CreateVerbCommand(effect, command))
        return -1;
    int verb = s_nextVerb++;
    BSTR text = SysAllocString(MKString::FromInt(verb + 10).GetText());
    HRESULT hr = text ? command->put_Command(text) : E_OUTOFMEMORY;
    SysFreeString(text);
    return SUCCEEDED(hr) ? verb : -1;
}
