#pragma once

// The value of an ASCII hexadecimal digit of either case; -1 for any other
// character, so a caller can test and convert in one step.
inline int MKHexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}
