#include "base/MKQueryParams.h"

#include "base/MKHexDigit.h"
#include "base/MKStringTokenizer.h"
#include "base/MKTArray.h"

namespace {

inline bool KeptAsIs(uint8_t b)
{
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '-' || b == '.' ||
           b == '_' || b == '~';
}

MKString BytesToString(const MKByteArray& bytes)
{
    MKString text;
    int n = bytes.GetCount();
    if (wchar_t* chars = n > 0 ? text.PrepareOverwrite(n) : nullptr) {
        for (int i = 0; i < n; ++i)
            chars[i] = wchar_t(bytes[i]);
        chars[n] = 0;
    }
    return text;
}

// Decodes n characters, each taken as one byte, and reads the bytes as UTF-8.
MKString DecodeRange(const wchar_t* chars, int n)
{
    MKByteArray bytes;
    if (n <= 0 || !bytes.SetSize(n))
        return MKString();
    uint8_t* out = bytes.GetData();
    int written = 0;
    for (int i = 0; i < n; ++i) {
        uint8_t b = uint8_t(chars[i]);
        if (b == '+') {
            b = ' ';
        } else if (b == '%' && i + 2 < n) {
            int high = MKHexDigitValue(wchar_t(chars[i + 1] & 0xFF));
            int low = MKHexDigitValue(wchar_t(chars[i + 2] & 0xFF));
            if (high >= 0 && low >= 0) {
                b = uint8_t(high * 16 + low);
                i += 2;
            }
        }
        // A zero byte would end the text early wherever it is used as a C string.
        out[written++] = b == 0 ? ' ' : b;
    }
    return MKString::FromUtf8(reinterpret_cast<const char*>(out), written);
}

}  // namespace

bool MKUrlEncodeAppend(const MKString& text, MKByteArray& out)
{
    if (text.IsEmpty())
        return true;
    MKByteArray utf8;
    int n = text.ToUtf8(utf8);
    if (n <= 0)
        return false;
    static const char kHex[] = "0123456789ABCDEF";
    // At most three bytes out for each byte in: reserve once.
    if (n > (INT32_MAX - out.GetCount()) / 3 || !out.Reserve(out.GetCount() + 3 * n))
        return false;
    const uint8_t* bytes = utf8.GetData();
    for (int i = 0; i < n; ++i) {
        uint8_t b = bytes[i];
        if (b == ' ') {
            out.Add('+');
        } else if (KeptAsIs(b)) {
            out.Add(b);
        } else {
            if (b == 0)
                b = ' ';  // a zero byte is sent as a space
            out.Add('%');
            out.Add(uint8_t(kHex[b >> 4]));
            out.Add(uint8_t(kHex[b & 15]));
        }
    }
    return true;
}

bool MKQueryParams::Set(const MKString& name, const MKString& value)
{
    for (int i = 0; i < m_pairs.GetCount(); ++i) {
        if (m_pairs[i].name.Equals(name)) {
            m_pairs[i].value = value;
            return true;
        }
    }
    Pair pair;
    pair.name = name;
    pair.value = value;
    return m_pairs.Add(pair);
}

void MKQueryParams::Parse(const wchar_t* text)
{
    m_pairs.RemoveAll();
    if (!text || text[0] == 0)
        return;
    if (text[0] == L'?')
        ++text;
    MKStringTokenizer parts(text, L"&", false);
    int length = 0;
    while (const wchar_t* part = parts.Next(&length)) {
        int nameLength = 0;
        while (nameLength < length && part[nameLength] != L'=')
            ++nameLength;
        MKString name = DecodeRange(part, nameLength);
        name.TrimLeft();
        name.TrimRight();
        if (name.IsEmpty())
            continue;
        int valueStart = nameLength < length ? nameLength + 1 : length;
        Set(name, DecodeRange(part + valueStart, length - valueStart));
    }
}

bool MKQueryParams::Render(MKByteArray& out, bool withQuestionMark) const
{
    out.RemoveAll();
    for (int i = 0; i < m_pairs.GetCount(); ++i) {
        bool ok = ((i == 0 && !withQuestionMark) || out.Add(i == 0 ? '?' : '&')) &&
                  MKUrlEncodeAppend(m_pairs[i].name, out) && out.Add('=') && MKUrlEncodeAppend(m_pairs[i].value, out);
        if (!ok) {
            out.RemoveAll();
            return false;
        }
    }
    return true;
}

MKString MKQueryParams::ToString(bool withQuestionMark) const
{
    MKByteArray bytes;
    Render(bytes, withQuestionMark);
    return BytesToString(bytes);
}

MKString MKUrlEncode(const MKString& text)
{
    MKByteArray bytes;
    if (!MKUrlEncodeAppend(text, bytes))
        return MKString();
    return BytesToString(bytes);
}

MKString MKUrlDecode(const MKString& text)
{
    return DecodeRange(text.GetText(), text.GetLength());
}
