// The updater link at the add-in's start and on request, with a host of the
// test's own standing in for the add-in and PowerPoint's COM add-ins, and the
// plug-ins' automation object over it.
#include "FileTree.h"
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/AutoRunRecord.h"
#include "addin/update/CommandRecord.h"
#include "addin/update/FileCalls.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/ProgramFolder.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/StateRecord.h"
#include "addin/update/UpdateCheckDispatch.h"
#include "addin/update/UpdateChecker.h"
#include "addin/update/UpdateClock.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterHost.h"
#include "addin/update/UpdaterLink.h"
#include "base/MKBinaryWriter.h"
#include "base/MKFile.h"
#include "base/MKMemOutStream.h"
#include "base/MKPath.h"
#include "base/MKSystemChecks.h"
#include "fixtures/Fixtures.h"
#include "fixtures/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The add-in and PowerPoint as the link sees them. Connecting the update
// add-in plays its OnConnection: it reads the request in "cmd.dat" and
// answers with answerCode.
class TestHost : public UpdaterHost {
public:
    explicit TestHost(const std::wstring& folder) : m_folder(folder.c_str()) {}

    HINSTANCE GetModuleInstance() override { return GetModuleHandleW(nullptr); }
    MKString GetInstallationFolder() override { return m_folder; }
    bool GetAutoCheckUpdates() override { return autoCheck; }
    int GetAutoInstallUpdates() override { return autoInstall; }
    int32_t GetUpdateFrequency() override { return 2; }
    bool MakeCheckFacts(UpdateCheckFacts& facts) override
    {
        facts.installationGuid = L"0123456789ABCDEF0123456789ABCDEF";
        facts.frequency = 2;
        return true;
    }
    UpdateCheckSettings* GetCheckSettings() override { return nullptr; }
    MKString GetUpdateServiceUrl() override { return serviceUrl; }
    void StopSlideShowSession() override { ++showsStopped; }
    void ShowUpdateError(const MKString& text) override { errors.push_back(text.GetText()); }
    void SetInstalledVersion(const MKVersion& version) override { installedVersion = version; }
    void KernelIsReady() override { ++kernelReady; }
    void KernelShutdown() override { ++kernelShutdown; }
    bool IsMainAddInMachineWide() override { return machineWide; }
    bool HasComAddIns() override { return true; }
    bool RegisterUpdateAddIn() override
    {
        registered = true;
        present = true;
        return true;
    }
    void UnregisterUpdateAddIn() override { registered = false; }
    bool RefreshComAddIns() override { return true; }
    bool QueryUpdateAddIn(bool* found, bool* isConnected) override
    {
        *found = present;
        *isConnected = connected;
        return true;
    }
    bool SetUpdateAddInConnect(bool connect) override
    {
        connected = connect;
        if (connect) {
            ++connections;
            requestRead = ReadCommandFile(m_folder, &requestValue, &requestText);
            DeleteCommandFile(m_folder);
            if (answers)
                WriteCommandFile(m_folder, nullptr, answerCode, L"");
        }
        return true;
    }

    bool autoCheck = true;
    int autoInstall = -1;
    bool machineWide = false;
    MKString serviceUrl = L"http://127.0.0.1:9";
    int showsStopped = 0;
    std::vector<std::wstring> errors;
    MKVersion installedVersion;
    int kernelReady = 0;
    int kernelShutdown = 0;
    bool registered = false;
    // In COMAddIns (until Office drops it on a refresh).
    bool present = false;
    bool connected = false;
    int connections = 0;
    bool answers = true;
    int32_t answerCode = 0;
    bool requestRead = false;
    int32_t requestValue = -1;
    MKString requestText;

private:
    MKString m_folder;
};

