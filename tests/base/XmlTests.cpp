#include "base/MKRefHolder.h"
#include "base/MKString.h"
#include "base/MKXmlEscape.h"
#include "base/MKXmlNode.h"
#include "base/MKXmlParser.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

MKXmlNode* ParseUtf8(MKXmlParser& parser, const std::string& text)
{
    return MKXmlParseUtf8(parser, text.data(), int(text.size()));
}

// Attribute value by name, or "<absent>".
std::wstring Attribute(const MKXmlNode* node, const wchar_t* name)
{
    int index = node->FindAttribute(name);
    return index < 0 ? L"<absent>" : Text(node->GetAttributes()[index + 1]);
}

// The concatenated text children of an element.
std::wstring InnerText(const MKXmlNode* node)
{
    std::wstring text;
    for (int i = 0; i < node->GetChildCount(); ++i) {
        if (node->GetChildAt(i)->IsText())
            text += Text(node->GetChildAt(i)->GetName());
    }
    return text;
}

TEST(XmlParser, BuildsTheTreeOfAMessage)
{
    const std::string message =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- reply of the message service -->\n"
        "<message id=\"42\" kind='reply'>\n"
        "  <header><sent>2010-03-01</sent><from>service &amp; co</from></header>\n"
        "  <body><![CDATA[a < b]]> and caf\xc3\xa9 &#x263A;</body>\n"
        "  <items count=\"2\"><item name=\"first\"/><item name=\"second\">x</item></items>\n"
        "</message>\n";
    MKXmlParser parser;
    MKRefHolder<MKXmlNode> document;
    document.Attach(ParseUtf8(parser, message));
    ASSERT_TRUE(document) << Text(parser.GetErrorText());
    EXPECT_EQ(L"", Text(parser.GetErrorText()));
    EXPECT_EQ(L"message", Text(document->GetName()));
    EXPECT_FALSE(document->IsText());
    EXPECT_EQ(1, document->GetRefCount());
    EXPECT_EQ(L"42", Attribute(document.Get(), L"id"));
    EXPECT_EQ(L"reply", Attribute(document.Get(), L"kind"));
    EXPECT_EQ(L"<absent>", Attribute(document.Get(), L"ID"));

    // White space between the elements stays as text children until removed;
    // expat delivers a line break and the indent after it separately.
    EXPECT_EQ(10, document->GetChildCount());
    EXPECT_TRUE(document->GetChildAt(0)->IsText());
    EXPECT_EQ(L"\n", Text(document->GetChildAt(0)->GetName()));
    EXPECT_EQ(L"  ", Text(document->GetChildAt(1)->GetName()));
    EXPECT_EQ(2, document->FindChild(L"header"));
    EXPECT_EQ(0, document->FindChild(L"\n"));
    document->RemoveTextChildren();
    ASSERT_EQ(3, document->GetChildCount());
    EXPECT_EQ(0, document->FindChild(L"header"));
    EXPECT_EQ(1, document->FindChild(L"body"));
    EXPECT_EQ(2, document->FindChild(L"items"));
    EXPECT_EQ(-1, document->FindChild(L"Body"));

    MKXmlNode* header = document->GetChild(L"header");
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(L"2010-03-01", InnerText(header->GetChild(L"sent")));
    EXPECT_EQ(L"service & co", InnerText(header->GetChild(L"from")));
    EXPECT_EQ(L"a < b and caf\u00e9 \u263a", InnerText(document->GetChild(L"body")));

    MKXmlNode* items = document->GetChild(L"items");
    ASSERT_NE(nullptr, items);
    ASSERT_EQ(2, items->GetChildCount());
    EXPECT_EQ(L"first", Attribute(items->GetChildAt(0), L"name"));
    EXPECT_EQ(0, items->GetChildAt(0)->GetChildCount());
    EXPECT_EQ(L"second", Attribute(items->GetChildAt(1), L"name"));
    EXPECT_EQ(L"x", InnerText(items->GetChildAt(1)));
    EXPECT_EQ(nullptr, document->GetChild(L"missing"));
}

TEST(XmlParser, AttributesStandInDocumentOrder)
{
    MKXmlParser parser;
    MKRefHolder<MKXmlNode> node;
    node.Attach(ParseUtf8(parser, "<a zeta=\"1\" alpha=\"2\"/>"));
    ASSERT_TRUE(node);
    const MKTOArray<MKString>& attributes = node->GetAttributes();
    ASSERT_EQ(4, attributes.GetCount());
    EXPECT_EQ(L"zeta", Text(attributes[0]));
    EXPECT_EQ(L"1", Text(attributes[1]));
    EXPECT_EQ(L"alpha", Text(attributes[2]));
    EXPECT_EQ(L"2", Text(attributes[3]));
    EXPECT_EQ(0, node->FindAttribute(L"zeta"));
    EXPECT_EQ(2, node->FindAttribute(L"alpha"));
    EXPECT_EQ(-1, node->FindAttribute(L"1"));  // values are not names
}

TEST(XmlParser, ErrorsNameLineAndColumnFromOne)
{
    struct Case {
        const char* text;
        const wchar_t* error;
    } cases[] = {
        {"<a>\n  <b>\n</a>", L"line 3, col 3: mismatched tag"},
        {"<root>\n<open>", L"line 2, col 7: no element found"},
        {"", L"line 1, col 1: no element found"},
        {"<a></a><b/>", L"line 1, col 8: junk after document element"},
        {"<a x='1' x='2'/>", L"line 1, col 10: duplicate attribute"},
    };
    for (const Case& c : cases) {
        MKXmlParser parser;
        EXPECT_EQ(nullptr, ParseUtf8(parser, c.text)) << c.text;
        EXPECT_EQ(std::wstring(c.error), Text(parser.GetErrorText())) << c.text;
    }
}

