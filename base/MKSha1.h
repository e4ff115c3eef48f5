#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKSha1Digest.h"

#include <stdint.h>

// SHA-1 (FIPS 180-1) context: Init, any number of Update calls, Final, then
// GetDigest. A plain value; one thread at a time.
class MKSha1 {
public:
    MKSha1() { Init(); }

    void Init();
    void Update(const void* bytes, int n);
    // Pads and processes the last block(s); Update must not follow before Init.
    void Final();
    void GetDigest(MKSha1Digest* out) const;
    // Processes whole 64-byte blocks and counts their bytes.
    void Transform(const uint8_t* blocks, int blockCount);

    static void Compute(const void* bytes, int n, MKSha1Digest* out);
    static void ComputeBytes(MKSha1Digest* out, const MKByteArray& bytes);
    // Exactly 40 lower-case hexadecimal characters, high nibble first, no
    // terminator.
    static void ToHexChars(const MKSha1Digest& digest, char* out);
    static MKString ToHexString(const MKSha1Digest& digest);

private:
    uint32_t m_state[5];
    uint64_t m_count;    // bytes hashed
    int m_buffered;      // bytes waiting in m_buffer
    uint8_t m_buffer[128];
};

// MKSha1::Compute with the digest first.
void ComputeSha1(MKSha1Digest* out, const void* bytes, int n);
