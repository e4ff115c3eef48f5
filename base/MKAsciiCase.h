#pragma once

// Case folding of the letters A-Z only, the same under every locale: for
// protocol names, switches and keys that are ASCII by definition.

inline wchar_t MKAsciiLower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? wchar_t(c + (L'a' - L'A')) : c;
}

// Compares n characters ignoring ASCII case: negative, 0 or positive as a
// folded character of a sorts before, equal to or after b's. Stops early at a
// terminator common to both.
inline int MKAsciiCompareNoCase(const wchar_t* a, const wchar_t* b, int n)
{
    for (int i = 0; i < n; ++i) {
        wchar_t x = MKAsciiLower(a[i]);
        wchar_t y = MKAsciiLower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            break;
    }
    return 0;
}

// The same for two zero-terminated texts.
inline int MKAsciiCompareNoCase(const wchar_t* a, const wchar_t* b)
{
    for (;; ++a, ++b) {
        wchar_t x = MKAsciiLower(*a);
        wchar_t y = MKAsciiLower(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}
