#include "base/MKFormat.h"

#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <string.h>
#include <wchar.h>

MK_TEXT_NAMESPACE_BEGIN

namespace {

const int kMaxPrecision = 510;
// Longest float field body: 309 integer digits (plus one from rounding), the
// point and 510 fraction digits; the exponent form is shorter.
const int kFloatTextSize = 1024;

// Where formatted characters go: the caller's buffer, the sink, or only the count.
class FormatOutput {
public:
    FormatOutput(MKFormatSink sink, void* user, MKChar* buffer, int capacity)
        : m_sink(sink), m_user(user), m_buffer(buffer), m_capacity(buffer && capacity > 0 ? capacity : 0)
    {
    }

    void Write(const MKChar* chars, int n)
    {
        m_total += n;
        if (m_used + n <= m_capacity) {
            memcpy(m_buffer + m_used, chars, size_t(n) * sizeof(MKChar));
            m_used += n;
        } else {
            WriteOverflow(chars, n);
        }
    }

    void WriteChar(MKChar c)
    {
        ++m_total;
        if (m_used < m_capacity)
            m_buffer[m_used++] = c;
        else
            WriteOverflow(&c, 1);
    }

    void Repeat(MKChar c, int n)
    {
        if (n <= 0)
            return;
        m_total += n;
        if (m_used + n <= m_capacity) {
            MKCharSet(m_buffer + m_used, c, size_t(n));
            m_used += n;
        } else {
            RepeatOverflow(c, n);
        }
    }

    bool Failed() const { return m_failed; }
    int64_t Total() const { return m_total; }
    int Used() const { return m_used; }

    // Hands the rest of the buffer to the sink; false when it refused.
    bool Finish() { return FlushBuffer() && !m_failed; }

private:
    bool FlushBuffer()
    {
        if (m_sink && m_used > 0 && !m_failed) {
            if (!m_sink(m_user, m_buffer, m_used))
                m_failed = true;
            m_used = 0;
        }
        return !m_failed;
    }

    void WriteOverflow(const MKChar* chars, int n)
    {
        if (!m_sink) {
            // Dropped, but already counted.
            int room = m_capacity - m_used;
            if (room > 0) {
                memcpy(m_buffer + m_used, chars, size_t(room) * sizeof(MKChar));
                m_used = m_capacity;
            }
            return;
        }
        if (m_failed)
            return;
        if (n > m_capacity) {
            if (FlushBuffer() && !m_sink(m_user, chars, n))
                m_failed = true;
            return;
        }
        int room = m_capacity - m_used;
        memcpy(m_buffer + m_used, chars, size_t(room) * sizeof(MKChar));
        m_used = m_capacity;
        if (!FlushBuffer())
            return;
        memcpy(m_buffer, chars + room, size_t(n - room) * sizeof(MKChar));
        m_used = n - room;
    }

    void RepeatOverflow(MKChar c, int n)
    {
        if (!m_sink) {
            int room = m_capacity - m_used;
            if (room > 0) {
                MKCharSet(m_buffer + m_used, c, size_t(room));
                m_used = m_capacity;
            }
            return;
        }
        if (m_capacity == 0) {
            MKChar chunk[64];
            MKCharSet(chunk, c, 64);
            for (; n > 0 && !m_failed; n -= 64) {
                if (!m_sink(m_user, chunk, n < 64 ? n : 64))
                    m_failed = true;
            }
            return;
        }
        while (n > 0 && !m_failed) {
            if (m_used == m_capacity && !FlushBuffer())
                return;
            int part = m_capacity - m_used;
            if (part > n)
                part = n;
            MKCharSet(m_buffer + m_used, c, size_t(part));
            m_used += part;
            n -= part;
        }
    }

    MKFormatSink m_sink;
    void* m_user;
    MKChar* m_buffer;
    int m_capacity;
    int m_used = 0;
    int64_t m_total = 0;
    bool m_failed = false;
};

enum SizeModifier { SizeDefault, SizeChar, SizeShort, SizeLongLong };

struct ConversionSpec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // -1: none given
    SizeModifier size = SizeDefault;
};

