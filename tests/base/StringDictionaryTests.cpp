#include "base/MKStringDictionary.h"
#include "base/MKTextBuffer.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StringDictionary, StoresCopiesOfValues)
{
    MKStringDictionary dictionary;
    MKString out(L"untouched");
    EXPECT_FALSE(dictionary.Get(MKString(L"k"), out));
    EXPECT_EQ(L"untouched", Text(out));

    MKString value(L"v1");
    ASSERT_TRUE(dictionary.Set(MKString(L"k"), value));
    value.AppendText(L"-changed");
    ASSERT_TRUE(dictionary.Get(MKString(L"k"), out));
    EXPECT_EQ(L"v1", Text(out));

    ASSERT_TRUE(dictionary.Set(MKString(L"k"), MKString(L"v2")));
    ASSERT_TRUE(dictionary.Get(MKString(L"k"), out));
    EXPECT_EQ(L"v2", Text(out));
    EXPECT_EQ(1, dictionary.GetCount());

    dictionary.Remove(MKString(L"k"));
    dictionary.Remove(MKString(L"absent"));
    EXPECT_FALSE(dictionary.Get(MKString(L"k"), out));
    EXPECT_EQ(0, dictionary.GetCount());
}

TEST(StringDictionary, FormStringOfEntries)
{
    MKStringDictionary empty;
    EXPECT_EQ(L"", Text(empty.ToFormString()));

    MKStringDictionary one;
    one.Set(MKString(L"a b"), MKString(L"x/y"));
    EXPECT_EQ(L"a+b=x%2Fy", Text(one.ToFormString()));

    MKStringDictionary accents;
    accents.Set(MKString(L"k"), MKString(L"\u00e9"));
    EXPECT_EQ(L"k=%C3%A9", Text(accents.ToFormString()));

    // Bucket order: "a" lands in bucket 19 of 31, "b" in 20.
    MKStringDictionary two;
    two.Set(MKString(L"b"), MKString(L"2"));
    two.Set(MKString(L"a"), MKString());
    EXPECT_EQ(L"a=&b=2", Text(two.ToFormString()));
}

TEST(FormEncode, BytesOfUtf8)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* encoded;
    } cases[] = {
        {L"", L""},
        {L"AZaz09-._~", L"AZaz09-._~"},
        {L"a b", L"a+b"},
        {L"&=+%*", L"%26%3D%2B%25%2A"},
        {L"\x7f\x80", L"%7F%C2%80"},
        {L"\u20ac", L"%E2%82%AC"},
    };
    for (const Case& c : cases) {
        MKTextBuffer buffer;
        ASSERT_TRUE(buffer.AppendText(L">"));
        ASSERT_TRUE(MKFormEncodeAppend(MKString(c.text), buffer));
        EXPECT_EQ(std::wstring(L">") + c.encoded, buffer.GetText()) << c.text;
    }
}

}  // namespace
