#pragma once
#include <stdarg.h>

#include "base/MKChar.h"

// The library's own printf-style engine for the library's text (MKChar). It
// does not depend on the run-time library's locale or printf: the same format
// gives the same text on every machine. Conversions: d i u o x X c s p n f F e E
// g G %, flags "-+ #0", width and precision (digits or '*'), sizes hh h l ll t
// z. %s takes a text of the same units (null prints "(null)"), %c one unit.

MK_TEXT_NAMESPACE_BEGIN

// Receives full buffers; answering false stops formatting.
typedef bool (*MKFormatSink)(void* user, const MKChar* chars, int count);

// Formats into buffer[0..capacity). With a sink, full buffers (and pieces longer
// than the whole buffer) are handed to it and writing restarts at the buffer's
// start; what is left is handed over before returning. Without a sink, characters
// past the capacity are dropped but counted; a capacity below 1 writes nothing.
// No terminator is written. Returns the full length of the result, or -1 when the
// sink refused or the length does not fit an int.
int MKFormatEngine(MKFormatSink sink, void* user, MKChar* buffer, int capacity, const MKChar* format,
                   va_list args);

// Formats into a buffer of size units and always terminates it (when size > 0),
// cutting the text to size - 1 units. Returns the full length, or -1.
int MKFormatToBufferV(MKChar* buffer, int size, const MKChar* format, va_list args);
int MKFormatToBuffer(MKChar* buffer, int size, const MKChar* format, ...);

enum MKFloatDigitsMode {
    MKFloatDigitsSignificant,  // n significant digits
    MKFloatDigitsFixed         // n digits after the decimal point
};

enum { MKFloatDigitsBufferSize = 512 };

// Decimal digits of |value| (finite) for the formatter, by repeated division and
// multiplication by 10 and rounding half up on the digit string. The value is
// 0.d1d2d3... x 10^(*decimalExponent); a zero value has exponent 0. n is cut to
// 510. buffer must hold MKFloatDigitsBufferSize units; it is not terminated.
// Returns the number of digits written (fewer than asked when the buffer ran out,
// none when a fixed-mode value rounds below the last kept place).
int MKFloatDigits(double value, int n, int* decimalExponent, MKFloatDigitsMode mode, MKChar* buffer,
                  bool* negative);

MK_TEXT_NAMESPACE_END
