#include "addin/update/UpdateFrequency.h"

#include "addin/update/UpdateClock.h"

namespace {

int32_t FrequencyAt(const MKDateTime& utc)
{
    int64_t ticks = utc.GetTicks();
    bool inWindow = ticks >= MKDateTime::TicksFromDate(2010, 7, 1) && ticks <= MKDateTime::TicksFromDate(2011, 7, 1);
    return inWindow ? 1 : 2;
}

}  // namespace

bool IsValidUpdateFrequency(int32_t code)
{
    return code >= 1 && code <= 17;
}

int32_t DefaultUpdateFrequency(const UpdateClock& clock)
{
    if (&clock != &SystemUpdateClock())
        return FrequencyAt(clock.UtcNow());
    static const int32_t kept = FrequencyAt(clock.UtcNow());
    return kept;
}