void WriteResult(const MKString& folder, int32_t step, bool prepare, int32_t code)
{
    MKMemOutStream memory;
    MKBinaryWriter writer(&memory);
    writer.WriteU32(0x23630B07);
    writer.WriteU32(1);
    writer.WriteInt32(step);
    writer.WriteU8(prepare ? 1 : 0);
    writer.WriteInt32(code);
    writer.WriteString(L"");
    writer.WriteU32(0);
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    ASSERT_TRUE(MKWriteFile(GetResultFilePath(folder), memory.GetData(), memory.GetCount()));
}

// Runs the posted steps of the thread's windows.
void PumpMessages(int milliseconds = 200)
{
    DWORD end = GetTickCount() + DWORD(milliseconds);
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

std::wstring ReadEchoRecord(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

class UpdaterLinkTest : public ::testing::Test {
protected:
    void Install(const wchar_t* fixture) { CopyFixtureTree(fixture, scratch.path()); }

    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    TestHost host{scratch.path()};
};

TEST_F(UpdaterLinkTest, AFailedUpdateIsReportedOnceAtTheNextStart)
{
    WriteResult(folder, 2, false, 407);
    UpdaterLink link(host);
    ASSERT_TRUE(link.CleanUpAfterUpdate());
    bool noPluginCall = true;
    bool automatic = true;
    // No installer program can be found: the user is told.
    EXPECT_FALSE(link.ReportUpdateResult(&noPluginCall, &automatic));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0],
              L"A serious error occurred while updating files. (error UE-407)\nPlease download and install the new "
              L"setup to update your version.");
    EXPECT_FALSE(ResultRecord::Exists(folder));
    EXPECT_FALSE(link.IsLocked());
    EXPECT_FALSE(link.CleanUpAfterUpdate());
}

TEST_F(UpdaterLinkTest, AFailedUpdateStartsTheInstallerProgram)
{
    Install(L"installer");
    ASSERT_TRUE(CopyFileW(TestsBinPath(L"setup_echo_installer.exe").c_str(),
                          GetUpdaterExePath(folder).GetText(), FALSE));
    std::wstring record = scratch.File(L"echo.txt");
    SetEnvironmentVariableW(L"VISTELLO_ECHO_RECORD", record.c_str());
    WriteResult(folder, 1, false, 501);
    UpdaterLink link(host);
    bool noPluginCall, automatic;
    EXPECT_FALSE(link.ReportUpdateResult(&noPluginCall, &automatic));
    // The program may still be writing its record when the file appears.
    const std::wstring expected = L"/update /path \"" + scratch.path() + L"\"";
    std::wstring echo;
    for (int i = 0; i < 500 && (echo = ReadEchoRecord(record)).find(expected) == std::wstring::npos; ++i)
        Sleep(20);
    SetEnvironmentVariableW(L"VISTELLO_ECHO_RECORD", nullptr);
    EXPECT_NE(echo.find(expected), std::wstring::npos) << echo;
    EXPECT_TRUE(host.errors.empty());
    // The result stays for the installer program.
    EXPECT_TRUE(ResultRecord::Exists(folder));
    EXPECT_FALSE(link.IsLocked());
}

TEST_F(UpdaterLinkTest, ASuccessfulUpdateIsFollowedUpFromTheMessageLoop)
{
    WriteResult(folder, 1, false, 0);
    host.registered = true;
    host.present = true;
    host.connected = true;
    UpdaterLink link(host);
    ASSERT_TRUE(link.CleanUpAfterUpdate());
    bool noPluginCall = true, automatic = true;
    ASSERT_TRUE(link.ReportUpdateResult(&noPluginCall, &automatic));
    EXPECT_FALSE(noPluginCall);
    EXPECT_FALSE(automatic);
    EXPECT_FALSE(ResultRecord::Exists(folder));
    link.PostDeferredStep(noPluginCall, automatic);
    EXPECT_EQ(host.kernelShutdown, 0);
    PumpMessages();
    EXPECT_EQ(host.kernelShutdown, 1);
    EXPECT_FALSE(host.connected);
    EXPECT_FALSE(host.registered);
}

