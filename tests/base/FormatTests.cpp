#include "base/MKFormat.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string>

namespace {

std::wstring Fmt(const wchar_t* format, ...)
{
    wchar_t buffer[2048];
    va_list args;
    va_start(args, format);
    int length = MKFormatToBufferV(buffer, 2048, format, args);
    va_end(args);
    EXPECT_EQ(size_t(length), wcslen(buffer)) << "returned length differs for " << format;
    return buffer;
}

TEST(Format, IntegerFlagsWidthAndPrecision)
{
    EXPECT_EQ(L"   42", Fmt(L"%5d", 42));
    EXPECT_EQ(L"42   |", Fmt(L"%-5d|", 42));
    EXPECT_EQ(L"-0042", Fmt(L"%05d", -42));
    EXPECT_EQ(L"+7", Fmt(L"%+d", 7));
    EXPECT_EQ(L" 7", Fmt(L"% d", 7));
    EXPECT_EQ(L"-7", Fmt(L"%+d", -7));
    EXPECT_EQ(L"", Fmt(L"%.0d", 0));
    EXPECT_EQ(L"007", Fmt(L"%.3d", 7));
    EXPECT_EQ(L"  007", Fmt(L"%05.3d", 7));  // a precision turns the zero flag off
    EXPECT_EQ(L"0xff", Fmt(L"%#x", 255));
    EXPECT_EQ(L"0X00FF", Fmt(L"%#06X", 255));
    EXPECT_EQ(L"0", Fmt(L"%#X", 0));
    EXPECT_EQ(L"010", Fmt(L"%#o", 8));
    EXPECT_EQ(L"0", Fmt(L"%#o", 0));
    EXPECT_EQ(L"0", Fmt(L"%#.0o", 0));
    EXPECT_EQ(L"-2147483648", Fmt(L"%d", INT32_MIN));
    EXPECT_EQ(L"4294967295", Fmt(L"%u", -1));
    EXPECT_EQ(L"+5", Fmt(L"%+i", 5));
    EXPECT_EQ(L"7", Fmt(L"%+u", 7));  // no sign on unsigned conversions
    EXPECT_EQ(L"  -3|", Fmt(L"%*d|", 4, -3));
    EXPECT_EQ(L"-3  |", Fmt(L"%*d|", -4, -3));
    EXPECT_EQ(L"00012", Fmt(L"%.*d", 5, 12));
    EXPECT_EQ(L"12", Fmt(L"%.*d", -5, 12));
}

TEST(Format, IntegerSizes)
{
    EXPECT_EQ(L"-1", Fmt(L"%hhd", 255));
    EXPECT_EQ(L"255", Fmt(L"%hhu", 255));
    EXPECT_EQ(L"-1", Fmt(L"%hd", 65535));
    EXPECT_EQ(L"1", Fmt(L"%hu", 65537));
    EXPECT_EQ(L"-9223372036854775808", Fmt(L"%lld", INT64_MIN));
    EXPECT_EQ(L"18446744073709551615", Fmt(L"%llu", UINT64_MAX));
    EXPECT_EQ(L"123456789abcdef0", Fmt(L"%llx", 0x123456789abcdef0ull));
    // 64-bit arguments take two slots; the next argument must still line up.
    EXPECT_EQ(L"4294967296 7", Fmt(L"%lld %d", 4294967296ll, 7));
    EXPECT_EQ(L"5 6 7", Fmt(L"%ld %zd %td", 5, 6, 7));
}

TEST(Format, TextCharactersAndOthers)
{
    EXPECT_EQ(L"(null)", Fmt(L"%s", static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ(L"ab", Fmt(L"%.2s", L"abc"));
    EXPECT_EQ(L"  abc|abc  |", Fmt(L"%5s|%-5s|", L"abc", L"abc"));
    EXPECT_EQ(L"  abc", Fmt(L"%05s", L"abc"));
    EXPECT_EQ(L"x\x00e9", Fmt(L"%c%c", L'x', 0xE9));
    EXPECT_EQ(L"  z", Fmt(L"%3c", L'z'));
    EXPECT_EQ(L"%q", Fmt(L"%q"));
    EXPECT_EQ(L"100%", Fmt(L"100%%"));
    EXPECT_EQ(L"1a2b", Fmt(L"%p", reinterpret_cast<void*>(0x1a2b)));
    EXPECT_EQ(L"0", Fmt(L"%10p", nullptr));
    EXPECT_EQ(L"ab", Fmt(L"ab%-5"));  // ends inside a specification
}

TEST(Format, CountStoredThroughPointer)
{
    int count = -1;
    short shortCount = -1;
    long long longCount = -1;
    EXPECT_EQ(L"abcdef", Fmt(L"abc%ndef%hn%lln", &count, &shortCount, &longCount));
    EXPECT_EQ(3, count);
    EXPECT_EQ(6, shortCount);
    EXPECT_EQ(6, longCount);
}

struct FloatCase {
    const wchar_t* format;
    double value;
    const wchar_t* expected;
};

TEST(Format, FloatingPoint)
{
    const FloatCase cases[] = {
        {L"%f", 1.5, L"1.500000"},
        {L"%.0f", 2.5, L"3"},
        {L"%.0f", 0.5, L"1"},
        {L"%.0f", 0.4, L"0"},
        {L"%#.0f", 2.0, L"2."},
        {L"%.2f", 9.996, L"10.00"},
        {L"%.2f", 0.004, L"0.00"},
        {L"%.2f", 0.009, L"0.01"},
        {L"%.3f", 0.0001, L"0.000"},
        {L"%f", 0.0, L"0.000000"},
        {L"%f", -3.25, L"-3.250000"},
        {L"%010.2f", -3.25, L"-000003.25"},
        {L"%+.1f", 3.0, L"+3.0"},
        {L"%e", 12345.678, L"1.234568e+04"},
        {L"%e", 0.0, L"0.000000e+00"},
        {L"%E", 1e-10, L"1.000000E-10"},
        {L"%e", 1e100, L"1.000000e+100"},
        {L"%.0e", 5.0, L"5e+00"},
        {L"%#.0e", 5.0, L"5.e+00"},
        {L"%.2e", 9.999, L"1.00e+01"},
        {L"%g", 0.0001, L"0.0001"},
        {L"%g", 0.00001, L"1e-05"},
        {L"%g", 123456.0, L"123456"},
        {L"%g", 1234567.0, L"1.23457e+06"},
        {L"%g", 100.0, L"100"},
        {L"%g", 0.0, L"0"},
        {L"%g", 0.5, L"0.5"},
        {L"%g", 999999.5, L"1e+06"},
        {L"%G", 1e-20, L"1E-20"},
        {L"%.0g", 25.0, L"3e+01"},
        {L"%.3g", 3.14159, L"3.14"},
        {L"%#g", 1.0, L"1.00000"},
        {L"%#g", 0.0001, L"0.000100000"},
        {L"%8.3g|", 2.5, L"     2.5|"},
    };
    for (const FloatCase& c : cases)
        EXPECT_EQ(c.expected, Fmt(c.format, c.value)) << c.format << " of " << c.value;
}

TEST(Format, NotANumberAndInfinity)
{
    EXPECT_EQ(L"inf", Fmt(L"%f", INFINITY));
    EXPECT_EQ(L"-inf", Fmt(L"%e", -INFINITY));
    EXPECT_EQ(L"+INF", Fmt(L"%+G", INFINITY));
    EXPECT_EQ(L"nan", Fmt(L"%g", NAN));
    EXPECT_EQ(L"NAN", Fmt(L"%F", NAN));
    EXPECT_EQ(L"  inf", Fmt(L"%05f", INFINITY));
}

TEST(Format, PrecisionIsCutTo510)
{
    std::wstring text = Fmt(L"%.600f", 1.0);
    EXPECT_EQ(512u, text.size());  // "1." and 510 digits
    EXPECT_EQ(L"1.000", text.substr(0, 5));
    EXPECT_EQ(510u, Fmt(L"%.600s", std::wstring(700, L'a').c_str()).size());
}

TEST(Format, LargeValuesFillEveryPlace)
{
    std::wstring text = Fmt(L"%.510f", 1e300);
    EXPECT_EQ(301u + 1 + 510, text.size());
    EXPECT_EQ(L'1', text[0]);
    EXPECT_EQ(L'.', text[301]);
}

TEST(Format, BufferTooSmallCutsButCounts)
{
    wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(10, MKFormatToBuffer(buffer, 4, L"%s", L"0123456789"));
    EXPECT_STREQ(L"012", buffer);
    EXPECT_EQ(10, MKFormatToBuffer(nullptr, 0, L"%s", L"0123456789"));
    wchar_t one[1] = {L'x'};
    EXPECT_EQ(3, MKFormatToBuffer(one, 1, L"abc"));
    EXPECT_EQ(0, one[0]);
}

TEST(Format, HugeWidthIsCountedWithoutBuffer)
{
    wchar_t buffer[8];
    EXPECT_EQ(2000000000, MKFormatToBuffer(buffer, 8, L"%2000000000d", 1));
    EXPECT_STREQ(L"       ", buffer);
    EXPECT_EQ(-1, MKFormatToBuffer(buffer, 8, L"%2000000000d%2000000000d", 1, 2));
}

struct SinkRecord {
    std::wstring text;
    int calls = 0;
    int failAt = -1;
};

bool RecordSink(void* user, const wchar_t* chars, int count)
{
    SinkRecord* record = static_cast<SinkRecord*>(user);
    if (record->calls++ == record->failAt)
        return false;
    record->text.append(chars, size_t(count));
    return true;
}

int EngineWith(SinkRecord& record, wchar_t* buffer, int capacity, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int length = MKFormatEngine(RecordSink, &record, buffer, capacity, format, args);
    va_end(args);
    return length;
}

TEST(Format, SinkReceivesEverythingInOrder)
{
    wchar_t buffer[4];
    SinkRecord record;
    int length = EngineWith(record, buffer, 4, L"ab%s-%8d|%-6c|%s", L"cde", 42, L'x', L"0123456789");
    std::wstring expected = L"abcde-      42|x     |0123456789";
    EXPECT_EQ(int(expected.size()), length);
    EXPECT_EQ(expected, record.text);

    SinkRecord direct;
    EXPECT_EQ(10, EngineWith(direct, nullptr, 0, L"%5s%5d", L"ab", 7));
    EXPECT_EQ(L"   ab    7", direct.text);
}

TEST(Format, SinkRefusalEndsWithMinusOne)
{
    wchar_t buffer[4];
    SinkRecord record;
    record.failAt = 1;
    EXPECT_EQ(-1, EngineWith(record, buffer, 4, L"%s%s%s", L"0123456789", L"abcdefgh", L"ijklmnop"));
    EXPECT_EQ(2, record.calls);  // nothing more is handed over after the refusal
    EXPECT_EQ(L"0123456789", record.text);
}

TEST(FloatDigits, DigitStringAndExponent)
{
    wchar_t digits[MKFloatDigitsBufferSize];
    int exponent = 0;
    bool negative = false;
    int count = MKFloatDigits(-12345.678, 7, &exponent, MKFloatDigitsSignificant, digits, &negative);
    EXPECT_EQ(L"1234568", std::wstring(digits, size_t(count)));
    EXPECT_EQ(5, exponent);
    EXPECT_TRUE(negative);

    count = MKFloatDigits(0.05, 2, &exponent, MKFloatDigitsFixed, digits, &negative);
    EXPECT_EQ(L"5", std::wstring(digits, size_t(count)));
    EXPECT_EQ(-1, exponent);
    EXPECT_FALSE(negative);

    count = MKFloatDigits(0.96, 1, &exponent, MKFloatDigitsFixed, digits, &negative);
    EXPECT_EQ(L"10", std::wstring(digits, size_t(count)));  // the carry adds a place
    EXPECT_EQ(1, exponent);
}

}  // namespace