TEST(XmlParser, ReusedParserClearsTheOldError)
{
    MKXmlParser parser;
    EXPECT_EQ(nullptr, ParseUtf8(parser, "<a>"));
    EXPECT_EQ(0, Text(parser.GetErrorText()).rfind(L"line ", 0));
    MKRefHolder<MKXmlNode> node;
    node.Attach(ParseUtf8(parser, "<a/>"));
    EXPECT_TRUE(node);
    EXPECT_EQ(L"", Text(parser.GetErrorText()));
}

TEST(XmlParser, EncodingNameGovernsTheBytes)
{
    MKXmlParser parser;
    const char latin1[] = "<a>caf\xe9</a>";
    MKRefHolder<MKXmlNode> node;
    node.Attach(parser.Parse(latin1, int(sizeof latin1 - 1), L"ISO-8859-1"));
    ASSERT_TRUE(node) << Text(parser.GetErrorText());
    EXPECT_EQ(L"caf\u00e9", InnerText(node.Get()));

    EXPECT_EQ(nullptr, parser.Parse(latin1, int(sizeof latin1 - 1), L"no-such-encoding"));
    EXPECT_EQ(0, Text(parser.GetErrorText()).rfind(L"line ", 0)) << Text(parser.GetErrorText());
    EXPECT_EQ(nullptr, MKXmlParseUtf8(parser, latin1, int(sizeof latin1 - 1)));  // not UTF-8
}

TEST(XmlParser, DeepNestingIsBuiltAndReleased)
{
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<e>";
    for (int i = 0; i < depth; ++i)
        text += "</e>";
    MKXmlParser parser;
    MKXmlNode* node = ParseUtf8(parser, text);
    ASSERT_NE(nullptr, node);
    int levels = 1;
    for (MKXmlNode* n = node; n->GetChildCount() == 1; n = n->GetChildAt(0))
        ++levels;
    EXPECT_EQ(depth, levels);
    node->Release();  // must not recurse once per level
}

TEST(XmlNode, SharedSubtreeSurvivesItsParent)
{
    MKXmlParser parser;
    MKXmlNode* document = ParseUtf8(parser, "<a><b><c/></b>text</a>");
    ASSERT_NE(nullptr, document);
    MKRefHolder<MKXmlNode> b;
    b.AssignPointer(document->GetChild(L"b"));
    document->Release();
    ASSERT_EQ(1, b->GetRefCount());
    ASSERT_EQ(1, b->GetChildCount());
    EXPECT_EQ(L"c", Text(b->GetChildAt(0)->GetName()));
}

TEST(XmlEscape, ReplacesTheFiveMarkupCharacters)
{
    MKString plain(L"nothing to do here");
    MKString same = MKXmlEscape(plain);
    EXPECT_EQ(plain.GetText(), same.GetText());  // shared, not copied

    EXPECT_EQ(L"a&amp;b", Text(MKXmlEscape(MKString(L"a&b"))));
    EXPECT_EQ(L"&lt;x a=&quot;1&quot; b=&apos;2&apos;&gt;", Text(MKXmlEscape(MKString(L"<x a=\"1\" b='2'>"))));
    EXPECT_EQ(L"", Text(MKXmlEscape(MKString())));
}

TEST(XmlEscape, ControlCharactersKeepTheOutputValid)
{
    EXPECT_EQ(L"a&#9;b&#10;c&#13;d", Text(MKXmlEscape(MKString(L"a\tb\nc\rd"))));
    EXPECT_EQ(L"x\xFFFDy\xFFFDz", Text(MKXmlEscape(MKString(L"x\x01y\x1Fz"))));
    const wchar_t pair[] = {L'p', 0xD83D, 0xDE00, L'q', 0};
    MKString pairText(pair);
    EXPECT_EQ(pairText.GetText(), MKXmlEscape(pairText).GetText());
    const wchar_t lone[] = {0xDC00, L'a', 0xD800, 0};
    EXPECT_EQ(L"\xFFFD" L"a\xFFFD", Text(MKXmlEscape(MKString(lone))));
}

// Every UTF-16 unit escaped into an attribute value comes back through the
// parser as itself, or as U+FFFD where XML cannot carry it.
TEST(XmlEscape, EveryCharacterSurvivesAParse)
{
    std::wstring all;
    for (unsigned c = 1; c <= 0xFFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            all += wchar_t(c);
    }
    MKString escaped = MKXmlEscape(MKString(all.c_str()));
    MKString document = MKString(L"<a v=\"") + escaped + L"\">" + escaped + L"</a>";
    MKByteArray utf8;
    int n = document.ToUtf8(utf8);
    MKXmlParser parser;
    MKRefHolder<MKXmlNode> node;
    node.Attach(MKXmlParseUtf8(parser, reinterpret_cast<const char*>(utf8.GetData()), n));
    ASSERT_TRUE(node) << Text(parser.GetErrorText());

    std::wstring expected = all;
    for (wchar_t& c : expected) {
        if ((c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || c == 0xFFFE || c == 0xFFFF)
            c = 0xFFFD;
    }
    EXPECT_TRUE(Attribute(node.Get(), L"v") == expected);
    // Element content: a character reference to CR stays a CR.
    EXPECT_TRUE(InnerText(node.Get()) == expected);
}

}  // namespace