// Writes prefix, zeros and body into a field of the conversion's width. zeroPad puts
// the width's padding between prefix and body as zeros.
void WriteField(FormatOutput& out, const ConversionSpec& spec, bool zeroPad, const MKChar* prefix, int prefixLength,
                int zeros, const MKChar* body, int bodyLength)
{
    int64_t length = int64_t(prefixLength) + zeros + bodyLength;
    int pad = spec.width > length ? int(spec.width - length) : 0;
    if (!spec.left && !zeroPad)
        out.Repeat(MKT(' '), pad);
    if (prefixLength > 0)
        out.Write(prefix, prefixLength);
    if (!spec.left && zeroPad)
        out.Repeat(MKT('0'), pad);
    out.Repeat(MKT('0'), zeros);
    out.Write(body, bodyLength);
    if (spec.left)
        out.Repeat(MKT(' '), pad);
}

// Digits of value in the given base, written backwards ending at end; returns
// the first digit.
MKChar* UnsignedDigits(uint64_t value, unsigned base, const MKChar* digitSet, MKChar* end)
{
    MKChar* p = end;
    // 64-bit division is a library call on this target; most values fit 32 bits.
    while (value > 0xFFFFFFFFu) {
        *--p = digitSet[value % base];
        value /= base;
    }
    uint32_t small = uint32_t(value);
    while (small != 0) {
        *--p = digitSet[small % base];
        small /= base;
    }
    return p;
}

MKChar SignCharacter(bool negative, const ConversionSpec& spec)
{
    if (negative)
        return MKT('-');
    if (spec.plus)
        return MKT('+');
    return spec.space ? MKT(' ') : 0;
}

void FormatInteger(FormatOutput& out, const ConversionSpec& spec, MKChar conversion, uint64_t magnitude,
                   bool negative)
{
    static const MKChar kLower[] = MKT("0123456789abcdef");
    static const MKChar kUpper[] = MKT("0123456789ABCDEF");
    unsigned base = 10;
    const MKChar* digitSet = kLower;
    if (conversion == MKT('o'))
        base = 8;
    else if (conversion == MKT('x'))
        base = 16;
    else if (conversion == MKT('X'))
        base = 16, digitSet = kUpper;

    MKChar digits[24];
    MKChar* end = digits + 24;
    MKChar* first = UnsignedDigits(magnitude, base, digitSet, end);
    int digitCount = int(end - first);
    int zeros = spec.precision > digitCount ? spec.precision - digitCount : 0;
    if (spec.precision < 0 && magnitude == 0)
        zeros = 1;  // the value 0 still shows one digit without a precision

    MKChar prefix[2];
    int prefixLength = 0;
    if (conversion == MKT('d') || conversion == MKT('i')) {
        if (MKChar sign = SignCharacter(negative, spec))
            prefix[prefixLength++] = sign;
    } else if (spec.alternate) {
        if (base == 8 && zeros == 0 && (digitCount == 0 || *first != MKT('0')))
            zeros = 1;
        else if (base == 16 && magnitude != 0)
            prefix[prefixLength++] = MKT('0'), prefix[prefixLength++] = conversion;
    }
    WriteField(out, spec, spec.zero && !spec.left && spec.precision < 0, prefix, prefixLength, zeros, first,
               digitCount);
}

// Digit i of a digit string, '0' past its end.
inline MKChar DigitAt(const MKChar* digits, int count, int i)
{
    return i < count ? digits[i] : MKT('0');
}

// Fixed notation of digits 0.d1d2... x 10^decimalExponent with fractionDigits
// after the point.
MKChar* AppendFixed(MKChar* p, const MKChar* digits, int count, int decimalExponent, int fractionDigits,
                     bool forcePoint)
{
    int next = 0;
    if (decimalExponent > 0) {
        for (; next < decimalExponent; ++next)
            *p++ = DigitAt(digits, count, next);
    } else {
        *p++ = MKT('0');
    }
    if (fractionDigits > 0 || forcePoint)
        *p++ = MKT('.');
    int leadingZeros = decimalExponent < 0 ? -decimalExponent : 0;
    if (leadingZeros > fractionDigits)
        leadingZeros = fractionDigits;
    for (int i = 0; i < leadingZeros; ++i)
        *p++ = MKT('0');
    for (int i = leadingZeros; i < fractionDigits; ++i, ++next)
        *p++ = DigitAt(digits, count, next);
    return p;
}

