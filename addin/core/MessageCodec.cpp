#include "addin/core/MessageCodec.h"

#include "base/MKCompressBuffers.h"
#include "base/MKSha1.h"

#include <intrin.h>
#include <string.h>

#include <algorithm>

namespace {

const uint8_t kMagic[4] = {0x1A, 0xA6, 0xE0, 0x4E};
const uint8_t kVersion = 1;
const uint8_t kStored = 1;
const uint8_t kDeflated = 2;
// Offsets in the message; the scrambled part starts at the digest.
const int kRandomAt = 5;
const int kDigestAt = 9;
const int kMethodAt = 49;
const int kDigestLength = 40;

// 247 distinct byte values shared with the web service; the other nine values
// pass the substitution unchanged.
const int kTableSize = 247;
const uint8_t kTable[kTableSize] = {
    0x5F, 0x3F, 0x50, 0x78, 0x81, 0xAA, 0xB7, 0xBA, 0x9D, 0xBC, 0x2F, 0x44, 0x57, 0x2B, 0x1E, 0x0A,
    0x04, 0xF9, 0x66, 0x7C, 0x19, 0x47, 0x4E, 0xC2, 0xDC, 0x3E, 0xDE, 0x73, 0x76, 0xA2, 0xE3, 0x61,
    0xD0, 0x6F, 0xF2, 0x64, 0x68, 0xFC, 0xAD, 0xE7, 0x40, 0xDF, 0x08, 0x9F, 0xD7, 0x16, 0x8D, 0x7A,
    0x8C, 0xE4, 0x59, 0x1F, 0x56, 0xD6, 0x48, 0xD2, 0x03, 0xFF, 0x00, 0x94, 0x82, 0x1D, 0xA9, 0x2A,
    0x98, 0xE0, 0x2D, 0xAB, 0xED, 0x13, 0x95, 0x0D, 0x0E, 0xC9, 0xB5, 0x87, 0x79, 0x43, 0x74, 0x70,
    0x28, 0xCF, 0xC4, 0xDB, 0x31, 0x29, 0x84, 0x1C, 0x25, 0x3D, 0x9A, 0x3C, 0xE8, 0x6D, 0xCA, 0xC7,
    0xD9, 0xF4, 0x97, 0xCB, 0x1B, 0x5B, 0x4D, 0x96, 0xEB, 0xB3, 0x34, 0x52, 0x17, 0x9B, 0x65, 0x0C,
    0x99, 0xEE, 0x62, 0x90, 0xA7, 0xEC, 0x54, 0x4F, 0x7D, 0x60, 0xFE, 0x93, 0x72, 0xC8, 0x18, 0x1A,
    0x8E, 0x2E, 0x8F, 0x88, 0xE9, 0x12, 0x14, 0x49, 0x89, 0xAE, 0xB0, 0xB4, 0xD3, 0x39, 0x58, 0xFB,
    0x77, 0xC0, 0xE2, 0xB8, 0x10, 0x41, 0xC1, 0xD8, 0xB9, 0xDD, 0xBD, 0xC3, 0xCD, 0xBB, 0x55, 0x4A,
    0xA4, 0x2C, 0x02, 0xA8, 0x53, 0xCC, 0xA6, 0x23, 0x35, 0x4B, 0xE1, 0xF7, 0x11, 0x45, 0xF8, 0xA1,
    0xE5, 0x85, 0xFD, 0x42, 0x15, 0xF0, 0x30, 0xDA, 0x33, 0x22, 0x05, 0x37, 0x3B, 0x9C, 0x8B, 0xD4,
    0x86, 0x6B, 0x26, 0x63, 0x67, 0xBE, 0x4C, 0xB6, 0xC6, 0xF1, 0xFA, 0x91, 0x07, 0x09, 0x32, 0xE6,
    0x38, 0x21, 0xBF, 0xA5, 0x6A, 0x24, 0xA0, 0x7E, 0xF3, 0x5A, 0xD5, 0x6E, 0xEF, 0xA3, 0x71, 0x9E,
    0x5D, 0xD1, 0x83, 0x01, 0x6C, 0x0F, 0x92, 0x0B, 0xF5, 0x75, 0xF6, 0xAC, 0xB1, 0xCE, 0x46, 0xB2,
    0x20, 0x51, 0x69, 0x06, 0x7F, 0x7B, 0x8A,
};

// The web service's generator: state x 214013 + 2531011, 15 bits a draw.
class Draws {
public:
    explicit Draws(uint32_t state) : m_state(state) {}
    uint32_t Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return (m_state >> 16) & 0x7FFF;
    }

private:
    uint32_t m_state;
};

const int kMaxSteps = 10;

void RotateLeft(uint8_t* block, int n, int by)
{
    std::rotate(block, block + by, block + n);
}

void RotateForward(uint8_t* block, int n, Draws& draws, int steps)
{
    if (n < 3)
        return;
    for (int i = 0; i < steps; ++i)
        RotateLeft(block, n, int(draws.Next() % uint32_t(n - 1)) + 1);
}

// Undoes steps forward rotations drawn from the same state.
void RotateBackward(uint8_t* block, int n, Draws& draws, int steps)
{
    if (n < 3)
        return;
    uint32_t drawn[kMaxSteps];
    for (int i = 0; i < steps; ++i)
        drawn[i] = draws.Next();
    for (int i = steps - 1; i >= 0; --i)
        RotateLeft(block, n, n - (int(drawn[i] % uint32_t(n - 1)) + 1));
}

