#include "base/MKString.h"

#include "base/MKTOArray.h"
#include "base/MKTextConvert.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>
#include <oleauto.h>

namespace {

static_assert(sizeof(MKChar) == 1, "this test runs against the narrow build");

std::string Text(const MKString& s)
{
    return std::string(s.GetText(), size_t(s.GetLength()));
}

// A string of length `length` in an unshared block of exactly `capacity` bytes.
MKString WithCapacity(const char* text, int capacity)
{
    MKString s;
    char* chars = s.PrepareOverwrite(capacity - 1);
    int length = int(strlen(text));
    memcpy(chars, text, size_t(length));
    chars[capacity - 1] = 0;
    s.SetLength(length);
    return s;
}

TEST(NarrowString, EmptyStringsShareOneBlock)
{
    MKString a;
    EXPECT_EQ(MKString::EmptyChars(), a.GetText());
    EXPECT_EQ(0x3FFFFFFF, a.GetRefCount());
    EXPECT_EQ(1, a.GetCapacity());
    EXPECT_EQ(MKString::EmptyChars(), MKString("").GetText());
}

TEST(NarrowString, CopiesShareUntilWritten)
{
    MKString a("abc");
    MKString b = a;
    EXPECT_EQ(a.GetText(), b.GetText());
    EXPECT_EQ(2, a.GetRefCount());
    b.AppendText("de");
    EXPECT_EQ("abc", Text(a));
    EXPECT_EQ("abcde", Text(b));
    EXPECT_EQ(1, a.GetRefCount());

    MKString c = WithCapacity("abc", 10);
    MKString d = c;
    d.SetAt(0, 'x');
    EXPECT_EQ(10, d.GetCapacity());
    EXPECT_EQ("xbc", Text(d));
    EXPECT_EQ("abc", Text(c));
}

TEST(NarrowString, GrowthIsExactInBytes)
{
    MKString s = WithCapacity("abc", 4);
    s.AppendText("de");
    EXPECT_EQ(6, s.GetCapacity());
    EXPECT_EQ("abcde", Text(s));

    MKString roomy = WithCapacity("abc", 10);
    const char* block = roomy.GetText();
    roomy.AppendText("de");
    EXPECT_EQ(block, roomy.GetText());

    MKString shared = roomy;
    shared.GrowBy(1)[5] = 'f';
    EXPECT_EQ(7, shared.GetCapacity());
    EXPECT_EQ("abcdef", Text(shared));
    EXPECT_EQ("abcde", Text(roomy));

    MKString own("abcd");
    own.Append(own.GetText() + 1, 2);
    EXPECT_EQ("abcdbc", Text(own));
}

TEST(NarrowString, FormatsThePlayersConversions)
{
    struct Case {
        const char* format;
        int value;
        const char* expected;
    };
    const Case cases[] = {
        {"%d", -42, "-42"},
        {"%02d", 7, "07"},
        {"%02d", 123, "123"},
        {"%2d", 5, " 5"},
        {"%01d", 0, "0"},
    };
    for (const Case& c : cases) {
        MKString s;
        s.Format(c.format, c.value);
        EXPECT_EQ(c.expected, Text(s)) << c.format;
    }
    EXPECT_EQ(" 12.0 fps", Text(MKString::FromFormat(" %2d.%01d fps", 12, 0)));
    EXPECT_EQ("7-xy", Text(MKString::FromFormat("%d-%s", 7, "xy")));
    EXPECT_EQ("00:05 / 01:02", Text(MKString::FromFormat("%02d:%02d / %02d:%02d", 0, 5, 1, 2)));

    // 512 bytes and more go to an exactly sized block.
    std::string long600(600, 'q');
    MKString big = WithCapacity("", 2000);
    big.Format("<%s>", long600.c_str());
    EXPECT_EQ("<" + long600 + ">", Text(big));
    EXPECT_EQ(603, big.GetCapacity());
    big.Format(nullptr);
    EXPECT_TRUE(big.IsEmpty());
}

TEST(NarrowString, WideTextConvertsAsWideToAnsiDoes)
{
    // U+4E2D is in no single-byte code page; U+00E9 is in most.
    const wchar_t wide[] = L"a\u4E2Db\u00E9";
    char expected[16] = {};
    int n = MKWideToAnsi(wide, 4, expected, sizeof expected);
    ASSERT_GT(n, 0);

    MKString s(wide);
    EXPECT_EQ(std::string(expected, size_t(n)), Text(s));
    s = L"";
    EXPECT_TRUE(s.IsEmpty());
    s = wide;
    EXPECT_EQ(std::string(expected, size_t(n)), Text(s));
    if (GetACP() == 1252) {
        EXPECT_EQ("a?b\xE9", Text(s));
    }

    // And back out to the wide world.
    BSTR bstr = MKString("caf\xE9").ToBstr();
    wchar_t back[8] = {};
    MKAnsiToWide("caf\xE9", 4, back, 8);
    EXPECT_EQ(std::wstring(back), std::wstring(bstr, SysStringLen(bstr)));
    SysFreeString(bstr);
}

TEST(NarrowString, NumbersSplitAndTrim)
{
    EXPECT_EQ("-17", Text(MKString::FromInt(-17)));
    EXPECT_EQ("ff", Text(MKString::FromHex(255)));
    int value = 0;
    EXPECT_TRUE(MKString("  -305").ToIntChecked(&value));
    EXPECT_EQ(-305, value);

    MKTOArray<MKString> parts;
    MKString("9.0,12.3").Split(".,", false, parts);
    ASSERT_EQ(4, parts.GetCount());
    EXPECT_EQ("12", Text(parts[2]));

    MKString padded("  x y  ");
    padded.TrimLeft();
    padded.TrimRight();
    EXPECT_EQ("x y", Text(padded));
    EXPECT_TRUE(MKString("Movie.SWF").EndsWith(".swf", true));
}

TEST(NarrowString, Utf8GoesThroughTheCodePage)
{
    MKString s = MKString::FromUtf8("caf\xC3\xA9", 5);
    MKString expected(L"caf\u00E9");
    EXPECT_EQ(Text(expected), Text(s));
}

}  // namespace
