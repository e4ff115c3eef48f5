#include "setup/SetupCommandLine.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const wchar_t* commandLine;
    bool silent;
    bool fromUpdater;
    const wchar_t* source;
};

class SetupCommandLineParse : public testing::TestWithParam<ParseCase> {};

TEST_P(SetupCommandLineParse, ReadsTheOptions)
{
    const ParseCase& c = GetParam();
    SetupCommandLine options;
    options.Parse(c.commandLine);
    EXPECT_EQ(options.silent, c.silent);
    EXPECT_EQ(options.fromUpdater, c.fromUpdater);
    EXPECT_STREQ(options.source.GetText(), c.source);
    EXPECT_FALSE(options.installerFailed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupCommandLineParse,
    testing::Values(ParseCase{nullptr, false, false, L""}, ParseCase{L"", false, false, L""},
                    ParseCase{L"\"C:\\dl\\VistelloSetup.exe\"", false, false, L""},
                    // The program's own path is never an option.
                    ParseCase{L"/silent", false, false, L""},
                    ParseCase{L"setup.exe /SILENT \t/From_Updater", true, true, L""},
                    // A switch inside quotes, or with more to it, is none.
                    ParseCase{L"setup.exe \"/silent\" /silentx /from_updater\"\"", false, false, L""},
                    // Everything after /source is its value; the last token wins.
                    ParseCase{L"setup.exe /source C:\\src /silent", false, false, L"/silent"},
                    ParseCase{L"setup.exe /silent /source", true, false, L""},
                    ParseCase{L"setup.exe /source \"C:\\my folder\\x\" /from_updater \"D:\\a b\"", false, false,
                              L"D:\\a b"},
                    ParseCase{L"setup.exe /source a\"b c\"d", false, false, L"ab cd"},
                    // The switch "auto" and its identifier that a RunOnce entry may carry.
                    ParseCase{L"setup.exe /from_updater auto 1234", false, true, L""}));

TEST(SetupCommandLine, KeepsALongValueWhole)
{
    std::wstring value(700, L'x');
    SetupCommandLine options;
    options.Parse((L"setup.exe /source " + value).c_str());
    EXPECT_EQ(options.source.GetLength(), 700);
}

}  // namespace
