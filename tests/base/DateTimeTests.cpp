#include "base/MKDateTime.h"
#include "base/MKTimeZone.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

namespace {

const int64_t kHour = 60 * MKDateTime::kTicksPerMinute;
const uint64_t kBit63 = uint64_t(1) << 63;
const int64_t kTwoTo62 = int64_t(1) << 62;

MKDateTime At(int y, int mo, int d, int h, int mi, MKDateTimeKind kind, int s = 0)
{
    return MKDateTime::FromParts(y, mo, d, h, mi, s, kind);
}

// "2023-10-29 02:30:00 L" style text for failure messages.
std::string Text(const MKDateTime& value)
{
    static const char* kKinds[] = {"U", "Z", "L", "A"};
    int64_t secondOfDay = value.GetTicks() % MKDateTime::kTicksPerDay / MKDateTime::kTicksPerSecond;
    char buffer[64];
    snprintf(buffer, sizeof(buffer), "%04d-%02d-%02d %02d:%02d:%02d %s", value.GetDatePart(MKDatePartYear),
             value.GetDatePart(MKDatePartMonth), value.GetDatePart(MKDatePartDay), int(secondOfDay / 3600),
             int(secondOfDay / 60 % 60), int(secondOfDay % 60), kKinds[value.GetKind()]);
    return buffer;
}

#define EXPECT_SAME_TIME(expected, actual) EXPECT_EQ(Text(expected), Text(actual))

TEST(DateTime, CalendarArithmetic)
{
    EXPECT_FALSE(MKIsLeapYear(1900));
    EXPECT_TRUE(MKIsLeapYear(2000));
    EXPECT_TRUE(MKIsLeapYear(2024));
    EXPECT_FALSE(MKIsLeapYear(2100));
    EXPECT_EQ(0, MKDateTime::TicksFromDate(1, 1, 1));
    EXPECT_EQ(504911232000000000, MKDateTime::TicksFromDate(1601, 1, 1));
    EXPECT_EQ(621355968000000000, MKDateTime::TicksFromDate(1970, 1, 1));
    EXPECT_FALSE(MKIsValidDate(2023, 2, 29));
    EXPECT_TRUE(MKIsValidDate(2024, 2, 29));
    EXPECT_FALSE(MKIsValidDate(0, 1, 1));
    EXPECT_FALSE(MKIsValidDate(10000, 1, 1));
    EXPECT_FALSE(MKIsValidDate(2023, 13, 1));
    EXPECT_FALSE(MKIsValidDate(2023, 4, 31));
    EXPECT_TRUE(MKIsValidDateTime(2023, 4, 30, 23, 59, 59));
    EXPECT_FALSE(MKIsValidDateTime(2023, 4, 30, 24, 0, 0));
    EXPECT_FALSE(MKIsValidDateTime(2023, 4, 30, 0, 60, 0));
    EXPECT_FALSE(MKIsValidDateTime(2023, 4, 30, 0, 0, 60));

    MKDateTime last = MKDateTime::FromValue(MKDateTime::kMaxTicks);
    EXPECT_EQ(9999, last.GetDatePart(MKDatePartYear));
    EXPECT_EQ(12, last.GetDatePart(MKDatePartMonth));
    EXPECT_EQ(31, last.GetDatePart(MKDatePartDay));
    EXPECT_EQ(365, last.GetDatePart(MKDatePartDayOfYear));
    EXPECT_EQ(MKDateTime::kMaxTicks, MKDateTime::FromPartsMs(9999, 12, 31, 23, 59, 59, 999, MKDateTimeUnspecified)
                                             .GetTicks() + 9999);
}

TEST(DateTime, PartsAgreeWithTheSystemCalendar)
{
    // Every 97th day from 1601 to 9999 (and the leap days around centuries)
    // against the system's own conversion.
    const int64_t first = MKDateTime::kFileTimeOrigin / MKDateTime::kTicksPerDay;
    const int64_t lastDay = MKDateTime::kMaxTicks / MKDateTime::kTicksPerDay;
    for (int64_t day = first; day <= lastDay; day += 97) {
        int64_t ticks = day * MKDateTime::kTicksPerDay + 12345;
        int64_t fileTime = ticks - MKDateTime::kFileTimeOrigin;
        FILETIME ft = {DWORD(fileTime), DWORD(fileTime >> 32)};
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st)) << day;
        MKDateTime value(ticks, MKDateTimeUtc);
        ASSERT_EQ(st.wYear, value.GetDatePart(MKDatePartYear)) << day;
        ASSERT_EQ(st.wMonth, value.GetDatePart(MKDatePartMonth)) << day;
        ASSERT_EQ(st.wDay, value.GetDatePart(MKDatePartDay)) << day;
        ASSERT_EQ(ticks - 12345, MKDateTime::TicksFromDate(st.wYear, st.wMonth, st.wDay)) << day;
    }
    struct {
        int y, m, d, dayOfYear;
    } leapDays[] = {{2000, 2, 29, 60}, {2000, 12, 31, 366}, {2100, 3, 1, 60}, {2400, 12, 31, 366}, {1, 1, 1, 1}};
    for (const auto& c : leapDays) {
        MKDateTime value(MKDateTime::TicksFromDate(c.y, c.m, c.d), MKDateTimeUtc);
        EXPECT_EQ(c.y, value.GetDatePart(MKDatePartYear));
        EXPECT_EQ(c.m, value.GetDatePart(MKDatePartMonth));
        EXPECT_EQ(c.d, value.GetDatePart(MKDatePartDay));
        EXPECT_EQ(c.dayOfYear, value.GetDatePart(MKDatePartDayOfYear));
    }
}

