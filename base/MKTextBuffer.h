#pragma once
#include "base/MKTArray.h"

#include <stdarg.h>

class MKString;

// Growable zero-terminated wide text built by appending. An empty buffer holds
// nothing, not even a terminator; otherwise its count includes the terminator.
// Appends answer false when memory runs out and leave the text as it was.
class MKTextBuffer {
public:
    MKTextBuffer() = default;
    MKTextBuffer(const MKTextBuffer&) = delete;
    MKTextBuffer& operator=(const MKTextBuffer&) = delete;

    // Characters including the terminator; 0 for an empty buffer.
    int GetCount() const { return m_chars.GetCount(); }
    // Characters without the terminator.
    int GetLength() const { return m_chars.GetCount() > 0 ? m_chars.GetCount() - 1 : 0; }
    int GetCapacity() const { return m_chars.GetCapacity(); }
    // The text; never null.
    const wchar_t* GetText() const { return m_chars.GetCount() > 0 ? m_chars.GetData() : L""; }
    // The raw characters for callers that write in place after SetSize.
    wchar_t* GetData() { return m_chars.GetData(); }

    // Makes room for n characters, terminator included, growing by half.
    bool Grow(int n) { return m_chars.Reserve(n); }
    // Sets the count (terminator included) to exactly n; the caller writes the
    // text and the terminator. n <= 0 empties the buffer.
    bool SetSize(int n) { return m_chars.SetSize(n); }

    // Appends n characters (nothing for n < 1); the text may lie inside this
    // buffer.
    bool Append(const wchar_t* text, int n);
    bool AppendChar(wchar_t c) { return Append(&c, 1); }
    // Appends a zero-terminated text; null appends nothing.
    bool AppendText(const wchar_t* text);
    bool AppendBuffer(const MKTextBuffer& other) { return Append(other.GetText(), other.GetLength()); }
    // printf-style formatting (MKFormatEngine) appended to the text; the
    // arguments may point into this buffer.
    bool AppendFormat(const wchar_t* format, ...);
    bool AppendFormatV(const wchar_t* format, va_list args);
    void Clear() { m_chars.RemoveAll(); }

    // The text as a string (empty for an empty buffer).
    MKString ToString() const;

private:
    MKTArray<wchar_t> m_chars;
};
