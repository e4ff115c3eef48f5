#include "base/MKGuid.h"
#include "base/MKRandom.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// {6B29FC40-CA47-1067-B31D-00DD010662DA}
const GUID kSample = {0x6B29FC40, 0xCA47, 0x1067, {0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA}};

TEST(Guid, FourTextForms)
{
    MKGuid guid(kSample);
    EXPECT_EQ(L"6B29FC40-CA47-1067-B31D-00DD010662DA", Text(guid.FormatUpper()));
    EXPECT_EQ(L"6B29FC40-CA47-1067-B31D-00DD010662DA", Text(guid.ToString()));
    EXPECT_EQ(L"6b29fc40-ca47-1067-b31d-00dd010662da", Text(guid.FormatLower()));
    EXPECT_EQ(L"6B29FC40CA471067B31D00DD010662DA", Text(guid.FormatUpperCompact()));
    EXPECT_EQ(L"6b29fc40ca471067b31d00dd010662da", Text(guid.FormatLowerCompact()));
    // Memory order is Data1 little-endian first.
    EXPECT_EQ(0x40, guid.Bytes()[0]);
    EXPECT_EQ(0x6B, guid.Bytes()[3]);
}

TEST(Guid, ParseEveryFormBack)
{
    MKGuid guid(kSample);
    for (const MKString& text : {guid.FormatUpper(), guid.FormatLower(), guid.FormatUpperCompact(),
                                 guid.FormatLowerCompact(), MKString(L"-6b-29fc40ca47-1067b31d00dd010662dA")}) {
        MKGuid parsed;
        EXPECT_TRUE(parsed.Parse(text.GetText())) << text.GetText();
        EXPECT_TRUE(parsed == guid) << text.GetText();
    }
}

TEST(Guid, ParseRefusesAnythingElse)
{
    const wchar_t* bad[] = {
        L"{6B29FC40-CA47-1067-B31D-00DD010662DA}",
        L"6B29FC40-CA47-1067-B31D-00DD010662D",     // 31 digits
        L"6B29FC40CA471067B31D00DD010662DA0",      // 33 digits
        L"6B29FC40-CA47-1067-B31D-00DD010662DA-",  // dash after the last byte
        L"6B29FC40--CA47-1067-B31D-00DD010662DA",  // two dashes
        L"6B29FC4-0CA47-1067-B31D-00DD010662DA",   // dash inside a byte
        L" 6B29FC40-CA47-1067-B31D-00DD010662DA",
        L"6B29FC40-CA47-1067-B31D-00DD010662DA ",
        L"6B29FC40-CA47-1067-B31D-00DD010662DG",   // letters after F
        L"6B29FC40-CA47-1067-B31D-00DD010662Dz",
        L"6B29FC40-CA47-1067-B31D-00DD010662D:",
        L"",
        nullptr,
    };
    for (const wchar_t* text : bad) {
        MKGuid guid(kSample);
        EXPECT_FALSE(guid.Parse(text)) << (text ? text : L"(null)");
        EXPECT_TRUE(guid == MKGuid(kSample));
    }
}

TEST(Guid, CompareByBytesInMemoryOrder)
{
    MKGuid a, b;
    ASSERT_TRUE(a.Parse(L"00000001-0000-0000-0000-000000000000"));
    ASSERT_TRUE(b.Parse(L"00000100-0000-0000-0000-000000000000"));
    // Data1 1 is byte 0 = 01; Data1 0x100 has byte 0 = 00.
    EXPECT_GT(CompareGuid(a, b), 0);
    EXPECT_LT(CompareGuid(b, a), 0);
    EXPECT_EQ(0, CompareGuid(a, a));
    MKGuid high;
    ASSERT_TRUE(high.Parse(L"000000FF-0000-0000-0000-000000000000"));
    EXPECT_GT(CompareGuid(high, a), 0);
}

TEST(Guid, CreateGivesDistinctGuids)
{
    std::set<std::wstring> seen;
    for (int i = 0; i < 50; ++i) {
        MKGuid guid;
        ASSERT_TRUE(guid.Create());
        EXPECT_FALSE(guid == MKGuid());
        seen.insert(Text(guid.FormatUpper()));
    }
    EXPECT_EQ(50u, seen.size());
}

TEST(Guid, GeneratorGuidsAreVersion4AndBitExact)
{
    // Expected bytes computed outside with the same 48-bit recurrence.
    struct {
        uint64_t seed;
        uint8_t bytes[16];
    } cases[] = {
        {0, {0xbb, 0xd4, 0x3d, 0x9b, 0xa3, 0x4f, 0x8c, 0x4d, 0x98, 0xc8, 0x55, 0x40, 0x62, 0x9c, 0xfc, 0xfb}},
        {0x123456789ABCDEF0ull,
         {0x04, 0x26, 0x9f, 0x12, 0xcc, 0x82, 0x7a, 0x40, 0x9b, 0x47, 0xcd, 0x7c, 0xfb, 0x71, 0x20, 0xc6}},
        {~0ull, {0x44, 0x70, 0x03, 0x8c, 0xa9, 0x99, 0x6a, 0x46, 0x93, 0x0e, 0xce, 0x4f, 0x0e, 0x11, 0x15, 0xb0}},
    };
    for (const auto& c : cases) {
        MKGuid guid = MKGuid::FromSeed(c.seed);
        EXPECT_EQ(0, memcmp(c.bytes, guid.Bytes(), 16)) << guid.FormatUpper().GetText();
        EXPECT_EQ(0x4000, guid.Get().Data3 & 0xF000);
        EXPECT_EQ(0x80, guid.Get().Data4[0] & 0xC0);
    }
}

TEST(Random, StateAndSequenceAreBitExact)
{
    MKRandom random(0x9ABCDEF0, 0x12345678);
    EXPECT_EQ(0x567d4450389dull, random.GetState());
    const uint8_t expected[] = {0x04, 0x26, 0x9f, 0x12, 0xcc, 0x82, 0x7a, 0xd0,
                                0x9b, 0x47, 0xcd, 0x7c, 0xfb, 0x71, 0x20, 0xc6};
    for (uint8_t byte : expected)
        EXPECT_EQ(byte, random.NextByte());
    EXPECT_EQ(0xc6e8d1f4e76dull, random.GetState());
    random.Advance();
    EXPECT_EQ((0xc6e8d1f4e76dull * 0x5DEECE66Dull + 11) & 0xFFFFFFFFFFFFull, random.GetState());
}

}  // namespace
