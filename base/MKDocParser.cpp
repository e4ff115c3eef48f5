#include "base/MKDocParser.h"

#include "base/MKDocArray.h"
#include "base/MKDocDictionary.h"
#include "base/MKDocNumbers.h"
#include "base/MKDocScalar.h"
#include "base/MKHexDigit.h"
#include "base/MKTextBuffer.h"

#include <new>
#include <string.h>

namespace {

bool IsNameStart(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
}

bool IsNameChar(wchar_t c)
{
    return IsNameStart(c) || (c >= L'0' && c <= L'9');
}

const wchar_t* TokenName(int kind)
{
    switch (kind) {
    case MKDocTokenComma: return L",";
    case MKDocTokenColon: return L":";
    case MKDocTokenOpenBracket: return L"[";
    case MKDocTokenCloseBracket: return L"]";
    case MKDocTokenOpenBrace: return L"{";
    case MKDocTokenCloseBrace: return L"}";
    case MKDocTokenOpenParen: return L"(";
    case MKDocTokenCloseParen: return L")";
    case MKDocTokenString: return L"string";
    }
    return nullptr;
}

bool IsStringToken(int kind)
{
    return kind == MKDocTokenString || kind == MKDocTokenVerbatim;
}

wchar_t SimpleEscape(wchar_t c)
{
    switch (c) {
    case L'"': return L'"';
    case L'/': return L'/';
    case L'\\': return L'\\';
    case L'b': return 8;
    case L'f': return 12;
    case L'n': return 10;
    case L'r': return 13;
    case L't': return 9;
    }
    return 0;
}

// The node kind an identifier starts as a typed literal, or 0.
int IdentifierLiteralKind(const MKDocToken& token)
{
    struct Literal {
        const char* name;
        int kind;
    };
    static const Literal literals[] = {
        {"Guid", MKDocKindGuid}, {"Version", MKDocKindVersion}, {"DateTime", MKDocKindDateTime}};
    for (const Literal& literal : literals) {
        if (size_t(token.length) == strlen(literal.name) && memcmp(token.text, literal.name, token.length) == 0)
            return literal.kind;
    }
    return 0;
}

// A date part: 1 to 9 decimal digits and nothing else.
bool ReadDatePart(const MKString& text, int* value)
{
    return text.GetLength() <= 9 && text.IsDigits() && text.ToIntChecked(value);
}

}  // namespace

MKDocParser::MKDocParser(bool extended) : m_extended(extended) {}

void MKDocParser::Advance()
{
    m_lastLine = Current().line;
    if (CurrentKind() != MKDocTokenEnd)
        ++m_index;
}

bool MKDocParser::Expect(int kind)
{
    if (CurrentKind() == kind) {
        Advance();
        return true;
    }
    if (!m_abandoned) {
        const wchar_t* name = TokenName(kind);
        Report(m_lastLine, name ? MKString::FromFormat(L"'%s' expected", name) : MKString(L"syntax error"));
    }
    return false;
}

MKDocNode* MKDocParser::Made(MKDocNode* node)
{
    if (!node)
        Report(Current().line, MKString(L"out of memory"));
    return node;
}

MKDocNode* MKDocParser::ParseDocument(const char* text)
{
    m_errors.Clear();
    m_index = 0;
    m_lastLine = 1;
    m_depth = 0;
    m_abandoned = false;
    MKDocNode* root = nullptr;
    if (!MKDocTokenize(text, m_extended, m_tokens, m_errors))
        Report(0, MKString(L"out of memory"));
    else if (m_tokens.GetCount() == 1)
        Report(1, MKString(L"token expected"));
    else
        root = ParseValue();
    m_tokens.RemoveAll();  // they point into the caller's text
    if (!m_errors.IsEmpty()) {
        delete root;
        return nullptr;
    }
    return root;
}

