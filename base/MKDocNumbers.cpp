#include "base/MKDocNumbers.h"

#include <float.h>
#include <math.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// 10^(2^i): exact up to 10^16, correctly rounded literals above, so a product
// of a few of them stays well inside a double's rounding step.
const long double s_powersOfTen[] = {1e1L,  1e2L,   1e4L,   1e8L,   1e16L,   1e32L,  1e64L,
                                     1e128L, 1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L};

// 10^exponent for exponent >= 0; infinite above the long double range.
long double PowerOfTen(int exponent)
{
    if (exponent >= 8192)
        return HUGE_VALL;
    long double result = 1.0L;
    for (int i = 0; exponent != 0; ++i, exponent >>= 1) {
        if (exponent & 1)
            result *= s_powersOfTen[i];
    }
    return result;
}

}  // namespace

bool MKDocReadFloat(const char* text, int n, double* value)
{
    // Hosts often run the x87 unit at double precision; the reading needs its
    // full 64-bit mantissa.
    unsigned int precision = _controlfp(0, 0) & _MCW_PC;
    _controlfp(_PC_64, _MCW_PC);
    int i = 0;
    bool negative = i < n && text[i] == '-';
    if (negative)
        ++i;
    // The mantissa keeps 19 significant digits, exact in the 64-bit mantissa
    // and more than a double holds; later digits only move the scale, so long
    // digit runs cannot overflow it.
    const long double kFullMantissa = 1e18L;
    long double mantissa = 0;
    int scale = 0;  // decimal exponent of the mantissa's last digit
    for (; i < n && IsDigit(text[i]); ++i) {
        if (mantissa < kFullMantissa)
            mantissa = mantissa * 10 + (text[i] - '0');
        else
            ++scale;
    }
    if (i < n && text[i] == '.') {
        for (++i; i < n && IsDigit(text[i]); ++i) {
            if (mantissa < kFullMantissa) {
                mantissa = mantissa * 10 + (text[i] - '0');
                --scale;
            }
        }
    }
    if (i + 1 < n && (text[i] == 'e' || text[i] == 'E')) {
        int j = i + 1;
        bool negativeExponent = text[j] == '-';
        if (text[j] == '-' || text[j] == '+')
            ++j;
        int exponent = 0;
        for (; j < n && IsDigit(text[j]); ++j) {
            if (exponent < 100000)
                exponent = exponent * 10 + (text[j] - '0');
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    // Dividing by an exact power of ten rounds once, where multiplying by its
    // inexact inverse would round twice.
    long double result = mantissa == 0 ? 0.0L
                         : scale >= 0  ? mantissa * PowerOfTen(scale)
                                       : mantissa / PowerOfTen(-scale);
    double rounded = double(negative ? -result : result);
    _controlfp(precision, _MCW_PC);
    if (!isfinite(rounded)) {
        *value = 0;
        return false;
    }
    *value = rounded;
    return true;
}
