#include "base/MKXmlEscape.h"

#include "base/MKTextBuffer.h"

namespace {

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The replacement for chars[i], or null when it stays; *pairLength is 2 for a
// surrogate pair, which stays as it is.
const wchar_t* Replacement(const wchar_t* chars, int i, int n, int* pairLength)
{
    *pairLength = 1;
    wchar_t c = chars[i];
    switch (c) {
    case L'<': return L"&lt;";
    case L'>': return L"&gt;";
    case L'"': return L"&quot;";
    case L'\'': return L"&apos;";
    case L'&': return L"&amp;";
    case L'\t': return L"&#9;";
    case L'\n': return L"&#10;";
    case L'\r': return L"&#13;";
    case 0xFFFE:
    case 0xFFFF: return L"\xFFFD";
    }
    if (c < 0x20)
        return L"\xFFFD";
    if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(chars[i + 1])) {
        *pairLength = 2;
        return nullptr;
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c))
        return L"\xFFFD";
    return nullptr;
}

}  // namespace

MKString MKXmlEscape(const MKString& text)
{
    const wchar_t* chars = text.GetText();
    int n = text.GetLength();
    int step = 1;
    int first = 0;
    while (first < n && !Replacement(chars, first, n, &step))
        first += step;
    if (first == n)
        return text;

    MKTextBuffer out;
    bool ok = out.Grow(n + n / 4 + 8) && out.Append(chars, first);
    for (int i = first; ok && i < n; i += step) {
        const wchar_t* replacement = Replacement(chars, i, n, &step);
        ok = replacement ? out.AppendText(replacement) : out.Append(chars + i, step);
    }
    return ok ? out.ToString() : MKString();
}
