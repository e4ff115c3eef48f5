#include "base/MKDateTime.h"

#include "base/MKTimeZone.h"

#include <math.h>

namespace {

const int kDaysBeforeMonth[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

const int64_t kTwoTo62 = int64_t(1) << 62;
const uint64_t kLocalBit = uint64_t(1) << 63;

int64_t Clamp(int64_t ticks)
{
    return ticks < 0 ? 0 : ticks > MKDateTime::kMaxTicks ? MKDateTime::kMaxTicks : ticks;
}

int YearOf(int64_t ticks)
{
    return MKDateTime(ticks, MKDateTimeUnspecified).GetDatePart(MKDatePartYear);
}

bool InRange(int64_t value, int64_t from, int64_t to)
{
    return value >= from && value < to;
}

}  // namespace

bool MKIsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool MKIsValidDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const int* table = kDaysBeforeMonth[MKIsLeapYear(year) ? 1 : 0];
    return day <= table[month] - table[month - 1];
}

bool MKIsValidDateTime(int year, int month, int day, int hour, int minute, int second)
{
    return MKIsValidDate(year, month, day) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 &&
           second >= 0 && second < 60;
}

MKDateTime MKDateTime::FromValue(uint64_t value)
{
    MKDateTime result;
    result.m_value = value;
    return result;
}

int64_t MKDateTime::TicksFromDate(int year, int month, int day)
{
    int64_t y = year - 1;
    const int* table = kDaysBeforeMonth[MKIsLeapYear(year) ? 1 : 0];
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + table[month - 1] + day - 1;
    return days * kTicksPerDay;
}

MKDateTime MKDateTime::FromParts(int year, int month, int day, int hour, int minute, int second,
                                 MKDateTimeKind kind)
{
    int64_t seconds = (int64_t(hour) * 60 + minute) * 60 + second;
    return MKDateTime(TicksFromDate(year, month, day) + seconds * kTicksPerSecond, kind);
}

MKDateTime MKDateTime::FromPartsMs(int year, int month, int day, int hour, int minute, int second, int ms,
                                   MKDateTimeKind kind)
{
    int64_t milliseconds = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + ms;
    return MKDateTime(TicksFromDate(year, month, day) + milliseconds * kTicksPerMs, kind);
}

MKDateTime MKDateTime::UtcNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    int64_t fileTime = (int64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return MKDateTime(fileTime + kFileTimeOrigin, MKDateTimeUtc);
}

int MKDateTime::GetDatePart(MKDatePart part) const
{
    int days = int(GetTicks() / kTicksPerDay);
    int cycles400 = days / 146097;
    days -= cycles400 * 146097;
    int periods100 = days / 36524;
    if (periods100 == 4)
        periods100 = 3;
    days -= periods100 * 36524;
    int periods4 = days / 1461;
    days -= periods4 * 1461;
    int years = days / 365;
    if (years == 4)
        years = 3;
    days -= years * 365;  // day of the year, 0-based
    int year = cycles400 * 400 + periods100 * 100 + periods4 * 4 + years + 1;
    if (part == MKDatePartYear)
        return year;
    if (part == MKDatePartDayOfYear)
        return days + 1;
    const int* table = kDaysBeforeMonth[(years == 3 && (periods4 != 24 || periods100 == 3)) ? 1 : 0];
    int month = 1;
    while (days >= table[month])
        ++month;
    return part == MKDatePartMonth ? month : days - table[month - 1] + 1;
}

MKDateTime MKDateTime::AddScaled(double value, double scale) const
{
    double ms = value * scale;
    ms = ms < 0 ? -floor(-ms + 0.5) : floor(ms + 0.5);
    // Beyond the whole range the result is an end of it; within it the sum
    // is exact in 64 bits.
    const double kRangeMs = double(kMaxTicks / kTicksPerMs) + 1;
    int64_t ticks;
    if (ms != ms)
        ticks = GetTicks();
    else if (ms >= kRangeMs)
        ticks = kMaxTicks;
    else if (ms <= -kRangeMs)
        ticks = 0;
    else
        ticks = Clamp(GetTicks() + int64_t(ms) * kTicksPerMs);
    return MKDateTime(ticks, GetKind());
}