// Exponent notation: one digit, the point, fractionDigits digits, the letter and
// a signed exponent of at least two digits.
MKChar* AppendExponent(MKChar* p, const MKChar* digits, int count, int exponent, int fractionDigits,
                        bool forcePoint, MKChar letter, bool trimZeros)
{
    *p++ = DigitAt(digits, count, 0);
    if (fractionDigits > 0 || forcePoint) {
        *p++ = MKT('.');
        for (int i = 1; i <= fractionDigits; ++i)
            *p++ = DigitAt(digits, count, i);
        if (trimZeros) {
            while (p[-1] == MKT('0'))
                --p;
            if (p[-1] == MKT('.'))
                --p;
        }
    }
    *p++ = letter;
    *p++ = exponent < 0 ? MKT('-') : MKT('+');
    unsigned magnitude = exponent < 0 ? unsigned(-exponent) : unsigned(exponent);
    if (magnitude >= 100)
        *p++ = MKChar(MKT('0') + magnitude / 100);
    *p++ = MKChar(MKT('0') + magnitude / 10 % 10);
    *p++ = MKChar(MKT('0') + magnitude % 10);
    return p;
}

void FormatFloat(FormatOutput& out, const ConversionSpec& spec, MKChar conversion, double value)
{
    bool upper = conversion == MKT('F') || conversion == MKT('E') || conversion == MKT('G');
    MKChar sign = SignCharacter(value < 0, spec);
    int signLength = sign ? 1 : 0;
    if (isnan(value) || isinf(value)) {
        const MKChar* text = isnan(value) ? (upper ? MKT("NAN") : MKT("nan")) : (upper ? MKT("INF") : MKT("inf"));
        WriteField(out, spec, false, &sign, signLength, 0, text, 3);
        return;
    }

    MKChar digits[MKFloatDigitsBufferSize];
    MKChar text[kFloatTextSize];
    MKChar* end = text;
    int decimalExponent = 0;
    bool negative = false;
    if (conversion == MKT('f') || conversion == MKT('F')) {
        int precision = spec.precision < 0 ? 6 : spec.precision;
        int count = MKFloatDigits(value, precision, &decimalExponent, MKFloatDigitsFixed, digits, &negative);
        end = AppendFixed(text, digits, count, decimalExponent, precision, spec.alternate);
    } else if (conversion == MKT('e') || conversion == MKT('E')) {
        int precision = spec.precision < 0 ? 6 : spec.precision;
        int count =
            MKFloatDigits(value, precision + 1, &decimalExponent, MKFloatDigitsSignificant, digits, &negative);
        int exponent = value == 0 ? 0 : decimalExponent - 1;
        end = AppendExponent(text, digits, count, exponent, precision, spec.alternate, conversion, false);
    } else {
        int significant = spec.precision < 0 ? 6 : (spec.precision == 0 ? 1 : spec.precision);
        int count =
            MKFloatDigits(value, significant, &decimalExponent, MKFloatDigitsSignificant, digits, &negative);
        if (value == 0)
            decimalExponent = 1;
        int exponent = decimalExponent - 1;
        bool trim = !spec.alternate;
        if (exponent < -4 || exponent >= significant) {
            end = AppendExponent(text, digits, count, exponent, significant - 1, spec.alternate,
                                 upper ? MKT('E') : MKT('e'), trim);
        } else {
            int fractionDigits = significant - decimalExponent;
            // With a negative exponent the fraction holds the leading zeros too.
            end = AppendFixed(text, digits, count, decimalExponent, fractionDigits, spec.alternate);
            if (trim && fractionDigits > 0) {
                while (end[-1] == MKT('0'))
                    --end;
                if (end[-1] == MKT('.'))
                    --end;
            }
        }
    }
    WriteField(out, spec, spec.zero && !spec.left, &sign, signLength, 0, text, int(end - text));
}

