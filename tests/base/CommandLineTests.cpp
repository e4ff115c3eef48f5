#include "base/MKCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Arguments(const MKCommandLine& line)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < line.GetArguments().GetCount(); ++i)
        out.push_back(line.GetArguments()[i].GetText());
    return out;
}

// Items as "opt:x" for options, "long:x" for long options and the text itself
// for values.
std::vector<std::wstring> Items(const MKCommandLine& line)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < line.GetItemCount(); ++i) {
        const MKCommandLineItem* item = line.GetItem(i);
        std::wstring prefix = item->isLong ? L"long:" : item->isOption ? L"opt:" : L"";
        out.push_back(prefix + item->text.GetText());
    }
    return out;
}

TEST(CommandLine, SplitsAtBlanksOutsideQuotes)
{
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> arguments;
        const wchar_t* argumentText;
    } cases[] = {
        {L"", {L"error.exe"}, L""},
        {nullptr, {L"error.exe"}, L""},
        {L"prog \"a b\" c", {L"prog", L"a b", L"c"}, L"\"a b\" c"},
        {L"prog x\"y z\"w", {L"prog", L"x\"y z\"w"}, L"x\"y z\"w"},
        {L" \t\"C:\\My Apps\\p.exe\"  one\ttwo  ", {L"C:\\My Apps\\p.exe", L"one", L"two"}, L"one\ttwo"},
        {L"prog \"\" \"", {L"prog", L"", L"\""}, L"\"\" \""},
        {L"prog   ", {L"prog"}, L""},
    };
    for (const Case& c : cases) {
        MKCommandLine line;
        ASSERT_TRUE(line.Parse(c.text));
        EXPECT_TRUE(line.IsParsed());
        EXPECT_EQ(c.arguments, Arguments(line)) << (c.text ? c.text : L"(null)");
        EXPECT_EQ(std::wstring(c.argumentText), line.GetArgumentText().GetText());
    }
}

TEST(CommandLine, ClassifiesWithTheDefaults)
{
    MKCommandLine line;
    ASSERT_TRUE(line.Parse(L"-p -ab --path /x \"\"q\"\" - -- -z --w"));
    // The program name is never an option.
    EXPECT_EQ((std::vector<std::wstring>{L"-p", L"opt:a", L"opt:b", L"long:path", L"/x", L"q", L"-", L"-z", L"--w"}),
              Items(line));
}

TEST(CommandLine, ClassifiesWithOtherSwitches)
{
    MKCommandLine line;
    line.optionsEnabled = false;
    line.slashOptions = true;
    line.letterGroups = false;
    ASSERT_TRUE(line.Parse(L"POWERPNT.EXE /s -x -- /Pt \"\"f\"\""));
    EXPECT_EQ((std::vector<std::wstring>{L"POWERPNT.EXE", L"opt:s", L"-x", L"--", L"opt:Pt", L"f"}), Items(line));
    EXPECT_EQ(1, line.FindOption(L"S", true));
    EXPECT_EQ(-1, line.FindOption(L"S", false));
    EXPECT_EQ(4, line.FindOption(L"pT", true));
    EXPECT_EQ(-1, line.FindOption(L"x", true));
    EXPECT_EQ(-1, line.FindOption(nullptr, true));

    line.unquoteValues = false;
    line.letterGroups = true;
    ASSERT_TRUE(line.Classify());
    EXPECT_EQ((std::vector<std::wstring>{L"POWERPNT.EXE", L"opt:s", L"-x", L"--", L"opt:P", L"opt:t", L"\"f\""}),
              Items(line));
}

TEST(CommandLine, CaseFoldingIsAsciiOnly)
{
    MKCommandLine line;
    ASSERT_TRUE(line.Parse(L"p --\u00c9t\u00c9 --I"));
    EXPECT_EQ(-1, line.FindOption(L"\u00e9t\u00e9", true));
    EXPECT_EQ(1, line.FindOption(L"\u00c9T\u00c9", true));
    EXPECT_EQ(2, line.FindOption(L"i", true));
}

TEST(CommandLine, TakesValuesBehindASelectedOption)
{
    MKCommandLine line;
    ASSERT_TRUE(line.Parse(L"prog first --path C:\\x second -q third"));
    MKString value(L"stale");
    int index = 7;
    EXPECT_TRUE(line.NextValue(value, &index));  // the cursor starts behind the program name
    EXPECT_EQ(L"first", std::wstring(value.GetText()));
    EXPECT_EQ(1, index);
    EXPECT_FALSE(line.SelectOption(L"absent", false));
    ASSERT_TRUE(line.SelectOption(L"path", false));
    ASSERT_TRUE(line.NextValue(value, &index));
    EXPECT_EQ(L"C:\\x", std::wstring(value.GetText()));
    EXPECT_EQ(3, index);
    ASSERT_TRUE(line.NextValue(value, &index));
    EXPECT_EQ(L"second", std::wstring(value.GetText()));
    EXPECT_EQ(4, index);
    EXPECT_FALSE(line.NextValue(value, &index));  // an option follows
    EXPECT_EQ(0, value.GetLength());
    EXPECT_EQ(-1, index);
    // Taken values are gone from the items.
    EXPECT_EQ((std::vector<std::wstring>{L"prog", L"long:path", L"opt:q", L"third"}), Items(line));
    ASSERT_TRUE(line.SelectOption(L"q", false));
    ASSERT_TRUE(line.NextValue(value, &index));
    EXPECT_EQ(6, index);
    EXPECT_FALSE(line.NextValue(value, &index));
}

TEST(CommandLine, KeepsTakenValuesWhenAsked)
{
    MKCommandLine line;
    line.removeTakenValues = false;
    ASSERT_TRUE(line.Parse(L"prog -o a b"));
    ASSERT_TRUE(line.SelectOption(L"o", false));
    MKString value;
    int index = 0;
    ASSERT_TRUE(line.NextValue(value, &index));
    ASSERT_TRUE(line.NextValue(value, &index));
    EXPECT_EQ(L"b", std::wstring(value.GetText()));
    EXPECT_FALSE(line.NextValue(value, &index));
    EXPECT_EQ(4, line.GetItemCount());
    ASSERT_TRUE(line.SelectOption(L"o", false));  // values can be read again
    ASSERT_TRUE(line.NextValue(value, nullptr));
    EXPECT_EQ(L"a", std::wstring(value.GetText()));
}

}  // namespace
