// The web-message envelope: golden envelopes of the Python oracle
// (tests/fixtures/web_message.py), round trips, the choice between a stored
// and a deflated body, and the refusal of every short, damaged or oversized
// envelope.
#include "WebMessageSupport.h"

#include "fixtures/AllocationProbe.h"

#include "addin/core/MessageCodec.h"
#include "base/MKCompressBuffers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using webmsg::Bytes;
using webmsg::FromHex;
using webmsg::FromText;
using webmsg::ReadFixture;
using webmsg::ToBytes;

Bytes Encode(const Bytes& payload, uint32_t key, uint32_t random)
{
    MKByteArray out;
    EXPECT_TRUE(MessageCodec::EncodeWithRandom(payload.data(), static_cast<int>(payload.size()), key, random, out));
    return ToBytes(out);
}

bool Decode(const Bytes& message, uint32_t key, Bytes* payload)
{
    MKByteArray out;
    out.Add(0x55);  // anything left over must go
    bool ok = MessageCodec::Decode(message.data(), static_cast<int>(message.size()), key, out);
    *payload = ToBytes(out);
    return ok;
}

TEST(MessageCodec, EncodesAsTheOracleDoes)
{
    EXPECT_EQ(Encode(FromText("hello world"), MessageCodec::kRequestKey, 123456789),
              FromHex("1aa6e04e0138fc2afc061d1dfcfcfcc26af30f9130097d381de72af3c212e706c4b06adbdb49c78a4983dbae087d5"
                      "96a6a381d067dc2590836c2057d7d"));
    // No payload: the header and the method byte alone.
    EXPECT_EQ(Encode(Bytes(), MessageCodec::kQueryTextKey, 0),
              FromHex("1aa6e04e01e3fa4fe817fa9d17e30c9dadadfa9d0ce0e39d329c9c0cd8ad9ce9ade3e8173432e9328fe33632320c0"
                      "1010101"));
    // A deflated body; only the top bit of the random value is dropped.
    EXPECT_EQ(Encode(ReadFixture(L"sample.xml"), MessageCodec::kResponseKey, 0xFFFFFFFF),
              ReadFixture(L"sample_response.msg"));
}

TEST(MessageCodec, DecodesTheOraclesEnvelopes)
{
    Bytes xml = ReadFixture(L"sample.xml");
    ASSERT_FALSE(xml.empty());
    struct Case {
        const wchar_t* file;
        uint32_t key;
    };
    for (Case c : {Case{L"sample_response.msg", MessageCodec::kResponseKey},
                   Case{L"sample_stored_response.msg", MessageCodec::kResponseKey},
                   // Deflated data that ends with a sync flush and no final block.
                   Case{L"sync_flushed_response.msg", MessageCodec::kResponseKey},
                   Case{L"request_key.msg", MessageCodec::kRequestKey}}) {
        SCOPED_TRACE(testing::Message() << c.file);
        Bytes payload;
        ASSERT_TRUE(Decode(ReadFixture(c.file), c.key, &payload));
        EXPECT_EQ(payload, xml);
    }
    // The other side's key reads nothing.
    Bytes payload;
    EXPECT_FALSE(Decode(ReadFixture(L"request_key.msg"), MessageCodec::kResponseKey, &payload));
    EXPECT_TRUE(payload.empty());
}

TEST(MessageCodec, RoundTripsAnyPayloadKeyAndRandomValue)
{
    std::mt19937 random(7);
    Bytes text;
    for (int i = 0; i < 20000; ++i)
        text.push_back(static_cast<uint8_t>("web message "[i % 12]));
    for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(49), size_t(50), size_t(1000), size_t(70000)}) {
        Bytes noise(n);
        for (uint8_t& b : noise)
            b = static_cast<uint8_t>(random());
        for (const Bytes& payload : {noise, Bytes(text.begin(), text.begin() + std::min(n, text.size()))}) {
            for (uint32_t key : {0u, 1u, MessageCodec::kRequestKey, 0xFFFFFFFFu}) {
                for (uint32_t r : {0u, 1u, 0x7FFFFFFFu, static_cast<uint32_t>(random())}) {
                    SCOPED_TRACE(testing::Message() << n << " bytes, key " << key << ", random " << r);
                    Bytes message = Encode(payload, key, r);
                    EXPECT_TRUE(MessageCodec::HasMagic(message.data(), static_cast<int>(message.size())));
                    Bytes back;
                    ASSERT_TRUE(Decode(message, key, &back));
                    EXPECT_EQ(back, payload);
                }
            }
        }
    }
    // With the time-stamp counter's value.
    MKByteArray message;
    ASSERT_TRUE(MessageCodec::Encode(text.data(), static_cast<int>(text.size()), 42, message));
    Bytes back;
    ASSERT_TRUE(Decode(ToBytes(message), 42, &back));
    EXPECT_EQ(back, text);
}

