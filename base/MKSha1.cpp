#include "base/MKSha1.h"

#include <string.h>

namespace {

inline uint32_t Rotl(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

inline uint32_t LoadBig(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// One 64-byte block; the message schedule is kept in a 16-word ring.
void ProcessBlock(uint32_t state[5], const uint8_t* block)
{
    uint32_t w[16];
    for (int i = 0; i < 16; ++i)
        w[i] = LoadBig(block + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];

#define SHA1_W(i) (w[(i) & 15] = Rotl(w[((i) + 13) & 15] ^ w[((i) + 8) & 15] ^ w[((i) + 2) & 15] ^ w[(i) & 15], 1))
#define SHA1_STEP(f, k, wi)                       \
    {                                             \
        uint32_t t = Rotl(a, 5) + (f) + e + (k) + (wi); \
        e = d;                                    \
        d = c;                                    \
        c = Rotl(b, 30);                          \
        b = a;                                    \
        a = t;                                    \
    }
    int i = 0;
    for (; i < 16; ++i)
        SHA1_STEP((b & c) | (~b & d), 0x5A827999u, w[i])
    for (; i < 20; ++i)
        SHA1_STEP((b & c) | (~b & d), 0x5A827999u, SHA1_W(i))
    for (; i < 40; ++i)
        SHA1_STEP(b ^ c ^ d, 0x6ED9EBA1u, SHA1_W(i))
    for (; i < 60; ++i)
        SHA1_STEP((b & c) | (b & d) | (c & d), 0x8F1BBCDCu, SHA1_W(i))
    for (; i < 80; ++i)
        SHA1_STEP(b ^ c ^ d, 0xCA62C1D6u, SHA1_W(i))
#undef SHA1_STEP
#undef SHA1_W

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
}

}  // namespace

void MKSha1::Init()
{
    m_state[0] = 0x67452301u;
    m_state[1] = 0xEFCDAB89u;
    m_state[2] = 0x98BADCFEu;
    m_state[3] = 0x10325476u;
    m_state[4] = 0xC3D2E1F0u;
    m_count = 0;
    m_buffered = 0;
}

void MKSha1::Transform(const uint8_t* blocks, int blockCount)
{
    for (int i = 0; i < blockCount; ++i)
        ProcessBlock(m_state, blocks + 64 * i);
    m_count += uint64_t(blockCount) * 64;
}

void MKSha1::Update(const void* bytes, int n)
{
    if (n <= 0)
        return;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    if (m_buffered > 0) {
        int take = 64 - m_buffered < n ? 64 - m_buffered : n;
        memcpy(m_buffer + m_buffered, p, size_t(take));
        m_buffered += take;
        p += take;
        n -= take;
        if (m_buffered < 64)
            return;
        Transform(m_buffer, 1);
        m_buffered = 0;
    }
    int whole = n / 64;
    if (whole > 0) {
        Transform(p, whole);
        p += 64 * whole;
        n -= 64 * whole;
    }
    memcpy(m_buffer, p, size_t(n));
    m_buffered = n;
}

void MKSha1::Final()
{
    uint64_t bits = (m_count + uint64_t(m_buffered)) * 8;
    int n = m_buffered;
    m_buffer[n++] = 0x80;
    // Fewer than 56 bytes buffered leave room for the length in one block.
    int total = n <= 56 ? 64 : 128;
    memset(m_buffer + n, 0, size_t(total - n));
    for (int i = 0; i < 8; ++i)
        m_buffer[total - 1 - i] = uint8_t(bits >> (8 * i));
    for (int offset = 0; offset < total; offset += 64)
        ProcessBlock(m_state, m_buffer + offset);
    m_count = bits / 8;
    m_buffered = 0;
}

void MKSha1::GetDigest(MKSha1Digest* out) const
{
    for (int i = 0; i < 5; ++i) {
        out->bytes[4 * i] = uint8_t(m_state[i] >> 24);
        out->bytes[4 * i + 1] = uint8_t(m_state[i] >> 16);
        out->bytes[4 * i + 2] = uint8_t(m_state[i] >> 8);
        out->bytes[4 * i + 3] = uint8_t(m_state[i]);
    }
}

void MKSha1::Compute(const void* bytes, int n, MKSha1Digest* out)
{
    MKSha1 sha;
    sha.Update(bytes, n);
    sha.Final();
    sha.GetDigest(out);
}

void MKSha1::ComputeBytes(MKSha1Digest* out, const MKByteArray& bytes)
{
    Compute(bytes.GetData(), bytes.GetCount(), out);
}

void MKSha1::ToHexChars(const MKSha1Digest& digest, char* out)
{
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < 20; ++i) {
        out[2 * i] = digits[digest.bytes[i] >> 4];
        out[2 * i + 1] = digits[digest.bytes[i] & 15];
    }
}

MKString MKSha1::ToHexString(const MKSha1Digest& digest)
{
    char hex[40];
    ToHexChars(digest, hex);
    MKString text;
    if (wchar_t* chars = text.PrepareOverwrite(40)) {
        for (int i = 0; i < 40; ++i)
            chars[i] = wchar_t(hex[i]);
        chars[40] = 0;
    }
    return text;
}

void ComputeSha1(MKSha1Digest* out, const void* bytes, int n)
{
    MKSha1::Compute(bytes, n, out);
}
