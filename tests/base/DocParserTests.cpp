#include "base/MKDocArray.h"
#include "base/MKDocDictionary.h"
#include "base/MKDocParser.h"
#include "base/MKDocScalar.h"
#include "base/MKDocWriter.h"

#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The messages of a parse joined by " | ".
std::wstring Errors(const MKDocParser& parser)
{
    std::wstring all;
    for (int i = 0; i < parser.GetErrors().GetCount(); ++i)
        all += (i ? L" | " : L"") + Text(parser.GetErrors()[i]);
    return all;
}

std::unique_ptr<MKDocNode> Parse(MKDocParser& parser, const char* text)
{
    return std::unique_ptr<MKDocNode>(parser.ParseDocument(text));
}

std::unique_ptr<MKDocNode> ParseExtended(const char* text)
{
    MKDocParser parser(true);
    std::unique_ptr<MKDocNode> node = Parse(parser, text);
    EXPECT_TRUE(node) << text << ": " << Errors(parser);
    return node;
}

// The messages of an extended parse that must fail.
std::wstring FailureOf(const char* text, bool extended = true)
{
    MKDocParser parser(extended);
    std::unique_ptr<MKDocNode> node = Parse(parser, text);
    EXPECT_FALSE(node) << text;
    return Errors(parser);
}

TEST(DocParser, EmptyInputNeedsAToken)
{
    for (const char* text : {"", "  \r\n\t", "// only a comment"}) {
        MKDocParser parser(true);
        EXPECT_FALSE(Parse(parser, text));
        EXPECT_EQ(L"input(1) : token expected", Errors(parser)) << text;
    }
    MKDocParser named(false);
    named.SetSourceName(MKString(L"update.txt"));
    EXPECT_FALSE(Parse(named, ""));
    EXPECT_EQ(L"update.txt(1) : token expected", Errors(named));
}

TEST(DocParser, ExtendedSyntaxOfADictionary)
{
    const char* text =
        "// the update answer\n"
        "{\n"
        "  name = \"Vistello\",   /* block\n comment */\n"
        "  \"quoted key\" : [1, 2, 3,],\n"
        "  _flag2: true,\n"
        "}\n";
    std::unique_ptr<MKDocNode> root = ParseExtended(text);
    MKDocDictionary* dictionary = MKDocAsDictionary(root.get());
    ASSERT_NE(nullptr, dictionary);
    ASSERT_EQ(3, dictionary->GetCount());
    EXPECT_EQ(L"name", Text(dictionary->GetNameAt(0)));
    EXPECT_EQ(L"quoted key", Text(dictionary->GetNameAt(1)));
    EXPECT_EQ(L"_flag2", Text(dictionary->GetNameAt(2)));
    ASSERT_NE(nullptr, MKDocAsString(dictionary->Find(MKString(L"name"))));
    EXPECT_EQ(L"Vistello", Text(MKDocAsString(dictionary->Find(MKString(L"name")))->GetValue()));
    MKDocArray* array = MKDocAsArray(dictionary->Find(MKString(L"quoted key")));
    ASSERT_NE(nullptr, array);
    ASSERT_EQ(3, array->GetCount());
    EXPECT_EQ(3, MKDocAsInt32(array->GetAt(2))->GetValue());
    EXPECT_EQ(MKDocKindBool, dictionary->Find(MKString(L"_flag2"))->GetKind());
    EXPECT_EQ(nullptr, dictionary->Find(MKString(L"Name")));
}

TEST(DocParser, PlainModeRejectsTheExtensions)
{
    // The identifier is skipped, and ':' cannot start an entry.
    EXPECT_EQ(L"input(1) : syntax error | input(1) : '}' expected", FailureOf("{ name : 1 }", false));
    EXPECT_EQ(L"input(1) : syntax error | input(1) : syntax error | input(1) : syntax error",
              FailureOf("{ \"a\" : 1 } // note", false));
    EXPECT_EQ(L"input(1) : syntax error | input(1) : Invalid token", FailureOf("Guid(\"x\")", false));
    // Plain JSON still parses, numbers all as doubles.
    MKDocParser parser(false);
    std::unique_ptr<MKDocNode> root = Parse(parser, "{\"a\": [1, -2.5e1, true, false, null], \"b\": {}}");
    ASSERT_TRUE(root) << Errors(parser);
    MKDocArray* array = MKDocAsArray(MKDocAsDictionary(root.get())->Find(MKString(L"a")));
    ASSERT_NE(nullptr, array);
    ASSERT_EQ(5, array->GetCount());
    EXPECT_EQ(MKDocKindDouble, array->GetAt(0)->GetKind());
    EXPECT_EQ(-25.0, static_cast<MKDocDouble*>(array->GetAt(1))->GetValue());
    EXPECT_EQ(MKDocKindNull, array->GetAt(4)->GetKind());
}

