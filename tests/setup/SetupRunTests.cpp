// VistelloSetup.exe itself, stamped with payloads around the echo installer
// and run as a program of its own.
#include "fixtures/ChildProcess.h"
#include "fixtures/Fixtures.h"
#include "setup/SetupTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class SetupRun : public testing::Test {
protected:
    void SetUp() override
    {
        // The setup makes a window; under Wine the first window of a session
        // starts the desktop process, which would inherit the setup's handles
        // and keep the output pipe of RunChildProcess open. Start it here.
        GetDesktopWindow();
        temp_ = work_.File(L"temp");
        record_ = work_.File(L"record.txt");
        ASSERT_TRUE(CreateDirectoryW(temp_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(work_.File(L"My Setups").c_str(), nullptr));
    }

    std::wstring Stamp(const wchar_t* payload)
    {
        return StampedSetup(work_.File(L"My Setups"), L"Vistello Setup.exe", payload);
    }

    ChildProcessResult Run(const std::wstring& setup, const std::wstring& options, const wchar_t* exitCode = L"0",
                           const std::wstring& temp = std::wstring())
    {
        std::wstring tempPath = temp.empty() ? temp_ : temp;
        return RunChildProcess(L"\"" + setup + L"\" " + options, {{L"TMP", tempPath},
                                                                  {L"TEMP", tempPath},
                                                                  {L"VISTELLO_ECHO_RECORD", record_},
                                                                  {L"VISTELLO_ECHO_EXIT", exitCode}});
    }

    ScratchFolder work_;
    std::wstring temp_;
    std::wstring record_;
};

struct RunCase {
    const wchar_t* payload;
    const wchar_t* options;
    const wchar_t* exitCode;
    // What follows the quoted installer path in its command line.
    const wchar_t* tail;
};

class SetupRunCases : public SetupRun, public testing::WithParamInterface<RunCase> {};

TEST_P(SetupRunCases, RunsTheInstallerWithTheExactCommandLineAndReturnsItsCode)
{
    const RunCase& c = GetParam();
    std::wstring setup = Stamp(c.payload);
    ASSERT_FALSE(setup.empty());
    ChildProcessResult result = Run(setup, c.options, c.exitCode);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, unsigned(_wtoi(c.exitCode)));

    EchoRecord record = ReadEchoRecord(record_);
    ASSERT_TRUE(record.present);
    std::wstring installer = record.installerPath;
    std::wstring folder = installer.substr(0, installer.rfind(L'\\'));
    EXPECT_EQ(folder.rfind(temp_ + L"\\vl", 0), 0u) << folder;
    EXPECT_EQ(installer.substr(folder.size()), L"\\Vistello Setup.tmp");
    std::wstring expected = L"\"" + installer + L"\" /install \"" + setup + L"\"" + c.tail;
    EXPECT_EQ(record.commandLine, expected);
    // The unpacked file and its folder are gone.
    EXPECT_TRUE(IsEmptyFolder(temp_));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupRunCases,
    testing::Values(RunCase{L"setup_payload_lzma.bin", L"", L"0", L""},
                    RunCase{L"setup_payload_stored.bin", L"/Silent", L"0", L" /silent"},
                    // The installer's failure is its own to tell: no box, its code.
                    RunCase{L"setup_payload_lzma.bin", L"/from_updater auto 12", L"7", L" /from_updater"},
                    RunCase{L"setup_payload_lzma.bin", L"/silent /from_updater /source \"C:\\my folder\\x\\\"", L"3",
                            L" /silent /from_updater /source \"C:\\my folder\\x\\\\\""}));

TEST_F(SetupRun, ASourceWithBlanksReachesTheInstallerAsOneArgument)
{
    std::wstring setup = Stamp(L"setup_payload_lzma.bin");
    ASSERT_FALSE(setup.empty());
    ChildProcessResult result = Run(setup, L"/silent /source \"\\\\server\\Shared Setups\\Vistello 2\"");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u);
    EchoRecord record = ReadEchoRecord(record_);
    ASSERT_TRUE(record.present);
    std::vector<std::wstring> arguments = SplitArguments(record.commandLine);
    std::vector<std::wstring> expected = {record.installerPath, L"/install", setup, L"/silent", L"/source",
                                          L"\\\\server\\Shared Setups\\Vistello 2"};
    EXPECT_EQ(arguments, expected);
}

struct FailureCase {
    const wchar_t* payload;
    unsigned long code;
};

class SetupRunFailures : public SetupRun, public testing::WithParamInterface<FailureCase> {};

TEST_P(SetupRunFailures, EndWithTheSetupsCodeAndRunNothing)
{
    std::wstring setup = Stamp(GetParam().payload);
    ASSERT_FALSE(setup.empty());
    ChildProcessResult result = Run(setup, L"/silent");
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, GetParam().code);
    EXPECT_FALSE(ReadEchoRecord(record_).present);
    EXPECT_TRUE(IsEmptyFolder(temp_));
}

INSTANTIATE_TEST_SUITE_P(Cases, SetupRunFailures,
                         testing::Values(FailureCase{L"setup_payload_truncated.bin", 107},
                                         FailureCase{L"setup_payload_early_end.bin", 107},
                                         FailureCase{L"setup_payload_bad_properties.bin", 105}));

TEST_F(SetupRun, ATemporaryPathTooLongIsRefused)
{
    std::wstring setup = Stamp(L"setup_payload_lzma.bin");
    ASSERT_FALSE(setup.empty());
    ChildProcessResult result = Run(setup, L"/silent", L"0", temp_ + L"\\" + std::wstring(300, L'x'));
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 501u);
    EXPECT_FALSE(ReadEchoRecord(record_).present);
}

// A named event of this test's own.
class TestEvent {
public:
    explicit TestEvent(const std::wstring& name) : handle_(CreateEventW(nullptr, TRUE, FALSE, name.c_str())) {}
    ~TestEvent() { CloseHandle(handle_); }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

TEST_F(SetupRun, WhileTheInstallerRunsItsFileCannotBeReplaced)
{
    std::wstring setup = Stamp(L"setup_payload_lzma.bin");
    ASSERT_FALSE(setup.empty());
    std::wstring hold = L"vistello_setup_hold_" + std::to_wstring(GetCurrentProcessId());
    TestEvent started(hold + L"_started");
    TestEvent release(hold + L"_release");
    SetEnvironmentVariableW(L"VISTELLO_ECHO_HOLD", hold.c_str());
    TempVariables variables(temp_);
    SetEnvironmentVariableW(L"VISTELLO_ECHO_RECORD", record_.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring line = L"\"" + setup + L"\" /silent";
    BOOL created =
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"VISTELLO_ECHO_HOLD", nullptr);
    SetEnvironmentVariableW(L"VISTELLO_ECHO_RECORD", nullptr);
    ASSERT_TRUE(created);
    ASSERT_EQ(WaitForSingleObject(started.Get(), 60000), WAIT_OBJECT_0);

    EchoRecord record = ReadEchoRecord(record_);
    ASSERT_TRUE(record.present);
    std::wstring installer = record.installerPath;
    std::wstring other = work_.File(L"other.exe");
    ASSERT_TRUE(CopyFileW(setup.c_str(), other.c_str(), FALSE));
    EXPECT_FALSE(MoveFileExW(other.c_str(), installer.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(MoveFileW(installer.c_str(), (installer + L".old").c_str()));
    EXPECT_FALSE(DeleteFileW(installer.c_str()));
    HANDLE writer = CreateFileW(installer.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE)
        CloseHandle(writer);

    SetEvent(release.Get());
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(IsEmptyFolder(temp_));
}

}  // namespace