TEST(DateTime, AddScaledRoundsHalvesAwayAndKeepsKind)
{
    MKDateTime base = At(2023, 5, 6, 7, 8, MKDateTimeLocal);
    EXPECT_EQ(base.GetTicks() + MKDateTime::kTicksPerMs, base.AddScaled(0.5, 1).GetTicks());
    EXPECT_EQ(base.GetTicks() - MKDateTime::kTicksPerMs, base.AddScaled(-0.5, 1).GetTicks());
    EXPECT_EQ(base.GetTicks(), base.AddScaled(0.4, 1).GetTicks());
    EXPECT_EQ(base.GetTicks() + 1500 * MKDateTime::kTicksPerMs, base.AddScaled(1.5, 1000).GetTicks());
    EXPECT_SAME_TIME(At(2023, 5, 7, 19, 8, MKDateTimeLocal), base.AddDays(1.5));
    EXPECT_SAME_TIME(At(2023, 5, 5, 7, 8, MKDateTimeLocal), base.AddDays(-1));
    // Beyond either end the value stops there instead of spilling into the kind.
    EXPECT_EQ(0, base.AddDays(-1e7).GetTicks());
    EXPECT_EQ(MKDateTimeLocal, base.AddDays(-1e7).GetKind());
    EXPECT_EQ(MKDateTime::kMaxTicks, base.AddDays(1e7).GetTicks());
    EXPECT_EQ(MKDateTime::kMaxTicks, base.AddDays(1e300).GetTicks());

    EXPECT_TRUE(At(2023, 1, 1, 0, 0, MKDateTimeUtc).IsAtLeast(At(2023, 1, 1, 0, 0, MKDateTimeLocal)));
    EXPECT_FALSE(At(2023, 1, 1, 0, 0, MKDateTimeUtc).IsBefore(At(2023, 1, 1, 0, 0, MKDateTimeLocal)));
    EXPECT_TRUE(At(2023, 1, 1, 0, 0, MKDateTimeUtc).IsBefore(At(2023, 1, 1, 0, 1, MKDateTimeUtc)));
}

