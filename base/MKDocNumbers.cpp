#include "base/MKDocNumbers.h"

#include <math.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

long double PowerOfTen(int exponent)
{
    long double result = 1.0L, base = 10.0L;
    for (unsigned e = unsigned(exponent); e != 0; e >>= 1) {
        if (e & 1)
            result *= base;
        base *= base;
    }
    return result;
}

}  // namespace

bool MKDocReadFloat(const char* text, int n, double* value)
{
    int i = 0;
    bool negative = i < n && text[i] == '-';
    if (negative)
        ++i;
    long double mantissa = 0;
    int scale = 0;  // decimal exponent of the mantissa's last digit
    for (; i < n && IsDigit(text[i]); ++i)
        mantissa = mantissa * 10 + (text[i] - '0');
    if (i < n && text[i] == '.') {
        for (++i; i < n && IsDigit(text[i]); ++i) {
            mantissa = mantissa * 10 + (text[i] - '0');
            --scale;
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
    if (!isfinite(rounded)) {
        *value = 0;
        return false;
    }
    *value = rounded;
    return true;
}
