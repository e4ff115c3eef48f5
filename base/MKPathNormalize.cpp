#include "base/MKAlloc.h"
#include "base/MKAsciiCase.h"
#include "base/MKPath.h"

#include <wchar.h>
#include <windows.h>

namespace {

const int kBufferSize = MAX_PATH;  // room for MKMaxPathLength characters and a terminator

bool IsTrailingBlank(wchar_t c)
{
    return (c >= 9 && c <= 13) || c == L' ' || c == 0x85 || c == 0xA0;
}

// The result as it is built; characters beyond MKMaxPathLength fail it.
class PathWriter {
public:
    bool Put(wchar_t c)
    {
        if (m_length >= MKMaxPathLength)
            return false;
        m_chars[m_length++] = c;
        return true;
    }
    bool PutRange(const wchar_t* text, int n)
    {
        for (int i = 0; i < n; ++i) {
            if (!Put(text[i]))
                return false;
        }
        return true;
    }
    void Reset() { m_length = 0; }
    int GetLength() const { return m_length; }
    wchar_t operator[](int i) const { return m_chars[i]; }
    wchar_t* Chars()
    {
        m_chars[m_length] = 0;
        return m_chars;
    }
    void ExpandLongName() { m_length = MKLongPathInPlace(Chars(), m_length); }
    bool StartsWithNoCase(const wchar_t* prefix, int n) const
    {
        return m_length >= n && MKAsciiCompareNoCase(m_chars, prefix, n) == 0;
    }

private:
    wchar_t m_chars[kBufferSize];
    int m_length = 0;
};

// A component made only of dots and blanks, held back from text[start] on:
// it must be one or more dots, optionally followed by blanks, and is written
// as "." or "..". Three or more dots straight after a drive's ':' fail.
bool WriteDotComponent(const wchar_t* text, int start, int dots, bool afterVolume, PathWriter& out)
{
    if (text[start] != L'.')
        return false;
    if (dots >= 2) {
        if (afterVolume && dots > 2)
            return false;
        if (text[start + 1] != L'.')
            return false;
        for (int i = start + 2; i < start + dots; ++i) {
            if (text[i] != L'.')
                return false;
        }
        return out.Put(L'.') && out.Put(L'.');
    }
    return out.Put(L'.');
}

// The folding pass over text[0..length): everything but the system calls.
// Sets *tildeInLast when the last component held a '~' not yet expanded.
bool FoldPath(const wchar_t* text, int length, PathWriter& out, bool* tildeInLast)
{
    int index = 0;
    int lastKept = -1;  // index of the last character written or separator seen
    if (length > 0 && MKIsPathSeparator(text[0])) {
        out.Put(L'\\');
        index = 1;
        lastKept = 0;
    }
    int dots = 0;
    int blanks = 0;
    int significant = 0;  // characters of the component other than held-back dots and blanks
    bool separatorWritten = false;
    bool afterVolume = false;
    bool firstComponent = true;
    bool tilde = false;

    for (; index < length; ++index) {
        wchar_t c = text[index];
        if (MKIsPathSeparator(c)) {
            if (significant == 0) {
                if (dots > 0) {
                    if (!WriteDotComponent(text, lastKept + 1, dots, afterVolume, out))
                        return false;
                    separatorWritten = false;
                }
                // " \\server": the blanks go, both separators stay.
                if (blanks > 0 && firstComponent && index + 1 < length && MKIsPathSeparator(text[index + 1])) {
                    if (!out.Put(L'\\'))
                        return false;
                }
            }
            dots = 0;
            blanks = 0;
            if (!separatorWritten) {
                separatorWritten = true;
                if (!out.Put(L'\\'))
                    return false;
            }
            significant = 0;
            lastKept = index;
            afterVolume = false;
            firstComponent = false;
            if (tilde) {
                out.ExpandLongName();
                tilde = false;
            }
        } else if (c == L'.') {
            ++dots;
        } else if (c == L' ') {
            ++blanks;
        } else {
            if (c == L'~')
                tilde = true;
            separatorWritten = false;
            if (firstComponent && c == L':') {
                // Only "C:" (after leading blanks at most), never ":" or "c :" or "C.:".
                wchar_t drive = index > 0 ? text[index - 1] : L' ';
                if (dots > 0 || significant < 1 || drive == L' ')
                    return false;
                afterVolume = true;
                if (significant > 1) {
                    int leading = 0;
                    while (leading < out.GetLength() && out[leading] == L' ')
                        ++leading;
                    if (significant - leading == 1) {
                        out.Reset();
                        out.Put(drive);
                    }
                }
                significant = 0;
            } else {
                significant += 1 + dots + blanks;
            }
            // Held-back dots and blanks inside a name are written as they were.
            if (dots > 0 || blanks > 0) {
                int from = lastKept + 1;
                if (!out.PutRange(text + from, index - from))
                    return false;
                dots = 0;
                blanks = 0;
            }
            if (!out.Put(c))
                return false;
            lastKept = index;
        }
    }
    // Trailing dots and blanks of a name are dropped; "." and ".." stay.
    if (significant == 0 && dots > 0 && !WriteDotComponent(text, lastKept + 1, dots, afterVolume, out))
        return false;
    *tildeInLast = tilde;
    return out.GetLength() > 0;
}

// GetFullPathNameW of the written text into out; false when it fails or the
// result does not fit.
bool MakeFull(PathWriter& out)
{
    wchar_t full[kBufferSize + 1];
    const wchar_t* input = out.Chars();
    DWORD needed = GetFullPathNameW(input, kBufferSize + 1, full, nullptr);
    if (needed > kBufferSize + 1) {
        // Only an over-long intermediate form; the result may still fit.
        wchar_t* big = static_cast<wchar_t*>(MKAlloc(needed * sizeof(wchar_t)));
        if (!big)
            return false;
        DWORD got = GetFullPathNameW(input, needed, big, nullptr);
        bool ok = got > 0 && got < needed && got <= kBufferSize;
        if (ok) {
            out.Reset();
            out.PutRange(big, int(got));
        }
        MKFree(big);
        return ok;
    }
    if (needed == 0 || needed > kBufferSize)
        return false;
    out.Reset();
    return out.PutRange(full, int(needed));
}

// A full path holding '~': its long form, else the long form of its folder
// followed by the last component (a name that does not exist yet).
void ExpandFullLongName(PathWriter& out)
{
    bool tilde = false;
    for (int i = 0; i < out.GetLength() && !tilde; ++i)
        tilde = out[i] == L'~';
    if (!tilde)
        return;
    wchar_t chars[kBufferSize];
    int length = out.GetLength();
    wmemcpy(chars, out.Chars(), size_t(length) + 1);
    if (GetLongPathNameW(chars, nullptr, 0) != 0) {
        out.ExpandLongName();
        return;
    }
    int slash = length - 1;
    while (slash >= 0 && chars[slash] != L'\\')
        --slash;
    if (slash < 0)
        return;
    wchar_t folder[kBufferSize];
    wmemcpy(folder, chars, size_t(slash));
    folder[slash] = 0;
    int folderLength = MKLongPathInPlace(folder, slash);
    int nameLength = length - slash;  // with its separator
    if (folderLength + nameLength > MKMaxPathLength)
        return;
    out.Reset();
    out.PutRange(folder, folderLength);
    out.PutRange(chars + slash, nameLength);
}

// "\\", "\\server" and "\\server\" name no share.
bool IsBareUncServer(PathWriter& out)
{
    int length = out.GetLength();
    if (length < 2 || out[0] != L'\\' || out[1] != L'\\')
        return false;
    int i = 2;
    while (i < length && out[i] != L'\\')
        ++i;
    return i + 1 >= length;
}

}  // namespace

