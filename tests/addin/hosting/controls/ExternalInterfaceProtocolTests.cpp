// The text of the calls between the add-in and its effect movies.
#include "addin/hosting/ExternalInterfaceProtocol.h"

#include <gtest/gtest.h>

#include <clocale>

namespace EI = ExternalInterfaceProtocol;

namespace {

TEST(ExternalInterfaceProtocol, WritesTheAddInsRequests)
{
    EXPECT_STREQ(L"<invoke name=\"__vqz_OnResize\" returntype=\"xml\"><arguments><number>640</number>"
                 L"<number>480</number><number>640</number><number>480.5</number></arguments></invoke>",
                 EI::OnResizeRequest(640, 480, 640, 480.5).GetText());
    EXPECT_STREQ(L"<invoke name=\"__vqz_RefreshBackground\" returntype=\"xml\"><arguments></arguments></invoke>",
                 EI::RefreshBackgroundRequest().GetText());
    EXPECT_STREQ(L"<invoke name=\"__vqz_OnAxVisibleChanged\" returntype=\"xml\"><arguments><false/></arguments>"
                 L"</invoke>",
                 EI::OnAxVisibleChangedRequest(false).GetText());
}

TEST(ExternalInterfaceProtocol, WritesSizesAsPercentGInAnyLocale)
{
    // Expected texts from Python: "%g" % struct.unpack("f", struct.pack("f", v))[0]
    struct Case {
        float value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {640, L"640"},          {0.1f, L"0.1"},        {133.7f, L"133.7"},     {1.0f / 3, L"0.333333"},
        {-2.5, L"-2.5"},        {1234567.25f, L"1.23457e+06"}, {0, L"0"},     {1e-5f, L"1e-05"},
        {99999.95f, L"100000"}, {320.25f, L"320.25"}};
    // A decimal comma in the C library's locale must not reach the movie.
    const char* german = setlocale(LC_NUMERIC, "German");
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, EI::FormatNumber(c.value).GetText()) << c.value;
    setlocale(LC_NUMERIC, "C");
    (void)german;
}

TEST(ExternalInterfaceProtocol, ReadsTheInvokedNameOnlyFromAnExactOpening)
{
    struct Case {
        const wchar_t* request;
        bool ok;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"<invoke name=\"__vqz_ShowMouse\" returntype=\"xml\"><arguments></arguments></invoke>", true,
         L"__vqz_ShowMouse"},
        {L"<invoke name=\"__VQZ_SHOWMOUSE\" returntype=\"xml\"></invoke>", true, L"__VQZ_SHOWMOUSE"},
        {L"<Invoke name=\"__vqz_ShowMouse\" returntype=\"xml\"></invoke>", false, L""},
        {L"<invoke name=\"", false, L""},
        {L"<invoke name=\"open", false, L""},
        {L"<invoke name=\"\"", true, L""},
        {L"", false, L""},
    };
    for (const Case& c : cases) {
        MKString name;
        EXPECT_EQ(c.ok, EI::ParseInvokedName(MKString(c.request), name)) << c.request;
        EXPECT_STREQ(c.name, name.GetText()) << c.request;
    }
}

TEST(ExternalInterfaceProtocol, ReadsTheFirstArgumentAsAnElement)
{
    struct Case {
        const wchar_t* arguments;
        bool value;
    };
    const Case cases[] = {{L"<number>1</number>", true},
                          {L"<number>0</number>", false},
                          {L"<number>2.5</number>", true},
                          {L"<true/>", true},
                          {L"<false/>", false},
                          {L"", false},
                          {L"<number>1x</number>", false},
                          {L"<string>1</string>", false}};
    for (const Case& c : cases) {
        MKString request = EI::Invoke(L"__vqz_SetAnimating", MKString(c.arguments));
        EXPECT_EQ(c.value, EI::ParseFirstArgumentTrue(request)) << c.arguments;
    }
    // Not read at a fixed place: a longer name moves the argument.
    EXPECT_TRUE(
        EI::ParseFirstArgumentTrue(MKString(L"<invoke name=\"__vqz_SetAnimating\"  "
                                            L"returntype=\"xml\"><arguments><number>1</number></arguments></invoke>")));
}

TEST(ExternalInterfaceProtocol, DecodesOneLevelOfEntities)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* decoded;
    };
    const Case cases[] = {
        {L"&gt", L"&gt"},  // three characters or fewer stay as they are
        {L"&lt;", L"<"},          {L"a&amp;b", L"a&b"}, {L"&amp;lt;", L"&lt;"}, {L"&quot;x&apos;&gt;", L"\"x'>"},
        {L"R&D &co", L"R&D &co"}, {L"tail&", L"tail&"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.decoded, EI::DecodeXmlText(MKString(c.text)).GetText()) << c.text;

    MKString text;
    EXPECT_TRUE(EI::ParseStringArgument(
        MKString(L"<invoke name=\"__vqz_GetGlyphs\"><arguments><string>Arial10;&lt;A</string></arguments></invoke>"),
        text));
    EXPECT_STREQ(L"Arial10;<A", text.GetText());
    EXPECT_FALSE(EI::ParseStringArgument(MKString(L"<arguments><string></string></arguments>"), text));
    EXPECT_FALSE(EI::ParseStringArgument(MKString(L"<arguments><string>open"), text));
    EXPECT_FALSE(EI::ParseStringArgument(MKString(L"<arguments></arguments>"), text));
}

}  // namespace
