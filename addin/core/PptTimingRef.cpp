#include "addin/core/PptTimingRef.h"

using namespace PowerPoint;

float PptTimingRef::GetDuration() const
{
    return QueryValue(IID_Timing, &Timing::get_Duration, -1);
}

bool PptTimingRef::SetDuration(float seconds) const
{
    if (seconds != seconds)
        return false;
    // Negative values go to PowerPoint as they are; it decides on them.
    if (seconds >= 0 && seconds < kShortestDuration)
        seconds = kShortestDuration;
    MKComHolder<Timing> timing;
    return Query(IID_Timing, timing) && SUCCEEDED(timing->put_Duration(seconds));
}

float PptTimingRef::GetTriggerDelayTime() const
{
    return QueryValue(IID_Timing, &Timing::get_TriggerDelayTime, -1);
}

bool PptTimingRef::SetTriggerDelayTime(float seconds) const
{
    MKComHolder<Timing> timing;
    return Query(IID_Timing, timing) && SUCCEEDED(timing->put_TriggerDelayTime(seconds));
}

int32_t PptTimingRef::GetRepeatCount() const
{
    return QueryValue(IID_Timing, &Timing::get_RepeatCount, 0);
}

float PptTimingRef::GetRepeatDuration() const
{
    return QueryValue(IID_Timing, &Timing::get_RepeatDuration, -1);
}
