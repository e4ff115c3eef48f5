#include "base/MKTextBuffer.h"

#include "base/MKAlloc.h"
#include "base/MKFormat.h"
#include "base/MKString.h"

#include <wchar.h>

bool MKTextBuffer::Append(const wchar_t* text, int n)
{
    if (n < 1)
        return true;
    int count = m_chars.GetCount();
    const wchar_t* start = m_chars.GetData();
    ptrdiff_t inside = (start && text >= start && text < start + m_chars.GetCapacity()) ? text - start : -1;
    if (count == 0) {
        // A fresh buffer gets exactly the room it needs.
        if (n > INT32_MAX - 1 || !m_chars.SetSize(n + 1))
            return false;
    } else {
        if (n > INT32_MAX - count || !m_chars.Reserve(count + n))
            return false;
        m_chars.SetSize(count + n);  // within the capacity: cannot fail
    }
    wchar_t* chars = m_chars.GetData();
    if (inside >= 0)
        text = chars + inside;
    int at = count > 0 ? count - 1 : 0;
    memmove(chars + at, text, size_t(n) * sizeof(wchar_t));
    chars[at + n] = 0;
    return true;
}

bool MKTextBuffer::AppendText(const wchar_t* text)
{
    if (!text)
        return true;
    size_t n = wcslen(text);
    return n <= size_t(INT32_MAX) && Append(text, int(n));
}

MKString MKTextBuffer::ToString() const
{
    return MKString::MKStringFromChars(GetText(), GetLength());
}

bool MKTextBuffer::AppendFormat(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    bool ok = AppendFormatV(format, args);
    va_end(args);
    return ok;
}

bool MKTextBuffer::AppendFormatV(const wchar_t* format, va_list args)
{
    wchar_t local[256];
    va_list again;
    va_copy(again, args);
    int length = MKFormatToBufferV(local, 256, format, args);
    bool ok;
    if (length < 0) {
        ok = false;
    } else if (length < 256) {
        ok = Append(local, length);
    } else {
        // The arguments may point into the buffer, which growing would move.
        wchar_t* text = length < INT32_MAX ? static_cast<wchar_t*>(MKAlloc(sizeof(wchar_t) * (size_t(length) + 1)))
                                           : nullptr;
        ok = text != nullptr;
        if (ok) {
            MKFormatToBufferV(text, length + 1, format, again);
            ok = Append(text, length);
            MKFree(text);
        }
    }
    va_end(again);
    return ok;
}