MKDocNode* MKDocParser::ParseValue()
{
    const MKDocToken& token = Current();
    // Containers and typed literals (whose argument may be another literal)
    // recurse; the bound keeps hostile input from exhausting the stack.
    int literal = token.kind == MKDocTokenIdentifier ? IdentifierLiteralKind(token) : 0;
    if (literal || token.kind == MKDocTokenOpenBrace || token.kind == MKDocTokenOpenBracket) {
        if (m_depth >= kMaxDepth) {
            Report(token.line, MKString(L"nesting too deep"));
            m_abandoned = true;
            m_index = m_tokens.GetCount() - 1;
            return Made(new (std::nothrow) MKDocNull());
        }
        ++m_depth;
        MKDocNode* node = literal                              ? ParseTypedLiteral(literal)
                          : token.kind == MKDocTokenOpenBrace ? ParseDictionary()
                                                              : ParseArray();
        --m_depth;
        return node;
    }
    switch (token.kind) {
    case MKDocTokenFloat:
        return ParseFloat();
    case MKDocTokenInteger:
        return ParseInteger(false);
    case MKDocTokenHex:
        return ParseInteger(true);
    case MKDocTokenString:
    case MKDocTokenVerbatim: {
        MKString text = DecodeString(token);
        Advance();
        return Made(new (std::nothrow) MKDocString(text));
    }
    case MKDocTokenTrue:
    case MKDocTokenFalse: {
        bool value = token.kind == MKDocTokenTrue;
        Advance();
        return Made(new (std::nothrow) MKDocBool(value));
    }
    case MKDocTokenNull:
        Advance();
        return Made(new (std::nothrow) MKDocNull());
    }
    if (!m_abandoned)
        Report(token.line, MKString(L"Invalid token"));
    Advance();
    return Made(new (std::nothrow) MKDocNull());
}

MKDocNode* MKDocParser::ParseDictionary()
{
    Advance();
    MKDocDictionary* dictionary = new (std::nothrow) MKDocDictionary();
    if (!dictionary)
        return Made(nullptr);
    for (;;) {
        int kind = CurrentKind();
        if (kind == MKDocTokenCloseBrace)
            break;
        if (!IsStringToken(kind) && kind != MKDocTokenIdentifier)
            break;
        const MKDocToken& keyToken = Current();
        int keyLine = keyToken.line;
        MKString key = kind == MKDocTokenIdentifier ? MKString::FromUtf8(keyToken.text, keyToken.length)
                                                     : DecodeString(keyToken);
        Advance();
        kind = CurrentKind();
        if (kind != MKDocTokenColon && !(m_extended && kind == MKDocTokenEquals))
            Expect(MKDocTokenColon);
        Advance();
        MKDocNode* value = ParseValue();
        if (value) {
            if (dictionary->Find(key)) {
                Report(keyLine, MKString::FromFormat(L"duplicate entry for name '%s'", key.GetText()));
                delete value;
            } else if (!dictionary->Add(key, value)) {
                Made(nullptr);
            }
        }
        if (CurrentKind() == MKDocTokenCloseBrace)
            break;
        if (CurrentKind() == MKDocTokenComma)
            Advance();
        else
            Expect(MKDocTokenComma);
    }
    Expect(MKDocTokenCloseBrace);
    return dictionary;
}

MKDocNode* MKDocParser::ParseArray()
{
    Advance();
    MKDocArray* array = new (std::nothrow) MKDocArray();
    if (!array)
        return Made(nullptr);
    for (;;) {
        int kind = CurrentKind();
        if (kind == MKDocTokenCloseBracket || kind == MKDocTokenEnd)
            break;
        MKDocNode* value = ParseValue();
        if (value && !array->Add(value))
            Made(nullptr);
        kind = CurrentKind();
        if (kind == MKDocTokenComma)
            Advance();
        else if (kind == MKDocTokenCloseBracket || kind == MKDocTokenEnd)
            break;
        else
            Expect(MKDocTokenComma);
    }
    Expect(MKDocTokenCloseBracket);
    return array;
}

