#include "base/MKTextConvert.h"

#include "base/MKHexDigit.h"
#include "base/MKTArray.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Decode(const std::string& bytes)
{
    wchar_t out[64];
    int units = MKUtf8ToWide(bytes.data(), int(bytes.size()), out, 64);
    return std::wstring(out, size_t(units));
}

TEST(TextConvert, HexDigitValues)
{
    const struct {
        wchar_t c;
        int value;
    } cases[] = {
        {L'0', 0}, {L'9', 9}, {L'a', 10}, {L'f', 15}, {L'A', 10}, {L'F', 15},
        {L'/', -1}, {L':', -1}, {L'@', -1}, {L'G', -1}, {L'`', -1}, {L'g', -1},
        {0, -1}, {wchar_t(0x0131), -1}, {wchar_t(0xFF10), -1},  // no full-width digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, MKHexDigitValue(c.c)) << int(c.c);
}

TEST(TextConvert, Utf8LengthCountsLeads)
{
    EXPECT_EQ(2, MKUtf8Length("\xC3\xA9" "A", 3));
    EXPECT_EQ(1, MKUtf8Length("\xE2\x82", 2));
    EXPECT_EQ(1, MKUtf8Length("\xF0\x9F\x98\x80", 4));
    EXPECT_EQ(3, MKUtf8Length("\x80\xFF" "a", 3));
    EXPECT_EQ(0, MKUtf8Length(nullptr, 3));
    EXPECT_EQ(0, MKUtf8Length("a", 0));
}

TEST(TextConvert, Utf8DecodingReplacesWhatItCannotHold)
{
    struct Case {
        std::string bytes;
        std::wstring units;
    };
    const Case cases[] = {
        {"A\xC3\xA9", L"A\x00E9"},
        {"\xE2\x82\xAC", L"\x20AC"},
        {"\xF0\x9F\x98\x80", L"?"},           // above U+FFFF
        {"\xC3" "AB", L"?B"},                 // bad continuation: the whole sequence goes
        {"\x80" "a", L"?a"},                  // stray continuation byte
        {"\xF8" "a", L"?a"},                  // no such lead
        {"\xE2\x82", L"??"},                  // cut by the end: one byte at a time
        {"\xC1\x81", L"A"},                   // overlong forms are accepted
        {"\xED\xA0\xBD\xED\xB8\x80", L"\xD83D\xDE00"},  // surrogates one by one
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.units, Decode(c.bytes)) << c.bytes;

    wchar_t small[2] = {L'x', L'x'};
    EXPECT_EQ(0, MKUtf8ToWide("abc", 3, small, 2));
    EXPECT_EQ(L'a', small[0]);
    EXPECT_EQ(L'b', small[1]);
    EXPECT_EQ(3, MKUtf8ToWide("abc", 3, nullptr, 0));
}

TEST(TextConvert, Utf8EncodingUnitByUnit)
{
    const wchar_t text[] = L"a\x00E9\x20AC\xD83D\xDE00";
    EXPECT_EQ(1 + 2 + 3 + 3 + 3, MKUtf8Size(text, 5));
    char out[16];
    ASSERT_EQ(12, MKWideToUtf8(text, 5, out, 16));
    EXPECT_EQ(std::string("a\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\xED\xB8\x80"), std::string(out, 12));
    EXPECT_EQ(12, MKWideToUtf8(text, 5, nullptr, 0));
    EXPECT_EQ(0, MKWideToUtf8(text, 5, out, 11));
    EXPECT_EQ(0, MKWideToUtf8(text, 0, out, 16));
}

TEST(TextConvert, Utf8ArrayIsSizedExactlyAndTerminated)
{
    MKByteArray bytes;
    EXPECT_EQ(3, MKWideToUtf8Array(L"abc", 3, bytes));
    EXPECT_EQ(4, bytes.GetCount());
    EXPECT_EQ(4, bytes.GetCapacity());
    EXPECT_STREQ("abc", reinterpret_cast<const char*>(bytes.GetData()));

    EXPECT_EQ(2, MKWideToUtf8Array(L"\x00E9", 1, bytes));
    EXPECT_EQ(3, bytes.GetCount());
    EXPECT_EQ(0xC3, bytes[0]);
    EXPECT_EQ(0, bytes[2]);

    EXPECT_EQ(0, MKWideToUtf8Array(L"", 0, bytes));
    EXPECT_EQ(1, bytes.GetCount());
    EXPECT_EQ(0, bytes[0]);
}

TEST(TextConvert, AnsiCodePage)
{
    wchar_t wide[8];
    EXPECT_EQ(3, MKAnsiToWide("abc", 3, wide, 8));
    EXPECT_EQ(std::wstring(L"abc"), std::wstring(wide, 3));
    EXPECT_EQ(3, MKAnsiToWide("abc", 3, nullptr, 0));
    char narrow[8];
    EXPECT_EQ(2, MKWideToAnsi(L"xy", 2, narrow, 8));
    EXPECT_EQ(std::string("xy"), std::string(narrow, 2));
    narrow[0] = 'q';
    EXPECT_EQ(0, MKWideToAnsi(L"xyz", 3, narrow, 2));  // no room: fails, terminated
    EXPECT_EQ(0, narrow[0]);
}

TEST(TextConvert, NumbersToText)
{
    wchar_t text[24];
    EXPECT_EQ(11, MKIntToText(INT32_MIN, text));
    EXPECT_STREQ(L"-2147483648", text);
    EXPECT_EQ(1, MKIntToText(0, text));
    EXPECT_STREQ(L"0", text);
    EXPECT_EQ(2, MKIntToText(-5, text));
    EXPECT_STREQ(L"-5", text);
    EXPECT_EQ(20, MKUInt64ToText(UINT64_MAX, text));
    EXPECT_STREQ(L"18446744073709551615", text);

    const struct {
        uint32_t value;
        const wchar_t* hex;
    } hexCases[] = {{0, L"0"}, {255, L"ff"}, {4096, L"1000"}, {0xFFFFFFFFu, L"ffffffff"}, {0xA, L"a"}};
    for (const auto& c : hexCases) {
        EXPECT_EQ(int(wcslen(c.hex)), MKHexToText(c.value, text));
        EXPECT_STREQ(c.hex, text);
    }
}

TEST(TextConvert, TextToNumbers)
{
    const struct {
        const wchar_t* text;
        int used;
        int value;
    } cases[] = {
        {L"  -2147483648x", 13, INT32_MIN},
        {L"2147483647", 10, INT32_MAX},
        {L"2147483648", 0, 0},
        {L"-2147483649", 0, 0},
        {L"+", 0, 0},
        {L"-", 0, 0},
        {L"", 0, 0},
        {L"abc", 0, 0},
        {L" +12", 4, 12},
        {L"\t\r\n7", 4, 7},
        {L"-0", 2, 0},
        {L"12abc", 2, 12},
        {L"+-1", 0, 0},
        {L"00000000000000000042", 20, 42},
    };
    for (const auto& c : cases) {
        int value = 99;
        EXPECT_EQ(c.used, MKTextToInt(c.text, &value)) << c.text;
        EXPECT_EQ(c.value, value) << c.text;
        EXPECT_EQ(c.used > 0, MKTextToIntChecked(c.text, &value)) << c.text;
    }
    int value = 99;
    EXPECT_EQ(0, MKTextToInt(nullptr, &value));
    EXPECT_EQ(0, value);

    uint32_t unsignedValue = 99;
    EXPECT_EQ(0, MKTextToUInt(L"-1", &unsignedValue));
    EXPECT_EQ(0u, unsignedValue);
    EXPECT_EQ(10, MKTextToUInt(L"4294967295", &unsignedValue));
    EXPECT_EQ(4294967295u, unsignedValue);
    EXPECT_EQ(0, MKTextToUInt(L"4294967296", &unsignedValue));
    EXPECT_EQ(2, MKTextToUInt(L"+5", &unsignedValue));
    EXPECT_EQ(5u, unsignedValue);
}

}  // namespace