TEST(DocParser, NumberTokensMakeTheirKinds)
{
    struct Case {
        const char* text;
        int kind;
        int64_t integer;  // for int32 and int64
        double real;      // for doubles
    } cases[] = {
        {"5", MKDocKindInt32, 5, 0},
        {"5L", MKDocKindInt64, 5, 0},
        {"5l", MKDocKindInt64, 5, 0},
        {"5.0", MKDocKindDouble, 0, 5.0},
        {"5F", MKDocKindDouble, 0, 5.0},
        {"5d", MKDocKindDouble, 0, 5.0},
        {".25", MKDocKindDouble, 0, 0.25},
        {"1e3", MKDocKindDouble, 0, 1000.0},
        {"2.5E-2", MKDocKindDouble, 0, 0.025},
        {"0x10", MKDocKindInt32, 16, 0},
        {"0XffL", MKDocKindInt64, 255, 0},
        {"0xFFFFFFFF", MKDocKindInt32, -1, 0},
        {"0x100000000", MKDocKindInt64, 0x100000000LL, 0},
        {"0xFFFFFFFFFFFFFFFF", MKDocKindInt64, -1, 0},
        {"2147483647", MKDocKindInt32, 2147483647, 0},
        {"2147483648", MKDocKindInt32, -2147483648LL, 0},
        {"4294967295", MKDocKindInt32, -1, 0},
        {"4294967296", MKDocKindInt64, 4294967296LL, 0},
        {"-7", MKDocKindInt32, -7, 0},
        {"-2147483648", MKDocKindInt32, -2147483648LL, 0},
        {"-2147483649", MKDocKindInt64, -2147483649LL, 0},
        {"-9223372036854775808", MKDocKindInt64, INT64_MIN, 0},
        {"-0.5F", MKDocKindDouble, 0, -0.5},
        {"-0x10", MKDocKindInt32, -16, 0},
        {"0.1", MKDocKindDouble, 0, 0.1},
        {"1.7976931348623157e308", MKDocKindDouble, 0, 1.7976931348623157e308},
        {"4.9406564584124654e-324", MKDocKindDouble, 0, 4.9406564584124654e-324},
    };
    for (const Case& c : cases) {
        std::unique_ptr<MKDocNode> node = ParseExtended(c.text);
        ASSERT_TRUE(node) << c.text;
        ASSERT_EQ(c.kind, node->GetKind()) << c.text;
        if (c.kind == MKDocKindInt32)
            EXPECT_EQ(c.integer, static_cast<MKDocInt32*>(node.get())->GetValue()) << c.text;
        else if (c.kind == MKDocKindInt64)
            EXPECT_EQ(c.integer, static_cast<MKDocInt64*>(node.get())->GetValue()) << c.text;
        else
            EXPECT_EQ(c.real, static_cast<MKDocDouble*>(node.get())->GetValue()) << c.text;
    }
}

TEST(DocParser, NumbersOutOfRangeAreReported)
{
    EXPECT_EQ(L"input(1) : Integer overflow", FailureOf("99999999999999999999"));
    EXPECT_EQ(L"input(2) : Integer overflow", FailureOf("[1,\n 0x10000000000000000]"));
    EXPECT_EQ(L"input(1) : Integer overflow", FailureOf("-9223372036854775809"));
    EXPECT_EQ(L"input(1) : Number overflow", FailureOf("1e309"));
    EXPECT_EQ(L"input(1) : Number overflow", FailureOf("[-1e999999]"));
    // 2^64 - 1 still fits the 64 bits and wraps like the 32-bit range does.
    std::unique_ptr<MKDocNode> node = ParseExtended("18446744073709551615");
    ASSERT_TRUE(node);
    EXPECT_EQ(-1, static_cast<MKDocInt64*>(node.get())->GetValue());
}

