#pragma once
#include <stdarg.h>
#include <stdint.h>

#include "base/MKChar.h"

template <typename T>
class MKTArray;
template <typename T>
class MKTOArray;
typedef MKTArray<uint8_t> MKByteArray;

MK_TEXT_NAMESPACE_BEGIN

// Reference-counted, copy-on-write string of MKChar units (UTF-16, or 8-bit ANSI
// code page text in the narrow build), as cheap to copy as a pointer. The object is one pointer to the characters; in front of them, in the
// same MKAlloc block, stand {length, capacity including the terminator, count}.
// The characters are always terminated. Every empty string shares one static
// block that is never freed. Counts are plain (not locked): one string block
// must not be shared between threads that copy or release it at the same time.
// Sizes change exactly (no spare room): repeated appends reallocate each time.
// Null texts count as empty everywhere. When memory runs out an operation
// leaves the string as it was.
class MKString {
public:
    MKString();
    MKString(const MKString& other);
    MKString(MKString&& other) noexcept;
    // The characters up to the terminator.
    MKString(const MKChar* text);
    ~MKString();

    MKString& operator=(const MKString& other);
    MKString& operator=(MKString&& other) noexcept;
    MKString& operator=(const MKChar* text);
#ifdef MK_NARROW
    // Wide text converts to the ANSI code page (MKWideToAnsi).
    explicit MKString(const wchar_t* wide);
    MKString& operator=(const wchar_t* wide);
    void AssignWide(const wchar_t* wide, int n);
#endif

    static MKString MKStringFromText(const MKChar* text);
    // n <= 0 gives the empty string.
    static MKString MKStringFromChars(const MKChar* text, int n);
    // 8-bit text of the ANSI code page (copied as it is in the narrow build).
    static MKString MKStringFromAnsi(const char* text);
    static MKString MKStringFromRepeat(MKChar c, int n);
    // UTF-8 bytes; a byte array's trailing zero byte is not part of the text.
    static MKString FromUtf8(const char* bytes, int n);
    static MKString FromUtf8Array(const MKByteArray& bytes);
    static MKString FromInt(int value);
    static MKString FromUInt64(uint64_t value);
    // Shortest lower-case hexadecimal form, no prefix.
    static MKString FromHex(uint32_t value);
    static MKString FromFormat(const MKChar* format, ...);

    // a + b; shares a or b when the other is empty.
    static MKString Concat(const MKString& a, const MKString& b);
    // text + s; shares s when the text is null or empty.
    static MKString PrependText(const MKChar* text, const MKString& s);
    static MKString ConcatChar(const MKString& s, MKChar c);

    // The terminated characters of the shared empty block.
    static const MKChar* EmptyChars();

    int GetLength() const { return Header()->length; }
    bool IsEmpty() const { return Header()->length == 0; }
    // Terminated characters; valid while this string is neither changed nor gone.
    const MKChar* GetText() const { return m_chars; }
    MKChar operator[](int index) const { return m_chars[index]; }
    int GetCapacity() const { return Header()->capacity; }
    int GetRefCount() const { return Header()->refs; }

    // n characters (the text may be this string's own); n <= 0 clears.
    void Assign(const MKChar* text, int n);
    void AssignText(const MKChar* text);
    void Clear();
    void AssignAnsi(const char* bytes, int n);
    void AssignUtf8(const char* bytes, int n);

    // Sets the length to n for the caller to write n characters and the
    // terminator; old characters are not kept when the block is replaced.
    // Returns the characters, or null (string unchanged) when memory runs out.
    MKChar* PrepareOverwrite(int n);
    // Lengthens by k, keeping the old characters; the caller writes k characters
    // from the old length on and the terminator. Returns the characters, or null
    // (string unchanged) when memory runs out.
    MKChar* GrowBy(int k);
    // Shortens to n characters (0 <= n <= length) and terminates; used after
    // PrepareOverwrite when fewer characters were written.
    void SetLength(int n);
    // Gives this string a block of its own (same capacity) before writing; false
    // when memory runs out.
    bool MakeUnique();

