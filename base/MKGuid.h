#pragma once
#include "base/MKString.h"

#include <stdint.h>
#include <windows.h>

// A GUID in its usual memory layout, with creation and four text forms (no
// braces): "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" upper or lower case, and
// the same 32 digits without dashes.
class MKGuid {
public:
    MKGuid() : m_guid() {}
    explicit MKGuid(const GUID& guid) : m_guid(guid) {}

    const GUID& Get() const { return m_guid; }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(&m_guid); }
    bool operator==(const MKGuid& other) const;
    bool operator!=(const MKGuid& other) const { return !(*this == other); }

    // A new GUID from the RPC library (loaded once), or, where that is missing
    // or fails, a version-4 GUID from the 48-bit generator seeded with the
    // time-stamp counter. Always true.
    bool Create();
    // The generator's GUID for a seed: 16 bytes in memory order, then the
    // version (4) and variant bits.
    static MKGuid FromSeed(uint64_t seed);

    MKString FormatUpper() const;
    MKString ToString() const { return FormatUpper(); }
    MKString FormatLower() const;
    MKString FormatUpperCompact() const;
    MKString FormatLowerCompact() const;

    // Any of the four forms, or dashes before any byte: 32 hexadecimal digits
    // with at most one '-' before each pair and nothing else. False, leaving
    // this GUID unchanged, otherwise.
    bool Parse(const wchar_t* text);

private:
    MKString FormatWith(const wchar_t* format) const;

    GUID m_guid;
};

// Compares the 16 bytes in memory order as unsigned numbers: <0, 0 or >0.
int CompareGuid(const MKGuid& a, const MKGuid& b);