TEST(DocParser, LongDigitRunsKeepTheirValue)
{
    // More digits than any double needs must not overflow the reading.
    std::string third = "0." + std::string(5000, '3');
    std::unique_ptr<MKDocNode> node = ParseExtended(third.c_str());
    ASSERT_EQ(MKDocKindDouble, node ? node->GetKind() : 0);
    EXPECT_DOUBLE_EQ(1.0 / 3, static_cast<MKDocDouble*>(node.get())->GetValue());

    std::string one = "1" + std::string(5000, '0') + ".5e-5000";
    node = ParseExtended(one.c_str());
    ASSERT_EQ(MKDocKindDouble, node ? node->GetKind() : 0);
    EXPECT_EQ(1.0, static_cast<MKDocDouble*>(node.get())->GetValue());
    EXPECT_EQ(L"input(1) : Number overflow", FailureOf(("1" + std::string(400, '0') + ".0").c_str()));
}

TEST(DocParser, StringsDecodeEscapesAndUtf8)
{
    struct Case {
        const char* text;
        const wchar_t* value;
    } cases[] = {
        {"\"plain\"", L"plain"},
        {"\"caf\xc3\xa9\"", L"caf\u00e9"},
        {"\"q\\\" s\\/ b\\\\ \\b\\f\\n\\r\\t\"", L"q\" s/ b\\ \b\f\n\r\t"},
        {"\"\\u00e9\\u20AC\"", L"\u00e9\u20ac"},
        {"\"\\u41x\"", L"Ax"},
        {"@\"C:\\path\\\"\"file\"\"\"", L"C:\\path\\\"file\""},
        {"@\"two\r\nlines\"", L"two\r\nlines"},
        // With no variable defined an unknown name and a lone "$" stay as they
        // are; "$$" still stands for "$".
        {"\"$HOME, $ and $$\"", L"$HOME, $ and $"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<MKDocNode> node = ParseExtended(c.text);
        ASSERT_NE(nullptr, MKDocAsString(node.get())) << c.text;
        EXPECT_EQ(std::wstring(c.value), Text(MKDocAsString(node.get())->GetValue())) << c.text;
    }
}

TEST(DocParser, BadStringsAreReported)
{
    struct Case {
        const char* text;
        const wchar_t* errors;
    } cases[] = {
        // The quote that was meant to close the first string opens another.
        {"\"line\nbreak\"", L"input(1) : newline in string | input(2) : unterminated string"},
        {"[\"line\n\"]", L"input(1) : newline in string | input(2) : unterminated string | input(1) : ',' expected | input(2) : ']' expected"},
        {"[\"open", L"input(1) : unterminated string | input(1) : ']' expected"},
        {"@\"open\n", L"input(1) : unterminated string"},
        {"@x", L"input(1) : syntax error, '\"' expected | input(1) : Invalid token"},
        {"\"a\\qb\"", L"input(1) : unrecognized character escape sequence 'q'"},
        {"\"a\\\x01\"", L"input(1) : unrecognized character escape sequence '0x1'"},
        {"\"\\u12\"", L"input(1) : invalid unicode character escape"},
        {"\"\\uZZ\"", L"input(1) : invalid unicode character escape"},
        {"/* open", L"input(1) : Unterminated comment | input(1) : token expected"},
        {"\n\n#", L"input(3) : syntax error | input(1) : token expected"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.errors), FailureOf(c.text)) << c.text;
}

TEST(DocParser, VariablesWhenDefined)
{
    MKDocParser parser(true);
    ASSERT_TRUE(parser.SetVariable(MKString(L"dir"), MKString(L"C:\\x")));
    std::unique_ptr<MKDocNode> node = Parse(parser, "[\"$dir\\\\a $$5\", @\"$dir_2\", \"$dir.\"]");
    EXPECT_FALSE(node);
    EXPECT_EQ(L"input(1) : unknown variable 'dir_2'", Errors(parser));

    node = Parse(parser, "[\"$dir\\\\a $$5\", @\"$dir\\b\", \"$dir.\"]");
    ASSERT_TRUE(node) << Errors(parser);
    MKDocArray* array = MKDocAsArray(node.get());
    EXPECT_EQ(L"C:\\x\\a $5", Text(MKDocAsString(array->GetAt(0))->GetValue()));
    EXPECT_EQ(L"C:\\x\\b", Text(MKDocAsString(array->GetAt(1))->GetValue()));
    EXPECT_EQ(L"C:\\x.", Text(MKDocAsString(array->GetAt(2))->GetValue()));

    EXPECT_FALSE(Parse(parser, "\"cost: $ 5\""));
    EXPECT_EQ(L"input(1) : '$' should specify a variable, please use '$$'", Errors(parser));

    // Plain documents never substitute.
    MKDocParser plain(false);
    plain.SetVariable(MKString(L"dir"), MKString(L"C:\\x"));
    node = Parse(plain, "\"$dir $\"");
    ASSERT_TRUE(node) << Errors(plain);
    EXPECT_EQ(L"$dir $", Text(MKDocAsString(node.get())->GetValue()));
}

TEST(DocParser, StructureErrorsNameTheMissingToken)
{
    struct Case {
        const char* text;
        const wchar_t* errors;
    } cases[] = {
        {"{ \"a\" : 1, \"a\" : 2 }", L"input(1) : duplicate entry for name 'a'"},
        {"{\n a = 1\n b = 2\n}", L"input(2) : ',' expected"},
        {"{ a 1 }", L"input(1) : ':' expected | input(1) : Invalid token | input(1) : ',' expected | input(1) : '}' expected"},
        {"[1 2]", L"input(1) : ',' expected"},
        {"[1,\n2", L"input(2) : ']' expected"},
        {"{\"a\":\n[1]", L"input(2) : ',' expected | input(2) : '}' expected"},
        {"{ 5 : 1 }", L"input(1) : '}' expected"},
        {"]", L"input(1) : Invalid token"},
        {"nonsense", L"input(1) : Invalid token"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.errors), FailureOf(c.text)) << c.text;
}

TEST(DocParser, TokensAfterTheFirstValueAreIgnored)
{
    std::unique_ptr<MKDocNode> node = ParseExtended("{ \"a\" : 1 } trailing ] garbage");
    ASSERT_NE(nullptr, MKDocAsDictionary(node.get()));
    EXPECT_EQ(1, MKDocAsDictionary(node.get())->GetCount());
}

TEST(DocParser, NestingIsBounded)
{
    std::string ok(MKDocParser::kMaxDepth, '[');
    ok += std::string(MKDocParser::kMaxDepth, ']');
    EXPECT_TRUE(ParseExtended(ok.c_str()));

    std::string deep(200000, '[');
    EXPECT_EQ(L"input(1) : nesting too deep", FailureOf(deep.c_str()));
    std::string deepObjects;
    for (int i = 0; i < 100000; ++i)
        deepObjects += "{a:";
    EXPECT_EQ(L"input(1) : nesting too deep", FailureOf(deepObjects.c_str()));
}

TEST(DocParser, NestedTypedLiteralsAreBoundedToo)
{
    // A literal whose argument is another literal recurses like a container.
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "Guid(";
    MKDocParser parser(true);
    EXPECT_FALSE(Parse(parser, deep.c_str()));
    const MKTOArray<MKString>& errors = parser.GetErrors();
    ASSERT_EQ(MKDocParser::kMaxDepth + 1, errors.GetCount());
    EXPECT_EQ(L"input(1) : 'string' expected", Text(errors[0]));
    EXPECT_EQ(L"input(1) : nesting too deep", Text(errors[MKDocParser::kMaxDepth]));
}

TEST(DocParser, ParserIsReusable)
{
    MKDocParser parser(true);
    EXPECT_FALSE(Parse(parser, "{"));
    EXPECT_FALSE(Errors(parser).empty());
    std::unique_ptr<MKDocNode> node = Parse(parser, "{}");
    EXPECT_TRUE(node);
    EXPECT_EQ(L"", Errors(parser));
}

}  // namespace
