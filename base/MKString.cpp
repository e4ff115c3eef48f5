#include "base/MKString.h"

#include "base/MKAlloc.h"
#include "base/MKAsciiCase.h"
#include "base/MKFormat.h"
#include "base/MKStringTokenizer.h"
#include "base/MKTArray.h"
#include "base/MKTOArray.h"
#include "base/MKTextConvert.h"

#include <limits.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>
#include <windows.h>
#include <oleauto.h>

MK_TEXT_NAMESPACE_BEGIN

namespace {

// The block every empty string points at. Constant-initialised read-only data,
// so it exists before any static constructor runs, and its count is never
// changed: empty strings are made on every thread, and unlocked counts on one
// shared block would race. Its count keeps it from ever looking unshared.
struct EmptyBlock {
    int32_t length;
    int32_t capacity;
    int32_t refs;
    MKChar chars[2];
};
constinit const EmptyBlock kEmptyBlock = {0, 1, 0x3FFFFFFF, {0, 0}};

MKChar* EmptyBlockChars()
{
    return const_cast<MKChar*>(kEmptyBlock.chars);
}

const int kMaxCapacity = (INT_MAX - 16) / int(sizeof(MKChar));

// First occurrence of text[0..textLength) in chars[start..length), or -1.
int FindIn(const MKChar* chars, int length, const MKChar* text, int start)
{
    if (!text || text[0] == 0)
        return -1;
    if (start < 0)
        start = 0;
    if (start >= length)
        return -1;
    size_t textLength = MKCharLength(text);
    if (textLength > size_t(length - start))
        return -1;
    const MKChar* last = chars + length - textLength;
    for (const MKChar* p = chars + start; p <= last; ++p) {
        p = MKCharFind(p, text[0], size_t(last - p) + 1);
        if (!p)
            return -1;
        if (MKCharCompare(p + 1, text + 1, textLength - 1) == 0)
            return int(p - chars);
    }
    return -1;
}

#ifdef MK_NARROW
// The number helpers of the text conversions write UTF-16; their digits, signs
// and letters are ASCII, the same bytes in every ANSI code page.
MKString FromAsciiUnits(const wchar_t* units, int n)
{
    char bytes[24];
    for (int i = 0; i < n; ++i)
        bytes[i] = char(units[i]);
    return MKString::MKStringFromChars(bytes, n);
}
#endif

}  // namespace

// ---- Blocks and references

const MKChar* MKString::EmptyChars()
{
    return kEmptyBlock.chars;
}

bool MKString::IsSharedEmpty() const
{
    return m_chars == kEmptyBlock.chars;
}

bool MKString::Contains(const MKChar* text) const
{
    // Compared as addresses: the text may belong to any other allocation.
    uintptr_t address = reinterpret_cast<uintptr_t>(text);
    uintptr_t first = reinterpret_cast<uintptr_t>(m_chars);
    return !IsSharedEmpty() && address >= first && address < first + size_t(GetCapacity()) * sizeof(MKChar);
}

MKChar* MKString::AllocBuffer(int length, int capacity)
{
    if (length < 0 || capacity <= length || capacity > kMaxCapacity)
        return nullptr;
    BlockHeader* header =
        static_cast<BlockHeader*>(MKAlloc(sizeof(BlockHeader) + size_t(capacity) * sizeof(MKChar)));
    if (!header)
        return nullptr;
    header->length = length;
    header->capacity = capacity;
    header->refs = 1;
    MKChar* chars = reinterpret_cast<MKChar*>(header + 1);
    chars[length] = 0;
    return chars;
}

void MKString::AddRef(MKChar* chars)
{
    if (chars != kEmptyBlock.chars)
        ++(reinterpret_cast<BlockHeader*>(chars) - 1)->refs;
}

void MKString::Release(MKChar* chars)
{
    if (chars == kEmptyBlock.chars)
        return;
    BlockHeader* header = reinterpret_cast<BlockHeader*>(chars) - 1;
    if (--header->refs <= 0)
        MKFree(header);
}

void MKString::TakeBlock(MKChar* chars)
{
    Release(m_chars);
    m_chars = chars;
}

