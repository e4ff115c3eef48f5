#pragma once
#include "addin/core/PptObjectRef.h"

// A holder of an animation Timing (PptObjectRef.h tells how every wrapper
// answers).
class PptTimingRef : public PptObjectRef {
public:
    float GetDuration() const;  // -1 on failure
    // Durations from 0 to below 0.001 s are written as 0.001 s (PowerPoint's
    // shortest); negative ones are refused without asking PowerPoint.
    bool SetDuration(float seconds) const;
    float GetTriggerDelayTime() const;  // -1
    bool SetTriggerDelayTime(float seconds) const;
    int32_t GetRepeatCount() const;     // 0
    float GetRepeatDuration() const;    // -1

    // PowerPoint refuses durations below a millisecond.
    static constexpr float kShortestDuration = 0.001f;
};
