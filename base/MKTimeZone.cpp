#include "base/MKTimeZone.h"

#include "base/MKLock.h"

#include <atomic>

namespace {

const int kFirstCachedYear = 1970;
const int kCachedYears = 61;  // to 2030

struct DaylightCache {
    MKDaylightChanges changes[kCachedYears];
    std::atomic<uint8_t> computed[kCachedYears];
};

DaylightCache g_cache;

// Created at first use and never deleted: later static destructors may still
// ask for offsets.
CRITICAL_SECTION* CacheSection()
{
    static CRITICAL_SECTION* section = [] {
        CRITICAL_SECTION* created = new CRITICAL_SECTION;
        InitializeCriticalSection(created);
        return created;
    }();
    return section;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && MKIsLeapYear(year)) ? 29 : kDays[month - 1];
}

// Sunday = 0; 0001-01-01 was a Monday.
int DayOfWeek(int64_t ticks)
{
    return int((ticks / MKDateTime::kTicksPerDay + 1) % 7);
}

MKDaylightChanges ComputeChanges(int year)
{
    MKDaylightChanges changes = {};
    MKDaylightRule rule;
    if (MKGetDaylightRule(rule)) {
        changes.start = MKDaylightTransition(year, rule.daylightStart);
        changes.end = MKDaylightTransition(year, rule.standardStart);
        changes.delta = int64_t(rule.deltaMinutes) * MKDateTime::kTicksPerMinute;
    }
    return changes;
}

}  // namespace

MKTimeSpan MKStandardUtcOffset()
{
    static const MKTimeSpan offset = [] {
        TIME_ZONE_INFORMATION zone;
        if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
            return MKTimeSpan(0);
        return -MKTimeSpan(zone.Bias) * MKDateTime::kTicksPerMinute;
    }();
    return offset;
}

bool MKGetDaylightRule(MKDaylightRule& rule)
{
    TIME_ZONE_INFORMATION zone;
    DWORD answer = GetTimeZoneInformation(&zone);
    if (answer == TIME_ZONE_ID_UNKNOWN || answer == TIME_ZONE_ID_INVALID || zone.DaylightBias == 0)
        return false;
    rule.daylightStart = zone.DaylightDate;
    rule.standardStart = zone.StandardDate;
    rule.deltaMinutes = -zone.DaylightBias;
    return true;
}

int64_t MKDaylightTransition(int year, const SYSTEMTIME& ruleDate)
{
    int month = ruleDate.wMonth;
    if (month < 1 || month > 12)
        return 0;
    int64_t timeOfDay = ((int64_t(ruleDate.wHour) * 60 + ruleDate.wMinute) * 60 + ruleDate.wSecond) *
                            MKDateTime::kTicksPerSecond +
                        int64_t(ruleDate.wMilliseconds) * MKDateTime::kTicksPerMs;
    int wantedDay = ruleDate.wDayOfWeek;
    if (ruleDate.wDay == 5) {
        int64_t ticks = MKDateTime::TicksFromDate(year, month, DaysInMonth(year, month)) + timeOfDay;
        int back = DayOfWeek(ticks) - wantedDay;
        if (back < 0)
            back += 7;
        return ticks - back * MKDateTime::kTicksPerDay;
    }
    int64_t ticks = MKDateTime::TicksFromDate(year, month, 1) + timeOfDay;
    int forward = wantedDay - DayOfWeek(ticks);
    if (forward < 0)
        forward += 7;
    return ticks + (forward + 7 * (int(ruleDate.wDay) - 1)) * MKDateTime::kTicksPerDay;
}

MKDaylightChanges MKGetDaylightChanges(int year)
{
    int slot = year - kFirstCachedYear;
    bool cached = slot >= 0 && slot < kCachedYears;
    if (cached && g_cache.computed[slot].load(std::memory_order_acquire))
        return g_cache.changes[slot];
    MKLock lock(CacheSection());
    if (cached && g_cache.computed[slot].load(std::memory_order_relaxed))
        return g_cache.changes[slot];
    MKDaylightChanges changes = ComputeChanges(year);
    if (cached) {
        g_cache.changes[slot] = changes;
        g_cache.computed[slot].store(1, std::memory_order_release);
    }
    return changes;
}