bool MKString::MakeUnique()
{
    BlockHeader* header = Header();
    if (header->refs == 1)
        return true;
    MKChar* copy = AllocBuffer(header->length, header->capacity);
    if (!copy)
        return false;
    MKCharCopy(copy, m_chars, size_t(header->length) + 1);
    TakeBlock(copy);
    return true;
}

MKChar* MKString::PrepareOverwrite(int n)
{
    if (n < 0 || n >= kMaxCapacity)
        return nullptr;
    BlockHeader* header = Header();
    if (header->refs == 1 && header->capacity > n) {
        // No terminator yet: the caller may be copying from this very block.
        header->length = n;
        return m_chars;
    }
    MKChar* fresh = AllocBuffer(n, n + 1);
    if (!fresh)
        return nullptr;
    TakeBlock(fresh);
    return m_chars;
}

MKChar* MKString::GrowBy(int k)
{
    BlockHeader* header = Header();
    if (k < 0 || k >= kMaxCapacity - header->length)
        return nullptr;
    int length = header->length + k;
    if (header->refs != 1) {
        MKChar* fresh = AllocBuffer(length, length + 1);
        if (!fresh)
            return nullptr;
        MKCharCopy(fresh, m_chars, size_t(header->length) + 1);
        TakeBlock(fresh);
        return m_chars;
    }
    if (header->capacity < length + 1) {
        BlockHeader* grown =
            static_cast<BlockHeader*>(MKRealloc(header, sizeof(BlockHeader) + size_t(length + 1) * sizeof(MKChar)));
        if (!grown)
            return nullptr;
        grown->capacity = length + 1;
        header = grown;
        m_chars = reinterpret_cast<MKChar*>(grown + 1);
    }
    header->length = length;
    m_chars[length] = 0;
    return m_chars;
}

void MKString::SetLength(int n)
{
    int length = GetLength();
    if (n < 0)
        n = 0;
    if (n >= length || !MakeUnique())
        return;
    Header()->length = n;
    m_chars[n] = 0;
}

// ---- Construction and assignment

MKString::MKString() : m_chars(EmptyBlockChars()) {}

MKString::MKString(const MKString& other) : m_chars(other.m_chars)
{
    AddRef(m_chars);
}

MKString::MKString(MKString&& other) noexcept : m_chars(other.m_chars)
{
    other.m_chars = EmptyBlockChars();
}

MKString::MKString(const MKChar* text) : m_chars(EmptyBlockChars())
{
    AssignText(text);
}

MKString::~MKString()
{
    Release(m_chars);
}

MKString& MKString::operator=(const MKString& other)
{
    if (m_chars != other.m_chars) {
        AddRef(other.m_chars);
        TakeBlock(other.m_chars);
    }
    return *this;
}

MKString& MKString::operator=(MKString&& other) noexcept
{
    if (this != &other) {
        TakeBlock(other.m_chars);
        other.m_chars = EmptyBlockChars();
    }
    return *this;
}

MKString& MKString::operator=(const MKChar* text)
{
    AssignText(text);
    return *this;
}

MKString MKString::MKStringFromText(const MKChar* text)
{
    return MKString(text);
}

MKString MKString::MKStringFromChars(const MKChar* text, int n)
{
    MKString s;
    s.Assign(text, n);
    return s;
}

MKString MKString::MKStringFromAnsi(const char* text)
{
    MKString s;
    if (text)
        s.AssignAnsi(text, int(strnlen(text, INT_MAX)));
    return s;
}

MKString MKString::MKStringFromRepeat(MKChar c, int n)
{
    MKString s;
    if (n > 0) {
        if (MKChar* chars = s.PrepareOverwrite(n)) {
            MKCharSet(chars, c, size_t(n));
            chars[n] = 0;
        }
    }
    return s;
}

MKString MKString::FromUtf8(const char* bytes, int n)
{
    MKString s;
    s.AssignUtf8(bytes, n);
    return s;
}

MKString MKString::FromUtf8Array(const MKByteArray& bytes)
{
    int n = bytes.GetCount();
    if (n > 0 && bytes[n - 1] == 0)
        --n;
    return FromUtf8(reinterpret_cast<const char*>(bytes.GetData()), n);
}

