// The stand-in installer's reading of the command lines the setup program
// and the add-in give it.
#include "standins/installer/InstallerCommand.h"

#include <gtest/gtest.h>

namespace {

using Kind = InstallerCommand::Kind;

struct CommandCase {
    const wchar_t* line;
    Kind kind;
    const wchar_t* setupPath;
    const wchar_t* source;
    const wchar_t* folder;
    bool silent;
    bool fromUpdater;
};

class InstallerCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(InstallerCommandTest, ReadsTheSwitchesAndTheirValues)
{
    const CommandCase& c = GetParam();
    InstallerCommand command = ParseInstallerCommand(c.line);
    EXPECT_EQ(command.kind, c.kind);
    if (c.kind == Kind::kInvalid)
        return;
    EXPECT_EQ(command.setupPath, c.setupPath);
    EXPECT_EQ(command.source, c.source);
    EXPECT_EQ(command.folder, c.folder);
    EXPECT_EQ(command.silent, c.silent);
    EXPECT_EQ(command.fromUpdater, c.fromUpdater);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, InstallerCommandTest,
    ::testing::Values(
        // As the setup program starts it.
        CommandCase{L"\"C:\\T\\v.tmp\\Setup.tmp\" /install \"C:\\My Downloads\\Setup.exe\"", Kind::kInstall,
                    L"C:\\My Downloads\\Setup.exe", L"", L"", false, false},
        CommandCase{L"i.exe /install C:\\s.exe /silent /from_updater /source \"C:\\my folder\\x\"", Kind::kInstall,
                    L"C:\\s.exe", L"C:\\my folder\\x", L"", true, true},
        CommandCase{L"i.exe /INSTALL C:\\s.exe /Silent", Kind::kInstall, L"C:\\s.exe", L"", L"", true, false},
        // As the add-in starts it for an update.
        CommandCase{L"i.exe /update /path \"C:\\Program Files\\Vistello\"", Kind::kUpdate, L"", L"",
                    L"C:\\Program Files\\Vistello", false, false},
        // What it does not know.
        CommandCase{L"i.exe", Kind::kInvalid},
        CommandCase{L"i.exe /install", Kind::kInvalid},
        CommandCase{L"i.exe /install C:\\s.exe /source", Kind::kInvalid},
        CommandCase{L"i.exe /update", Kind::kInvalid},
        CommandCase{L"i.exe /update /path", Kind::kInvalid},
        CommandCase{L"i.exe /install C:\\s.exe /update /path C:\\p", Kind::kInvalid},
        CommandCase{L"i.exe /install C:\\s.exe /quiet", Kind::kInvalid}));

}  // namespace
