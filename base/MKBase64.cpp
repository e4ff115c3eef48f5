#include "base/MKBase64.h"

#include "base/MKDigitTable.h"

namespace {

const char s_alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr MKDigitTable ReverseTable()
{
    MKDigitTable table(s_alphabet, 64);
    table.values[uint8_t(' ')] = 62;  // a '+' turned into a space by form decoding
    return table;
}

constexpr MKDigitTable s_reverse = ReverseTable();

}  // namespace

int MKBase64Encode(const uint8_t* bytes, int n, wchar_t* out)
{
    int written = 0;
    int i = 0;
    for (; i + 3 <= n; i += 3) {
        uint32_t v = (uint32_t(bytes[i]) << 16) | (uint32_t(bytes[i + 1]) << 8) | bytes[i + 2];
        out[written++] = wchar_t(s_alphabet[v >> 18]);
        out[written++] = wchar_t(s_alphabet[(v >> 12) & 63]);
        out[written++] = wchar_t(s_alphabet[(v >> 6) & 63]);
        out[written++] = wchar_t(s_alphabet[v & 63]);
    }
    if (n - i == 1) {
        uint32_t v = uint32_t(bytes[i]) << 16;
        out[written++] = wchar_t(s_alphabet[v >> 18]);
        out[written++] = wchar_t(s_alphabet[(v >> 12) & 63]);
        out[written++] = L'=';
        out[written++] = L'=';
    } else if (n - i == 2) {
        uint32_t v = (uint32_t(bytes[i]) << 16) | (uint32_t(bytes[i + 1]) << 8);
        out[written++] = wchar_t(s_alphabet[v >> 18]);
        out[written++] = wchar_t(s_alphabet[(v >> 12) & 63]);
        out[written++] = wchar_t(s_alphabet[(v >> 6) & 63]);
        out[written++] = L'=';
    }
    out[written] = 0;
    return written;
}

MKString MKBase64EncodeString(const uint8_t* bytes, int n)
{
    MKString text;
    if (n <= 0 || n > (INT32_MAX - 4) / 4 * 3)
        return text;
    wchar_t* chars = text.PrepareOverwrite((n + 2) / 3 * 4);
    if (chars)
        MKBase64Encode(bytes, n, chars);
    return text;
}

int MKBase64Decode(const wchar_t* chars, int count, uint8_t* out, int capacity)
{
    uint32_t bits = 0;
    int inGroup = 0;  // characters of the current group of four
    int padding = 0;
    int written = 0;
    int i = 0;
    for (; i < count && chars[i] != 0; ++i) {
        wchar_t c = chars[i];
        if (c == L'=') {
            // Padding stands only at positions 2 and 3 of a group.
            if (inGroup + padding < 2 || inGroup + padding >= 4)
                return 0;
            ++padding;
            continue;
        }
        int v = c < 256 ? s_reverse.values[c] : -1;
        if (v < 0 || padding > 0)
            return 0;
        bits = (bits << 6) | uint32_t(v);
        if (++inGroup == 4) {
            if (capacity - written < 3)
                return 0;
            out[written++] = uint8_t(bits >> 16);
            out[written++] = uint8_t(bits >> 8);
            out[written++] = uint8_t(bits);
            bits = 0;
            inGroup = 0;
        }
    }
    if (inGroup == 1 || (padding > 0 && inGroup + padding != 4))
        return 0;
    int tail = inGroup == 0 ? 0 : inGroup - 1;
    if (capacity - written < tail)
        return 0;
    if (inGroup == 2) {
        out[written++] = uint8_t(bits >> 4);
    } else if (inGroup == 3) {
        out[written++] = uint8_t(bits >> 10);
        out[written++] = uint8_t(bits >> 2);
    }
    return written;
}
