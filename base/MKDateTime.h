#pragma once
#include <stdint.h>
#include <windows.h>

// A signed number of 100 ns ticks.
typedef int64_t MKTimeSpan;

enum MKDateTimeKind {
    MKDateTimeUnspecified = 0,
    MKDateTimeUtc = 1,
    MKDateTimeLocal = 2,
    // A local time in the hour that repeats when daylight saving time ends,
    // taken as its first (daylight) occurrence.
    MKDateTimeAmbiguousLocal = 3
};

enum MKDatePart { MKDatePartYear = 0, MKDatePartDayOfYear = 1, MKDatePartMonth = 2, MKDatePartDay = 3 };

bool MKIsLeapYear(int year);
// 1 <= year <= 9999 and a day of that month.
bool MKIsValidDate(int year, int month, int day);
bool MKIsValidDateTime(int year, int month, int day, int hour, int minute, int second);

// Date and time of the proleptic Gregorian calendar: 100 ns ticks since
// 0001-01-01 00:00 in bits 0-61, the kind in bits 62-63. Local values convert
// to and from UTC with the machine's time-zone rule (MKTimeZone.h). A plain
// value; nothing here throws.
class MKDateTime {
public:
    static constexpr int64_t kTicksPerMs = 10000;
    static constexpr int64_t kTicksPerSecond = 10000000;
    static constexpr int64_t kTicksPerMinute = 600000000;
    static constexpr int64_t kTicksPerDay = 864000000000;
    // 9999-12-31 23:59:59.9999999.
    static constexpr int64_t kMaxTicks = 3155378975999999999;
    // 1601-01-01, the origin of file times.
    static constexpr int64_t kFileTimeOrigin = 504911232000000000;
    // 1970-01-01.
    static constexpr int64_t kUnixOrigin = 621355968000000000;

    MKDateTime() = default;
    // Ticks beyond 62 bits are cut off, never taken for the kind.
    MKDateTime(int64_t ticks, MKDateTimeKind kind) : m_value((uint64_t(ticks) & kTicksMask) | (uint64_t(kind) << 62)) {}
    // The raw 64 bits, kind included.
    static MKDateTime FromValue(uint64_t value);

    uint64_t GetValue() const { return m_value; }
    int64_t GetTicks() const { return int64_t(m_value & kTicksMask); }
    MKDateTimeKind GetKind() const { return MKDateTimeKind(m_value >> 62); }

    // Midnight of the date in ticks; the date is not checked.
    static int64_t TicksFromDate(int year, int month, int day);
    // No range checks: callers validate with MKIsValidDateTime first.
    static MKDateTime FromParts(int year, int month, int day, int hour, int minute, int second, MKDateTimeKind kind);
    static MKDateTime FromPartsMs(int year, int month, int day, int hour, int minute, int second, int ms,
                                  MKDateTimeKind kind);
    static MKDateTime UtcNow();

    int GetDatePart(MKDatePart part) const;

    // Adds round(value x scale) milliseconds, halves away from zero; the kind
    // stays, the ticks are held within 0 and kMaxTicks.
    MKDateTime AddScaled(double value, double scale) const;
    MKDateTime AddDays(double days) const { return AddScaled(days, 86400000.0); }

    // Compare the ticks, ignoring the kinds.
    bool IsAtLeast(const MKDateTime& other) const { return GetTicks() >= other.GetTicks(); }
    bool IsBefore(const MKDateTime& other) const { return GetTicks() < other.GetTicks(); }
    bool IsAmbiguousDaylightTime() const { return GetKind() == MKDateTimeAmbiguousLocal; }

    // What to add to a local (or unspecified) value to get UTC, in ticks: the
    // standard offset plus the daylight delta when the value lies in daylight
    // time; 0 for UTC values. In the repeated hour only an ambiguous-kind value
    // counts as daylight time.
    MKTimeSpan OffsetToUtc() const;
    // The local offset at a UTC instant given in ticks; *ambiguous is set when
    // the instant is the first pass through the repeated hour.
    static MKTimeSpan UtcOffset(int64_t utcTicks, bool* ambiguous);

    // Kind UTC; non-UTC values are taken as local. Clamped to the range.
    MKDateTime ToUniversalTime() const;
    // Local values stay; others are taken as UTC. Kind local or ambiguous.
    MKDateTime ToLocalTime() const;

    // Unspecified and UTC values as they are; local values as their UTC
    // instant with bit 63 set (instants before year 1 wrap below 2^62).
    int64_t ToBinary() const;
    // The inverse of ToBinary; false (out unchanged) when out of range.
    static bool FromBinary(int64_t value, MKDateTime& out);
    // FromBinary into a zero value.
    static MKDateTime MKDateTimeFromBinary(int64_t value);

    // The UTC instant as a file time (0 before 1601).
    FILETIME ToFileTime() const;
    // Milliseconds since 1970-01-01 UTC.
    int64_t ToUnixMs() const;

private:
    static constexpr uint64_t kTicksMask = 0x3FFFFFFFFFFFFFFFull;

    uint64_t m_value = 0;
};
