#include "slidecontrol/RegistryScript.h"

#include <stdlib.h>
#include <string.h>

// Tokens of the script: words quoted with ' or bare words, which run to
// the next white space (so '{', '}' and '=' stand apart, as GUID key names
// in braces need).
class RegistryScript::Reader {
public:
    Reader(const char* text, int length) : m_text(text), m_end(text + length) {}

    // False at the end of the text.
    bool Next(MKString& token, bool& quoted)
    {
        SkipSpace();
        quoted = false;
        if (m_at >= m_end - m_text)
            return false;
        char c = m_text[m_at];
        if (c == '\'') {
            quoted = true;
            MKString word;
            ++m_at;
            while (m_at < m_end - m_text) {
                char d = m_text[m_at++];
                if (d == '\'') {
                    if (m_at < m_end - m_text && m_text[m_at] == '\'') {
                        ++m_at;
                    } else {
                        token = word;
                        return true;
                    }
                }
                if (d == '\n')
                    ++m_line;
                word = MKString::ConcatChar(word, d);
            }
            m_broken = true;
            return false;
        }
        int start = m_at;
        while (m_at < m_end - m_text && !strchr(" \t\r\n", m_text[m_at]))
            ++m_at;
        token = MKString::MKStringFromChars(&m_text[start], m_at - start);
        return true;
    }
    // The next token without taking it; empty at the end.
    MKString Peek()
    {
        int at = m_at;
        int line = m_line;
        MKString token;
        bool quoted = false;
        if (!Next(token, quoted))
            token.Clear();
        else if (quoted)
            token = MKString("'");
        m_at = at;
        m_line = line;
        return token;
    }
    int Line() const { return m_line; }
    bool Broken() const { return m_broken; }

private:
    void SkipSpace()
    {
        while (m_at < m_end - m_text && strchr(" \t\r\n", m_text[m_at])) {
            if (m_text[m_at] == '\n')
                ++m_line;
            ++m_at;
        }
    }

    const char* m_text;
    const char* m_end;
    int m_at = 0;
    int m_line = 1;
    bool m_broken = false;
};

namespace {

bool Fail(MKString& error, int line, const char* what)
{
    error = MKString::FromFormat("line %d: %s", line, what);
    return false;
}

bool SameWord(const MKString& word, const char* text)
{
    return _stricmp(word.GetText(), text) == 0;
}

}  // namespace

void RegistryScript::Substitute(const char* name, const MKString& value)
{
    m_names.Add(MKString(name));
    m_values.Add(value);
}

MKString RegistryScript::Expand(const MKString& text) const
{
    MKString result;
    const char* p = text.GetText();
    while (*p) {
        const char* close = *p == '%' ? strchr(p + 1, '%') : nullptr;
        bool replaced = false;
        if (close) {
            MKString name = MKString::MKStringFromChars(p + 1, int(close - p - 1));
            for (int i = 0; i < m_names.GetCount(); ++i) {
                if (SameWord(name, m_names[i].GetText())) {
                    result = MKString::Concat(result, m_values[i]);
                    p = close + 1;
                    replaced = true;
                    break;
                }
            }
            if (!replaced && close == p + 1) {
                // "%%" stands for one '%'.
                result = MKString::ConcatChar(result, '%');
                p += 2;
                replaced = true;
            }
        }
        if (!replaced)
            result = MKString::ConcatChar(result, *p++);
    }
    return result;
}

bool RegistryScript::Parse(const char* text, int length, MKString& error)
{
    m_entries.RemoveAll();
    Reader reader(text, length);
    MKString token;
    bool quoted = false;
    while (reader.Next(token, quoted)) {
        if (quoted || !(SameWord(token, "HKCR") || SameWord(token, "HKCU") || SameWord(token, "HKLM") ||
                        SameWord(token, "HKEY_CLASSES_ROOT") || SameWord(token, "HKEY_CURRENT_USER") ||
                        SameWord(token, "HKEY_LOCAL_MACHINE")))
            return Fail(error, reader.Line(), "root key expected");
        MKString root = SameWord(token, "HKEY_CLASSES_ROOT")    ? MKString("HKCR")
                        : SameWord(token, "HKEY_CURRENT_USER")  ? MKString("HKCU")
                        : SameWord(token, "HKEY_LOCAL_MACHINE") ? MKString("HKLM")
                                                                : token;
        if (!reader.Next(token, quoted) || quoted || token != MKString("{"))
            return Fail(error, reader.Line(), "'{' expected");
        if (!ParseBlock(reader, root, MKString(), error))
            return false;
    }
    if (reader.Broken())
        return Fail(error, reader.Line(), "unterminated text");
    return true;
}

// After '{': entries up to the matching '}'.
bool RegistryScript::ParseBlock(Reader& reader, const MKString& root, const MKString& parent, MKString& error)
{
    MKString token;
    bool quoted = false;
    while (true) {
        if (!reader.Next(token, quoted))
            return Fail(error, reader.Line(), "'}' expected");
        if (!quoted && token == MKString("}"))
            return true;
        RegistryScriptEntry entry;
        entry.root = root;
        if (!quoted && SameWord(token, "val")) {
            entry.isValue = true;
            if (!reader.Next(token, quoted) || (!quoted && (token == MKString("=") || token == MKString("{") ||
                                                             token == MKString("}"))))
                return Fail(error, reader.Line(), "value name expected");
            entry.valueName = Expand(token);
        } else {
            if (!quoted && SameWord(token, "NoRemove")) {
                entry.removal = RegistryScriptEntry::kNoRemove;
                reader.Next(token, quoted);
            } else if (!quoted && SameWord(token, "ForceRemove")) {
                entry.removal = RegistryScriptEntry::kForceRemove;
                reader.Next(token, quoted);
            }
            if (!quoted && (token == MKString("=") || token == MKString("{") || token == MKString("}")))
                return Fail(error, reader.Line(), "key name expected");
        }
        MKString name = entry.isValue ? MKString() : Expand(token);
        entry.path = entry.isValue ? parent : parent.IsEmpty() ? name : MKString::Concat(MKString::ConcatChar(parent, '\\'), name);
        if (reader.Peek() == MKString("=")) {
            reader.Next(token, quoted);
            MKString kind;
            if (!reader.Next(kind, quoted) || quoted || !(SameWord(kind, "s") || SameWord(kind, "d")))
                return Fail(error, reader.Line(), "value type 's' or 'd' expected");
            if (!reader.Next(token, quoted))
                return Fail(error, reader.Line(), "value expected");
            entry.hasData = true;
            entry.isNumber = SameWord(kind, "d");
            entry.text = Expand(token);
            if (entry.isNumber) {
                char* end = nullptr;
                entry.number = strtoul(entry.text.GetText(), &end, 0);
                if (entry.text.IsEmpty() || *end)
                    return Fail(error, reader.Line(), "number expected");
            }
        } else if (entry.isValue) {
            return Fail(error, reader.Line(), "'=' expected");
        }
        if (!m_entries.Add(entry))
            return Fail(error, reader.Line(), "out of memory");
        if (!entry.isValue && reader.Peek() == MKString("{")) {
            reader.Next(token, quoted);
            if (!ParseBlock(reader, root, entry.path, error))
                return false;
        }
    }
}
