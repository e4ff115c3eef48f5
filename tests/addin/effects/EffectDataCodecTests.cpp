// Effect data texts: golden vectors from tests/fixtures/effect_data.py (an
// independent writer), the length formulas, refusals and round trips.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "addin/effects/EffectDataCodec.h"
#include "base/MKBstrHolder.h"
#include "base/MKCoTaskMemBuffer.h"

namespace {

struct Decoded {
    HRESULT hr;
    std::string data;
    int version;
    int mode;
};

Decoded Decode(const std::wstring& text, bool withPrefix)
{
    MKCoTaskMemBuffer buffer;
    int length = -1;
    Decoded result{};
    result.version = result.mode = -99;
    result.hr = EffectDataCodec::Decode(text.c_str(), int(text.size()), withPrefix, buffer, &length, &result.version,
                                        &result.mode);
    if (SUCCEEDED(result.hr))
        result.data.assign(static_cast<const char*>(buffer.Data()), size_t(length));
    return result;
}

std::wstring Encode(const std::string& data, bool withPrefix)
{
    MKBstrHolder text;
    EXPECT_EQ(EffectDataCodec::Encode(reinterpret_cast<const uint8_t*>(data.data()), int(data.size()), withPrefix,
                                      text.Receive()),
              S_OK);
    return std::wstring(text.Get(), SysStringLen(text.Get()));
}

TEST(EffectDataCodec, ReadsTextsOfAnIndependentWriterInEveryMode)
{
    struct Row {
        const wchar_t* text;
        bool withPrefix;
        const char* data;
        int mode;
    } rows[] = {
        {L"VistelloEffectData:adLtR.5ByKf%y+Ed:^SDwqrhD6o", true, "effect data", 4},  // key 0x12345678
        {L"ad00000cYd/B02", false, "", 4},                                             // key 0
        {L"VistelloEffectData:ab360007}JB", true, "Hi", 2},
        {L"aa360007}JB", false, "Hi", 1},
        {L"acAQIAAABIaQ==", false, "Hi", 3},
        {L"ab49000ee$!A", false, "Hi!", 2},
    };
    for (const Row& row : rows) {
        const Decoded decoded = Decode(row.text, row.withPrefix);
        EXPECT_EQ(decoded.hr, S_OK) << row.text;
        EXPECT_EQ(decoded.data, row.data) << row.text;
        EXPECT_EQ(decoded.version, 1);
        EXPECT_EQ(decoded.mode, row.mode);
    }
}

TEST(EffectDataCodec, BlocksUseTheCodecsAlphabetLeastSignificantDigitFirst)
{
    uint8_t bytes[11];
    for (int i = 0; i < 11; ++i)
        bytes[i] = uint8_t(i);
    wchar_t out[14];
    ASSERT_TRUE(EffectDataCodec::EncodeBlock(bytes, 11, out, 14, EffectDataCodec::kPlain1, false));
    EXPECT_EQ(std::wstring(out, 14), L"6gE|0MT:L2R261");
    EXPECT_FALSE(EffectDataCodec::EncodeBlock(bytes, 11, out, 13, EffectDataCodec::kPlain1, false));
    EXPECT_FALSE(EffectDataCodec::EncodeBlock(bytes, 11, out, 14, 5, false));

    // Base-64 fits a room of exactly its length (its writer adds a zero).
    wchar_t room[9] = {0, 0, 0, 0, 0, 0, 0, 0, L'#'};
    ASSERT_TRUE(EffectDataCodec::EncodeBlock(bytes, 6, room, 8, EffectDataCodec::kBase64, false));
    EXPECT_EQ(std::wstring(room, 8), L"AAECAwQF");
    EXPECT_EQ(room[8], L'#');
}

TEST(EffectDataCodec, ScrambledBlocksRestoreTheCallersBytesWhenAsked)
{
    std::vector<uint8_t> bytes(23);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7);
    const std::vector<uint8_t> original = bytes;
    const int characters = EffectDataCodec::EncodedLength(23, EffectDataCodec::kScrambled);
    ASSERT_EQ(characters, 5 * 5 + 4 + 5);
    std::wstring text(size_t(characters), L' ');
    ASSERT_TRUE(EffectDataCodec::EncodeBlock(bytes.data(), 23, text.data(), characters, EffectDataCodec::kScrambled,
                                             true));
    EXPECT_EQ(bytes, original);
    std::vector<uint8_t> back(size_t(EffectDataCodec::DecodedCapacity(characters, EffectDataCodec::kScrambled)));
    int length = 0;
    ASSERT_TRUE(EffectDataCodec::DecodeBlock(text.c_str(), characters, back.data(), &length,
                                             EffectDataCodec::kScrambled));
    ASSERT_EQ(length, 23);
    back.resize(23);
    EXPECT_EQ(back, original);

    ASSERT_TRUE(EffectDataCodec::EncodeBlock(bytes.data(), 23, text.data(), characters, EffectDataCodec::kScrambled,
                                             false));
    EXPECT_NE(bytes, original);
    // A key group alone, or one that is not 4 bytes, is no block.
    EXPECT_FALSE(EffectDataCodec::DecodeBlock(L"0000", 4, back.data(), &length, EffectDataCodec::kScrambled));
    EXPECT_FALSE(EffectDataCodec::DecodeBlock(L"000_0000", 8, back.data(), &length, EffectDataCodec::kScrambled));
}

TEST(EffectDataCodec, EmptyDataWithPrefixIsThirtyThreeCharacters)
{
    const std::wstring text = Encode("", true);
    EXPECT_EQ(text.size(), 33u);
    EXPECT_EQ(text.substr(0, 21), L"VistelloEffectData:ad");
    const Decoded decoded = Decode(text, true);
    EXPECT_EQ(decoded.hr, S_OK);
    EXPECT_EQ(decoded.data, "");

    MKBstrHolder none;
    ASSERT_EQ(EffectDataCodec::Encode(nullptr, 12, false, none.Receive()), S_OK);
    EXPECT_EQ(SysStringLen(none.Get()), 14u);
}

