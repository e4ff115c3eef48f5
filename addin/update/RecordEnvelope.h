#pragma once
#include "base/MKTArray.h"

#include <stdint.h>

// The envelope of the per-user update records ("Preferences", "User"): a
// 32-bit little-endian seed, the SHA-1 digest of the plain body, then the body
// XORed with bytes of the 48-bit generator seeded with the seed XOR the
// record's own mask byte. The digest makes any damaged byte fail the check;
// the scrambling only keeps the records from being read or edited by eye.
enum { kRecordEnvelopeSize = 24 };

// Scrambles, or unscrambles (the same operation), n bytes in place.
void ScrambleRecordBytes(uint8_t* bytes, int n, uint32_t seed, uint8_t mask);

// record holds kRecordEnvelopeSize bytes of room followed by the plain body:
// stores the seed and the body's digest in the room and scrambles the body.
// False (record untouched) when it is shorter than the room.
bool SealRecord(MKByteArray& record, uint32_t seed, uint8_t mask);

// Unscrambles the body in place and answers whether its digest matches; false
// for a record shorter than the envelope.
bool OpenRecord(MKByteArray& record, uint8_t mask);

// The seed for a new save: the low half of the time-stamp counter, so every
// save gives different bytes.
uint32_t NewRecordSeed();
