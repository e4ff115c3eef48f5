#include "base/MKBase85.h"

#include "base/MKDigitTable.h"

#include <string.h>

const wchar_t MKBase85DefaultAlphabet[86] =
    L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$()*+,-./:;<=>@[]^{|}";

namespace {

const wchar_t DefaultPadding = L'_';

constexpr MKDigitTable s_defaultReverse(MKBase85DefaultAlphabet, 85);

// Digit value of a character, -1 outside the alphabet.
inline int Digit(const int8_t* reverse, wchar_t c)
{
    return c < 256 ? reverse[c] : -1;
}

}  // namespace

const int8_t* MKBase85DefaultReverse()
{
    return s_defaultReverse.values;
}

void MKBase85BuildReverse(const wchar_t* alphabet, int8_t table[256])
{
    memcpy(table, MKDigitTable(alphabet, 85).values, 256);
}

int MKBase85EncodeBuffer(const wchar_t* alphabet, wchar_t padding, const int8_t*, const uint8_t* bytes, int n,
                         wchar_t* out, bool pad)
{
    int written = 0;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        uint32_t v = uint32_t(bytes[i]) | (uint32_t(bytes[i + 1]) << 8) | (uint32_t(bytes[i + 2]) << 16) |
                     (uint32_t(bytes[i + 3]) << 24);
        for (int d = 0; d < 4; ++d) {
            out[written++] = alphabet[v % 85];
            v /= 85;
        }
        out[written++] = alphabet[v];
    }
    int tail = n - i;
    if (tail > 0) {
        uint32_t v = 0;
        for (int k = tail - 1; k >= 0; --k)
            v = (v << 8) | bytes[i + k];
        for (int d = 0; d < tail; ++d) {
            out[written++] = alphabet[v % 85];
            v /= 85;
        }
        out[written++] = alphabet[v];
        if (pad) {
            for (int k = tail + 1; k < 5; ++k)
                out[written++] = padding;
        }
    }
    return written;
}

int MKBase85DecodeBuffer(const wchar_t*, wchar_t padding, const int8_t* reverse, const wchar_t* chars, int n,
                         uint8_t* out)
{
    // Groups above 2^32 - 1 (no encoder makes them) wrap: the value is taken
    // modulo 2^32, as the texts already stored were read.
    static const uint32_t weights[5] = {1, 85, 85 * 85, 85 * 85 * 85, 85u * 85 * 85 * 85};
    int written = 0;
    int i = 0;
    for (; n - i > 5; i += 5) {
        uint32_t v = 0;
        for (int k = 0; k < 5; ++k) {
            int d = Digit(reverse, chars[i + k]);
            if (d < 0)
                return 0;
            v += uint32_t(d) * weights[k];
        }
        for (int k = 0; k < 4; ++k)
            out[written++] = uint8_t(v >> (8 * k));
    }
    int tail = n - i;
    if (tail <= 0)
        return written;
    if (tail == 1)
        return 0;
    // The last group, completed with padding; padding may only end it.
    int end = 5;
    uint32_t v = 0;
    for (int k = 4; k >= 0; --k) {
        wchar_t c = k < tail ? chars[i + k] : padding;
        if (c == padding) {
            if (end != k + 1)
                return 0;
            end = k;
            continue;
        }
        int d = Digit(reverse, c);
        if (d < 0)
            return 0;
        v += uint32_t(d) * weights[k];
    }
    if (end < 2)
        return 0;
    // The low bytes only, whatever the digits above them say.
    int bytes = end - 1;
    for (int k = 0; k < bytes; ++k)
        out[written++] = uint8_t(v >> (8 * k));
    return written;
}

MKString MKBase85EncodeString(const uint8_t* bytes, int n, bool pad)
{
    MKString text;
    if (n <= 0 || n > INT32_MAX / 5 * 4 - 4)
        return text;
    int length = n / 4 * 5 + (n % 4 == 0 ? 0 : (pad ? 5 : n % 4 + 1));
    wchar_t* chars = text.PrepareOverwrite(length);
    if (chars) {
        MKBase85EncodeBuffer(MKBase85DefaultAlphabet, DefaultPadding, nullptr, bytes, n, chars, pad);
        chars[length] = 0;
    }
    return text;
}

bool MKBase85DecodeToArray(const wchar_t* chars, int n, MKByteArray& out)
{
    out.RemoveAll();
    if (n <= 0)
        return true;
    if (!out.SetSize(int(int64_t(n) * 4 / 5) + 3))
        return false;
    int produced =
        MKBase85DecodeBuffer(MKBase85DefaultAlphabet, DefaultPadding, MKBase85DefaultReverse(), chars, n, out.GetData());
    if (produced == 0) {
        // One character alone is no data, but not an error either.
        out.RemoveAll();
        return n == 1;
    }
    out.SetSize(produced);
    return true;
}

bool MKBase85DecodeString(const MKString& text, MKByteArray& out)
{
    return MKBase85DecodeToArray(text.GetText(), text.GetLength(), out);
}