#ifdef MK_NARROW
#define MK_NUMBER_TEXT FromAsciiUnits
#else
#define MK_NUMBER_TEXT MKStringFromChars
#endif

MKString MKString::FromInt(int value)
{
    wchar_t text[12];
    return MK_NUMBER_TEXT(text, MKIntToText(value, text));
}

MKString MKString::FromUInt64(uint64_t value)
{
    wchar_t text[21];
    return MK_NUMBER_TEXT(text, MKUInt64ToText(value, text));
}

MKString MKString::FromHex(uint32_t value)
{
    wchar_t text[9];
    return MK_NUMBER_TEXT(text, MKHexToText(value, text));
}

#undef MK_NUMBER_TEXT

void MKString::Assign(const MKChar* text, int n)
{
    if (!text || n <= 0) {
        Clear();
        return;
    }
    BlockHeader* header = Header();
    if (Contains(text) && !(header->refs == 1 && header->capacity > n)) {
        // Our own characters: copy them before the block may go.
        MKChar* fresh = AllocBuffer(n, n + 1);
        if (!fresh)
            return;
        MKCharCopy(fresh, text, size_t(n));
        TakeBlock(fresh);
        return;
    }
    MKChar* chars = PrepareOverwrite(n);
    if (!chars)
        return;
    MKCharMove(chars, text, size_t(n));
    chars[n] = 0;
}

void MKString::AssignText(const MKChar* text)
{
    if (!text || text[0] == 0) {
        Clear();
        return;
    }
    size_t length = MKCharLength(text);
    Assign(text, length > size_t(INT_MAX) ? INT_MAX : int(length));
}

void MKString::Clear()
{
    // By the length, not the first character: a string prepared for writing
    // may begin with 0 and still hold a length. An empty block is kept.
    if (GetLength() == 0)
        return;
    TakeBlock(EmptyBlockChars());
}

#ifdef MK_NARROW

MKString::MKString(const wchar_t* wide) : m_chars(EmptyBlockChars())
{
    if (wide)
        AssignWide(wide, int(wcsnlen(wide, INT_MAX)));
}

MKString& MKString::operator=(const wchar_t* wide)
{
    if (wide)
        AssignWide(wide, int(wcsnlen(wide, INT_MAX)));
    else
        Clear();
    return *this;
}

void MKString::AssignWide(const wchar_t* wide, int n)
{
    if (!wide || n <= 0) {
        Clear();
        return;
    }
    int bytes = MKWideToAnsi(wide, n, nullptr, 0);
    if (bytes <= 0) {
        Clear();
        return;
    }
    char* chars = PrepareOverwrite(bytes);
    if (!chars)
        return;
    int written = MKWideToAnsi(wide, n, chars, bytes);
    Header()->length = written;
    chars[written] = 0;
}

void MKString::AssignAnsi(const char* bytes, int n)
{
    Assign(bytes, n);
}

void MKString::AssignUtf8(const char* bytes, int n)
{
    if (!bytes || n <= 0) {
        Clear();
        return;
    }
    // Through UTF-16: the code page may not hold every character.
    int units = MKUtf8Length(bytes, n);
    wchar_t* wide = static_cast<wchar_t*>(MKAlloc(size_t(units) * sizeof(wchar_t)));
    if (!wide)
        return;
    MKUtf8ToWide(bytes, n, wide, units);
    AssignWide(wide, units);
    MKFree(wide);
}

#else

void MKString::AssignAnsi(const char* bytes, int n)
{
    if (!bytes || n <= 0) {
        Clear();
        return;
    }
    MKChar* chars = PrepareOverwrite(n);  // one byte never makes more than one unit
    if (!chars)
        return;
    int units = MKAnsiToWide(bytes, n, chars, n);
    Header()->length = units;
    chars[units] = 0;
}

void MKString::AssignUtf8(const char* bytes, int n)
{
    if (!bytes || n <= 0) {
        Clear();
        return;
    }
    int units = MKUtf8Length(bytes, n);
    MKChar* chars = PrepareOverwrite(units);
    if (!chars)
        return;
    MKUtf8ToWide(bytes, n, chars, units);
    chars[units] = 0;
}

#endif

// ---- Comparison and search

