#pragma once
#include "base/MKString.h"

#include <stdint.h>

// Version number of two to four parts; build and revision are -1 when absent
// and then sort below 0, so 1.2 < 1.2.0 < 1.2.0.0.
class MKVersion {
public:
    MKVersion() = default;
    MKVersion(int32_t major, int32_t minor, int32_t build = -1, int32_t revision = -1)
        : major(major), minor(minor), build(build), revision(revision)
    {
    }

    // -1, 0 or 1, part by part as signed numbers.
    int Compare(const MKVersion& other) const;
    bool IsLess(const MKVersion& other) const { return Compare(other) < 0; }
    bool IsGreater(const MKVersion& other) const { return Compare(other) > 0; }
    bool operator==(const MKVersion& other) const { return Compare(other) == 0; }

    // "1.2", "1.2.3" or "1.2.3.4" (the absent parts left out) into a buffer of
    // size units, cut and terminated as MKFormatToBuffer does; the full length.
    int Format(wchar_t* buffer, int size) const;
    MKString ToString() const;

    // Two to four parts split at '.', each starting with a number (leading
    // blanks and a sign allowed, anything after the digits ignored). out is
    // 0.0.-1.-1 first and gets the parts only on success.
    static bool Parse(const wchar_t* text, MKVersion& out);

    int32_t major = 0;
    int32_t minor = 0;
    int32_t build = -1;
    int32_t revision = -1;
};
