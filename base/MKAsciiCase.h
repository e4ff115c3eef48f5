#pragma once

// Case folding of the letters A-Z only, the same under every locale: for
// protocol names, switches and keys that are ASCII by definition.

template <typename Char>
inline Char MKAsciiLower(Char c)
{
    return (c >= 'A' && c <= 'Z') ? Char(c + ('a' - 'A')) : c;
}

// Compares n characters ignoring ASCII case: negative, 0 or positive as a
// folded character of a sorts before, equal to or after b's. Stops early at a
// terminator common to both.
template <typename Char>
inline int MKAsciiCompareNoCase(const Char* a, const Char* b, int n)
{
    for (int i = 0; i < n; ++i) {
        Char x = MKAsciiLower(a[i]);
        Char y = MKAsciiLower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            break;
    }
    return 0;
}

// The same for two zero-terminated texts.
template <typename Char>
inline int MKAsciiCompareNoCase(const Char* a, const Char* b)
{
    for (;; ++a, ++b) {
        Char x = MKAsciiLower(*a);
        Char y = MKAsciiLower(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}
