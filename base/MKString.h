#pragma once
#include <stdarg.h>
#include <stdint.h>

template <typename T>
class MKTArray;
template <typename T>
class MKTOArray;
typedef MKTArray<uint8_t> MKByteArray;

// Reference-counted, copy-on-write string of UTF-16 units, as cheap to copy as a
// pointer. The object is one pointer to the characters; in front of them, in the
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
    MKString(const wchar_t* text);
    ~MKString();

    MKString& operator=(const MKString& other);
    MKString& operator=(MKString&& other) noexcept;
    MKString& operator=(const wchar_t* text);

    static MKString MKStringFromText(const wchar_t* text);
    // n <= 0 gives the empty string.
    static MKString MKStringFromChars(const wchar_t* text, int n);
    // 8-bit text of the ANSI code page.
    static MKString MKStringFromAnsi(const char* text);
    static MKString MKStringFromRepeat(wchar_t c, int n);
    // UTF-8 bytes; a byte array's trailing zero byte is not part of the text.
    static MKString FromUtf8(const char* bytes, int n);
    static MKString FromUtf8Array(const MKByteArray& bytes);
    static MKString FromInt(int value);
    static MKString FromUInt64(uint64_t value);
    // Shortest lower-case hexadecimal form, no prefix.
    static MKString FromHex(uint32_t value);
    static MKString FromFormat(const wchar_t* format, ...);

    // a + b; shares a or b when the other is empty.
    static MKString Concat(const MKString& a, const MKString& b);
    // text + s; shares s when the text is null or empty.
    static MKString PrependText(const wchar_t* text, const MKString& s);
    static MKString ConcatChar(const MKString& s, wchar_t c);

    // The terminated characters of the shared empty block.
    static const wchar_t* EmptyChars();

    int GetLength() const { return Header()->length; }
    bool IsEmpty() const { return Header()->length == 0; }
    // Terminated characters; valid while this string is neither changed nor gone.
    const wchar_t* GetText() const { return m_chars; }
    wchar_t operator[](int index) const { return m_chars[index]; }
    int GetCapacity() const { return Header()->capacity; }
    int GetRefCount() const { return Header()->refs; }

    // n characters (the text may be this string's own); n <= 0 clears.
    void Assign(const wchar_t* text, int n);
    void AssignText(const wchar_t* text);
    void Clear();
    void AssignAnsi(const char* bytes, int n);
    void AssignUtf8(const char* bytes, int n);

    // Sets the length to n for the caller to write n characters and the
    // terminator; old characters are not kept when the block is replaced.
    // Returns the characters, or null (string unchanged) when memory runs out.
    wchar_t* PrepareOverwrite(int n);
    // Lengthens by k, keeping the old characters; the caller writes k characters
    // from the old length on and the terminator. Returns the characters, or null
    // (string unchanged) when memory runs out.
    wchar_t* GrowBy(int k);
    // Shortens to n characters (0 <= n <= length) and terminates; used after
    // PrepareOverwrite when fewer characters were written.
    void SetLength(int n);
    // Gives this string a block of its own (same capacity) before writing; false
    // when memory runs out.
    bool MakeUnique();

    bool Equals(const MKString& other) const;
    bool EqualsText(const wchar_t* text) const;
    bool operator==(const MKString& other) const { return Equals(other); }

    // Indices are unit indices; -1 means not found.
    int FindChar(wchar_t c, int start = 0) const;
    int Find(const wchar_t* text, int start = 0) const;
    int ReverseFindChar(wchar_t c) const;
    int ReverseFindCharFrom(wchar_t c, int start) const;
    // ignoreCase folds A-Z only.
    bool EndsWith(const wchar_t* text, bool ignoreCase) const;
    // 1 to 15 units, all '0'..'9'.
    bool IsDigits() const;

    // The text may lie inside this string.
    void Append(const wchar_t* text, int n);
    void AppendString(const MKString& other);
    void AppendText(const wchar_t* text);
    // 0 <= index < length is the caller's duty.
    void SetAt(int index, wchar_t c);
    void ReplaceChar(wchar_t from, wchar_t to);
    // Replaces every find by with, left to right, never rescanning inserted text;
    // returns the number of replacements. A null with counts as empty.
    int Replace(const wchar_t* find, const wchar_t* with);
    // Returns how many units were removed.
    int RemoveChar(wchar_t c);
    // Removes up to count units from start; returns the new length.
    int Remove(int start, int count);
    void TrimRightChar(wchar_t c);
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
    void Split(const wchar_t* separators, bool skipEmpty, MKTOArray<MKString>& out) const;
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
    void FormatV(const wchar_t* format, va_list args);
    void Format(const wchar_t* format, ...);

private:
    struct BlockHeader {
        int32_t length;
        int32_t capacity;
        int32_t refs;
    };

    BlockHeader* Header() const { return reinterpret_cast<BlockHeader*>(m_chars) - 1; }
    bool IsSharedEmpty() const;
    // Whether text points into this string's own block.
    bool Contains(const wchar_t* text) const;
    // A new block {length, capacity, count 1}, its terminator at length; null
    // when memory runs out.
    static wchar_t* AllocBuffer(int length, int capacity);
    static void AddRef(wchar_t* chars);
    static void Release(wchar_t* chars);
    // Drops the current block and takes chars (whose reference is handed over).
    void TakeBlock(wchar_t* chars);

    wchar_t* m_chars;
};

MKString operator+(const MKString& s, const wchar_t* text);
inline MKString operator+(const MKString& a, const MKString& b) { return MKString::Concat(a, b); }

// Adds to out one string per token of text split at any separator character
// (";" when none); out is not emptied first.
void MKSplitText(const wchar_t* text, const wchar_t* separators, bool skipEmpty, MKTOArray<MKString>& out);

// MKString::Find on an automation string (BSTR, SysStringLen as its length);
// -1 for a null bstr.
int BstrFind(const wchar_t* bstr, const wchar_t* text, int start);
