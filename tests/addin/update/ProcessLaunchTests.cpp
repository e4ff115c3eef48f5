// Starting programs: the echo installer logs the command line it was given,
// and a refused consent dialog (answered through the shell seam) starts
// nothing.
#include "addin/update/ProcessLaunch.h"
#include "addin/update/ShellLaunch.h"
#include "base/MKSystemChecks.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The echo installer copied into a folder whose name holds a blank, and the
// file it records its command line into.
class EchoProgram {
public:
    EchoProgram()
    {
        folder = scratch.File(L"with blank");
        CreateDirectoryW(folder.c_str(), nullptr);
        program = folder + L"\\echo.exe";
        CopyFileW(TestsBinPath(L"setup_echo_installer.exe").c_str(), program.c_str(), FALSE);
        record = scratch.File(L"record.txt");
        SetEnvironmentVariableW(L"VISTELLO_ECHO_RECORD", record.c_str());
    }
    ~EchoProgram() { SetEnvironmentVariableW(L"VISTELLO_ECHO_RECORD", nullptr); }

    // The command line the program saw (after its own path and a line feed).
    std::wstring CommandLine() const
    {
        std::ifstream file(std::filesystem::path(record), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        size_t feed = text.find(L'\n');
        return feed == std::wstring::npos ? L"<nothing recorded>" : text.substr(feed + 1);
    }

    ScratchFolder scratch;
    std::wstring folder;
    std::wstring program;
    std::wstring record;
};

BOOL WINAPI RefuseElevation(SHELLEXECUTEINFOW*)
{
    SetLastError(ERROR_CANCELLED);
    return FALSE;
}

const wchar_t* g_seenVerb = nullptr;
BOOL WINAPI RecordVerb(SHELLEXECUTEINFOW* info)
{
    g_seenVerb = info->lpVerb;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

}  // namespace

TEST(ProcessLaunchTest, CleansProgramPaths)
{
    const struct {
        const wchar_t* given;
        const wchar_t* clean;
    } cases[] = {{L"  \"C:\\a b\\x.exe\"  ", L"C:\\a b\\x.exe"}, {L"\"", L"\""}, {L"\"\"", L""},
                 {L"x.exe\"", L"x.exe"}, {L" plain.exe ", L"plain.exe"}};
    for (const auto& c : cases)
        EXPECT_STREQ(CleanProgramPath(c.given).GetText(), c.clean) << c.given;
}

TEST(ProcessLaunchTest, TheProgramSeesExactlyTheCommandLine)
{
    EchoProgram echo;
    const struct {
        std::wstring program;
        const wchar_t* arguments;
        std::wstring expected;
    } cases[] = {
        {L"  \"" + echo.program + L"\" ", L"  /update \"C:\\x y\\z.vlx\" -q  ",
         L"\"" + echo.program + L"\" /update \"C:\\x y\\z.vlx\" -q"},
        {echo.program, L"", L"\"" + echo.program + L"\""},
        {echo.program, L"   ", L"\"" + echo.program + L"\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.expected);
        DeleteFileW(echo.record.c_str());
        EXPECT_STREQ(MakeCommandLine(c.program.c_str(), c.arguments).GetText(), c.expected.c_str());
        ProcessInfo info;
        ASSERT_TRUE(LaunchProcess(info, c.program.c_str(), c.arguments));
        ASSERT_NE(info.hProcess, nullptr);
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
        info.Close();
        EXPECT_EQ(info.hProcess, nullptr);
        EXPECT_EQ(echo.CommandLine(), c.expected);
    }
}

TEST(ProcessLaunchTest, AProgramThatCannotStartGivesFalseAndAZeroRecord)
{
    ScratchFolder scratch;
    ProcessInfo info;
    EXPECT_FALSE(LaunchProcess(info, scratch.File(L"missing.exe").c_str(), L"-x"));
    EXPECT_EQ(info.hProcess, nullptr);
    EXPECT_EQ(info.dwProcessId, 0u);
}

TEST(ShellLaunchTest, StartsTheProgramWithItsArguments)
{
    EchoProgram echo;
    ShellLaunch launch;
    ASSERT_EQ(launch.Run((L" \"" + echo.program + L"\"").c_str(), L"-a \"b c\"", false), ShellLaunchStarted);
    ASSERT_NE(launch.GetProcess(), nullptr);
    EXPECT_EQ(WaitForSingleObject(launch.GetProcess(), 20000), WAIT_OBJECT_0);
    launch.CloseProcess();
    EXPECT_EQ(launch.GetProcess(), nullptr);
    std::wstring line = echo.CommandLine();
    EXPECT_NE(line.find(L"-a \"b c\""), std::wstring::npos) << line;
}

TEST(ShellLaunchTest, RefusedElevationAnswersCancelledAndStartsNothing)
{
    EchoProgram echo;
    ShellLaunch::SetExecuteForTesting(RefuseElevation);
    ShellLaunch launch;
    EXPECT_EQ(launch.Run(echo.program.c_str(), L"", true), ShellLaunchCancelled);
    ShellLaunch::SetExecuteForTesting(nullptr);
    EXPECT_EQ(launch.GetProcess(), nullptr);
    Sleep(200);
    EXPECT_EQ(GetFileAttributesW(echo.record.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ShellLaunchTest, AsksForElevationOnlyForAUserOutsideTheAdministrators)
{
    const struct {
        bool vista;
        bool admin;
        bool elevate;
        bool runas;
    } cases[] = {{true, false, true, true}, {true, true, true, false}, {false, false, true, false},
                 {true, false, false, false}};
    for (const auto& c : cases) {
        MKSystemCheckAnswers answers;
        answers.vistaOrLater = c.vista ? 1 : 0;
        answers.userAdmin = c.admin ? 1 : 0;
        MKSetSystemCheckAnswers(&answers);
        ShellLaunch::SetExecuteForTesting(RecordVerb);
        g_seenVerb = nullptr;
        ShellLaunch launch;
        EXPECT_EQ(launch.Run(L"x.exe", L"", c.elevate), ShellLaunchFailed);
        ShellLaunch::SetExecuteForTesting(nullptr);
        MKSetSystemCheckAnswers(nullptr);
        if (c.runas) {
            ASSERT_NE(g_seenVerb, nullptr);
            EXPECT_STREQ(g_seenVerb, L"runas");
        } else {
            EXPECT_EQ(g_seenVerb, nullptr);
        }
    }
}
