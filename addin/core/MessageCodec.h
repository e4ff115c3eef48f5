#pragma once
#include "base/MKTArray.h"

#include <stdint.h>

// The scrambled envelope of the messages exchanged with the product's web
// service: a magic, a version, a random value, the SHA-1 text of the body, the
// body's method (stored or raw deflate) and the body, all but the magic and
// version substituted and rotated under a key. Both sides must use the same
// substitution table and keys. Plain functions over bytes; any thread.
class MessageCodec {
public:
    // Requests are encoded with the request key, answers decoded with the
    // response key; short query texts use a key of their own.
    static constexpr uint32_t kRequestKey = 1283904517;
    static constexpr uint32_t kResponseKey = 562018374;
    static constexpr uint32_t kQueryTextKey = 417305926;
    // The smallest envelope: the header and the method byte around no body.
    static constexpr int kHeaderSize = 50;
    // Decoded payloads are messages of a few kilobytes; larger ones are
    // refused rather than inflated.
    static constexpr int kMaxPayload = 16 << 20;

    // Encodes n bytes into out (emptied first) with a random value from the
    // processor's time-stamp counter. False, out empty, when memory runs out
    // or the message would not fit in 2 GB.
    static bool Encode(const uint8_t* payload, int n, uint32_t key, MKByteArray& out);
    // The same with the random value given (its low 31 bits).
    static bool EncodeWithRandom(const uint8_t* payload, int n, uint32_t key, uint32_t random, MKByteArray& out);
    // The payload of a message into out (emptied first). False, out empty,
    // for a message shorter than the header, a wrong magic or version, a body
    // whose digest does not match, an unknown method, or deflated data that
    // is damaged or inflates beyond kMaxPayload.
    static bool Decode(const uint8_t* message, int n, uint32_t key, MKByteArray& out);
    // More than 4 bytes, beginning with the magic.
    static bool HasMagic(const uint8_t* bytes, int n);
};