MKDocNode* MKDocParser::ParseFloat()
{
    const MKDocToken& token = Current();
    double value;
    if (!MKDocReadFloat(token.text, token.length, &value))
        Report(token.line, MKString(L"Number overflow"));
    Advance();
    return Made(new (std::nothrow) MKDocDouble(value));
}

MKDocNode* MKDocParser::ParseInteger(bool hex)
{
    const MKDocToken& token = Current();
    const char* text = token.text;
    int n = token.length;
    bool negative = n > 0 && text[0] == '-';
    bool wide = n > 0 && (text[n - 1] == 'L' || text[n - 1] == 'l');
    if (wide)
        --n;
    int i = (negative ? 1 : 0) + (hex ? 2 : 0);
    bool overflow = hex && n - i > 16;
    uint64_t magnitude = 0;
    for (; i < n && !overflow; ++i) {
        unsigned digit = unsigned(MKHexDigitValue(wchar_t(uint8_t(text[i]))));
        if (hex) {
            magnitude = magnitude << 4 | digit;
        } else if (magnitude > (UINT64_MAX - digit) / 10) {
            overflow = true;
        } else {
            magnitude = magnitude * 10 + digit;
        }
    }
    if (negative && magnitude > uint64_t(1) << 63)
        overflow = true;
    if (overflow) {
        Report(token.line, MKString(L"Integer overflow"));
        magnitude = 0;
    }
    Advance();
    if (wide || magnitude > (negative ? uint64_t(1) << 31 : uint64_t(UINT32_MAX))) {
        int64_t value = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
        return Made(new (std::nothrow) MKDocInt64(value));
    }
    // Values from 2^31 to 2^32 - 1 keep their low 32 bits.
    int32_t value = int32_t(negative ? 0u - uint32_t(magnitude) : uint32_t(magnitude));
    return Made(new (std::nothrow) MKDocInt32(value));
}

MKDocNode* MKDocParser::ParseTypedLiteral(int kind)
{
    int line = Current().line;
    Advance();
    Expect(MKDocTokenOpenParen);
    MKString text;
    bool haveText = false;
    if (IsStringToken(CurrentKind())) {
        text = DecodeString(Current());
        line = Current().line;
        haveText = true;
        Advance();
    } else {
        Expect(MKDocTokenString);
        // Whatever stands there instead is skipped as a value.
        if (CurrentKind() != MKDocTokenCloseParen && CurrentKind() != MKDocTokenEnd)
            delete ParseValue();
    }
    Expect(MKDocTokenCloseParen);
    // Without its text the literal keeps its default value; the parse fails.
    if (kind == MKDocKindGuid)
        return haveText ? MakeGuid(text, line) : Made(new (std::nothrow) MKDocGuid());
    if (kind == MKDocKindVersion)
        return haveText ? MakeVersion(text, line) : Made(new (std::nothrow) MKDocVersion());
    return haveText ? MakeDateTime(text, line) : Made(new (std::nothrow) MKDocDateTime());
}

MKDocNode* MKDocParser::MakeGuid(const MKString& text, int line)
{
    MKString digits = text;
    bool braced = !text.IsEmpty() && text[0] == L'{';
    if (braced)
        digits = text.Substring(1, text.GetLength() - (text.EndsWith(L"}", false) ? 2 : 1));
    MKGuid guid;
    if ((braced && !text.EndsWith(L"}", false)) || !guid.Parse(digits.GetText()))
        Report(line, MKString(L"Invalid Guid format"));
    return Made(new (std::nothrow) MKDocGuid(guid));
}

MKDocNode* MKDocParser::MakeVersion(const MKString& text, int line)
{
    MKVersion version;
    if (!MKVersion::Parse(text.GetText(), version))
        Report(line, MKString(L"Invalid Version format"));
    return Made(new (std::nothrow) MKDocVersion(version));
}

