#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"

#include <stdint.h>

// Name/value pairs of a URL query or a form-encoded request body, in insertion
// order, names unique (compared exactly). Renders and parses the percent-encoded
// UTF-8 text form: name=value pairs joined by '&', a space as '+'. One thread at
// a time.
class MKQueryParams {
public:
    MKQueryParams() = default;
    MKQueryParams(const MKQueryParams&) = delete;
    MKQueryParams& operator=(const MKQueryParams&) = delete;

    int GetCount() const { return m_pairs.GetCount(); }
    const MKString& GetName(int index) const { return m_pairs[index].name; }
    const MKString& GetValue(int index) const { return m_pairs[index].value; }

    // Replaces the value of the pair with that name, or appends a pair; false
    // when memory runs out.
    bool Set(const MKString& name, const MKString& value);

    // Replaces the pairs by those of a query text (a leading '?' is dropped).
    // Names and values are decoded, names trimmed of white space; parts without a
    // name are skipped and a repeated name keeps its last value.
    void Parse(const wchar_t* text);

    // The encoded pairs, after a '?' when asked, as bytes without a terminator;
    // nothing at all (not even the '?') for an empty list. out is emptied first.
    // False when memory runs out.
    bool Render(MKByteArray& out, bool withQuestionMark) const;
    // The same text as a string.
    MKString ToString(bool withQuestionMark) const;

private:
    struct Pair {
        MKString name;
        MKString value;
    };

    MKTOArray<Pair> m_pairs;
};

// Percent-encoding of the string's UTF-8 bytes: a space becomes '+', A-Z a-z
// 0-9 - . _ ~ stay, every other byte becomes %XX (upper-case hexadecimal).
MKString MKUrlEncode(const MKString& text);
// The same appended to a byte array; false when memory runs out (the array may
// then hold part of the text).
bool MKUrlEncodeAppend(const MKString& text, MKByteArray& out);
// The reverse: '+' is a space, %XX (either case) a byte, a '%' without two
// hexadecimal digits stays; a zero byte becomes a space. Characters are taken as
// bytes (their low eight bits) and the result is read as UTF-8.
MKString MKUrlDecode(const MKString& text);