TEST(EffectDataCodec, EveryEncodingHasAFreshKeyAndRoundTrips)
{
    std::string data;
    for (int size = 0; size < 600; size += size < 20 ? 1 : 37) {
        data.resize(size_t(size));
        for (int i = 0; i < size; ++i)
            data[size_t(i)] = char(i * 31 + size);
        const std::wstring first = Encode(data, size % 2 == 0);
        const std::wstring second = Encode(data, size % 2 == 0);
        EXPECT_NE(first, second) << size;
        EXPECT_EQ(int(first.size()),
                  EffectDataCodec::EncodedLength(5 + size, EffectDataCodec::kScrambled) + 2 + (size % 2 ? 0 : 19));
        EXPECT_EQ(Decode(first, size % 2 == 0).data, data) << size;
        EXPECT_EQ(Decode(second, size % 2 == 0).data, data) << size;
    }
}

TEST(EffectDataCodec, MalformedTextsAreRefused)
{
    struct Row {
        const wchar_t* text;
        bool withPrefix;
        HRESULT hr;
    } rows[] = {
        {L"ab490007}JB", false, E_FAIL},                     // states 3 bytes, holds 2
        {L"ab360007}JB00", false, E_FAIL},                  // a last group of one symbol
        {L"ab36000\"}JB", false, E_FAIL},                    // a symbol outside the alphabet
        {L"ab36000\x0130}JB", false, E_FAIL},                // above 0xFF: not our text
        {L"bb360007}JB", false, E_FAIL},                     // version letter
        {L"ae360007}JB", false, E_FAIL},                     // mode letter
        {L"a", false, E_FAIL},                               // shorter than the letters
        {L"vistelloEffectData:ab360007}JB", true, E_FAIL},   // the prefix's case counts
        {L"VistelloEffectData:ab360007}JB", false, E_FAIL},  // a prefix where none belongs
        {L"ad00000", false, E_FAIL},                         // a key and no record
    };
    for (const Row& row : rows)
        EXPECT_EQ(Decode(row.text, row.withPrefix).hr, row.hr) << row.text;

    MKCoTaskMemBuffer buffer;
    EXPECT_EQ(EffectDataCodec::Decode(nullptr, 0, false, buffer, nullptr, nullptr, nullptr), E_POINTER);
    // The letters are reported before they are checked.
    const Decoded wrongMode = Decode(L"ae360007}JB", false);
    EXPECT_EQ(wrongMode.mode, 5);
}

TEST(EffectDataCodec, LengthFormulas)
{
    struct Row {
        int n;
        int mode;
        int length;
    } encoded[] = {{0, 4, 5}, {1, 4, 7}, {4, 4, 10}, {5, 4, 12}, {7, 4, 14}, {8, 1, 10},
                   {9, 2, 12}, {0, 3, 0}, {1, 3, 4}, {3, 3, 4}, {4, 3, 8}, {4, 5, -1}};
    for (const Row& row : encoded)
        EXPECT_EQ(EffectDataCodec::EncodedLength(row.n, row.mode), row.length) << row.n << " " << row.mode;
    Row capacity[] = {{10, 1, 11}, {10, 2, 11}, {8, 3, 8}, {4, 4, 0}, {5, 4, 3}, {10, 4, 7}, {5241854, 4, 4193482}};
    for (const Row& row : capacity)
        EXPECT_EQ(EffectDataCodec::DecodedCapacity(row.n, row.mode), row.length) << row.n << " " << row.mode;
    // The largest block stays within the longest text; one byte more does not.
    EXPECT_EQ(EffectDataCodec::EncodedLength(EffectDataCodec::kMaxBlockBytes, 4), EffectDataCodec::kMaxTextLength);
    EXPECT_GT(EffectDataCodec::EncodedLength(EffectDataCodec::kMaxBlockBytes + 1, 4), EffectDataCodec::kMaxTextLength);
}

TEST(EffectDataCodec, TextsLongerThanTheLimitAreRefused)
{
    // With prefix and letters, 5 + L record bytes must encode in at most
    // 5,241,854 - 21 characters.
    const int largest = EffectDataCodec::kMaxBlockBytes - 5 - 17;
    std::vector<uint8_t> data(size_t(largest) + 4, 0x5A);
    MKBstrHolder text;
    ASSERT_EQ(EffectDataCodec::Encode(data.data(), largest, true, text.Receive()), S_OK);
    EXPECT_LE(int(SysStringLen(text.Get())), EffectDataCodec::kMaxTextLength);
    int over = largest + 1;
    while (EffectDataCodec::EncodedLength(5 + over, 4) + 21 <= EffectDataCodec::kMaxTextLength)
        ++over;
    EXPECT_EQ(EffectDataCodec::Encode(data.data(), over, true, text.Receive()), E_FAIL);
    EXPECT_EQ(text.Get(), nullptr);
}

TEST(EffectDataCodec, ScramblingWithAKeyIsUndoneForEveryTailLength)
{
    for (int length = 0; length <= 9; ++length) {
        std::vector<uint8_t> bytes(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i)
            bytes[size_t(i)] = uint8_t(0xA0 + i);
        const std::vector<uint8_t> original = bytes;
        ScrambleWithKey(bytes.data(), length, 0xCAFEF00D);
        if (length)
            EXPECT_NE(bytes, original) << length;
        UnscrambleWithKey(bytes.data(), length, 0xCAFEF00D);
        EXPECT_EQ(bytes, original) << length;
    }
}

}  // namespace