// Reads a run of decimal digits, saturating at INT_MAX.
int ReadNumber(const MKChar*& p)
{
    int value = 0;
    for (; *p >= MKT('0') && *p <= MKT('9'); ++p) {
        int digit = *p - MKT('0');
        value = value > (INT_MAX - digit) / 10 ? INT_MAX : value * 10 + digit;
    }
    return value;
}

}  // namespace

int MKFloatDigits(double value, int n, int* decimalExponent, MKFloatDigitsMode mode, MKChar* buffer,
                  bool* negative)
{
    const int size = MKFloatDigitsBufferSize;
    if (n < 0)
        n = 0;
    if (n > kMaxPrecision)
        n = kMaxPrecision;
    *negative = value < 0;
    if (*negative)
        value = -value;

    double integerPart;
    double fraction = modf(value, &integerPart);
    int exponent = 0;
    int count = 0;
    if (integerPart != 0) {
        // Integer digits from the right; a double has at most 309 of them.
        int start = size;
        while (integerPart != 0 && start > 0) {
            double rest = modf(integerPart / 10, &integerPart);
            int digit = int((rest + 0.03) * 10);
            buffer[--start] = MKChar(MKT('0') + (digit > 9 ? 9 : digit));
            ++exponent;
        }
        count = size - start;
        memmove(buffer, buffer + start, size_t(count) * sizeof(MKChar));
    } else if (fraction > 0) {
        double scaled;
        while ((scaled = fraction * 10) < 1) {
            fraction = scaled;
            --exponent;
        }
    }
    *decimalExponent = exponent;

    // One digit more than kept decides the rounding.
    int last = mode == MKFloatDigitsFixed ? n + exponent : n;
    if (last < 0)
        return 0;
    while (count <= last && count < size) {
        double digit;
        fraction = modf(fraction * 10, &digit);
        buffer[count++] = MKChar(MKT('0') + int(digit));
    }
    if (last >= size)
        return count;  // more digits than the buffer holds: no rounding place

    int kept = last;
    int i = last;
    buffer[i] = MKChar(buffer[i] + 5);
    while (buffer[i] > MKT('9')) {
        buffer[i] = MKT('0');
        if (i > 0) {
            ++buffer[--i];
        } else {
            buffer[0] = MKT('1');
            ++*decimalExponent;
            if (mode == MKFloatDigitsFixed)
                ++kept;  // the place before the point was just created
        }
    }
    return kept;
}

