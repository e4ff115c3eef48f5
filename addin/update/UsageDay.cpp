#include "addin/update/UsageDay.h"

namespace {

int64_t FirstDayTicks()
{
    return MKDateTime::TicksFromDate(2009, 1, 1);
}

}  // namespace

int32_t UsageDayIndex(const MKDateTime& localTime)
{
    int64_t days = (localTime.GetTicks() - FirstDayTicks()) / MKDateTime::kTicksPerDay;
    return days < 0 ? 0 : int32_t(days);
}

MKDateTime UsageDayDate(int32_t index)
{
    return MKDateTime(FirstDayTicks() + int64_t(index) * MKDateTime::kTicksPerDay, MKDateTimeUnspecified);
}
