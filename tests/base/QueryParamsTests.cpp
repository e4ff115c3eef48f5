#include "base/MKQueryParams.h"

#include "base/MKTArray.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Pairs(const MKQueryParams& params)
{
    std::wstring text;
    for (int i = 0; i < params.GetCount(); ++i)
        text += L"(" + Text(params.GetName(i)) + L"|" + Text(params.GetValue(i)) + L")";
    return text;
}

TEST(QueryParams, RendersEncodedPairsInOrder)
{
    MKQueryParams params;
    params.Set(L"a", L"b c");
    params.Set(L"x", L"\x00E9");
    EXPECT_EQ(L"?a=b+c&x=%C3%A9", Text(params.ToString(true)));
    EXPECT_EQ(L"a=b+c&x=%C3%A9", Text(params.ToString(false)));

    MKByteArray bytes;
    bytes.Add('z');
    ASSERT_TRUE(params.Render(bytes, true));
    EXPECT_EQ(std::string("?a=b+c&x=%C3%A9"),
              std::string(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount())));

    params.Set(L"a", L"");  // replaces in place, keeps the order
    params.Set(L"A", L"1");  // names are case-sensitive
    EXPECT_EQ(L"?a=&x=%C3%A9&A=1", Text(params.ToString(true)));
}

TEST(QueryParams, EmptyListRendersNothing)
{
    MKQueryParams params;
    EXPECT_EQ(0, params.ToString(true).GetLength());
    MKByteArray bytes;
    bytes.Add('z');
    EXPECT_TRUE(params.Render(bytes, true));
    EXPECT_EQ(0, bytes.GetCount());
}

TEST(QueryParams, ParseDecodesTrimsAndKeepsTheLastValue)
{
    const struct {
        const wchar_t* text;
        const wchar_t* pairs;
    } cases[] = {
        {L"?a=1&a=2&b", L"(a|2)(b|)"},
        {L"%zz=1", L"(%zz|1)"},
        {L"a=%4", L"(a|%4)"},
        {L"a=%00", L"(a| )"},
        {L" a =1", L"(a|1)"},
        {L"a= 1 ", L"(a| 1 )"},
        {L"&&=x&b=1=2&", L"(b|1=2)"},
        {L"n=%C3%a9+%2B", L"(n|\x00E9 +)"},
        {L"q=%E2%82", L"(q|?)"},  // a cut sequence reads as one "?"
        {L"", L""},
        {L"?", L""},
    };
    for (const auto& c : cases) {
        MKQueryParams params;
        params.Set(L"stale", L"1");
        params.Parse(c.text);
        EXPECT_EQ(c.pairs, Pairs(params)) << c.text;
    }
    MKQueryParams params;
    params.Set(L"stale", L"1");
    params.Parse(nullptr);
    EXPECT_EQ(0, params.GetCount());
}

TEST(QueryParams, ParseAndRenderRoundTrip)
{
    MKQueryParams params;
    params.Set(L"path", L"C:\\a b\\\x4E2D.swf");
    params.Set(L"x&y", L"1=2?");
    MKQueryParams back;
    back.Parse(params.ToString(true).GetText());
    EXPECT_EQ(Pairs(params), Pairs(back));
}

TEST(UrlEncoding, EncodeAndDecodeSingleStrings)
{
    EXPECT_EQ(L"~-._", Text(MKUrlEncode(L"~-._")));
    EXPECT_EQ(L"%2F", Text(MKUrlEncode(L"/")));
    EXPECT_EQ(L"a+b%26c%3D", Text(MKUrlEncode(L"a b&c=")));
    // Surrogates are encoded one by one, as everywhere in the library's UTF-8.
    EXPECT_EQ(L"%ED%A0%BD%ED%B8%80", Text(MKUrlEncode(L"\xD83D\xDE00")));
    EXPECT_EQ(0, MKUrlEncode(L"").GetLength());
    EXPECT_EQ(L"%20", Text(MKUrlEncode(MKString::MKStringFromChars(L"\0", 1))));

    EXPECT_EQ(L"a b/\x00E9", Text(MKUrlDecode(L"a+b%2f%C3%A9")));
    EXPECT_EQ(L"100%", Text(MKUrlDecode(L"100%")));
    EXPECT_EQ(L"%g1", Text(MKUrlDecode(L"%g1")));
    EXPECT_EQ(0, MKUrlDecode(L"").GetLength());
}

}  // namespace