int MKLongPathInPlace(wchar_t* buffer, int length)
{
    wchar_t longer[kBufferSize];
    DWORD got = GetLongPathNameW(buffer, longer, kBufferSize);
    if (got == 0 || got >= DWORD(kBufferSize))
        return length;
    wmemcpy(buffer, longer, size_t(got) + 1);
    return int(got);
}

bool MKPathNormalize(const MKString& path, MKString& out, bool fullCheck)
{
    const wchar_t* text = path.GetText();
    int length = path.GetLength();
    if (fullCheck) {
        while (length > 0 && IsTrailingBlank(text[length - 1]))
            --length;
        if (!MKPathHasValidChars(path.Left(length)))
            return false;
    }
    PathWriter result;
    bool tilde = false;
    if (!FoldPath(text, length, result, &tilde))
        return false;
    if (fullCheck) {
        if (result.GetLength() >= 5 &&
            (result.StartsWithNoCase(L"http:", 5) || result.StartsWithNoCase(L"file:", 5)))
            return false;
        if (tilde)
            result.ExpandLongName();
        if (!MakeFull(result))
            return false;
        ExpandFullLongName(result);
        if (IsBareUncServer(result))
            return false;
    }
    if (result.GetLength() > 13 && result.StartsWithNoCase(L"\\\\?\\globalroot", 14))
        return false;
    // The writer never holds more than MKMaxPathLength characters.
    if (result.GetLength() == path.GetLength() && wmemcmp(result.Chars(), text, size_t(result.GetLength())) == 0)
        out = path;
    else
        out = MKString::MKStringFromChars(result.Chars(), result.GetLength());
    return true;
}

MKString MKPathCanonicalize(const MKString& path, bool* success)
{
    MKString out;
    bool ok = MKPathNormalize(path, out, true);
    if (success)
        *success = ok;
    return ok ? out : path;
}

MKString MKPathFull(const MKString& path)
{
    return MKPathCanonicalize(path, nullptr);
}

MKString MKPathNormalizeLoose(const MKString& path)
{
    MKString out;
    return MKPathNormalize(path, out, false) ? out : path;
}
