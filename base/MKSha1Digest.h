#pragma once
#include <stdint.h>
#include <string.h>

// A SHA-1 digest: the five chaining words in big-endian order.
struct MKSha1Digest {
    uint8_t bytes[20];

    bool Equals(const MKSha1Digest& other) const { return memcmp(bytes, other.bytes, 20) == 0; }
};