// Every byte found in `from` at j becomes to[j].
void Substitute(uint8_t* bytes, int n, const uint8_t* from, const uint8_t* to)
{
    uint8_t map[256];
    for (int i = 0; i < 256; ++i)
        map[i] = uint8_t(i);
    for (int j = 0; j < kTableSize; ++j)
        map[from[j]] = to[j];
    for (int i = 0; i < n; ++i)
        bytes[i] = map[bytes[i]];
}

// The table rotated by this message's first draws.
void RotatedTable(Draws& draws, uint8_t* out)
{
    memcpy(out, kTable, kTableSize);
    RotateForward(out, kTableSize, draws, kMaxSteps);
}

void WriteDigest(const uint8_t* bytes, int n, uint8_t* out)
{
    MKSha1Digest digest;
    MKSha1::Compute(bytes, n, &digest);
    MKSha1::ToHexChars(digest, reinterpret_cast<char*>(out));
}

}  // namespace

bool MessageCodec::Encode(const uint8_t* payload, int n, uint32_t key, MKByteArray& out)
{
    return EncodeWithRandom(payload, n, key, uint32_t(__rdtsc()), out);
}

bool MessageCodec::EncodeWithRandom(const uint8_t* payload, int n, uint32_t key, uint32_t random, MKByteArray& out)
{
    out.RemoveAll();
    if (n < 0 || (!payload && n > 0))
        return false;
    // Compressed only when that saves more than the byte it costs to say so.
    MKByteArray compressed;
    bool deflated = MKCompressToArray(payload, n, compressed, 6, true) && compressed.GetCount() + 1 < n;
    const uint8_t* body = deflated ? compressed.GetData() : payload;
    int bodyLength = deflated ? compressed.GetCount() : n;
    if (bodyLength > INT32_MAX - kHeaderSize || !out.SetSize(kHeaderSize + bodyLength)) {
        out.RemoveAll();
        return false;
    }
    uint8_t* m = out.GetData();
    const int total = out.GetCount();
    m[kMethodAt] = deflated ? kDeflated : kStored;
    if (bodyLength > 0)
        memcpy(m + kHeaderSize, body, size_t(bodyLength));
    WriteDigest(m + kMethodAt, total - kMethodAt, m + kDigestAt);

    const uint32_t r = random & 0x7FFFFFFF;
    Draws draws(((uint32_t(total) - kDigestAt) ^ r ^ key) & 0x7FFFFFFF);
    uint8_t rotated[kTableSize];
    RotatedTable(draws, rotated);
    Substitute(m + kDigestAt, total - kDigestAt, kTable, rotated);
    RotateBackward(m + kDigestAt, total - kDigestAt, draws, kMaxSteps);

    m[kRandomAt] = uint8_t(r % 247 + 1);
    m[kRandomAt + 1] = uint8_t(r / 247 % 247 + 1);
    m[kRandomAt + 2] = uint8_t(r / 61009 % 247 + 1);
    m[kRandomAt + 3] = uint8_t(r / 15069223 + 1);
    Draws outer((uint32_t(total) + key + 452) & 0x7FFFFFFF);
    RotateBackward(m + kRandomAt, total - kRandomAt, outer, 5);
    memcpy(m, kMagic, sizeof kMagic);
    m[4] = kVersion;
    return true;
}

bool MessageCodec::Decode(const uint8_t* message, int n, uint32_t key, MKByteArray& out)
{
    out.RemoveAll();
    if (n < kHeaderSize || !HasMagic(message, n) || message[4] != kVersion)
        return false;
    MKByteArray scrambled;
    if (!scrambled.Assign(message + kRandomAt, n - kRandomAt))
        return false;
    uint8_t* b = scrambled.GetData();
    const int length = scrambled.GetCount();
    Draws outer((uint32_t(n) + key + 452) & 0x7FFFFFFF);
    RotateForward(b, length, outer, 5);

    // The four digits, each minus one, in base 247.
    const uint32_t r = b[1] * 247u + b[3] * 15069223u + b[2] * 61009u + b[0] - 15130480u;
    Draws draws((r ^ (uint32_t(n) - kDigestAt) ^ key) & 0x7FFFFFFF);
    uint8_t rotated[kTableSize];
    RotatedTable(draws, rotated);
    uint8_t* digested = b + (kDigestAt - kRandomAt);
    const int digestedLength = length - (kDigestAt - kRandomAt);
    Substitute(digested, digestedLength, rotated, kTable);
    RotateForward(digested, digestedLength, draws, kMaxSteps);

    uint8_t expected[kDigestLength];
    WriteDigest(digested + kDigestLength, digestedLength - kDigestLength, expected);
    if (memcmp(expected, digested, kDigestLength) != 0)
        return false;
    const uint8_t method = digested[kDigestLength];
    const uint8_t* body = digested + kDigestLength + 1;
    const int bodyLength = digestedLength - kDigestLength - 1;
    if (method == kStored)
        return out.Assign(body, bodyLength);
    // Any other method would be read as deflated data it is not.
    if (method != kDeflated)
        return false;
    return MKInflateToArray(body, bodyLength, out, true, kMaxPayload);
}

bool MessageCodec::HasMagic(const uint8_t* bytes, int n)
{
    return bytes && n > 4 && memcmp(bytes, kMagic, sizeof kMagic) == 0;
}
