#include "base/MKBase64.h"
#include "base/MKBase85.h"
#include "base/MKSha1.h"
#include "base/MKSha1Stream.h"

#include "BaseTestSupport.h"
#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>

#include <random>
#include <string>
#include <vector>

namespace {


std::wstring Base64(const Bytes& bytes)
{
    std::vector<wchar_t> out((bytes.size() + 2) / 3 * 4 + 1, L'#');
    int n = MKBase64Encode(bytes.data(), int(bytes.size()), out.data());
    EXPECT_EQ(0, out[size_t(n)]);
    return std::wstring(out.data(), size_t(n));
}

// Decodes into a buffer with a guard byte behind the stated capacity.
int Unbase64(const std::wstring& text, Bytes* out, int capacity = -1)
{
    if (capacity < 0)
        capacity = int((text.size() + 3) / 4 * 3);
    std::vector<uint8_t> buffer(size_t(capacity) + 1, 0xEE);
    int n = MKBase64Decode(text.c_str(), int(text.size()), buffer.data(), capacity);
    EXPECT_EQ(0xEE, buffer[size_t(capacity)]) << "wrote past the output";
    out->assign(buffer.begin(), buffer.begin() + n);
    return n;
}

TEST(Base64, KnownForms)
{
    EXPECT_EQ(L"YWJj", Base64({'a', 'b', 'c'}));
    EXPECT_EQ(L"AA==", Base64({0}));
    EXPECT_EQ(L"/+8=", Base64({0xFF, 0xEF}));
    EXPECT_EQ(L"", Base64({}));
    EXPECT_EQ(L"Zm9vYmFy", Base64({'f', 'o', 'o', 'b', 'a', 'r'}));
    EXPECT_STREQ(L"Zm9vYg==", MKBase64EncodeString(reinterpret_cast<const uint8_t*>("foob"), 4).GetText());
    EXPECT_TRUE(MKBase64EncodeString(nullptr, 0).IsEmpty());
}

TEST(Base64, RoundTripsEveryLength)
{
    std::mt19937 random(5);
    for (int n = 0; n < 70; ++n) {
        Bytes bytes(static_cast<size_t>(n));
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        Bytes back;
        Unbase64(Base64(bytes), &back);
        EXPECT_EQ(bytes, back) << n;
    }
}

TEST(Base64, DecodingTable)
{
    struct Case {
        std::wstring text;
        int expected;  // bytes, 0 for malformed
        Bytes bytes;
    } cases[] = {
        {L"YWJj", 3, {'a', 'b', 'c'}},
        {L"AA==", 1, {0}},
        {L"AA", 1, {0}},  // padding is optional
        {L"YWI", 2, {'a', 'b'}},
        {L"+/8=", 2, {0xFB, 0xFF}},
        {L" /8=", 2, {0xFB, 0xFF}},  // a space is a '+' after form decoding
        {std::wstring(L"YWJj\0ZZZZ", 9), 3, {'a', 'b', 'c'}},  // stops at a zero character
        {L"Y===", 0, {}},   // padding at position 1
        {L"====", 0, {}},   // padding at position 0
        // The text ends at the first character outside the alphabet.
        {L"YW=j", 1, {'a'}},  // padding at position 2 ends it
        {L"YW=", 1, {'a'}},
        {L"YWJj=", 0, {}},  // padding at position 0 of the next group
        {L"YWJjZ", 3, {'a', 'b', 'c'}},  // six bits make no byte
        {L"YWJj\nZGVm", 3, {'a', 'b', 'c'}},
        {L"YW*j", 1, {'a'}},
        {L"YW\x0159j", 1, {'a'}},  // low byte 'Y' must not count
        {L"Y", 0, {}},
        {L"", 0, {}},
    };
    for (const Case& c : cases) {
        Bytes out;
        EXPECT_EQ(c.expected, Unbase64(c.text, &out)) << c.text.c_str();
        EXPECT_EQ(c.bytes, out) << c.text.c_str();
    }
    // The count limits the input.
    uint8_t buffer[8];
    EXPECT_EQ(3, MKBase64Decode(L"YWJjZGVm", 4, buffer, 8));
}

TEST(Base64, NeverWritesPastTheOutput)
{
    Bytes out;
    EXPECT_EQ(0, Unbase64(L"YWJjZGVm", &out, 5));
    EXPECT_EQ(0, Unbase64(L"YWJjZA", &out, 3));
    EXPECT_EQ(4, Unbase64(L"YWJjZA", &out, 4));
    EXPECT_EQ(0, Unbase64(L"YWJj", &out, 0));
}

std::wstring Base85(const Bytes& bytes, bool pad)
{
    return MKBase85EncodeString(bytes.data(), int(bytes.size()), pad).GetText();
}

TEST(Base85, KnownForms)
{
    EXPECT_EQ(L"00000", Base85({0, 0, 0, 0}, false));
    EXPECT_EQ(L"10", Base85({1}, false));
    EXPECT_EQ(L"10___", Base85({1}, true));
    // The base-85 digits of 4294967295, least significant first.
    std::wstring max = Base85({0xFF, 0xFF, 0xFF, 0xFF}, false);
    EXPECT_EQ(L"0CsN{", max);
    const int8_t* reverse = MKBase85DefaultReverse();
    uint64_t v = 0;
    for (int k = 4; k >= 0; --k)
        v = v * 85 + uint64_t(reverse[max[size_t(k)]]);
    EXPECT_EQ(0xFFFFFFFFull, v);
    EXPECT_EQ(L"", Base85({}, true));

    wchar_t out[16];
    const uint8_t five[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(7, MKBase85EncodeBuffer(MKBase85DefaultAlphabet, L'_', nullptr, five, 5, out, false));
    EXPECT_EQ(10, MKBase85EncodeBuffer(MKBase85DefaultAlphabet, L'_', nullptr, five, 5, out, true));
}

TEST(Base85, RoundTripsEveryLengthBothWays)
{
    std::mt19937 random(6);
    for (int n = 0; n < 40; ++n) {
        Bytes bytes(static_cast<size_t>(n));
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        for (bool pad : {false, true}) {
            std::wstring text = Base85(bytes, pad);
            MKByteArray back;
            ASSERT_TRUE(MKBase85DecodeToArray(text.c_str(), int(text.size()), back)) << n;
            EXPECT_EQ(bytes, BytesOf(back)) << n;
        }
    }
}

TEST(Base85, DecodingTable)
{
    struct Case {
        std::wstring text;
        bool ok;
        Bytes bytes;
    } cases[] = {
        {L"10", true, {1}},
        {L"10___", true, {1}},
        {L"10_", true, {1}},
        {L"00000", true, {0, 0, 0, 0}},
        {L"", true, {}},
        {L"1_0__", false, {}},   // a digit after padding
        {L"1", true, {}},        // one character alone: no data, no error
        {L"000001", false, {}},  // a last group of one
        {L"0000~", false, {}},   // outside the alphabet
        {L"00000~", false, {}},  // trailing text outside the alphabet
        {L"00\x0130" L"00", false, {}},  // low byte '0' must not count
        // 84 * (1 + 85 + ... + 85^4) = 4437053124, modulo 2^32 0x08780EC4.
        {L"}}}}}", true, {0xC4, 0x0E, 0x78, 0x08}},
        {L"}}}}}00000", true, {0xC4, 0x0E, 0x78, 0x08, 0, 0, 0, 0}},
        {L"!!", true, {0xD4}},   // the low byte of 62 + 62 * 85 = 0x14D4
        {L"__", false, {}},
    };
    for (const Case& c : cases) {
        MKByteArray out;
        out.Add(0x55);
        EXPECT_EQ(c.ok, MKBase85DecodeString(MKString(c.text.c_str()), out)) << c.text.c_str();
        EXPECT_EQ(c.bytes, BytesOf(out)) << c.text.c_str();
    }
}

TEST(Base85, CallersAlphabet)
{
    // A reversed default alphabet with '~' as padding.
    wchar_t alphabet[86];
    for (int i = 0; i < 85; ++i)
        alphabet[i] = MKBase85DefaultAlphabet[84 - i];
    alphabet[85] = 0;
    int8_t reverse[256];
    MKBase85BuildReverse(alphabet, reverse);
    const uint8_t bytes[] = {9, 8, 7, 6, 5};
    wchar_t text[16];
    int n = MKBase85EncodeBuffer(alphabet, L'~', reverse, bytes, 5, text, true);
    ASSERT_EQ(10, n);
    EXPECT_EQ(L'~', text[9]);
    uint8_t back[16];
    ASSERT_EQ(5, MKBase85DecodeBuffer(alphabet, L'~', reverse, text, n, back));
    EXPECT_EQ(0, memcmp(bytes, back, 5));
}

std::string Hex(const MKSha1Digest& digest)
{
    char hex[41] = {};
    MKSha1::ToHexChars(digest, hex);
    return hex;
}

TEST(Sha1, StandardDigests)
{
    struct Case {
        std::string text;
        const char* digest;
    } cases[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    for (const Case& c : cases) {
        MKSha1Digest digest;
        MKSha1::Compute(c.text.data(), int(c.text.size()), &digest);
        EXPECT_EQ(c.digest, Hex(digest));
    }
    MKSha1Digest digest;
    ComputeSha1(&digest, "abc", 3);
    MKString text = MKSha1::ToHexString(digest);
    EXPECT_STREQ(L"a9993e364706816aba3e25717850c26c9cd0d89d", text.GetText());
}

TEST(Sha1, EveryLengthAroundTheBlockEdgesMatchesPiecewiseHashing)
{
    // Lengths 0..200 cover the one- and two-block endings; feeding the same bytes
    // in uneven pieces must not change the digest.
    std::string data;
    for (int i = 0; i < 200; ++i)
        data += char('a' + i % 26);
    for (int n = 0; n <= 200; ++n) {
        MKSha1Digest whole, pieces;
        MKSha1::Compute(data.data(), n, &whole);
        MKSha1 sha;
        for (int at = 0, step = 1; at < n; at += step, step = step * 2 % 67 + 1)
            sha.Update(data.data() + at, std::min(step, n - at));
        sha.Final();
        sha.GetDigest(&pieces);
        EXPECT_TRUE(whole.Equals(pieces)) << n;
    }
    MKSha1Digest a, b;
    MKSha1::Compute("abc", 3, &a);
    MKSha1::Compute("abd", 3, &b);
    EXPECT_FALSE(a.Equals(b));
}

TEST(Sha1, MatchesPythonOnTheFixture)
{
    FILE* file = _wfopen(FixturePath(L"compression_plain.bin").c_str(), L"rb");
    ASSERT_NE(nullptr, file);
    std::vector<uint8_t> data(200000);
    ASSERT_EQ(data.size(), fread(data.data(), 1, data.size(), file));
    fclose(file);
    file = _wfopen(FixturePath(L"compression_plain.sha1").c_str(), L"rb");
    ASSERT_NE(nullptr, file);
    char expected[41] = {};
    ASSERT_EQ(40u, fread(expected, 1, 40, file));
    fclose(file);

    MKByteArray bytes;
    bytes.AppendRange(data.data(), int(data.size()));
    MKSha1Digest digest;
    MKSha1::ComputeBytes(&digest, bytes);
    EXPECT_EQ(expected, Hex(digest));

    MKSha1Stream stream;
    for (size_t at = 0; at < data.size(); at += 777)
        ASSERT_TRUE(stream.Write(data.data() + at, int(std::min<size_t>(777, data.size() - at))));
    EXPECT_EQ(200000, stream.GetCount());
    MKSha1Digest running;
    stream.GetDigest(&running);
    EXPECT_EQ(expected, Hex(running));
    EXPECT_TRUE(stream.Close());
    MKSha1Digest streamed;
    stream.GetDigest(&streamed);
    EXPECT_EQ(expected, Hex(streamed));
    EXPECT_FALSE(stream.Write("x", 1));  // finished: no silent change of the digest

    EXPECT_TRUE(stream.Reset());
    EXPECT_EQ(0, stream.GetCount());
    ASSERT_TRUE(stream.Write("abc", 3) && stream.Close());
    stream.GetDigest(&streamed);
    EXPECT_EQ("a9993e364706816aba3e25717850c26c9cd0d89d", Hex(streamed));
}

}  // namespace
