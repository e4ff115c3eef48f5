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
    int held = 0;     // bits not yet part of a whole byte
    int inGroup = 0;  // position of the next character in its group of four
    int written = 0;
    for (int i = 0; i < count && chars[i] != 0; ++i) {
        wchar_t c = chars[i];
        int v = c < 256 ? s_reverse.values[c] : -1;
        // The text ends at the first character outside the alphabet; padding
        // there must stand where a group can end (position 2 or 3).
        if (v < 0)
            return c == L'=' && inGroup < 2 ? 0 : written;
        bits = (bits << 6) | uint32_t(v);
        held += 6;
        inGroup = (inGroup + 1) % 4;
        if (held >= 8) {
            held -= 8;
            if (written >= capacity)
                return 0;
            out[written++] = uint8_t(bits >> held);
            bits &= (1u << held) - 1;
        }
    }
    return written;
}