bool MKString::Equals(const MKString& other) const
{
    if (m_chars == other.m_chars)
        return true;
    int length = GetLength();
    return length == other.GetLength() && MKCharCompare(m_chars, other.m_chars, size_t(length)) == 0;
}

bool MKString::EqualsText(const MKChar* text) const
{
    return text && MKCharStrCompare(m_chars, text) == 0;
}

int MKString::FindChar(MKChar c, int start) const
{
    int length = GetLength();
    if (c == 0)
        return -1;
    if (start < 0)
        start = 0;
    if (start >= length)
        return -1;
    const MKChar* found = MKCharFind(m_chars + start, c, size_t(length - start));
    return found ? int(found - m_chars) : -1;
}

int MKString::Find(const MKChar* text, int start) const
{
    return FindIn(m_chars, GetLength(), text, start);
}

int MKString::ReverseFindChar(MKChar c) const
{
    return ReverseFindCharFrom(c, GetLength() - 1);
}

int MKString::ReverseFindCharFrom(MKChar c, int start) const
{
    if (c == 0)
        return -1;
    int length = GetLength();
    if (start >= length)
        start = length - 1;
    for (int i = start; i >= 0; --i) {
        if (m_chars[i] == c)
            return i;
    }
    return -1;
}

bool MKString::EndsWith(const MKChar* text, bool ignoreCase) const
{
    if (!text)
        return false;
    size_t textLength = MKCharLength(text);
    int length = GetLength();
    if (textLength > size_t(length))
        return false;
    const MKChar* tail = m_chars + length - textLength;
    if (ignoreCase)
        return MKAsciiCompareNoCase(tail, text, int(textLength)) == 0;
    return MKCharCompare(tail, text, textLength) == 0;
}

bool MKString::IsDigits() const
{
    int length = GetLength();
    if (length < 1 || length > 15)
        return false;
    for (int i = 0; i < length; ++i) {
        if (m_chars[i] < MKT('0') || m_chars[i] > MKT('9'))
            return false;
    }
    return true;
}

#ifndef MK_NARROW
int BstrFind(const wchar_t* bstr, const wchar_t* text, int start)
{
    if (!bstr)
        return -1;
    return FindIn(bstr, int(SysStringLen(const_cast<BSTR>(bstr))), text, start);
}
#endif

// ---- Changes in place

void MKString::Append(const MKChar* text, int n)
{
    if (!text || n <= 0)
        return;
    int length = GetLength();
    if (!Contains(text)) {
        MKChar* chars = GrowBy(n);
        if (!chars)
            return;
        MKCharCopy(chars + length, text, size_t(n));
        return;
    }
    // A piece of our own block: build the new block before the old one goes.
    if (n >= kMaxCapacity - length)
        return;
    MKChar* fresh = AllocBuffer(length + n, length + n + 1);
    if (!fresh)
        return;
    MKCharCopy(fresh, m_chars, size_t(length));
    MKCharCopy(fresh + length, text, size_t(n));
    TakeBlock(fresh);
}

void MKString::AppendString(const MKString& other)
{
    Append(other.m_chars, other.GetLength());
}

void MKString::AppendText(const MKChar* text)
{
    if (text) {
        size_t length = MKCharLength(text);
        Append(text, length > size_t(INT_MAX) ? INT_MAX : int(length));
    }
}

void MKString::SetAt(int index, MKChar c)
{
    if (m_chars[index] != c && MakeUnique())
        m_chars[index] = c;
}

void MKString::ReplaceChar(MKChar from, MKChar to)
{
    if (from == 0 || to == 0 || from == to)
        return;
    int first = FindChar(from, 0);
    if (first < 0 || !MakeUnique())
        return;
    int length = GetLength();
    for (int i = first; i < length; ++i) {
        if (m_chars[i] == from)
            m_chars[i] = to;
    }
}

