#include "base/MKDocWriter.h"

#include "base/MKDocNode.h"
#include "base/MKDocNumbers.h"
#include "base/MKFormat.h"
#include "base/MKTextBuffer.h"

#include <math.h>

namespace {

bool IsNameStart(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}

bool IsNameChar(wchar_t c)
{
    return IsNameStart(c) || (c >= L'0' && c <= L'9');
}

// Whether the parser reads the name back as an identifier key; the keywords
// would read as values.
bool IsBareName(const MKString& name)
{
    int n = name.GetLength();
    if (n == 0 || !IsNameStart(name[0]))
        return false;
    for (int i = 1; i < n; ++i) {
        if (!IsNameChar(name[i]))
            return false;
    }
    return !name.EqualsText(L"true") && !name.EqualsText(L"false") && !name.EqualsText(L"null");
}

const wchar_t* ShortEscape(wchar_t c)
{
    switch (c) {
    case 8: return L"\\b";
    case 9: return L"\\t";
    case 10: return L"\\n";
    case 12: return L"\\f";
    case 13: return L"\\r";
    case L'"': return L"\\\"";
    case L'\\': return L"\\\\";
    }
    return nullptr;
}

}  // namespace

bool MKDocWriteQuoted(MKTextBuffer& out, const MKString& text)
{
    if (!out.AppendChar(L'"'))
        return false;
    const wchar_t* chars = text.GetText();
    int n = text.GetLength();
    int plain = 0;  // start of the run of characters written as they are
    for (int i = 0; i < n; ++i) {
        wchar_t c = chars[i];
        if (c >= 32 && c <= 126 && c != L'"' && c != L'\\')
            continue;
        if (!out.Append(chars + plain, i - plain))
            return false;
        plain = i + 1;
        const wchar_t* escape = ShortEscape(c);
        wchar_t unicode[8];
        if (!escape) {
            MKFormatToBuffer(unicode, 8, L"\\u%04X", unsigned(c));
            escape = unicode;
        }
        if (!out.AppendText(escape))
            return false;
    }
    return out.Append(chars + plain, n - plain) && out.AppendChar(L'"');
}

bool MKDocWriteName(MKTextBuffer& out, const MKString& name)
{
    return IsBareName(name) ? out.AppendText(name.GetText()) : MKDocWriteQuoted(out, name);
}

bool MKDocWriteDouble(MKTextBuffer& out, double value)
{
    wchar_t text[40];
    int n = MKFormatToBuffer(text, 40, L"%g", value);
    // Texts of infinities and NaN read back as nothing; they stay as "%g" gave them.
    for (int precision = 7; precision <= 17 && isfinite(value); ++precision) {
        char narrow[40];
        for (int i = 0; i < n && i < 40; ++i)
            narrow[i] = char(text[i]);
        double back;
        if (n <= 0 || n >= 40 || (MKDocReadFloat(narrow, n, &back) && back == value))
            break;
        n = MKFormatToBuffer(text, 40, L"%.*g", precision, value);
    }
    return n > 0 && n < 40 && out.Append(text, n);
}

MKString MKDocToText(const MKDocNode& node, bool typed)
{
    MKTextBuffer out;
    return node.WriteText(out, MKString(), typed) ? out.ToString() : MKString();
}