    bool Equals(const MKString& other) const;
    bool EqualsText(const MKChar* text) const;
    bool operator==(const MKString& other) const { return Equals(other); }

    // Indices are unit indices; -1 means not found.
    int FindChar(MKChar c, int start = 0) const;
    int Find(const MKChar* text, int start = 0) const;
    int ReverseFindChar(MKChar c) const;
    int ReverseFindCharFrom(MKChar c, int start) const;
    // ignoreCase folds A-Z only.
    bool EndsWith(const MKChar* text, bool ignoreCase) const;
    // 1 to 15 units, all '0'..'9'.
    bool IsDigits() const;

    // The text may lie inside this string.
    void Append(const MKChar* text, int n);
    void AppendString(const MKString& other);
    void AppendText(const MKChar* text);
    // 0 <= index < length is the caller's duty.
    void SetAt(int index, MKChar c);
    void ReplaceChar(MKChar from, MKChar to);
    // Replaces every find by with, left to right, never rescanning inserted text;
    // returns the number of replacements. A null with counts as empty.
    int Replace(const MKChar* find, const MKChar* with);
    // Returns how many units were removed.
    int RemoveChar(MKChar c);
    // Removes up to count units from start; returns the new length.
    int Remove(int start, int count);
    void TrimRightChar(MKChar c);
    void TrimRight();
    void TrimLeft();
    // Lower-cases A-Z only, the same under every locale.
    void MakeLower();

    // Ranges are clamped to the string; the whole string is shared, not copied.
    MKString Substring(int start, int count) const;
    void SubstringInto(int start, int count, MKString& out) const;
    MKString Left(int n) const;
    MKString Mid(int start) const;
    void MidInto(int start, MKString& out) const;
    MKString ToLower() const;
    // Empties out, then adds one string per token; null separators mean ";".
    void Split(const MKChar* separators, bool skipEmpty, MKTOArray<MKString>& out) const;
    // A new automation string (BSTR) the caller frees with SysFreeString; null
    // when memory runs out.
    wchar_t* ToBstr() const;
    // The UTF-8 bytes followed by one zero byte (MKWideToUtf8Array); returns the
    // number of bytes without the zero.
    int ToUtf8(MKByteArray& out) const;
    // True when MKTextToInt read a number; *out is 0 otherwise.
    bool ToIntChecked(int* out) const;

    // printf-style formatting (MKFormatEngine); a null format clears. Arguments
    // may point into this string's own characters.
    void FormatV(const MKChar* format, va_list args);
    void Format(const MKChar* format, ...);

private:
    struct BlockHeader {
        int32_t length;
        int32_t capacity;
        int32_t refs;
    };

    BlockHeader* Header() const { return reinterpret_cast<BlockHeader*>(m_chars) - 1; }
    bool IsSharedEmpty() const;
    // Whether text points into this string's own block.
    bool Contains(const MKChar* text) const;
    // A new block {length, capacity, count 1}, its terminator at length; null
    // when memory runs out.
    static MKChar* AllocBuffer(int length, int capacity);
    static void AddRef(MKChar* chars);
    static void Release(MKChar* chars);
    // Drops the current block and takes chars (whose reference is handed over).
    void TakeBlock(MKChar* chars);

    MKChar* m_chars;
};

MKString operator+(const MKString& s, const MKChar* text);
inline MKString operator+(const MKString& a, const MKString& b) { return MKString::Concat(a, b); }

// Adds to out one string per token of text split at any separator character
// (";" when none); out is not emptied first.
void MKSplitText(const MKChar* text, const MKChar* separators, bool skipEmpty, MKTOArray<MKString>& out);

#ifndef MK_NARROW
// MKString::Find on an automation string (BSTR, SysStringLen as its length);
// -1 for a null bstr.
int BstrFind(const wchar_t* bstr, const wchar_t* text, int start);
#endif

MK_TEXT_NAMESPACE_END