int MKString::Replace(const MKChar* find, const MKChar* with)
{
    int length = GetLength();
    if (length == 0 || !find || find[0] == 0)
        return 0;
    int findLength = int(MKCharLengthMax(find, size_t(length) + 1));
    if (findLength > length)
        return 0;

    // Non-overlapping matches from the left: the text inserted for one match is
    // never searched again.
    int count = 0;
    for (int at = Find(find, 0); at >= 0; at = Find(find, at + findLength))
        ++count;
    if (count == 0)
        return 0;

    // Texts that point into our own block are copied before the block changes.
    MKString findCopy;
    MKString withCopy;
    if (!with)
        with = MKT("");
    if (Contains(find)) {
        findCopy = find;
        find = findCopy.GetText();
    }
    if (Contains(with)) {
        withCopy = with;
        with = withCopy.GetText();
    }
    int withLength = int(MKCharLength(with));
    int64_t newLength = int64_t(length) + int64_t(count) * (withLength - findLength);
    if (newLength >= kMaxCapacity)
        return 0;

    // Grow (or unshare) first, move the old text to the end of the block, then
    // write from the front: the write position never passes the read position.
    MKChar* chars = newLength > length ? GrowBy(int(newLength - length)) : (MakeUnique() ? m_chars : nullptr);
    if (!chars)
        return 0;
    int read = int(newLength) > length ? int(newLength) - length : 0;
    if (read > 0)
        MKCharMove(chars + read, chars, size_t(length));
    int end = read + length;
    int write = 0;
    while (read < end) {
        if (chars[read] == find[0] && end - read >= findLength &&
            MKCharCompare(chars + read, find, size_t(findLength)) == 0) {
            MKCharCopy(chars + write, with, size_t(withLength));
            write += withLength;
            read += findLength;
        } else {
            chars[write++] = chars[read++];
        }
    }
    Header()->length = write;
    chars[write] = 0;
    return count;
}

int MKString::RemoveChar(MKChar c)
{
    int first = FindChar(c, 0);
    if (first < 0 || !MakeUnique())
        return 0;
    int length = GetLength();
    int write = first;
    for (int read = first; read < length; ++read) {
        if (m_chars[read] != c)
            m_chars[write++] = m_chars[read];
    }
    Header()->length = write;
    m_chars[write] = 0;
    return length - write;
}

int MKString::Remove(int start, int count)
{
    int length = GetLength();
    if (start < 0)
        start = 0;
    if (start >= length)
        return length;
    if (count > length - start)
        count = length - start;
    if (count <= 0 || !MakeUnique())
        return length;
    MKCharMove(m_chars + start, m_chars + start + count, size_t(length - start - count) + 1);
    Header()->length = length - count;
    return length - count;
}

void MKString::TrimRightChar(MKChar c)
{
    if (c == 0)
        return;
    int end = GetLength();
    while (end > 0 && m_chars[end - 1] == c)
        --end;
    SetLength(end);
}

void MKString::TrimRight()
{
    int end = GetLength();
    while (end > 0 && MKCharIsSpace(m_chars[end - 1]))
        --end;
    SetLength(end);
}

void MKString::TrimLeft()
{
    int start = 0;
    int length = GetLength();
    while (start < length && MKCharIsSpace(m_chars[start]))
        ++start;
    Remove(0, start);
}

void MKString::MakeLower()
{
    int length = GetLength();
    int first = 0;
    while (first < length && !(m_chars[first] >= MKT('A') && m_chars[first] <= MKT('Z')))
        ++first;
    if (first == length || !MakeUnique())
        return;
    for (int i = first; i < length; ++i)
        m_chars[i] = MKAsciiLower(m_chars[i]);
}

// ---- New strings

MKString MKString::Concat(const MKString& a, const MKString& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    MKString result = a;
    result.AppendString(b);
    return result;
}

MKString operator+(const MKString& s, const MKChar* text)
{
    if (!text || text[0] == 0)
        return s;
    MKString result = s;
    result.AppendText(text);
    return result;
}

MKString MKString::PrependText(const MKChar* text, const MKString& s)
{
    if (!text || text[0] == 0)
        return s;
    MKString result(text);
    result.AppendString(s);
    return result;
}

MKString MKString::ConcatChar(const MKString& s, MKChar c)
{
    MKString result;
    int length = s.GetLength();
    if (MKChar* chars = result.PrepareOverwrite(length + 1)) {
        MKCharCopy(chars, s.m_chars, size_t(length));
        chars[length] = c;
        chars[length + 1] = 0;
    }
    return result;
}

