#pragma once
#include "base/MKString.h"

#include <stdint.h>

// Standard base-64 (RFC 4648 section 4 alphabet, "=" padding).

// Writes 4 x ceil(n / 3) characters and a terminating zero into out; answers
// the number of characters without the terminator.
int MKBase64Encode(const uint8_t* bytes, int n, wchar_t* out);
MKString MKBase64EncodeString(const uint8_t* bytes, int n);

// Decodes up to count characters, stopping early at a zero character or at
// the first character outside the alphabet ("=" included). A space reads as
// "+" (the way a plus sign arrives after form decoding). Answers the number
// of whole bytes the characters before the stop make (a last character that
// completes no byte adds none), or 0 when the stop is padding at position 0
// or 1 of its group of four, or when the bytes do not fit capacity; (count +
// 3) / 4 x 3 bytes always suffice. Never writes more than capacity.
int MKBase64Decode(const wchar_t* chars, int count, uint8_t* out, int capacity);