MKTimeSpan MKDateTime::OffsetToUtc() const
{
    MKDateTimeKind kind = GetKind();
    if (kind == MKDateTimeUtc)
        return 0;
    MKTimeSpan offset = MKStandardUtcOffset();
    int64_t ticks = GetTicks();
    MKDaylightChanges changes = MKGetDaylightChanges(GetDatePart(MKDatePartYear));
    int64_t delta = changes.delta;
    if (delta == 0)
        return offset;
    int64_t start = changes.start + delta;
    int64_t end = changes.end;
    bool ambiguous = delta > 0 ? InRange(ticks, end - delta, end) : InRange(ticks, start, start - delta);
    bool daylight = start > end ? (ticks >= start || ticks < end) : (ticks >= start && ticks < end);
    if (daylight && ambiguous && kind != MKDateTimeAmbiguousLocal)
        daylight = false;
    return daylight ? offset + delta : offset;
}

MKTimeSpan MKDateTime::UtcOffset(int64_t utcTicks, bool* ambiguous)
{
    if (ambiguous)
        *ambiguous = false;
    MKTimeSpan offset = MKStandardUtcOffset();
    MKDaylightChanges changes = MKGetDaylightChanges(YearOf(utcTicks));
    int64_t delta = changes.delta;
    if (delta == 0)
        return offset;
    int64_t startUtc = changes.start - offset;
    int64_t endUtc = changes.end - offset - delta;
    bool daylight = startUtc > endUtc ? (utcTicks < endUtc || utcTicks >= startUtc)
                                      : (utcTicks >= startUtc && utcTicks < endUtc);
    if (!daylight)
        return offset;
    bool repeated =
        delta > 0 ? InRange(utcTicks, endUtc - delta, endUtc) : InRange(utcTicks, startUtc, startUtc - delta);
    if (repeated && ambiguous)
        *ambiguous = true;
    return offset + delta;
}

MKDateTime MKDateTime::ToUniversalTime() const
{
    if (GetKind() == MKDateTimeUtc)
        return *this;
    return MKDateTime(Clamp(GetTicks() - OffsetToUtc()), MKDateTimeUtc);
}

MKDateTime MKDateTime::ToLocalTime() const
{
    MKDateTimeKind kind = GetKind();
    if (kind == MKDateTimeLocal || kind == MKDateTimeAmbiguousLocal)
        return *this;
    bool ambiguous = false;
    int64_t ticks = Clamp(GetTicks() + UtcOffset(GetTicks(), &ambiguous));
    return MKDateTime(ticks, ambiguous ? MKDateTimeAmbiguousLocal : MKDateTimeLocal);
}

int64_t MKDateTime::ToBinary() const
{
    MKDateTimeKind kind = GetKind();
    if (kind == MKDateTimeUnspecified || kind == MKDateTimeUtc)
        return int64_t(m_value);
    int64_t instant = GetTicks() - OffsetToUtc();
    if (instant < 0)
        instant += kTwoTo62;
    return int64_t(uint64_t(instant) | kLocalBit);
}

bool MKDateTime::FromBinary(int64_t value, MKDateTime& out)
{
    uint64_t bits = uint64_t(value);
    if (!(bits & kLocalBit)) {
        if (int64_t(bits & kTicksMask) > kMaxTicks)
            return false;
        out.m_value = bits;
        return true;
    }
    int64_t ticks = int64_t(bits & kTicksMask);
    // Instants before year 1 were stored wrapped below 2^62.
    if (ticks > kTwoTo62 - kTicksPerDay)
        ticks -= kTwoTo62;
    MKTimeSpan offset;
    bool ambiguous = false;
    if (ticks < 0)
        offset = MKDateTime(0, MKDateTimeLocal).OffsetToUtc();
    else if (ticks > kMaxTicks)
        offset = MKDateTime(kMaxTicks, MKDateTimeLocal).OffsetToUtc();
    else
        offset = UtcOffset(ticks, &ambiguous);
    ticks += offset;
    if (ticks < 0)
        ticks += kTicksPerDay;
    if (ticks < 0 || ticks > kMaxTicks)
        return false;
    out = MKDateTime(ticks, ambiguous ? MKDateTimeAmbiguousLocal : MKDateTimeLocal);
    return true;
}

MKDateTime MKDateTime::MKDateTimeFromBinary(int64_t value)
{
    MKDateTime result;
    FromBinary(value, result);
    return result;
}

FILETIME MKDateTime::ToFileTime() const
{
    int64_t fileTime = ToUniversalTime().GetTicks() - kFileTimeOrigin;
    if (fileTime < 0)
        fileTime = 0;
    FILETIME result;
    result.dwLowDateTime = DWORD(fileTime);
    result.dwHighDateTime = DWORD(uint64_t(fileTime) >> 32);
    return result;
}

int64_t MKDateTime::ToUnixMs() const
{
    return (ToUniversalTime().GetTicks() - kUnixOrigin) / kTicksPerMs;
}
