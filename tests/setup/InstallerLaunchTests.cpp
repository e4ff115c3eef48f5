#include "setup/InstallerLaunch.h"

#include "setup/SetupTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const wchar_t* options;
    const wchar_t* line;
};

class InstallerCommandLineCases : public testing::TestWithParam<LineCase> {};

TEST_P(InstallerCommandLineCases, IsExact)
{
    SetupCommandLine options;
    options.Parse(GetParam().options);
    MKString line = InstallerCommandLine(L"C:\\T\\vl1.tmp\\Setup.tmp", L"C:\\My Downloads\\Setup.exe", options);
    EXPECT_STREQ(line.GetText(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallerCommandLineCases,
    testing::Values(
        LineCase{L"s.exe", L"\"C:\\T\\vl1.tmp\\Setup.tmp\" /install \"C:\\My Downloads\\Setup.exe\""},
        LineCase{L"s.exe /source /silent /x",
                 L"\"C:\\T\\vl1.tmp\\Setup.tmp\" /install \"C:\\My Downloads\\Setup.exe\" /source \"/x\""},
        LineCase{L"s.exe /silent /from_updater /source \"C:\\a b\"",
                 L"\"C:\\T\\vl1.tmp\\Setup.tmp\" /install \"C:\\My Downloads\\Setup.exe\" /silent /from_updater "
                 L"/source \"C:\\a b\""},
        // A closing quote after a backslash would read as a quote of the value.
        LineCase{L"s.exe /source \"C:\\a b\\\\\"",
                 L"\"C:\\T\\vl1.tmp\\Setup.tmp\" /install \"C:\\My Downloads\\Setup.exe\" /source \"C:\\a b\\\\\\\\\""},
        LineCase{L"s.exe /source", L"\"C:\\T\\vl1.tmp\\Setup.tmp\" /install \"C:\\My Downloads\\Setup.exe\""}));

TEST(InstallerCommandLine, EveryValueComesBackWholeFromTheArgumentSplit)
{
    for (const wchar_t* value : {L"C:\\my folder", L"C:\\my folder\\", L"\\\\server\\share with space\\\\", L"x"}) {
        SetupCommandLine options;
        options.source = value;
        options.silent = true;
        MKString line = InstallerCommandLine(L"C:\\t\\in st.tmp", L"C:\\a b\\Setup.exe", options);
        std::vector<std::wstring> expected = {L"C:\\t\\in st.tmp", L"/install", L"C:\\a b\\Setup.exe", L"/silent",
                                              L"/source", value};
        EXPECT_EQ(SplitArguments(line.GetText()), expected) << value;
    }
}

TEST(RunInstaller, AProgramThatCannotStartGives301)
{
    SetupCommandLine options;
    EXPECT_EQ(RunInstaller(L"C:\\no such folder\\none.tmp", L"C:\\s.exe", options), kInstallerNotStarted);
    EXPECT_FALSE(options.installerFailed);
}

}  // namespace
