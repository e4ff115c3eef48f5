#include "base/MKTextConvert.h"

#include "base/MKTArray.h"

#include <limits.h>
#include <wctype.h>
#include <windows.h>

int MKAnsiToWide(const char* bytes, int n, wchar_t* out, int outSize)
{
    if (!out)
        outSize = 0;
    int units = bytes && n != 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, n, out, outSize) : 0;
    if (units == 0 && outSize > 0)
        out[0] = 0;
    return units;
}

int MKWideToAnsi(const wchar_t* units, int n, char* out, int outSize)
{
    if (!out)
        outSize = 0;
    int bytes = units && n != 0 ? WideCharToMultiByte(CP_ACP, 0, units, n, out, outSize, nullptr, nullptr) : 0;
    if (bytes == 0 && outSize > 0)
        out[0] = 0;
    return bytes;
}

int MKUtf8Size(const wchar_t* units, int n)
{
    if (!units || n <= 0)
        return 0;
    int64_t size = 0;
    for (int i = 0; i < n; ++i) {
        unsigned u = units[i];
        size += u < 0x80 ? 1 : (u < 0x800 ? 2 : 3);
    }
    return size > INT_MAX ? INT_MAX : int(size);
}

int MKWideToUtf8(const wchar_t* units, int n, char* out, int outSize)
{
    if (!out || outSize <= 0)
        return MKUtf8Size(units, n);
    if (!units || n <= 0)
        return 0;
    unsigned char* p = reinterpret_cast<unsigned char*>(out);
    unsigned char* end = p + outSize;
    for (int i = 0; i < n; ++i) {
        unsigned u = units[i];
        if (u < 0x80) {
            if (end - p < 1)
                return 0;
            *p++ = (unsigned char)u;
        } else if (u < 0x800) {
            if (end - p < 2)
                return 0;
            *p++ = (unsigned char)(0xC0 | (u >> 6));
            *p++ = (unsigned char)(0x80 | (u & 0x3F));
        } else {
            if (end - p < 3)
                return 0;
            *p++ = (unsigned char)(0xE0 | (u >> 12));
            *p++ = (unsigned char)(0x80 | ((u >> 6) & 0x3F));
            *p++ = (unsigned char)(0x80 | (u & 0x3F));
        }
    }
    return int(p - reinterpret_cast<unsigned char*>(out));
}

namespace {

// Bytes a UTF-8 sequence takes by its lead byte; 1 for bytes that cannot lead.
inline int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC0 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    return 1;
}

}  // namespace

int MKUtf8Length(const char* bytes, int n)
{
    if (!bytes || n <= 0)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    int units = 0;
    for (int i = 0; i < n;) {
        ++units;
        int length = SequenceLength(p[i]);
        if (length > n - i)
            break;  // a sequence cut by the end counts once and ends the text
        i += length;
    }
    return units;
}

int MKUtf8ToWide(const char* bytes, int n, wchar_t* out, int outSize)
{
    if (!out || outSize <= 0)
        return MKUtf8Length(bytes, n);
    if (!bytes || n <= 0)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    int written = 0;
    for (int i = 0; i < n;) {
        if (written == outSize)
            return 0;
        unsigned lead = p[i];
        if (lead < 0x80) {
            out[written++] = wchar_t(lead);
            ++i;
            continue;
        }
        int length = SequenceLength((unsigned char)lead);
        if (length == 1 || length > n - i) {
            // Stray continuation byte, a byte that cannot lead, or a cut sequence.
            out[written++] = L'?';
            ++i;
            continue;
        }
        unsigned codePoint = lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            unsigned next = p[i + k];
            if ((next & 0xC0) != 0x80)
                valid = false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        out[written++] = valid && codePoint <= 0xFFFF ? wchar_t(codePoint) : L'?';
        i += length;
    }
    return written;
}

int MKWideToUtf8Array(const wchar_t* units, int n, MKByteArray& out)
{
    int size = MKUtf8Size(units, n);
    if (size >= INT_MAX || !out.SetSize(size + 1)) {
        out.RemoveAll();
        return 0;
    }
    uint8_t* bytes = out.GetData();
    if (size == n) {
        for (int i = 0; i < n; ++i)
            bytes[i] = uint8_t(units[i]);
    } else if (size > 0) {
        MKWideToUtf8(units, n, reinterpret_cast<char*>(bytes), size);
    }
    bytes[size] = 0;
    return size;
}

namespace {

// Writes the decimal digits of value and a terminator; returns their number.
int UnsignedToText(uint64_t value, wchar_t* out)
{
    wchar_t digits[20];
    int count = 0;
    do {
        digits[count++] = wchar_t(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = 0; i < count; ++i)
        out[i] = digits[count - 1 - i];
    out[count] = 0;
    return count;
}

// The shared reader of MKTextToInt and MKTextToUInt: magnitude up to the limit
// of the sign read.
int ReadDecimal(const wchar_t* text, bool allowMinus, uint32_t positiveLimit, uint32_t negativeLimit,
                uint32_t* magnitude, bool* negative)
{
    *magnitude = 0;
    *negative = false;
    if (!text)
        return 0;
    const wchar_t* p = text;
    while (*p != 0 && iswspace(*p))
        ++p;
    if (*p == L'+') {
        ++p;
    } else if (*p == L'-' && allowMinus) {
        *negative = true;
        ++p;
    }
    uint32_t limit = *negative ? negativeLimit : positiveLimit;
    uint32_t value = 0;
    const wchar_t* digits = p;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        uint32_t digit = uint32_t(*p - L'0');
        if (value > (limit - digit) / 10)
            return 0;
        value = value * 10 + digit;
    }
    if (p == digits)
        return 0;
    *magnitude = value;
    return int(p - text);
}

}  // namespace

int MKIntToText(int value, wchar_t* out)
{
    if (value >= 0)
        return UnsignedToText(uint32_t(value), out);
    out[0] = L'-';
    return 1 + UnsignedToText(0u - uint32_t(value), out + 1);
}

int MKUInt64ToText(uint64_t value, wchar_t* out)
{
    return UnsignedToText(value, out);
}

int MKHexToText(uint32_t value, wchar_t* out)
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    int count = 1;
    for (uint32_t rest = value >> 4; rest != 0; rest >>= 4)
        ++count;
    for (int i = count - 1; i >= 0; --i, value >>= 4)
        out[i] = kDigits[value & 15];
    out[count] = 0;
    return count;
}

int MKTextToInt(const wchar_t* text, int* out)
{
    uint32_t magnitude;
    bool negative;
    int used = ReadDecimal(text, true, 2147483647u, 2147483648u, &magnitude, &negative);
    if (out)
        *out = used == 0 ? 0 : (negative ? int(0u - magnitude) : int(magnitude));
    return used;
}

int MKTextToUInt(const wchar_t* text, uint32_t* out)
{
    uint32_t magnitude;
    bool negative;
    int used = ReadDecimal(text, false, 4294967295u, 0, &magnitude, &negative);
    if (out)
        *out = magnitude;
    return used;
}

bool MKTextToIntChecked(const wchar_t* text, int* out)
{
    return MKTextToInt(text, out) > 0;
}
