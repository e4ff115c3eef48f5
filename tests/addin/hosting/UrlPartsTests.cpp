#include "addin/hosting/BindHostService.h"
#include "addin/hosting/UrlParts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Text(const MKString& s)
{
    return s.GetText();
}

struct ParsedUrl {
    const wchar_t* url;
    int kind;
    const wchar_t* prefix;
    const wchar_t* host;
    int port;
    const wchar_t* path;
    const wchar_t* query;
    const wchar_t* fragment;
    const wchar_t* urlPath;
    const wchar_t* portSuffix;
    const wchar_t* rebuilt;
};

class UrlPartsParse : public ::testing::TestWithParam<ParsedUrl> {};

TEST_P(UrlPartsParse, SplitsIntoTheExpectedParts)
{
    const ParsedUrl& expected = GetParam();
    UrlParts parts;
    ASSERT_TRUE(parts.Parse(MKString(expected.url)));
    EXPECT_EQ(expected.url, Text(parts.sourceText));
    EXPECT_EQ(expected.kind, parts.schemeKind);
    EXPECT_EQ(expected.prefix, Text(parts.schemePrefix));
    EXPECT_EQ(expected.host, Text(parts.host));
    EXPECT_EQ(expected.port, parts.port);
    EXPECT_EQ(expected.path, Text(parts.path));
    EXPECT_EQ(expected.query, Text(parts.query));
    EXPECT_EQ(expected.fragment, Text(parts.fragment));
    EXPECT_EQ(expected.urlPath, Text(parts.urlPath));
    EXPECT_EQ(expected.portSuffix, Text(parts.portSuffix));
    EXPECT_EQ(expected.rebuilt, Text(parts.Rebuild()));
}

INSTANTIATE_TEST_SUITE_P(
    Urls, UrlPartsParse,
    ::testing::Values(
        ParsedUrl{L"file:///C:/x/a.swf", 1, L"file:///", L"", -1, L"C:\\x\\a.swf", L"", L"", L"C|/x/a.swf", L"",
                  L"file:///C|/x/a.swf"},
        ParsedUrl{L"file://C:/x/a.swf", 1, L"file:///", L"", -1, L"C:\\x\\a.swf", L"", L"", L"C|/x/a.swf", L"",
                  L"file:///C|/x/a.swf"},
        ParsedUrl{L"C:\\x\\a.swf", 1, L"file:///", L"", -1, L"C:\\x\\a.swf", L"", L"", L"C|/x/a.swf", L"",
                  L"file:///C|/x/a.swf"},
        ParsedUrl{L"C|/x/a.swf", 1, L"file:///", L"", -1, L"C:\\x\\a.swf", L"", L"", L"C|/x/a.swf", L"",
                  L"file:///C|/x/a.swf"},
        ParsedUrl{L"  file:///C:/x/./y/../a.swf?v=1#top", 1, L"file:///", L"", -1, L"C:\\x\\a.swf", L"?v=1", L"#top",
                  L"C|/x/a.swf", L"", L"file:///C|/x/a.swf?v=1#top"},
        ParsedUrl{L"file:///C:/My%20Movies/a+b.swf", 1, L"file:///", L"", -1, L"C:\\My Movies\\a b.swf", L"", L"",
                  L"C|/My+Movies/a+b.swf", L"", L"file:///C|/My+Movies/a+b.swf"},
        ParsedUrl{L"file:///C:/caf%C3%A9/x.swf", 1, L"file:///", L"", -1, L"C:\\caf\u00e9\\x.swf", L"", L"",
                  L"C|/caf%C3%A9/x.swf", L"", L"file:///C|/caf%C3%A9/x.swf"},
        ParsedUrl{L"http://host:8080/a?b=1#c", 2, L"http://", L"host", 8080, L"/a", L"?b=1", L"#c", L"/a", L":8080",
                  L"http://host:8080/a?b=1#c"},
        ParsedUrl{L"http://host:80/a", 2, L"http://", L"host", 80, L"/a", L"", L"", L"/a", L"", L"http://host/a"},
        ParsedUrl{L"http://host:/a", 2, L"http://", L"host", 80, L"/a", L"", L"", L"/a", L"", L"http://host/a"},
        ParsedUrl{L"https://Host.Example/A/../b%20c", 3, L"https://", L"Host.Example", 443, L"/A/../b%20c", L"", L"",
                  L"/A/../b%20c", L"", L"https://Host.Example/A/../b%20c"},
        ParsedUrl{L"https://h:80/", 3, L"https://", L"h", 80, L"/", L"", L"", L"/", L":80", L"https://h:80/"},
        ParsedUrl{L"ftp://h/f.txt", 4, L"ftp://", L"h", 21, L"/f.txt", L"", L"", L"/f.txt", L"", L"ftp://h/f.txt"},
        ParsedUrl{L"ftp://h:0/f", 4, L"ftp://", L"h", 0, L"/f", L"", L"", L"/f", L":0", L"ftp://h:0/f"},
        ParsedUrl{L"http://h/a#b?c", 2, L"http://", L"h", 80, L"/a", L"", L"#b?c", L"/a", L"", L"http://h/a#b?c"},
        ParsedUrl{L"http://h/a#b", 2, L"http://", L"h", 80, L"/a", L"", L"#b", L"/a", L"", L"http://h/a#b"},
        ParsedUrl{L"http://h/a?x#y?z", 2, L"http://", L"h", 80, L"/a", L"?x", L"#y?z", L"/a", L"",
                  L"http://h/a?x#y?z"},
        ParsedUrl{L"http://h:65535/", 2, L"http://", L"h", 65535, L"/", L"", L"", L"/", L":65535",
                  L"http://h:65535/"}));