TEST(DateTime, UtcValuesAndBinaryForm)
{
    MKDateTime utc = At(2020, 1, 2, 3, 4, MKDateTimeUtc, 5);
    EXPECT_EQ(1577934245000, utc.ToUnixMs());
    FILETIME ft = utc.ToFileTime();
    int64_t fileTime = (int64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    EXPECT_EQ(utc.GetTicks() - MKDateTime::kFileTimeOrigin, fileTime);
    FILETIME early = At(1500, 1, 1, 0, 0, MKDateTimeUtc).ToFileTime();
    EXPECT_EQ(0u, early.dwLowDateTime | early.dwHighDateTime);

    EXPECT_EQ(int64_t(utc.GetValue()), utc.ToBinary());
    EXPECT_EQ(uint64_t(1) << 62, utc.GetValue() & (uint64_t(3) << 62));
    MKDateTime back;
    ASSERT_TRUE(MKDateTime::FromBinary(utc.ToBinary(), back));
    EXPECT_EQ(utc.GetValue(), back.GetValue());
    MKDateTime plain = At(2020, 1, 2, 3, 4, MKDateTimeUnspecified);
    EXPECT_EQ(int64_t(plain.GetValue()), plain.ToBinary());
    // Unspecified and UTC values beyond the last tick are refused.
    MKDateTime untouched = plain;
    EXPECT_FALSE(MKDateTime::FromBinary(MKDateTime::kMaxTicks + 1, untouched));
    EXPECT_EQ(plain.GetValue(), untouched.GetValue());
    EXPECT_EQ(0u, MKDateTime::MKDateTimeFromBinary(MKDateTime::kMaxTicks + 1).GetValue());

    EXPECT_SAME_TIME(utc, utc.ToUniversalTime());
    MKDateTime now = MKDateTime::UtcNow();
    EXPECT_EQ(MKDateTimeUtc, now.GetKind());
    EXPECT_GE(now.GetDatePart(MKDatePartYear), 2023);
}

TEST(DateTime, TransitionsOfRecurringRules)
{
    struct {
        WORD month, week, dayOfWeek, hour;
        int year;
        int expectedMonth, expectedDay;
    } cases[] = {
        {3, 5, 0, 2, 2023, 3, 26},   // last Sunday of March
        {10, 5, 0, 3, 2023, 10, 29}, // last Sunday of October
        {4, 5, 0, 3, 2023, 4, 30},   // the month's last day is a Sunday
        {10, 1, 0, 2, 2023, 10, 1},  // the month's first day is a Sunday
        {3, 2, 0, 2, 2023, 3, 12},   // second Sunday of March
        {11, 1, 0, 2, 2023, 11, 5},  // first Sunday of November
        {2, 5, 3, 0, 2024, 2, 28},   // last Wednesday of a leap February
        {2, 4, 4, 0, 2024, 2, 22},   // fourth Thursday
    };
    for (const auto& c : cases) {
        SYSTEMTIME rule = {};
        rule.wMonth = c.month;
        rule.wDay = c.week;
        rule.wDayOfWeek = c.dayOfWeek;
        rule.wHour = c.hour;
        rule.wMinute = 30;
        EXPECT_EQ(MKDateTime::FromParts(c.year, c.expectedMonth, c.expectedDay, c.hour, 30, 0, MKDateTimeUnspecified)
                      .GetTicks(),
                  MKDaylightTransition(c.year, rule))
            << c.month << "/" << c.week;
    }
}

// ---- Time zones: the tests below need a process whose TZ names the zone
// (Wine derives the Windows zone from it); ctest starts base_tests once per
// zone for them, and they skip themselves in any other process.

bool InZone(const wchar_t* zone)
{
    wchar_t value[64];
    DWORD n = GetEnvironmentVariableW(L"TZ", value, 64);
    return n > 0 && n < 64 && wcscmp(value, zone) == 0;
}

struct Conversion {
    MKDateTime from;
    MKDateTime to;
};

void CheckToUniversal(const Conversion* cases, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        EXPECT_SAME_TIME(cases[i].to, cases[i].from.ToUniversalTime()) << Text(cases[i].from);
}

void CheckToLocal(const Conversion* cases, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        MKDateTime local = cases[i].from.ToLocalTime();
        EXPECT_SAME_TIME(cases[i].to, local) << Text(cases[i].from);
        // Back to the same instant, the repeated hour included.
        EXPECT_SAME_TIME(cases[i].from, local.ToUniversalTime()) << Text(cases[i].from);
        // The binary form keeps the instant and the ambiguity.
        MKDateTime restored;
        ASSERT_TRUE(MKDateTime::FromBinary(local.ToBinary(), restored));
        EXPECT_SAME_TIME(local, restored);
        EXPECT_EQ(int64_t(cases[i].from.GetTicks() | kBit63), local.ToBinary());
    }
}