TEST_F(UpdaterLinkTest, AReadyUpdateIsInstalledThroughTheUpdateAddIn)
{
    Install(L"installer");
    UpdaterLink link(host);
    bool scheduled = false;
    link.ScheduleReadyUpdate(&scheduled);
    ASSERT_TRUE(scheduled);
    PumpMessages();
    // The main setup is the update add-in's: it was asked to prepare, as an
    // automatic installation, and answered without error.
    EXPECT_EQ(host.connections, 1);
    EXPECT_TRUE(host.requestRead);
    EXPECT_EQ(host.requestValue, 1);
    EXPECT_STREQ(host.requestText.GetText(), L"prepare");
    EXPECT_TRUE(host.connected);
    EXPECT_FALSE(MKFileExists(GetCommandFilePath(folder)));
    EXPECT_TRUE(IsReadyFilePresent(folder));
    EXPECT_FALSE(link.IsLocked());
    EXPECT_EQ(host.showsStopped, 1);
}

TEST_F(UpdaterLinkTest, AnErrorOrNoAnswerOfTheUpdateAddInFallsBackToTheInstallerProgram)
{
    Install(L"installer");
    ASSERT_TRUE(MKWriteFile(GetUpdaterExePath(folder), "MZ", 2));
    for (bool answers : {true, false}) {
        host.answers = answers;
        host.answerCode = 409;
        UpdaterLink link(host);
        // Automatic: the installer program is left for the next log-on.
        EXPECT_EQ(link.InstallReadyUpdate(true), 0) << answers;
        EXPECT_FALSE(host.connected) << answers;
        EXPECT_FALSE(host.registered) << answers;
        MKString command = GetScheduledRunCommand();
        EXPECT_GE(command.Find(L"/update /path \""), 0) << command.GetText();
        EXPECT_TRUE(IsScheduledRunPending(folder));
        EXPECT_FALSE(link.IsLocked());
        RemoveScheduledRun(folder);
    }
}

TEST_F(UpdaterLinkTest, TheInstallerSetupIsInstalledHereAndTheRestLeftWaiting)
{
    Install(L"installer_setup");
    host.answerCode = 0;
    UpdaterLink link(host);
    EXPECT_EQ(link.InstallReadyUpdate(false), 0);
    MKByteArray updater;
    ASSERT_TRUE(MKReadFile(GetUpdaterExePath(folder), updater));
    EXPECT_EQ(updater.GetCount(), 14 * 50);
    // The main setup waits in "ready.dat" for the update add-in.
    ReadyRecord ready(folder);
    ASSERT_TRUE(ready.Load());
    ASSERT_EQ(ready.GetSetupCount(), 1);
    EXPECT_EQ(ready.FindSetup(MKGuid(GUID{0xB80321F4, 0x6A3C, 0x48C1, {0x89, 0xA9, 0xFD, 0xCF, 0xF7, 0xBA, 0x60, 0x5A}})),
              0);
    EXPECT_EQ(host.connections, 1);
    UpdateHistory history(folder);
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.GetCount(), 1);
    EXPECT_FALSE(history.GetAt(0)->flag);
    InstalledPlugins list(folder);
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    // The product version moves only with the last part of the update.
    EXPECT_EQ(list.productVersion, MKVersion(3, 0));
}

TEST_F(UpdaterLinkTest, AutoInstallOffOnlyAsksTheKernel)
{
    Install(L"installer");
    FileTree before = ReadFileTree(scratch.path());
    host.autoInstall = 0;
    UpdaterLink link(host);
    bool scheduled = false;
    link.ScheduleReadyUpdate(&scheduled);
    ASSERT_TRUE(scheduled);
    PumpMessages();
    EXPECT_EQ(host.kernelReady, 1);
    EXPECT_EQ(host.connections, 0);
    EXPECT_EQ(ReadFileTree(scratch.path()), before);
}

