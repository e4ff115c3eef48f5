#pragma once
#include "base/MKDateTime.h"

// The machine's time-zone rule as MKDateTime uses it. The standard offset is
// read once per process; the daylight changes of 1970 to 2030 are computed once
// per year and cached (filled under a lock, read without one), so time-zone
// changes made while the process runs are not seen.

struct MKDaylightRule {
    SYSTEMTIME daylightStart;
    SYSTEMTIME standardStart;
    int32_t deltaMinutes;  // -DaylightBias
};

// Daylight time of one year in local ticks; all 0 without daylight saving.
struct MKDaylightChanges {
    int64_t delta;
    int64_t end;    // daylight time ends (local daylight time)
    int64_t start;  // daylight time starts (local standard time)
};

// -Bias in ticks, taken at the first call.
MKTimeSpan MKStandardUtcOffset();
// False when the zone has no daylight saving time.
bool MKGetDaylightRule(MKDaylightRule& rule);
// The local ticks at which a recurring rule date (wDay 1-4: that week, 5: the
// last one) falls in the year.
int64_t MKDaylightTransition(int year, const SYSTEMTIME& ruleDate);
MKDaylightChanges MKGetDaylightChanges(int year);
