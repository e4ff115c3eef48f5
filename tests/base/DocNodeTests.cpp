#include "base/MKDocArray.h"
#include "base/MKDocDictionary.h"
#include "base/MKDocParser.h"
#include "base/MKDocScalar.h"
#include "base/MKDocWriter.h"
#include "base/MKTextBuffer.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::wstring Written(const MKDocNode& node, bool typed)
{
    return Text(MKDocToText(node, typed));
}

std::string Utf8(const std::wstring& text)
{
    MKByteArray bytes;
    int n = MKString(text.c_str()).ToUtf8(bytes);
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), n);
}

std::wstring Errors(const MKDocParser& parser)
{
    std::wstring all;
    for (int i = 0; i < parser.GetErrors().GetCount(); ++i)
        all += (i ? L" | " : L"") + Text(parser.GetErrors()[i]);
    return all;
}

MKGuid SampleGuid()
{
    MKGuid guid;
    EXPECT_TRUE(guid.Parse(L"6B29FC40-CA47-1067-B31D-00DD010662DA"));
    return guid;
}

TEST(DocWriter, ScalarsTypedAndUntyped)
{
    struct Case {
        std::unique_ptr<MKDocNode> node;
        const wchar_t* typed;
        const wchar_t* untyped;
    } cases[] = {
        {std::make_unique<MKDocInt64>(7), L"7L", L"7"},
        {std::make_unique<MKDocInt64>(INT64_MIN), L"-9223372036854775808L", L"-9223372036854775808"},
        {std::make_unique<MKDocInt32>(-12), L"-12", L"-12"},
        {std::make_unique<MKDocDouble>(0.5), L"0.5F", L"0.5"},
        {std::make_unique<MKDocDouble>(1e20), L"1e+20F", L"1e+20"},
        {std::make_unique<MKDocDouble>(0.1), L"0.1F", L"0.1"},
        {std::make_unique<MKDocBool>(true), L"true", L"true"},
        {std::make_unique<MKDocBool>(false), L"false", L"false"},
        {std::make_unique<MKDocNull>(), L"null", L"null"},
        {std::make_unique<MKDocString>(MKString(L"a\tb\u00e9")), L"\"a\\tb\\u00E9\"", L"\"a\\tb\\u00E9\""},
        {std::make_unique<MKDocGuid>(SampleGuid()), L"Guid(\"{6B29FC40-CA47-1067-B31D-00DD010662DA}\")",
         L"\"{6B29FC40-CA47-1067-B31D-00DD010662DA}\""},
        {std::make_unique<MKDocVersion>(MKVersion(1, 2, 3)), L"Version(\"1.2.3\")", L"\"1.2.3\""},
        {std::make_unique<MKDocDateTime>(MKDateTime::FromParts(2010, 3, 7, 0, 0, 0, MKDateTimeUtc)),
         L"DateTime(\"2010-3-7\")", L"\"2010-3-7\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::wstring(c.typed), Written(*c.node, true));
        EXPECT_EQ(std::wstring(c.untyped), Written(*c.node, false));
    }
}

TEST(DocWriter, StringEscapes)
{
    const wchar_t text[] = {L'"', L'\\', L'/', 8, 9, 10, 12, 13, 1, 0x1F, L'~', 0x7F, 0x20AC, 0};
    EXPECT_EQ(L"\"\\\"\\\\/\\b\\t\\n\\f\\r\\u0001\\u001F~\\u007F\\u20AC\"", Written(MKDocString(MKString(text)), true));
    EXPECT_EQ(L"\"\"", Written(MKDocString(), true));
}

TEST(DocWriter, DictionaryAndArrayLayout)
{
    MKDocDictionary root;
    root.Add(MKString(L"name"), new MKDocString(MKString(L"x")));
    MKDocDictionary* inner = new MKDocDictionary();
    inner->Add(MKString(L"n"), new MKDocInt32(1));
    root.Add(MKString(L"inner"), inner);
    MKDocArray* list = new MKDocArray();
    list->Add(new MKDocInt32(1));
    list->Add(new MKDocInt64(2));
    root.Add(MKString(L"list"), list);
    root.Add(MKString(L"empty"), new MKDocArray());
    root.Add(MKString(L"last"), new MKDocBool(true));

    EXPECT_EQ(L"{\n"
              L"name : \"x\", \n"
              L"inner : \n"
              L"  {\n"
              L"  n : 1\n"
              L"  }\n"
              L", list : [ 1, 2L ], \n"
              L"empty : [], \n"
              L"last : true\n"
              L"}\n",
              Written(root, true));

    MKDocArray nested;
    MKDocArray* child = new MKDocArray();
    child->Add(new MKDocNull());
    nested.Add(child);
    nested.Add(new MKDocDouble(2.5));
    MKTextBuffer out;
    ASSERT_TRUE(nested.WriteText(out, MKString(L"  "), false));
    EXPECT_EQ(L"  [   [ null ], 2.5 ]", std::wstring(out.GetText()));

    EXPECT_EQ(L"{\n}\n", Written(MKDocDictionary(), true));
}

TEST(DocWriter, NamesThatAreNotIdentifiersAreQuoted)
{
    MKDocDictionary root;
    const wchar_t* names[] = {L"plain_Name1", L"with space", L"1st", L"true", L"", L"caf\u00e9", L"q\"uote"};
    for (const wchar_t* name : names)
        ASSERT_TRUE(root.Add(MKString(name), new MKDocInt32(1)));
    std::wstring text = Written(root, true);
    EXPECT_NE(std::wstring::npos, text.find(L"\nplain_Name1 : 1"));
    EXPECT_NE(std::wstring::npos, text.find(L"\"with space\" : 1"));
    EXPECT_NE(std::wstring::npos, text.find(L"\"true\" : 1"));

    MKDocParser parser(true);
    std::unique_ptr<MKDocNode> back(parser.ParseDocument(Utf8(text).c_str()));
    ASSERT_TRUE(back) << Errors(parser) << L"\n" << text;
    MKDocDictionary* dictionary = MKDocAsDictionary(back.get());
    ASSERT_EQ(7, dictionary->GetCount());
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(std::wstring(names[i]), Text(dictionary->GetNameAt(i)));
}

TEST(DocWriter, DoublesReadBackExactly)
{
    const double values[] = {3.141592653589793, 1.0 / 3, 123456789.0, 1e-300, 0.30000000000000004, 100.0,
                             -6.02214076e23, 2.718281828459045};
    for (double value : values) {
        MKDocDouble node(value);
        std::string text = Utf8(Written(node, true));
        MKDocParser parser(true);
        std::unique_ptr<MKDocNode> back(parser.ParseDocument(text.c_str()));
        ASSERT_EQ(MKDocKindDouble, back ? back->GetKind() : 0) << text << Errors(parser);
        EXPECT_EQ(value, static_cast<MKDocDouble*>(back.get())->GetValue()) << text;
    }
    EXPECT_EQ(L"100F", Written(MKDocDouble(100.0), true));  // %g's own text where it is exact
}

// Every kind, written typed and read back, gives the same tree and text.
TEST(DocRoundTrip, EveryKindSurvivesWriteAndParse)
{
    MKDocDictionary root;
    root.Add(MKString(L"s"), new MKDocString(MKString(L"line\r\nquote\" back\\ \u00e9\u20ac \x01 $x")));
    root.Add(MKString(L"d"), new MKDocDouble(-0.5));
    root.Add(MKString(L"b"), new MKDocBool(false));
    root.Add(MKString(L"n"), new MKDocNull());
    root.Add(MKString(L"i"), new MKDocInt32(INT32_MIN));
    root.Add(MKString(L"l"), new MKDocInt64(7));
    root.Add(MKString(L"big"), new MKDocInt64(INT64_MAX));
    root.Add(MKString(L"g"), new MKDocGuid(SampleGuid()));
    root.Add(MKString(L"v2"), new MKDocVersion(MKVersion(10, 1)));
    root.Add(MKString(L"v4"), new MKDocVersion(MKVersion(1, 2, 3, 4)));
    root.Add(MKString(L"t"), new MKDocDateTime(MKDateTime::FromParts(9999, 12, 31, 0, 0, 0, MKDateTimeUtc)));
    MKDocArray* array = new MKDocArray();
    array->Add(new MKDocInt32(1));
    MKDocDictionary* item = new MKDocDictionary();
    item->Add(MKString(L"deep"), new MKDocArray());
    array->Add(item);
    array->Add(new MKDocGuid(SampleGuid()));
    root.Add(MKString(L"a"), array);
    MKDocDictionary* inner = new MKDocDictionary();
    inner->Add(MKString(L"x"), new MKDocDateTime(MKDateTime::FromParts(1, 1, 1, 0, 0, 0, MKDateTimeUtc)));
    root.Add(MKString(L"inner"), inner);

    std::wstring text = Written(root, true);
    MKDocParser parser(true);
    std::unique_ptr<MKDocNode> back(parser.ParseDocument(Utf8(text).c_str()));
    ASSERT_TRUE(back) << Errors(parser) << L"\n" << text;
    EXPECT_EQ(text, Written(*back, true));

    MKDocDictionary* d = MKDocAsDictionary(back.get());
    ASSERT_NE(nullptr, d);
    const int kinds[] = {MKDocKindString, MKDocKindDouble,  MKDocKindBool,    MKDocKindNull,    MKDocKindInt32,
                         MKDocKindInt64,  MKDocKindInt64,   MKDocKindGuid,    MKDocKindVersion, MKDocKindVersion,
                         MKDocKindDateTime, MKDocKindArray, MKDocKindDictionary};
    ASSERT_EQ(13, d->GetCount());
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(kinds[i], d->GetNodeAt(i)->GetKind()) << i;
    EXPECT_EQ(L"line\r\nquote\" back\\ \u00e9\u20ac \x01 $x", Text(MKDocAsString(d->Find(MKString(L"s")))->GetValue()));
    EXPECT_EQ(INT32_MIN, MKDocAsInt32(d->Find(MKString(L"i")))->GetValue());
    EXPECT_EQ(INT64_MAX, static_cast<MKDocInt64*>(d->Find(MKString(L"big")))->GetValue());
    EXPECT_TRUE(static_cast<MKDocGuid*>(d->Find(MKString(L"g")))->GetValue() == SampleGuid());
    EXPECT_EQ(0, static_cast<MKDocVersion*>(d->Find(MKString(L"v2")))->GetValue().Compare(MKVersion(10, 1)));
    EXPECT_EQ(0, static_cast<MKDocVersion*>(d->Find(MKString(L"v4")))->GetValue().Compare(MKVersion(1, 2, 3, 4)));
    MKDateTime t = static_cast<MKDocDateTime*>(d->Find(MKString(L"t")))->GetValue();
    EXPECT_EQ(MKDateTime::FromParts(9999, 12, 31, 0, 0, 0, MKDateTimeUtc).GetValue(), t.GetValue());
    EXPECT_EQ(MKDateTimeUtc, t.GetKind());
}

TEST(DocLiterals, TypedLiteralsParse)
{
    struct Case {
        const char* text;
        const wchar_t* typed;  // written back
    } cases[] = {
        {"Guid(\"6B29FC40-CA47-1067-B31D-00DD010662DA\")", L"Guid(\"{6B29FC40-CA47-1067-B31D-00DD010662DA}\")"},
        {"Guid(\"{6b29fc40-ca47-1067-b31d-00dd010662da}\")", L"Guid(\"{6B29FC40-CA47-1067-B31D-00DD010662DA}\")"},
        {"Guid(@\"{6B29FC40CA471067B31D00DD010662DA}\")", L"Guid(\"{6B29FC40-CA47-1067-B31D-00DD010662DA}\")"},
        {"Version(\"1.2\")", L"Version(\"1.2\")"},
        {"Version ( \"4.3.2.1\" )", L"Version(\"4.3.2.1\")"},
        {"DateTime(\"2010-03-07\")", L"DateTime(\"2010-3-7\")"},
        {"DateTime(\"2024-2-29\")", L"DateTime(\"2024-2-29\")"},
    };
    for (const Case& c : cases) {
        MKDocParser parser(true);
        std::unique_ptr<MKDocNode> node(parser.ParseDocument(c.text));
        ASSERT_TRUE(node) << c.text << Errors(parser);
        EXPECT_EQ(std::wstring(c.typed), Written(*node, true)) << c.text;
    }
    MKDocParser parser(true);
    std::unique_ptr<MKDocNode> date(parser.ParseDocument("DateTime(\"2010-3-7\")"));
    ASSERT_TRUE(date);
    MKDateTime value = static_cast<MKDocDateTime*>(date.get())->GetValue();
    EXPECT_EQ(MKDateTimeUtc, value.GetKind());
    EXPECT_EQ(MKDateTime::TicksFromDate(2010, 3, 7), value.GetTicks());
}

TEST(DocLiterals, BadLiteralsAreReported)
{
    struct Case {
        const char* text;
        const wchar_t* errors;
    } cases[] = {
        {"Guid(\"{6B29FC40-CA47-1067-B31D-00DD010662DA\")", L"input(1) : Invalid Guid format"},
        {"Guid(\"6B29FC40-CA47-1067-B31D-00DD010662D\")", L"input(1) : Invalid Guid format"},
        {"Guid(\"\")", L"input(1) : Invalid Guid format"},
        {"Version(\"9\")", L"input(1) : Invalid Version format"},
        {"Version(\"1.2.3.4.5\")", L"input(1) : Invalid Version format"},
        {"DateTime(\"2010-2-30\")", L"input(1) : Invalid DateTime format"},
        {"DateTime(\"2010-x-3\")", L"input(1) : Invalid Month in DateTime format"},
        {"DateTime(\"y-1-3\")", L"input(1) : Invalid Year in DateTime format"},
        {"DateTime(\"2010-1-\")", L"input(1) : Invalid Day in DateTime format"},
        {"DateTime(\"2010-3\")", L"input(1) : Invalid DateTime format"},
        {"DateTime(\"0-1-1\")", L"input(1) : Invalid DateTime format"},
        {"{ a : Version(\"1.2\"\n}", L"input(1) : ')' expected"},
        {"Guid \"x\")", L"input(1) : '(' expected | input(1) : Invalid Guid format"},
        {"Version(5)", L"input(1) : 'string' expected"},
        {"DateTime()", L"input(1) : 'string' expected"},
        {"Today(\"1-1-1\")", L"input(1) : Invalid token"},
    };
    for (const Case& c : cases) {
        MKDocParser parser(true);
        EXPECT_EQ(nullptr, parser.ParseDocument(c.text)) << c.text;
        EXPECT_EQ(std::wstring(c.errors), Errors(parser)) << c.text;
    }
}

}  // namespace
