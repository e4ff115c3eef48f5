#pragma once
#include "base/MKSha1Digest.h"
#include <stdint.h>

class MKBinaryReader;

// The digest a package record states for its stored bytes: a kind (1 = SHA-1)
// and the bytes. Only a 20-byte SHA-1 can match; any other stated length makes
// every comparison fail rather than pass unchecked.
struct PackageDigest {
    int32_t kind = 0;
    int32_t length = 0;
    MKSha1Digest sha1 = {};

    bool IsSha1() const { return kind == 1; }
    bool Matches(const MKSha1Digest& computed) const { return length == 20 && sha1.Equals(computed); }
    // Kind, length and, when 0 < length < fileSize, the bytes (the first 20
    // kept). False when the stream ends first.
    bool Read(MKBinaryReader& reader, int fileSize);
};