void MKString::SubstringInto(int start, int count, MKString& out) const
{
    int length = GetLength();
    if (start < 0)
        start = 0;
    if (count < 0)
        count = 0;
    if (start > length || count == 0) {
        out.Clear();
        return;
    }
    if (count > length - start)
        count = length - start;
    if (start == 0 && count == length)
        out = *this;
    else
        out.Assign(m_chars + start, count);
}

MKString MKString::Substring(int start, int count) const
{
    MKString result;
    SubstringInto(start, count, result);
    return result;
}

MKString MKString::Left(int n) const
{
    if (n < 1)
        return MKString();
    if (n < GetLength())
        return MKStringFromChars(m_chars, n);
    return *this;
}

void MKString::MidInto(int start, MKString& out) const
{
    SubstringInto(start, GetLength() - start, out);
}

MKString MKString::Mid(int start) const
{
    MKString result;
    MidInto(start, result);
    return result;
}

MKString MKString::ToLower() const
{
    MKString result = *this;
    result.MakeLower();
    return result;
}

void MKSplitText(const MKChar* text, const MKChar* separators, bool skipEmpty, MKTOArray<MKString>& out)
{
    MKStringTokenizer tokenizer(text, separators, skipEmpty);
    int length = 0;
    while (const MKChar* token = tokenizer.Next(&length))
        out.Add(MKString::MKStringFromChars(token, length));
}

void MKString::Split(const MKChar* separators, bool skipEmpty, MKTOArray<MKString>& out) const
{
    out.RemoveAll();
    MKSplitText(m_chars, separators, skipEmpty, out);
}

#ifdef MK_NARROW

wchar_t* MKString::ToBstr() const
{
    int length = GetLength();
    int units = length ? MKAnsiToWide(m_chars, length, nullptr, 0) : 0;
    BSTR bstr = SysAllocStringLen(nullptr, UINT(units));
    if (bstr && units)
        MKAnsiToWide(m_chars, length, bstr, units);
    return bstr;
}

int MKString::ToUtf8(MKByteArray& out) const
{
    int length = GetLength();
    wchar_t* wide = ToBstr();
    if (!wide && length)
        return 0;
    int bytes = MKWideToUtf8Array(wide, int(SysStringLen(wide)), out);
    SysFreeString(wide);
    return bytes;
}

bool MKString::ToIntChecked(int* out) const
{
    // Digits, signs and blanks are ASCII; anything else ends the number.
    wchar_t units[64];
    int n = GetLength() < 63 ? GetLength() : 63;
    for (int i = 0; i < n; ++i)
        units[i] = wchar_t(static_cast<unsigned char>(m_chars[i]));
    units[n] = 0;
    return MKTextToIntChecked(units, out);
}

#else

wchar_t* MKString::ToBstr() const
{
    return SysAllocStringLen(m_chars, UINT(GetLength()));
}

int MKString::ToUtf8(MKByteArray& out) const
{
    return MKWideToUtf8Array(m_chars, GetLength(), out);
}

bool MKString::ToIntChecked(int* out) const
{
    return MKTextToIntChecked(m_chars, out);
}

#endif

// ---- Formatting

void MKString::FormatV(const MKChar* format, va_list args)
{
    if (!format) {
        Clear();
        return;
    }
    MKChar local[512];
    va_list first;
    va_copy(first, args);
    int length = MKFormatToBufferV(local, 512, format, first);
    va_end(first);
    if (length < 0) {
        Clear();
        return;
    }
    if (length < 512) {
        if (MKChar* chars = PrepareOverwrite(length))
            MKCharCopy(chars, local, size_t(length) + 1);
        return;
    }
    // The arguments may point into this string: format into a new block and
    // only then let the old one go.
    MKChar* fresh = AllocBuffer(length, length + 1);
    if (!fresh)
        return;
    MKFormatToBufferV(fresh, length + 1, format, args);
    TakeBlock(fresh);
}

void MKString::Format(const MKChar* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

MKString MKString::FromFormat(const MKChar* format, ...)
{
    MKString result;
    va_list args;
    va_start(args, format);
    result.FormatV(format, args);
    va_end(args);
    return result;
}

MK_TEXT_NAMESPACE_END