TEST_F(UpdaterLinkTest, WithoutAReadyUpdateTheAutomaticCheckStartsAndStops)
{
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply stall;
    stall.stall = true;
    ASSERT_TRUE(server.Start(stall));
    host.serviceUrl = server.Url(L"").c_str();
    UpdaterLink link(host);
    link.SetCheckDelay(10);
    bool scheduled = true;
    link.ScheduleReadyUpdate(&scheduled);
    EXPECT_FALSE(scheduled);
    ASSERT_NE(link.GetChecker(), nullptr);
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    DWORD start = GetTickCount();
    link.StopCheck();
    EXPECT_LE(GetTickCount() - start, DWORD(UpdateChecker::kStopWaitMs));
    EXPECT_EQ(link.GetChecker(), nullptr);
    EXPECT_FALSE(link.IsLocked());

    // Turned off, or not due: no check.
    host.autoCheck = false;
    link.StartAutomaticCheck();
    EXPECT_EQ(link.GetChecker(), nullptr);
}

TEST_F(UpdaterLinkTest, ACheckRunningInThisProcessKeepsTheInstallationOut)
{
    Install(L"installer");
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply stall;
    stall.stall = true;
    ASSERT_TRUE(server.Start(stall));
    FileTree before = ReadFileTree(scratch.path());
    UpdateChecker check(folder, SystemUpdateClock());
    check.SetServiceUrl(server.Url(L"").c_str());
    UpdateCheckFacts facts;
    host.MakeCheckFacts(facts);
    ASSERT_TRUE(check.Start(facts, nullptr));
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    UpdaterLink link(host);
    EXPECT_EQ(link.InstallReadyUpdate(false), 102);
    EXPECT_EQ(host.connections, 0);
    EXPECT_TRUE(check.Stop());
    EXPECT_TRUE(check.HasThreadEnded());
    EXPECT_FALSE(link.IsLocked());
    FileTree after = ReadFileTree(scratch.path());
    // The check leaves the pending update as it found it.
    after.erase(L"updater\\state.dat");
    before.erase(L"updater\\state.dat");
    EXPECT_EQ(after, before);
}

