#pragma once
#include <stdint.h>

template <typename T>
class MKTArray;
typedef MKTArray<uint8_t> MKByteArray;

// Conversions between UTF-16 units, the ANSI code page and UTF-8, and between
// numbers and decimal or hexadecimal text. Counts are in units (wchar_t) or
// bytes; nothing is terminated unless said so.

// ANSI code page (CP_ACP) to UTF-16. Without an output buffer (or outSize 0)
// only measures. Returns the number of units; 0 when the conversion fails, and
// then out[0] is 0 when there is room.
int MKAnsiToWide(const char* bytes, int n, wchar_t* out, int outSize);
// UTF-16 to the ANSI code page, no default character; the same rules in bytes.
int MKWideToAnsi(const wchar_t* units, int n, char* out, int outSize);

// Bytes of the UTF-8 form: 1, 2 or 3 per unit. Surrogates are encoded one by one
// (3 bytes each), so pairs survive a round trip through MKUtf8ToWide.
int MKUtf8Size(const wchar_t* units, int n);
// Without an output buffer (or outSize 0) returns MKUtf8Size. Otherwise encodes
// and returns the number of bytes written, or 0 when they did not all fit.
int MKWideToUtf8(const wchar_t* units, int n, char* out, int outSize);
// Number of units MKUtf8ToWide produces for a buffer of that size.
int MKUtf8Length(const char* bytes, int n);
// Decodes UTF-8; a code point above U+FFFF and every malformed sequence give
// '?'; overlong forms are accepted. Without an output buffer (or outSize 0)
// returns MKUtf8Length. Returns the number of units, or 0 when outSize was
// reached before the input ended (what fitted stays written).
int MKUtf8ToWide(const char* bytes, int n, wchar_t* out, int outSize);
// Sets out to the UTF-8 bytes and one zero byte (size exactly bytes + 1) and
// returns the number of bytes without the zero; out holds only the zero for no
// text. Returns 0 with out empty when memory runs out.
int MKWideToUtf8Array(const wchar_t* units, int n, MKByteArray& out);

// Decimal text with a leading '-' for negatives; out needs 12 units. The text is
// terminated; returns its length.
int MKIntToText(int value, wchar_t* out);
// out needs 21 units.
int MKUInt64ToText(uint64_t value, wchar_t* out);
// Shortest lower-case hexadecimal form, no prefix; out needs 9 units.
int MKHexToText(uint32_t value, wchar_t* out);

// Reads leading white space, one '+' or '-' and decimal digits up to the first
// non-digit. Returns the number of units read (white space and sign included)
// with *out the value; 0 with *out 0 for a null text, no digit, or a value
// outside int32.
int MKTextToInt(const wchar_t* text, int* out);
// The same for uint32: only '+' is accepted.
int MKTextToUInt(const wchar_t* text, uint32_t* out);
// True when MKTextToInt read a number.
bool MKTextToIntChecked(const wchar_t* text, int* out);