TEST(InZoneBerlin, RuleAndChanges)
{
    if (!InZone(L"Europe/Berlin"))
        GTEST_SKIP() << "TZ=Europe/Berlin only";
    MKDaylightRule rule;
    ASSERT_TRUE(MKGetDaylightRule(rule));
    EXPECT_EQ(60, rule.deltaMinutes);
    EXPECT_EQ(kHour, MKStandardUtcOffset());
    for (int year : {1969, 2023, 2024, 2031}) {
        MKDaylightChanges changes = MKGetDaylightChanges(year);
        MKDaylightChanges again = MKGetDaylightChanges(year);
        EXPECT_EQ(kHour, changes.delta);
        EXPECT_EQ(changes.start, again.start);
        EXPECT_EQ(MKDateTimeUnspecified, MKDateTime(changes.start, MKDateTimeUnspecified).GetKind());
        MKDateTime start(changes.start, MKDateTimeUnspecified);
        MKDateTime end(changes.end, MKDateTimeUnspecified);
        EXPECT_EQ(3, start.GetDatePart(MKDatePartMonth)) << year;
        EXPECT_EQ(10, end.GetDatePart(MKDatePartMonth)) << year;
        EXPECT_EQ(2 * kHour, changes.start % MKDateTime::kTicksPerDay);
        EXPECT_EQ(3 * kHour, changes.end % MKDateTime::kTicksPerDay);
    }
    EXPECT_EQ(At(2023, 3, 26, 2, 0, MKDateTimeUnspecified).GetTicks(), MKGetDaylightChanges(2023).start);
    EXPECT_EQ(At(2024, 10, 27, 3, 0, MKDateTimeUnspecified).GetTicks(), MKGetDaylightChanges(2024).end);
}

TEST(InZoneBerlin, LocalToUniversal)
{
    if (!InZone(L"Europe/Berlin"))
        GTEST_SKIP() << "TZ=Europe/Berlin only";
    const Conversion cases[] = {
        // The repeated hour: daylight time only for the ambiguous kind.
        {At(2023, 10, 29, 2, 30, MKDateTimeLocal), At(2023, 10, 29, 1, 30, MKDateTimeUtc)},
        {At(2023, 10, 29, 2, 30, MKDateTimeAmbiguousLocal), At(2023, 10, 29, 0, 30, MKDateTimeUtc)},
        {At(2023, 10, 29, 1, 59, MKDateTimeLocal), At(2023, 10, 28, 23, 59, MKDateTimeUtc)},
        {At(2023, 10, 29, 3, 0, MKDateTimeLocal), At(2023, 10, 29, 2, 0, MKDateTimeUtc)},
        // The skipped hour counts as standard time.
        {At(2023, 3, 26, 1, 59, MKDateTimeLocal), At(2023, 3, 26, 0, 59, MKDateTimeUtc)},
        {At(2023, 3, 26, 2, 30, MKDateTimeLocal), At(2023, 3, 26, 1, 30, MKDateTimeUtc)},
        {At(2023, 3, 26, 3, 0, MKDateTimeLocal), At(2023, 3, 26, 1, 0, MKDateTimeUtc)},
        {At(2023, 7, 1, 12, 0, MKDateTimeLocal), At(2023, 7, 1, 10, 0, MKDateTimeUtc)},
        {At(2023, 7, 1, 12, 0, MKDateTimeUnspecified), At(2023, 7, 1, 10, 0, MKDateTimeUtc)},
        {At(2023, 1, 1, 12, 0, MKDateTimeLocal), At(2023, 1, 1, 11, 0, MKDateTimeUtc)},
        {At(1, 1, 1, 0, 30, MKDateTimeLocal), MKDateTime(0, MKDateTimeUtc)},
    };
    CheckToUniversal(cases, sizeof(cases) / sizeof(cases[0]));
    EXPECT_EQ(kHour, At(2023, 1, 1, 12, 0, MKDateTimeLocal).OffsetToUtc());
    EXPECT_EQ(0, At(2023, 7, 1, 12, 0, MKDateTimeUtc).OffsetToUtc());
    // East of UTC the last local value is an instant an hour earlier.
    MKDateTime last(MKDateTime::kMaxTicks, MKDateTimeLocal);
    EXPECT_EQ(MKDateTime::kMaxTicks - kHour, last.ToUniversalTime().GetTicks());
}