TEST_F(UpdaterLinkTest, StoppingDuringAStalledDownloadEndsTheThreadAndKeepsThePendingUpdate)
{
    Install(L"installer");
    MKString package = MKPathCombine(GetUpdaterFolder(folder), L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx");
    MKByteArray bytes;
    ASSERT_TRUE(MKReadFile(package, bytes));
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply stall;
    stall.stall = true;
    server.SetReplyFor("/updates/vistello/download/", stall);
    // A newer setup beside the pending one.
    LoopbackHttpServer::Reply offer;
    offer.bytes = LoopbackHttpServer::Ok(
        "check_for_updates_result_1\n{\"Version\": Version(\"4.1\"), \"Setups\": [{\"InternalName\": \"Updater\", "
        "\"Guid\": Guid(\"{C8D778F4-5666-4DE3-82BF-F55F5AF17CB4}\"), \"Version\": Version(\"1.1\"), \"Size\": 100, "
        "\"Action\": \"Install\"}]}");
    ASSERT_TRUE(server.Start(offer));
    UpdateChecker check(folder, SystemUpdateClock());
    check.SetServiceUrl(server.Url(L"").c_str());
    UpdateCheckFacts facts;
    host.MakeCheckFacts(facts);
    ASSERT_TRUE(check.Start(facts, nullptr));
    ASSERT_TRUE(server.WaitForRequests(2, 10000));
    EXPECT_TRUE(check.Stop());
    EXPECT_TRUE(check.HasThreadEnded());
    EXPECT_EQ(check.GetStatus(), int32_t(UpdateCheckStopped));
    EXPECT_FALSE(MKFileExists(MKPathCombine(GetUpdaterFolder(folder), L"c8d778f4-5666-4de3-82bf-f55f5af17cb4.vlx")));
    EXPECT_FALSE(MKFileExists(GetLockFilePath(folder)));
    // The pending update stays verified and ready to install.
    EXPECT_TRUE(LoadAndVerifyReadyFile(folder));
    EXPECT_TRUE(MKFileExists(package));
}

TEST_F(UpdaterLinkTest, TheAutomationObjectDrivesChecksAndAnswersItsQuestions)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply stall;
    stall.stall = true;
    ASSERT_TRUE(server.Start(stall));
    host.serviceUrl = server.Url(L"").c_str();
    UpdaterLink link(host);
    UpdateCheckDispatch* dispatch = new UpdateCheckDispatch(&link);
    dispatch->AddRef();
    IDispatch* asked = nullptr;
    EXPECT_EQ(dispatch->QueryInterface(IID_UpdateCheckDispatch, reinterpret_cast<void**>(&asked)), S_OK);
    asked->Release();
    EXPECT_EQ(dispatch->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&asked)), E_NOINTERFACE);
    EXPECT_EQ(asked, nullptr);

    DISPPARAMS none = {};
    auto invoke = [&](DISPID id, VARIANT* result) {
        return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, result, nullptr, nullptr);
    };
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(invoke(3, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(invoke(1, &result), S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    }
    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(invoke(3, &result), S_OK);
    EXPECT_EQ(result.lVal, int32_t(UpdateCheckChecking));
    EXPECT_EQ(invoke(5, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    DWORD start = GetTickCount();
    EXPECT_EQ(invoke(2, nullptr), S_OK);
    EXPECT_LE(GetTickCount() - start, DWORD(UpdateChecker::kStopWaitMs));
    EXPECT_EQ(invoke(5, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(invoke(6, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(invoke(7, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(invoke(8, &result), DISP_E_MEMBERNOTFOUND);

    VARIANT argument;
    VariantInit(&argument);
    DISPPARAMS one = {&argument, nullptr, 1, 0};
    EXPECT_EQ(dispatch->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, &one, &result, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    dispatch->Detach();
    EXPECT_EQ(invoke(3, &result), E_NOTIMPL);
    EXPECT_EQ(dispatch->Release(), 0u);
}

// update_fixtures.py's "program" packages: a program to run, in a sound
// package or one whose program fails its digest, has none, or is unsigned,
// with the code each answers.
struct ProgramCase {
    const wchar_t* name;
    int code;
};
const ProgramCase kProgramCases[] = {{L"ok", 0}, {L"bad_digest", 302}, {L"no_digest", 305}, {L"unsigned", 302}};

std::string FileText(const MKString& path)
{
    MKByteArray bytes;
    if (!MKReadFile(path, bytes))
        return std::string();
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount()));
}

std::string Repeated(const char* text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// The SIDs (as text) that the folder's DACL lets in; "?" when it cannot be
// read.
std::vector<std::wstring> AllowedSids(const MKString& folder)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.GetText(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return {L"?"};
    std::vector<std::wstring> sids;
    for (int i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        wchar_t* text = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || !ConvertSidToStringSidW(&ace->SidStart, &text)) {
            sids.push_back(L"?");
            continue;
        }
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE)
            sids.push_back(text);
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sids;
}

// One installation per case, beside the others in the scratch folder.
class ProgramCaseTest : public UpdaterLinkTest {
protected:
    MKString Arrange(const ProgramCase& c, const wchar_t* role)
    {
        std::wstring sub = scratch.File(c.name);
        CopyFixtureTree(std::wstring(L"program\\") + c.name + L"\\" + role, sub);
        RemoveScheduledRun(sub.c_str());
        // What an earlier case extracted to the user's program folder.
        for (const MKString& program : {GetProgramFolderSetupPath(), GetProgramFolderUpdaterPath()})
            MKFileRemove(program);
        return sub.c_str();
    }
};

TEST_F(ProgramCaseTest, ASetupProgramIsScheduledOnlyFromASignedPackageThatVerifies)
{
    for (const ProgramCase& c : kProgramCases) {
        MKString sub = Arrange(c, L"setup");
        TestHost caseHost(sub.GetText());
        UpdaterLink link(caseHost);
        // At the start: the setup program is left for the next log-on.
        EXPECT_EQ(link.InstallReadyUpdate(true), c.code) << c.name;
        MKString program = GetProgramFolderSetupPath();
        MKString command = GetScheduledRunCommand();
        if (c.code == 0) {
            EXPECT_GE(command.Find((L"\"" + program + L"\" /from_updater").GetText()), 0) << command.GetText();
            EXPECT_TRUE(IsScheduledRunPending(sub));
            EXPECT_EQ(FileText(program), Repeated("setup program, not runnable ", 20));
            // Started from a folder no other user may write: neither
            // Everyone nor the Users group is let in.
            for (const std::wstring& sid : AllowedSids(MKPathDirectory(program)))
                EXPECT_TRUE(sid != L"S-1-1-0" && sid != L"S-1-5-32-545" && sid != L"?") << sid;
        } else {
            EXPECT_TRUE(command.IsEmpty()) << c.name << " " << command.GetText();
            EXPECT_FALSE(MKFileExists(program)) << c.name;
        }
        EXPECT_FALSE(link.IsLocked()) << c.name;
        RemoveScheduledRun(sub);
    }
}

TEST_F(ProgramCaseTest, InstallNowThroughTheAutomationObjectStartsNoUnverifiedSetupProgram)
{
    for (const ProgramCase& c : kProgramCases) {
        MKString sub = Arrange(c, L"setup");
        TestHost caseHost(sub.GetText());
        UpdaterLink link(caseHost);
        UpdateCheckDispatch* dispatch = new UpdateCheckDispatch(&link);
        dispatch->AddRef();
        DISPPARAMS none = {};
        VARIANT result;
        VariantInit(&result);
        ASSERT_EQ(dispatch->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr), S_OK);
        EXPECT_EQ(result.vt, VT_I4);
        // The sound package's program is no program the system can start:
        // that one fails only at its start (503) and is deleted again.
        EXPECT_EQ(result.lVal, c.code == 0 ? 503 : c.code) << c.name;
        EXPECT_FALSE(MKFileExists(GetProgramFolderSetupPath())) << c.name;
        EXPECT_FALSE(link.IsLocked()) << c.name;
        EXPECT_TRUE(GetScheduledRunCommand().IsEmpty()) << c.name;
        dispatch->Detach();
        dispatch->Release();
    }
}

TEST_F(ProgramCaseTest, AnInstallationNeedingElevationSchedulesOnlyAVerifiedInstallerProgram)
{
    if (MKGetElevationType() == 2)
        GTEST_SKIP() << "the process runs elevated: no installation needs elevation";
    for (const ProgramCase& c : kProgramCases) {
        MKString sub = Arrange(c, L"updater");
        TestHost caseHost(sub.GetText());
        caseHost.machineWide = true;
        UpdaterLink link(caseHost);
        EXPECT_EQ(link.InstallReadyUpdate(true), c.code) << c.name;
        MKString program = GetProgramFolderUpdaterPath();
        MKString command = GetScheduledRunCommand();
        if (c.code == 0) {
            EXPECT_GE(command.Find((L"\"" + program + L"\" /update /path \"" + sub + L"\"").GetText()), 0) << command.GetText();
            EXPECT_EQ(FileText(program), Repeated("planted updater, not runnable ", 20));
        } else {
            EXPECT_TRUE(command.IsEmpty()) << c.name << " " << command.GetText();
            EXPECT_FALSE(MKFileExists(program)) << c.name;
        }
        // Nothing was installed here.
        EXPECT_EQ(caseHost.connections, 0) << c.name;
        EXPECT_FALSE(link.IsLocked()) << c.name;
        RemoveScheduledRun(sub);
    }
}

TEST_F(ProgramCaseTest, APlantedResultStartsNoPlantedInstallerThatFailsItsChecks)
{
    for (const ProgramCase& c : kProgramCases) {
        if (c.code == 0)
            continue;
        for (bool prepare : {false, true}) {
            MKString sub = Arrange(c, L"updater");
            WriteResult(sub, 1, prepare, 501);
            TestHost caseHost(sub.GetText());
            UpdaterLink link(caseHost);
            bool noPluginCall = false;
            bool automatic = false;
            EXPECT_FALSE(link.ReportUpdateResult(&noPluginCall, &automatic)) << c.name;
            EXPECT_FALSE(MKFileExists(GetProgramFolderUpdaterPath())) << c.name << prepare;
            EXPECT_TRUE(GetScheduledRunCommand().IsEmpty()) << c.name << prepare;
            EXPECT_FALSE(ResultRecord::Exists(sub)) << c.name << prepare;
            // Only a start by the user is told that nothing could be started.
            EXPECT_EQ(caseHost.errors.size(), prepare ? 0u : 1u) << c.name;
            EXPECT_FALSE(link.IsLocked()) << c.name;
            std::filesystem::remove_all(std::filesystem::path(sub.GetText()));
        }
    }
}

// Writes every block with its first byte inverted yet answers as the system
// does: the program on disk is no longer what its extraction verified, as
// when it is swapped between its extraction and its start.
BOOL WINAPI WriteAltered(HANDLE file, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED overlapped)
{
    std::vector<uint8_t> altered(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n);
    if (n > 0)
        altered[0] ^= 0xFF;
    return WriteFile(file, altered.data(), n, written, overlapped);
}

const FileCalls kAlteringCalls = {MoveFileExW, DeleteFileW, CreateDirectoryW, WriteAltered};

TEST_F(ProgramCaseTest, AProgramThatNoLongerHoldsWhatWasVerifiedIsNeitherScheduledNorKept)
{
    struct Role {
        const wchar_t* role;
        bool machineWide;
        int code;
        MKString program;
    };
    const Role roles[] = {{L"setup", false, 502, GetProgramFolderSetupPath()},
                          {L"updater", true, 401, GetProgramFolderUpdaterPath()}};
    for (const Role& r : roles) {
        if (r.machineWide && MKGetElevationType() == 2)
            continue;
        MKString sub = Arrange(kProgramCases[0], r.role);
        TestHost caseHost(sub.GetText());
        caseHost.machineWide = r.machineWide;
        UpdaterLink link(caseHost);
        SetFileCallsForTesting(&kAlteringCalls);
        int code = link.InstallReadyUpdate(true);
        SetFileCallsForTesting(nullptr);
        EXPECT_EQ(code, r.code) << r.role;
        EXPECT_TRUE(GetScheduledRunCommand().IsEmpty()) << r.role << " " << GetScheduledRunCommand().GetText();
        EXPECT_FALSE(MKFileExists(r.program)) << r.role;
        EXPECT_FALSE(link.IsLocked()) << r.role;
        RemoveScheduledRun(sub);
        std::filesystem::remove_all(std::filesystem::path(sub.GetText()));
    }
}

TEST_F(UpdaterLinkTest, AnEarlierRunOnceEntryStillPendingKeepsTheReadyUpdateUnscheduled)
{
    Install(L"installer");
    ASSERT_TRUE(MKWriteFile(GetUpdaterExePath(folder), "MZ", 2));
    ASSERT_TRUE(ScheduleRun(folder, nullptr, GetUpdaterExePath(folder), L"/update"));
    ASSERT_TRUE(IsScheduledRunPending(folder));
    host.autoCheck = false;
    UpdaterLink link(host);
    bool scheduled = true;
    link.ScheduleReadyUpdate(&scheduled);
    EXPECT_FALSE(scheduled);
    PumpMessages();
    EXPECT_EQ(host.connections, 0);
    EXPECT_TRUE(IsReadyFilePresent(folder));
    EXPECT_TRUE(IsScheduledRunPending(folder));
    EXPECT_EQ(link.GetChecker(), nullptr);
    RemoveScheduledRun(folder);
}

}  // namespace