int MKFormatEngine(MKFormatSink sink, void* user, MKChar* buffer, int capacity, const MKChar* format,
                   va_list args)
{
    FormatOutput out(sink, user, buffer, capacity);
    const MKChar* p = format ? format : MKT("");
    for (;;) {
        const MKChar* run = p;
        while (*p != 0 && *p != MKT('%'))
            ++p;
        if (p != run)
            out.Write(run, int(p - run));
        if (*p == 0)
            break;
        ++p;

        ConversionSpec spec;
        for (;; ++p) {
            if (*p == MKT('-'))
                spec.left = true;
            else if (*p == MKT('+'))
                spec.plus = true;
            else if (*p == MKT(' '))
                spec.space = true;
            else if (*p == MKT('#'))
                spec.alternate = true;
            else if (*p == MKT('0'))
                spec.zero = true;
            else
                break;
        }
        if (*p == MKT('*')) {
            ++p;
            int width = va_arg(args, int);
            if (width < 0) {
                spec.left = true;
                width = width == INT_MIN ? INT_MAX : -width;
            }
            spec.width = width;
        } else {
            spec.width = ReadNumber(p);
        }
        if (*p == MKT('.')) {
            ++p;
            if (*p == MKT('*')) {
                ++p;
                int precision = va_arg(args, int);
                spec.precision = precision < 0 ? 0 : precision;
            } else {
                spec.precision = ReadNumber(p);
            }
            if (spec.precision > kMaxPrecision)
                spec.precision = kMaxPrecision;
        }
        if (*p == MKT('h')) {
            ++p;
            spec.size = SizeShort;
            if (*p == MKT('h'))
                ++p, spec.size = SizeChar;
        } else if (*p == MKT('l')) {
            ++p;
            if (*p == MKT('l'))
                ++p, spec.size = SizeLongLong;
        } else if (*p == MKT('t') || *p == MKT('z')) {
            ++p;
        }
        if (*p == 0)
            break;
        MKChar conversion = *p++;

        switch (conversion) {
        case MKT('d'):
        case MKT('i'): {
            int64_t value;
            if (spec.size == SizeLongLong)
                value = va_arg(args, long long);
            else if (spec.size == SizeChar)
                value = static_cast<signed char>(va_arg(args, int));
            else if (spec.size == SizeShort)
                value = static_cast<short>(va_arg(args, int));
            else
                value = va_arg(args, int);
            uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
            FormatInteger(out, spec, conversion, magnitude, value < 0);
            break;
        }
        case MKT('u'):
        case MKT('o'):
        case MKT('x'):
        case MKT('X'): {
            uint64_t value;
            if (spec.size == SizeLongLong)
                value = va_arg(args, unsigned long long);
            else if (spec.size == SizeChar)
                value = static_cast<unsigned char>(va_arg(args, unsigned));
            else if (spec.size == SizeShort)
                value = static_cast<unsigned short>(va_arg(args, unsigned));
            else
                value = va_arg(args, unsigned);
            FormatInteger(out, spec, conversion, value, false);
            break;
        }
        case MKT('c'): {
            MKChar c = static_cast<MKChar>(va_arg(args, int));
            WriteField(out, spec, false, nullptr, 0, 0, &c, 1);
            break;
        }
        case MKT('s'): {
            const MKChar* text = va_arg(args, const MKChar*);
            if (!text)
                text = MKT("(null)");
            size_t length = spec.precision >= 0 ? MKCharLengthMax(text, size_t(spec.precision)) : MKCharLength(text);
            WriteField(out, spec, false, nullptr, 0, 0, text, length > INT_MAX ? INT_MAX : int(length));
            break;
        }
        case MKT('p'): {
            MKChar digits[16];
            uintptr_t value = reinterpret_cast<uintptr_t>(va_arg(args, void*));
            MKChar* first = UnsignedDigits(value, 16, MKT("0123456789abcdef"), digits + 16);
            if (first == digits + 16)
                *--first = MKT('0');
            out.Write(first, int(digits + 16 - first));
            break;
        }
        case MKT('n'): {
            void* target = va_arg(args, void*);
            int64_t produced = out.Total();
            if (!target)
                break;
            if (spec.size == SizeChar)
                *static_cast<signed char*>(target) = static_cast<signed char>(produced);
            else if (spec.size == SizeShort)
                *static_cast<short*>(target) = static_cast<short>(produced);
            else if (spec.size == SizeLongLong)
                *static_cast<long long*>(target) = produced;
            else
                *static_cast<int*>(target) = static_cast<int>(produced);
            break;
        }
        case MKT('f'):
        case MKT('F'):
        case MKT('e'):
        case MKT('E'):
        case MKT('g'):
        case MKT('G'):
            FormatFloat(out, spec, conversion, va_arg(args, double));
            break;
        case MKT('%'):
            out.WriteChar(MKT('%'));
            break;
        default:
            out.WriteChar(MKT('%'));
            out.WriteChar(conversion);
            break;
        }
        if (out.Failed())
            return -1;
    }
    if (!out.Finish() || out.Total() > INT_MAX)
        return -1;
    return int(out.Total());
}

int MKFormatToBufferV(MKChar* buffer, int size, const MKChar* format, va_list args)
{
    if (!buffer || size < 1)
        return MKFormatEngine(nullptr, nullptr, nullptr, 0, format, args);
    int length = MKFormatEngine(nullptr, nullptr, buffer, size - 1, format, args);
    // A length beyond INT_MAX (-1) means the buffer was filled.
    int written = length < 0 || length > size - 1 ? size - 1 : length;
    buffer[written] = 0;
    return length;
}

int MKFormatToBuffer(MKChar* buffer, int size, const MKChar* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = MKFormatToBufferV(buffer, size, format, args);
    va_end(args);
    return length;
}

MK_TEXT_NAMESPACE_END