TEST(MessageCodec, DeflatesOnlyWhenThatSavesTwoBytes)
{
    // Raw deflate at level 6 makes five bytes of five to thirty-six "a"s.
    struct Case {
        int n;
        int total;
    };
    for (Case c : {Case{5, 55}, Case{6, 56}, Case{7, 55}, Case{36, 55}}) {
        SCOPED_TRACE(c.n);
        Bytes payload(static_cast<size_t>(c.n), 'a');
        MKByteArray deflated;
        ASSERT_TRUE(MKCompressToArray(payload.data(), c.n, deflated, 6, true));
        ASSERT_EQ(deflated.GetCount(), 5);
        Bytes message = Encode(payload, MessageCodec::kRequestKey, 77);
        EXPECT_EQ(static_cast<int>(message.size()), c.total);
        Bytes back;
        ASSERT_TRUE(Decode(message, MessageCodec::kRequestKey, &back));
        EXPECT_EQ(back, payload);
    }
}

TEST(MessageCodec, RefusesShortWrongAndDamagedEnvelopes)
{
    const uint32_t key = MessageCodec::kResponseKey;
    Bytes good = ReadFixture(L"sample_response.msg");
    ASSERT_GT(good.size(), 100u);
    struct Case {
        std::string what;
        Bytes message;
    };
    std::vector<Case> cases;
    for (size_t n = 0; n < 50; ++n)
        cases.push_back({"first " + std::to_string(n) + " bytes", Bytes(good.begin(), good.begin() + n)});
    cases.push_back({"one byte short", Bytes(good.begin(), good.end() - 1)});
    Bytes longer = good;
    longer.push_back(0);
    cases.push_back({"one byte more", longer});
    for (size_t at = 0; at < good.size(); ++at) {
        Bytes flipped = good;
        flipped[at] ^= 0x01;
        cases.push_back({"bit 0 of byte " + std::to_string(at), flipped});
    }
    for (uint8_t version : {0, 2, 255}) {
        Bytes other = good;
        other[4] = version;
        cases.push_back({"version " + std::to_string(version), other});
    }
    cases.push_back({"method 3", ReadFixture(L"method3.msg")});
    cases.push_back({"damaged deflate data", ReadFixture(L"damaged_deflate.msg")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes payload;
        EXPECT_FALSE(Decode(c.message, key, &payload));
        EXPECT_TRUE(payload.empty());
    }
    MKByteArray out;
    EXPECT_FALSE(MessageCodec::Decode(nullptr, 100, key, out));
}

TEST(MessageCodec, RefusesAPayloadThatInflatesTooFarWithoutAllocatingIt)
{
    // Seventeen megabytes of spaces in about seventeen kilobytes.
    Bytes bomb = ReadFixture(L"inflates_too_far.msg");
    ASSERT_GT(bomb.size(), 10000u);
    ASSERT_LT(bomb.size(), 30000u);
    AllocationProbe probe;
    Bytes payload;
    EXPECT_FALSE(Decode(bomb, MessageCodec::kResponseKey, &payload));
    EXPECT_TRUE(payload.empty());
    EXPECT_LE(probe.Largest(), static_cast<size_t>(MessageCodec::kMaxPayload) * 3 / 2 + 65536);
}

TEST(MessageCodec, TheMagicNeedsAByteAfterIt)
{
    const uint8_t magic[] = {0x1A, 0xA6, 0xE0, 0x4E, 0x00};
    EXPECT_FALSE(MessageCodec::HasMagic(magic, 4));
    EXPECT_TRUE(MessageCodec::HasMagic(magic, 5));
    const uint8_t other[] = {0x1A, 0xA6, 0xE0, 0x4F, 0x01};
    EXPECT_FALSE(MessageCodec::HasMagic(other, 5));
    EXPECT_FALSE(MessageCodec::HasMagic(nullptr, 5));
}

}  // namespace
