#pragma once
#include "base/MKString.h"

#include <stdint.h>

// Standard base-64 (RFC 4648 section 4 alphabet, "=" padding).

// Writes 4 x ceil(n / 3) characters and a terminating zero into out; answers
// the number of characters without the terminator.
int MKBase64Encode(const uint8_t* bytes, int n, wchar_t* out);
MKString MKBase64EncodeString(const uint8_t* bytes, int n);

// Decodes up to count characters, stopping early at a zero character. A space
// reads as "+" (the way a plus sign arrives after form decoding); padding is
// optional but must complete its group when present. Writes only whole bytes,
// never more than capacity; (count + 3) / 4 x 3 bytes always suffice. Answers
// the number of bytes, or 0 for malformed text: a character outside the
// alphabet, misplaced padding, a final group of one character, or output that
// does not fit.
int MKBase64Decode(const wchar_t* chars, int count, uint8_t* out, int capacity);