TEST(InZoneBerlin, UniversalToLocal)
{
    if (!InZone(L"Europe/Berlin"))
        GTEST_SKIP() << "TZ=Europe/Berlin only";
    const Conversion cases[] = {
        {At(2023, 10, 29, 0, 30, MKDateTimeUtc), At(2023, 10, 29, 2, 30, MKDateTimeAmbiguousLocal)},
        {At(2023, 10, 29, 0, 59, MKDateTimeUtc, 59), At(2023, 10, 29, 2, 59, MKDateTimeAmbiguousLocal, 59)},
        {At(2023, 10, 29, 1, 0, MKDateTimeUtc), At(2023, 10, 29, 2, 0, MKDateTimeLocal)},
        {At(2023, 10, 29, 1, 30, MKDateTimeUtc), At(2023, 10, 29, 2, 30, MKDateTimeLocal)},
        {At(2023, 10, 28, 23, 59, MKDateTimeUtc), At(2023, 10, 29, 1, 59, MKDateTimeLocal)},
        {At(2023, 3, 26, 0, 59, MKDateTimeUtc), At(2023, 3, 26, 1, 59, MKDateTimeLocal)},
        {At(2023, 3, 26, 1, 0, MKDateTimeUtc), At(2023, 3, 26, 3, 0, MKDateTimeLocal)},
        {At(2023, 7, 1, 10, 0, MKDateTimeUtc), At(2023, 7, 1, 12, 0, MKDateTimeLocal)},
    };
    CheckToLocal(cases, sizeof(cases) / sizeof(cases[0]));
    MKDateTime local = At(2023, 7, 1, 12, 0, MKDateTimeLocal);
    EXPECT_SAME_TIME(local, local.ToLocalTime());
    EXPECT_EQ(MKDateTime::kMaxTicks, MKDateTime(MKDateTime::kMaxTicks, MKDateTimeUtc).ToLocalTime().GetTicks());
}

TEST(InZoneBerlin, BinaryFormOfLocalValues)
{
    if (!InZone(L"Europe/Berlin"))
        GTEST_SKIP() << "TZ=Europe/Berlin only";
    // Stored as the UTC instant with bit 63 set.
    MKDateTime summer = At(2023, 7, 1, 12, 0, MKDateTimeLocal);
    EXPECT_EQ(int64_t(At(2023, 7, 1, 10, 0, MKDateTimeUnspecified).GetValue() | kBit63), summer.ToBinary());
    MKDateTime ambiguous = At(2023, 10, 29, 2, 30, MKDateTimeAmbiguousLocal);
    EXPECT_EQ(int64_t(At(2023, 10, 29, 0, 30, MKDateTimeUnspecified).GetValue() | kBit63), ambiguous.ToBinary());
    EXPECT_SAME_TIME(ambiguous, MKDateTime::MKDateTimeFromBinary(ambiguous.ToBinary()));
    MKDateTime plainLocal = At(2023, 10, 29, 2, 30, MKDateTimeLocal);
    EXPECT_SAME_TIME(plainLocal, MKDateTime::MKDateTimeFromBinary(plainLocal.ToBinary()));

    // The first local hour lies before the first UTC instant: it wraps below 2^62.
    MKDateTime first(0, MKDateTimeLocal);
    int64_t binary = first.ToBinary();
    EXPECT_EQ(int64_t(uint64_t(kTwoTo62 - kHour) | kBit63), binary);
    MKDateTime back;
    ASSERT_TRUE(MKDateTime::FromBinary(binary, back));
    EXPECT_SAME_TIME(first, back);

    // An instant past the last local tick is refused.
    MKDateTime kept = summer;
    EXPECT_FALSE(MKDateTime::FromBinary(int64_t(uint64_t(MKDateTime::kMaxTicks) | kBit63), kept));
    EXPECT_SAME_TIME(summer, kept);
}

