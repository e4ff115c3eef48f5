#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

#include <stdint.h>

// Base-85 text of this system: every 4 bytes, read as a little-endian 32-bit
// value, become 5 digits, least significant first; a tail of 1 to 3 bytes
// becomes 2 to 4 digits, optionally filled to 5 with a padding character. The
// core functions take the alphabet (85 characters), the padding character and
// the reverse table (256 digit values indexed by character, -1 outside the
// alphabet) from the caller; the string functions use the default alphabet and
// "_".

extern const wchar_t MKBase85DefaultAlphabet[86];
const int8_t* MKBase85DefaultReverse();
// Fills table with the digit value of each alphabet character, -1 elsewhere.
void MKBase85BuildReverse(const wchar_t* alphabet, int8_t table[256]);

// Writes the digits (no terminator) and answers their number: 5 x (n / 4) plus
// 2, 3 or 4 for a tail, or 5 x ceil(n / 4) with pad. The reverse table is not
// used.
int MKBase85EncodeBuffer(const wchar_t* alphabet, wchar_t padding, const int8_t* reverse, const uint8_t* bytes,
                         int n, wchar_t* out, bool pad);
// Decodes n characters into out, which needs room for 4 x n / 5 + 3 bytes; the
// alphabet is not used. Answers the number of bytes, or 0 for invalid text: a
// character outside the alphabet (characters above 0xFF included), or a last
// group of one character, with a digit after padding or with fewer than two
// digits. A group's value is taken modulo 2^32, and a short last group gives
// the low bytes of its value.
int MKBase85DecodeBuffer(const wchar_t* alphabet, wchar_t padding, const int8_t* reverse, const wchar_t* chars,
                         int n, uint8_t* out);

MKString MKBase85EncodeString(const uint8_t* bytes, int n, bool pad);
// Decode with the default alphabet into out (emptied first). True for no
// characters or a single one (out empty) and for valid text; false for
// invalid text.
bool MKBase85DecodeToArray(const wchar_t* chars, int n, MKByteArray& out);
bool MKBase85DecodeString(const MKString& text, MKByteArray& out);