class UrlPartsRefuse : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(UrlPartsRefuse, FailsAndLeavesOnlyTheSourceText)
{
    UrlParts parts;
    ASSERT_TRUE(parts.Parse(MKString(L"http://before:81/x?q#f")));
    EXPECT_FALSE(parts.Parse(MKString(GetParam())));
    EXPECT_EQ(GetParam(), Text(parts.sourceText));
    EXPECT_EQ(0, parts.schemeKind);
    EXPECT_EQ(-1, parts.port);
    EXPECT_TRUE(parts.host.IsEmpty() && parts.path.IsEmpty() && parts.query.IsEmpty() && parts.fragment.IsEmpty() &&
                parts.urlPath.IsEmpty() && parts.portSuffix.IsEmpty() && parts.schemePrefix.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Urls, UrlPartsRefuse,
                         ::testing::Values(L"", L"   ", L"file:///x/a.swf", L"file:///1:/a", L"file:///C:",
                                           L"file:///C:x", L"HTTP://host/a", L"File:///C:/a", L"http://host",
                                           L"http:///a", L"http://host:99999/a", L"http://host:x/a",
                                           L"http://host:-1/a", L"https://h:65536/", L"mailto:a@b",
                                           L"C:/x/a<b.swf", L"relative/a.swf", L"1:/a"));

TEST(UrlParts, ResetEmptiesEveryField)
{
    UrlParts parts;
    ASSERT_TRUE(parts.Parse(MKString(L"http://h:81/a?b#c")));
    parts.Reset();
    EXPECT_TRUE(parts.sourceText.IsEmpty() && parts.host.IsEmpty() && parts.path.IsEmpty() &&
                parts.Rebuild().IsEmpty());
    EXPECT_EQ(0, parts.schemeKind);
    EXPECT_EQ(-1, parts.port);
}

TEST(UrlParts, DefaultPortsOfTheSchemes)
{
    EXPECT_EQ(-1, DefaultPortOfScheme(0));
    EXPECT_EQ(-1, DefaultPortOfScheme(1));
    EXPECT_EQ(80, DefaultPortOfScheme(2));
    EXPECT_EQ(443, DefaultPortOfScheme(3));
    EXPECT_EQ(21, DefaultPortOfScheme(4));
    EXPECT_EQ(-1, DefaultPortOfScheme(5));
}

struct RootCase {
    const wchar_t* url;
    bool underRoot;
    bool backgroundImage;
};

class UrlPartsRoot : public ::testing::TestWithParam<RootCase> {};

TEST_P(UrlPartsRoot, RecognisesTheVirtualRootInAnyCase)
{
    UrlParts parts;
    parts.Parse(MKString(GetParam().url));
    EXPECT_EQ(GetParam().underRoot, parts.IsUnderVirtualRoot());
    EXPECT_EQ(GetParam().backgroundImage, parts.IsBackgroundImage());
}

INSTANTIATE_TEST_SUITE_P(
    Roots, UrlPartsRoot,
    ::testing::Values(RootCase{L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\a.swf", true, false},
                      RootCase{L"c:\\vistello.9ea84e08259647b1995fc2ceb15b7423\\", true, false},
                      RootCase{L"file:///C:/Vistello.9EA84E08259647B1995FC2CEB15B7423/bgimg/0.bin", true, true},
                      RootCase{L"C|/VISTELLO.9EA84E08259647B1995FC2CEB15B7423/BGIMG/7.bin?x", true, true},
                      RootCase{L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423", false, false},
                      RootCase{L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\bgimg", true, false},
                      RootCase{L"D:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\a.swf", false, false},
                      RootCase{L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\..\\a.swf", false, false},
                      RootCase{L"http://h/C:/Vistello.9EA84E08259647B1995FC2CEB15B7423/a.swf", false, false},
                      RootCase{L"HTTP://h/", false, false}));

struct EmbedCase {
    const wchar_t* url;
    bool rewritten;
    const wchar_t* result;
};

class EmbedRewrite : public ::testing::TestWithParam<EmbedCase> {};

TEST_P(EmbedRewrite, PointsVideoSitePlayersAtTheLocalMovie)
{
    UrlParts parts;
    ASSERT_TRUE(parts.Parse(MKString(GetParam().url)));
    EXPECT_EQ(GetParam().rewritten, BindHostService::RewriteEmbedUrl(parts));
    EXPECT_EQ(GetParam().result, Text(parts.Rebuild()));
}

INSTANTIATE_TEST_SUITE_P(
    Urls, EmbedRewrite,
    ::testing::Values(
        EmbedCase{L"http://www.youtube.com/v/abc?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx.htm&fs=1",
                  true, L"http://www.youtube.com/v/abc?eurl=file%3A%2F%2F%2FC%7C%2FVistelloEmbed.swf&fs=1"},
        EmbedCase{L"http://www.youtube-nocookie.com/v/abc?a=b&eurl=file%3A%2F%2F%2Fc%3A%2FVistello."
                  L"9EA84E08259647B1995FC2CEB15B7423%2Fa#t=1",
                  true, L"http://www.youtube-nocookie.com/v/abc?a=b&eurl=file%3A%2F%2F%2FC%7C%2FVistelloEmbed.swf#t=1"},
        // https and ftp are never rewritten.
        EmbedCase{L"https://www.youtube.com/v/abc?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx", false,
                  L"https://www.youtube.com/v/abc?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx"},
        // Without the root's identifier in the query.
        EmbedCase{L"http://www.youtube.com/v/abc?eurl=C%3A%5Cother%5Cx", false,
                  L"http://www.youtube.com/v/abc?eurl=C%3A%5Cother%5Cx"},
        // The identifier is searched case-sensitively.
        EmbedCase{L"http://www.youtube.com/v/abc?eurl=C%3A%5CVistello.9ea84e08259647b1995fc2ceb15b7423%5Cx", false,
                  L"http://www.youtube.com/v/abc?eurl=C%3A%5CVistello.9ea84e08259647b1995fc2ceb15b7423%5Cx"},
        // Another host, a host suffix in the wrong case, a bare domain without the dot.
        EmbedCase{L"http://www.example.com/v?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx", false,
                  L"http://www.example.com/v?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx"},
        EmbedCase{L"http://www.YouTube.com/v?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx", false,
                  L"http://www.YouTube.com/v?eurl=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx"},
        // The identifier appears, but not in an "eurl" value below the root.
        EmbedCase{L"http://www.youtube.com/v?EURL=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx", false,
                  L"http://www.youtube.com/v?EURL=C%3A%5CVistello.9EA84E08259647B1995FC2CEB15B7423%5Cx"},
        EmbedCase{L"http://www.youtube.com/v?eurl=http%3A%2F%2Fh%2F&id=9EA84E08259647B1995FC2CEB15B7423", false,
                  L"http://www.youtube.com/v?eurl=http%3A%2F%2Fh%2F&id=9EA84E08259647B1995FC2CEB15B7423"}));

}  // namespace