TEST(InZoneNewYork, WestOfUtc)
{
    if (!InZone(L"America/New_York"))
        GTEST_SKIP() << "TZ=America/New_York only";
    EXPECT_EQ(-5 * kHour, MKStandardUtcOffset());
    const Conversion toUtc[] = {
        {At(2023, 11, 5, 1, 30, MKDateTimeLocal), At(2023, 11, 5, 6, 30, MKDateTimeUtc)},
        {At(2023, 11, 5, 1, 30, MKDateTimeAmbiguousLocal), At(2023, 11, 5, 5, 30, MKDateTimeUtc)},
        {At(2023, 3, 12, 2, 30, MKDateTimeLocal), At(2023, 3, 12, 7, 30, MKDateTimeUtc)},
        {At(2023, 7, 4, 12, 0, MKDateTimeLocal), At(2023, 7, 4, 16, 0, MKDateTimeUtc)},
        // West of UTC the last local value is clamped to the last tick.
        {MKDateTime(MKDateTime::kMaxTicks, MKDateTimeLocal), MKDateTime(MKDateTime::kMaxTicks, MKDateTimeUtc)},
    };
    CheckToUniversal(toUtc, sizeof(toUtc) / sizeof(toUtc[0]));
    const Conversion toLocal[] = {
        {At(2023, 11, 5, 5, 30, MKDateTimeUtc), At(2023, 11, 5, 1, 30, MKDateTimeAmbiguousLocal)},
        {At(2023, 11, 5, 6, 30, MKDateTimeUtc), At(2023, 11, 5, 1, 30, MKDateTimeLocal)},
        {At(2023, 3, 12, 7, 0, MKDateTimeUtc), At(2023, 3, 12, 3, 0, MKDateTimeLocal)},
    };
    CheckToLocal(toLocal, sizeof(toLocal) / sizeof(toLocal[0]));
    EXPECT_EQ(0, MKDateTime(0, MKDateTimeUtc).ToLocalTime().GetTicks());
    MKDateTime first(0, MKDateTimeLocal);
    EXPECT_EQ(int64_t(uint64_t(5 * kHour) | kBit63), first.ToBinary());
    EXPECT_SAME_TIME(first, MKDateTime::MKDateTimeFromBinary(first.ToBinary()));
}

TEST(InZoneSydney, DaylightAcrossTheNewYear)
{
    if (!InZone(L"Australia/Sydney"))
        GTEST_SKIP() << "TZ=Australia/Sydney only";
    EXPECT_EQ(10 * kHour, MKStandardUtcOffset());
    MKDaylightChanges changes = MKGetDaylightChanges(2023);
    EXPECT_GT(changes.start, changes.end);
    const Conversion toUtc[] = {
        {At(2023, 1, 15, 12, 0, MKDateTimeLocal), At(2023, 1, 15, 1, 0, MKDateTimeUtc)},
        {At(2023, 7, 15, 12, 0, MKDateTimeLocal), At(2023, 7, 15, 2, 0, MKDateTimeUtc)},
        {At(2023, 12, 15, 12, 0, MKDateTimeLocal), At(2023, 12, 15, 1, 0, MKDateTimeUtc)},
        {At(2023, 4, 2, 2, 30, MKDateTimeLocal), At(2023, 4, 1, 16, 30, MKDateTimeUtc)},
        {At(2023, 4, 2, 2, 30, MKDateTimeAmbiguousLocal), At(2023, 4, 1, 15, 30, MKDateTimeUtc)},
        {At(2023, 10, 1, 2, 30, MKDateTimeLocal), At(2023, 9, 30, 16, 30, MKDateTimeUtc)},
    };
    CheckToUniversal(toUtc, sizeof(toUtc) / sizeof(toUtc[0]));
    const Conversion toLocal[] = {
        {At(2023, 4, 1, 15, 30, MKDateTimeUtc), At(2023, 4, 2, 2, 30, MKDateTimeAmbiguousLocal)},
        {At(2023, 4, 1, 16, 30, MKDateTimeUtc), At(2023, 4, 2, 2, 30, MKDateTimeLocal)},
        {At(2023, 9, 30, 16, 0, MKDateTimeUtc), At(2023, 10, 1, 3, 0, MKDateTimeLocal)},
        {At(2023, 1, 15, 1, 0, MKDateTimeUtc), At(2023, 1, 15, 12, 0, MKDateTimeLocal)},
    };
    CheckToLocal(toLocal, sizeof(toLocal) / sizeof(toLocal[0]));
}

TEST(InZoneUtc, NoDaylightRule)
{
    if (!InZone(L"UTC"))
        GTEST_SKIP() << "TZ=UTC only";
    MKDaylightRule rule;
    EXPECT_FALSE(MKGetDaylightRule(rule));
    MKDaylightChanges changes = MKGetDaylightChanges(2023);
    EXPECT_EQ(0, changes.delta);
    EXPECT_EQ(0, changes.start);
    EXPECT_EQ(0, changes.end);
    EXPECT_EQ(0, MKStandardUtcOffset());
    MKDateTime local = At(2023, 7, 1, 12, 0, MKDateTimeLocal);
    EXPECT_EQ(local.GetTicks(), local.ToUniversalTime().GetTicks());
    EXPECT_EQ(MKDateTimeLocal, At(2023, 7, 1, 12, 0, MKDateTimeUtc).ToLocalTime().GetKind());
}

}  // namespace
