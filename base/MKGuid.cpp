#include "base/MKGuid.h"

#include "base/MKClock.h"
#include "base/MKDynLib.h"
#include "base/MKHexDigit.h"
#include "base/MKRandom.h"

#include <string.h>

namespace {

typedef long(WINAPI* UuidCreateFunction)(GUID*);

const long kRpcOk = 0;
const long kRpcUuidLocalOnly = 1824;

}  // namespace

bool MKGuid::operator==(const MKGuid& other) const
{
    return memcmp(&m_guid, &other.m_guid, sizeof(GUID)) == 0;
}

bool MKGuid::Create()
{
    // Loaded on the first call and kept for the life of the process.
    static MKDynLib library;
    static UuidCreateFunction create = MKLoadProc<UuidCreateFunction>(library, L"rpcrt4.dll", "UuidCreate");
    GUID guid;
    if (create) {
        long status = create(&guid);
        if (status == kRpcOk || status == kRpcUuidLocalOnly) {
            m_guid = guid;
            return true;
        }
    }
    *this = FromSeed(MKReadTimeStampCounter());
    return true;
}

MKGuid MKGuid::FromSeed(uint64_t seed)
{
    MKRandom random(uint32_t(seed), uint32_t(seed >> 32));
    uint8_t bytes[16];
    for (uint8_t& byte : bytes)
        byte = random.NextByte();
    MKGuid result;
    memcpy(&result.m_guid, bytes, sizeof(bytes));
    result.m_guid.Data3 = uint16_t((result.m_guid.Data3 & 0x0FFF) | 0x4000);
    result.m_guid.Data4[0] = uint8_t((result.m_guid.Data4[0] & 0x3F) | 0x80);
    return result;
}

MKString MKGuid::FormatWith(const wchar_t* format) const
{
    const uint8_t* d = m_guid.Data4;
    return MKString::FromFormat(format, unsigned(m_guid.Data1), unsigned(m_guid.Data2), unsigned(m_guid.Data3),
                                d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
}

MKString MKGuid::FormatUpper() const
{
    return FormatWith(L"%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X");
}

MKString MKGuid::FormatLower() const
{
    return FormatWith(L"%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x");
}

MKString MKGuid::FormatUpperCompact() const
{
    return FormatWith(L"%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X");
}

MKString MKGuid::FormatLowerCompact() const
{
    return FormatWith(L"%08x%04x%04x%02x%02x%02x%02x%02x%02x%02x%02x");
}

bool MKGuid::Parse(const wchar_t* text)
{
    if (!text)
        return false;
    uint8_t bytes[16];
    const wchar_t* p = text;
    for (uint8_t& byte : bytes) {
        if (*p == L'-')
            ++p;
        int high = MKHexDigitValue(p[0]);
        int low = high < 0 ? -1 : MKHexDigitValue(p[1]);
        if (low < 0)
            return false;
        byte = uint8_t(high << 4 | low);
        p += 2;
    }
    if (*p)
        return false;
    // The text shows Data1, Data2 and Data3 as numbers, most significant
    // digits first; memory holds them little-endian.
    GUID guid;
    guid.Data1 = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    guid.Data2 = uint16_t(bytes[4] << 8 | bytes[5]);
    guid.Data3 = uint16_t(bytes[6] << 8 | bytes[7]);
    memcpy(guid.Data4, bytes + 8, 8);
    m_guid = guid;
    return true;
}

int CompareGuid(const MKGuid& a, const MKGuid& b)
{
    return memcmp(a.Bytes(), b.Bytes(), sizeof(GUID));
}