MKDocNode* MKDocParser::MakeDateTime(const MKString& text, int line)
{
    MKTOArray<MKString> parts;
    text.Split(L"-", false, parts);
    int year = 0, month = 0, day = 0;
    const wchar_t* problem = nullptr;
    if (parts.GetCount() != 3)
        problem = L"Invalid DateTime format";
    else if (!ReadDatePart(parts[0], &year))
        problem = L"Invalid Year in DateTime format";
    else if (!ReadDatePart(parts[1], &month))
        problem = L"Invalid Month in DateTime format";
    else if (!ReadDatePart(parts[2], &day))
        problem = L"Invalid Day in DateTime format";
    else if (!MKIsValidDate(year, month, day))
        problem = L"Invalid DateTime format";
    MKDateTime value;
    if (problem)
        Report(line, MKString(problem));
    else
        value = MKDateTime::FromParts(year, month, day, 0, 0, 0, MKDateTimeUtc);
    return Made(new (std::nothrow) MKDocDateTime(value));
}

bool MKDocParser::SubstituteVariable(const MKString& raw, int& i, int line, MKTextBuffer& out)
{
    int n = raw.GetLength();
    if (i + 1 < n && raw[i + 1] == L'$') {
        i += 2;
        return out.AppendChar(L'$');
    }
    // Documents of the update service define no variables and may hold a
    // plain "$"; only once a variable is defined do names and a lone "$" count.
    bool strict = m_variables.GetCount() > 0;
    if (strict && i + 1 < n && IsNameStart(raw[i + 1])) {
        int end = i + 2;
        while (end < n && IsNameChar(raw[end]))
            ++end;
        MKString name = raw.Substring(i + 1, end - i - 1);
        i = end;
        MKString value;
        if (m_variables.Get(name, value))
            return out.AppendText(value.GetText());
        Report(line, MKString::FromFormat(L"unknown variable '%s'", name.GetText()));
        return true;
    }
    if (strict)
        Report(line, MKString(L"'$' should specify a variable, please use '$$'"));
    ++i;
    return out.AppendChar(L'$');
}

MKString MKDocParser::DecodeString(const MKDocToken& token)
{
    MKString raw = MKString::FromUtf8(token.text, token.length);
    bool verbatim = token.kind == MKDocTokenVerbatim;
    if (raw.FindChar(verbatim ? L'"' : L'\\') < 0 && (!m_extended || raw.FindChar(L'$') < 0))
        return raw;

    MKTextBuffer out;
    const int n = raw.GetLength();
    bool ok = out.Grow(n + 1);
    for (int i = 0; ok && i < n;) {
        wchar_t c = raw[i];
        if (m_extended && c == L'$') {
            ok = SubstituteVariable(raw, i, token.line, out);
        } else if (verbatim || c != L'\\' || i + 1 == n) {
            // In verbatim strings only doubled quotes stand for something.
            ok = out.AppendChar(c);
            i += verbatim && c == L'"' && i + 1 < n && raw[i + 1] == L'"' ? 2 : 1;
        } else if (raw[i + 1] == L'u') {
            int value = 0, digits = 0;
            for (i += 2; digits < 4 && i < n && MKHexDigitValue(raw[i]) >= 0; ++i, ++digits)
                value = value * 16 + MKHexDigitValue(raw[i]);
            // No digit at all would make a zero character.
            if (digits == 0 || (digits < 4 && i == n)) {
                Report(token.line, MKString(L"invalid unicode character escape"));
                value = L'?';
            }
            ok = out.AppendChar(wchar_t(value));
        } else {
            wchar_t escaped = raw[i + 1];
            wchar_t value = SimpleEscape(escaped);
            if (!value) {
                value = escaped;
                Report(token.line, escaped >= 32 && escaped <= 126
                                       ? MKString::FromFormat(L"unrecognized character escape sequence '%c'", escaped)
                                       : MKString::FromFormat(L"unrecognized character escape sequence '0x%x'",
                                                              unsigned(escaped)));
            }
            ok = out.AppendChar(value);
            i += 2;
        }
    }
    if (!ok)
        Report(token.line, MKString(L"out of memory"));
    return out.ToString();
}
