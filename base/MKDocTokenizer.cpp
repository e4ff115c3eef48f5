#include "base/MKDocTokenizer.h"

#include "base/MKDocErrorList.h"
#include "base/MKHexDigit.h"
#include "base/MKString.h"

#include <string.h>

namespace {

bool IsDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

bool IsNameStart(uint8_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameChar(uint8_t c)
{
    return IsNameStart(c) || IsDigit(c);
}

bool IsBlank(uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1A || c == 0xA0;
}

int PunctuationKind(uint8_t c, bool extended)
{
    switch (c) {
    case ',': return MKDocTokenComma;
    case ':': return MKDocTokenColon;
    case '[': return MKDocTokenOpenBracket;
    case ']': return MKDocTokenCloseBracket;
    case '{': return MKDocTokenOpenBrace;
    case '}': return MKDocTokenCloseBrace;
    case '(': return MKDocTokenOpenParen;
    case ')': return MKDocTokenCloseParen;
    case '=': return extended ? MKDocTokenEquals : 0;
    }
    return 0;
}

int KeywordKind(const char* word, int n)
{
    if (n == 4 && memcmp(word, "true", 4) == 0)
        return MKDocTokenTrue;
    if (n == 5 && memcmp(word, "false", 5) == 0)
        return MKDocTokenFalse;
    if (n == 4 && memcmp(word, "null", 4) == 0)
        return MKDocTokenNull;
    return 0;
}

// Walks the text once, keeping line and column; every read ahead stops at the
// terminating zero.
class Scanner {
public:
    Scanner(const char* text, bool extended, MKTArray<MKDocToken>& tokens, MKDocErrorList& errors)
        : m_p(reinterpret_cast<const uint8_t*>(text)), m_extended(extended), m_tokens(tokens), m_errors(errors)
    {
    }

    bool Run();

private:
    void Step()
    {
        ++m_p;
        ++m_column;
    }
    bool AtLineBreak() const { return *m_p == '\r' || *m_p == '\n'; }
    // Takes LF, CR or CR LF as one line end.
    void LineBreak()
    {
        if (*m_p == '\r' && m_p[1] == '\n')
            ++m_p;
        ++m_p;
        ++m_line;
        m_column = 1;
    }
    void Begin()
    {
        m_start = m_p;
        m_startLine = m_line;
        m_startColumn = m_column;
    }
    bool Emit(int kind, const uint8_t* text, const uint8_t* end);
    bool Emit(int kind) { return Emit(kind, m_start, m_p); }
    void Report(int line, const wchar_t* message) { m_errors.Add(line, MKString(message)); }

    bool ScanVerbatim();
    // From the opening quote to just past the closing one. A plain
    // string ends at a line break (reported) and keeps backslash escapes; a
    // verbatim one runs across lines and doubles its quotes.
    bool ScanQuoted(bool verbatim);
    void ScanComment();
    bool ScanNumber();
    bool ScanWord();

    const uint8_t* m_p;
    bool m_extended;
    MKTArray<MKDocToken>& m_tokens;
    MKDocErrorList& m_errors;
    int m_line = 1;
    int m_column = 1;
    const uint8_t* m_start = nullptr;
    int m_startLine = 1;
    int m_startColumn = 1;
};

bool Scanner::Emit(int kind, const uint8_t* text, const uint8_t* end)
{
    MKDocToken token = {kind,  m_startLine, m_startColumn, m_line, m_column, reinterpret_cast<const char*>(text),
                        int32_t(end - text)};
    return m_tokens.Add(token);
}

bool Scanner::Run()
{
    while (uint8_t c = *m_p) {
        if (IsBlank(c)) {
            Step();
            continue;
        }
        if (AtLineBreak()) {
            LineBreak();
            continue;
        }
        Begin();
        bool ok = true;
        if (int kind = PunctuationKind(c, m_extended)) {
            Step();
            ok = Emit(kind);
        } else if (c == '"') {
            ok = ScanQuoted(false);
        } else if (c == '@' && m_extended) {
            ok = ScanVerbatim();
        } else if (c == '/' && m_extended && (m_p[1] == '/' || m_p[1] == '*')) {
            ScanComment();
        } else if (IsDigit(c) || (c == '.' && IsDigit(m_p[1])) ||
                   (c == '-' && (IsDigit(m_p[1]) || (m_p[1] == '.' && IsDigit(m_p[2]))))) {
            ok = ScanNumber();
        } else if (IsNameStart(c)) {
            ok = ScanWord();
        } else {
            Report(m_line, L"syntax error");
            Step();
        }
        if (!ok)
            return false;
    }
    Begin();
    return Emit(MKDocTokenEnd);
}

bool Scanner::ScanVerbatim()
{
    Step();
    if (*m_p != '"') {
        Report(m_line, L"syntax error, '\"' expected");
        return true;
    }
    return ScanQuoted(true);
}

bool Scanner::ScanQuoted(bool verbatim)
{
    Step();
    const uint8_t* content = m_p;
    const uint8_t* end;
    for (;;) {
        if (*m_p == 0) {
            Report(m_startLine, L"unterminated string");
            end = m_p;
            break;
        }
        if (AtLineBreak()) {
            if (verbatim) {
                LineBreak();
                continue;
            }
            Report(m_line, L"newline in string");
            end = m_p;
            break;
        }
        if (*m_p == '"') {
            if (verbatim && m_p[1] == '"') {
                Step();
                Step();
                continue;
            }
            end = m_p;
            Step();
            break;
        }
        // A backslash takes the next character along, unless that ends the
        // line or the text (reported on the next round).
        if (!verbatim && *m_p == '\\' && m_p[1] != 0 && m_p[1] != '\r' && m_p[1] != '\n')
            Step();
        Step();
    }
    return Emit(verbatim ? MKDocTokenVerbatim : MKDocTokenString, content, end);
}

void Scanner::ScanComment()
{
    if (m_p[1] == '/') {
        while (*m_p != 0 && !AtLineBreak())
            Step();
        return;
    }
    Step();
    Step();
    for (;;) {
        if (*m_p == 0) {
            Report(m_startLine, L"Unterminated comment");
            return;
        }
        if (AtLineBreak()) {
            LineBreak();
        } else if (*m_p == '*' && m_p[1] == '/') {
            Step();
            Step();
            return;
        } else {
            Step();
        }
    }
}

bool Scanner::ScanNumber()
{
    if (*m_p == '-')
        Step();
    if (m_extended && *m_p == '0' && (m_p[1] == 'x' || m_p[1] == 'X') && MKHexDigitValue(m_p[2]) >= 0) {
        Step();
        Step();
        while (MKHexDigitValue(*m_p) >= 0)
            Step();
        if (*m_p == 'L' || *m_p == 'l')
            Step();
        return Emit(MKDocTokenHex);
    }
    bool integer = true;
    while (IsDigit(*m_p))
        Step();
    if (*m_p == '.') {
        integer = false;
        Step();
        while (IsDigit(*m_p))
            Step();
    }
    // An exponent only when digits follow, so "5else" stays a number and a word.
    if ((*m_p == 'e' || *m_p == 'E') &&
        (IsDigit(m_p[1]) || ((m_p[1] == '+' || m_p[1] == '-') && IsDigit(m_p[2])))) {
        integer = false;
        Step();
        if (*m_p == '+' || *m_p == '-')
            Step();
        while (IsDigit(*m_p))
            Step();
    }
    if (!m_extended)
        return Emit(MKDocTokenFloat);
    uint8_t suffix = *m_p;
    if (integer && (suffix == 'L' || suffix == 'l')) {
        Step();
        return Emit(MKDocTokenInteger);
    }
    if (suffix == 'F' || suffix == 'f' || suffix == 'D' || suffix == 'd') {
        Step();
        return Emit(MKDocTokenFloat);
    }
    return Emit(integer ? MKDocTokenInteger : MKDocTokenFloat);
}

bool Scanner::ScanWord()
{
    while (IsNameChar(*m_p))
        Step();
    int kind = KeywordKind(reinterpret_cast<const char*>(m_start), int(m_p - m_start));
    if (kind)
        return Emit(kind);
    if (m_extended)
        return Emit(MKDocTokenIdentifier);
    Report(m_startLine, L"syntax error");
    return true;
}

}  // namespace

bool MKDocTokenize(const char* text, bool extended, MKTArray<MKDocToken>& tokens, MKDocErrorList& errors)
{
    tokens.RemoveAll();
    Scanner scanner(text ? text : "", extended, tokens, errors);
    return scanner.Run();
}
