// Updates run through the built VistelloUpdaterAddIn.dll inside the stand-in
// PowerPoint: the main add-in's request in "cmd.dat", the reply, the files
// swapped all or nothing while the main add-in is disconnected, and the
// outcome in "result.dat".
#include "FileTree.h"
#include "PackageFixtures.h"
#include "ReportFixtures.h"

#include "addin/core/ComClassRegistry.h"
#include "addin/core/OfficeAddInKeys.h"
#include "addin/update/CommandRecord.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "base/MKTArray.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/StandInClr.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/ComAddInsObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

using standin::CallLog;
using standin::PowerPointHost;

namespace {

using Bytes = std::vector<uint8_t>;

const wchar_t kMainClass[] = L"{6B1C8C52-8E0A-4F53-9D1B-2E6B1F2D7A31}";
const wchar_t kUpdaterClass[] = L"{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}";
const wchar_t kMainProgId[] = L"Vistello.AddIn";
const wchar_t kUpdaterProgId[] = L"VistelloUpdater.AddIn";
const wchar_t kUpdaterEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\VistelloUpdater.AddIn";

std::wstring OutFile(const wchar_t* name)
{
    return std::wstring(VISTELLO_OUT_DIR) + L"\\" + name;
}

Bytes ReadBytes(const std::wstring& path)
{
    MKByteArray bytes;
    if (!MKReadFile(MKString(path.c_str()), bytes))
        return Bytes();
    return Bytes(bytes.GetData(), bytes.GetData() + bytes.GetCount());
}

// The result record as the update add-in writes it.
Bytes ResultBytes(bool prepare, int32_t code, const std::string& message)
{
    Bytes bytes;
    auto u32 = [&](uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    u32(0x23630B07);
    u32(1);
    u32(1);
    bytes.push_back(prepare ? 1 : 0);
    u32(static_cast<uint32_t>(code));
    u32(static_cast<uint32_t>(message.size()));
    bytes.insert(bytes.end(), message.begin(), message.end());
    u32(0);
    return bytes;
}

// An installation of setup 3.0 with 4.0 downloaded (the update engine's
// fixture), the update add-in and a stand-in main add-in beside it, both
// registered, the main add-in with its Office entry.
class UpdateAddInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = scratch.path() + L"\\Vistello";
        CopyFixtureTree(L"installer", folder);
        CopyFileW(OutFile(L"VistelloUpdaterAddIn.dll").c_str(), File(L"VistelloUpdaterAddIn.dll").c_str(), FALSE);
        CopyFileW(TestsBinPath(L"updateaddin_test_main.dll").c_str(), File(L"VistelloAddIn.dll").c_str(), FALSE);
        installed = ReadFileTree(folder);
        ASSERT_TRUE(RegisterComClass(kMainClass, kMainProgId, File(L"VistelloAddIn.dll").c_str(), L"Main"));
        ASSERT_TRUE(RegisterComClass(kUpdaterClass, kUpdaterProgId, File(L"VistelloUpdaterAddIn.dll").c_str(),
                                     L"Vistello Updater"));
        ASSERT_TRUE(OfficeAddInKeys::Write(kOfficePowerPoint, kMainProgId, L"Vistello", L"", 3, kScopeCurrentUser));
        CallLog::Get().Clear();
        CallLog::Get().SetRecording(true);
        host.Start();
        ASSERT_TRUE(host.AddIn(kMainProgId) && host.AddIn(kMainProgId)->IsConnected());
    }
    void TearDown() override
    {
        host.Shutdown();
        CallLog::Get().SetRecording(false);
        CallLog::Get().ClearFailures();
        CallLog::Get().Clear();
        CoFreeUnusedLibrariesEx(0, 0);
        for (const wchar_t* progId : {kMainProgId, kUpdaterProgId})
            OfficeAddInKeys::Remove(kOfficePowerPoint, progId, kScopeCurrentUser);
        UnregisterComClass(kMainClass, kMainProgId);
        UnregisterComClass(kUpdaterClass, kUpdaterProgId);
    }

    std::wstring File(const wchar_t* name) const { return folder + L"\\" + name; }
    std::wstring UpdaterFile(const wchar_t* name) const { return folder + L"\\updater\\" + name; }

    // The main add-in's part: the request, the update add-in's entry and its
    // connection, which runs the request; then the reply.
    void RequestUpdate(int32_t automatic, int32_t* code, MKString* message)
    {
        ASSERT_TRUE(WriteCommandFile(folder.c_str(), nullptr, automatic, MKString(L"prepare")));
        ASSERT_TRUE(OfficeAddInKeys::Write(kOfficePowerPoint, kUpdaterProgId, L"Vistello Updater",
                                           L"Vistello Updater Add-In", 3, kScopeCurrentUser));
        host.App().AddIns()->Update();
        standin::ComAddInObject* updater = host.AddIn(kUpdaterProgId);
        ASSERT_NE(updater, nullptr);
        ASSERT_EQ(updater->put_Connect(VARIANT_TRUE), S_OK);
        ASSERT_TRUE(ReadCommandFile(folder.c_str(), code, message));
        DeleteCommandFile(folder.c_str());
    }

    // Pumps until "result.dat" appears and the update add-in is done, or the
    // time is up.
    void PumpUntilDone(DWORD limit = 5000)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < limit) {
            PowerPointHost::Pump(50);
            standin::ComAddInObject* main = host.AddIn(kMainProgId);
            if (main && main->IsConnected() && CallLog::Get().EntriesStartingWith(L"AddIn.OnDisconnection " +
                                                                                  std::wstring(kMainProgId)).size())
                return;
        }
    }

    bool UpdaterConnected() const
    {
        standin::ComAddInObject* updater = host.AddIn(kUpdaterProgId);
        return updater && updater->IsConnected();
    }

    ComScope com;
    ScratchFolder scratch;
    std::wstring folder;
    FileTree installed;
    PowerPointHost host{L"14.0"};
};

TEST_F(UpdateAddInTest, AnUpdateSwapsTheFilesWhileTheMainAddInIsDisconnectedAndRecordsSuccess)
{
    int32_t code = -1;
    MKString message(L"x");
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(message.IsEmpty());
    // Staged, not yet moved: the main add-in still runs on the old files.
    EXPECT_TRUE(host.AddIn(kMainProgId)->IsConnected());
    EXPECT_EQ(ReadFileTree(folder).count(L"a.txt"), 1u);
    EXPECT_EQ(ReadBytes(File(L"a.txt")), Bytes({'o', 'l', 'd', ' ', 'a'}));

    PumpUntilDone();
    EXPECT_TRUE(host.AddIn(kMainProgId)->IsConnected());
    EXPECT_EQ(ReadBytes(UpdaterFile(L"result.dat")), ResultBytes(true, 0, ""));
    FileTree now = ReadFileTree(folder);
    std::string newA;
    for (int i = 0; i < 5000; ++i)
        newA += "new a";
    EXPECT_EQ(now[L"a.txt"], newA);
    EXPECT_EQ(now[L"sub\\b.txt"], "new b");
    EXPECT_EQ(now.count(L"sub\\c.txt"), 0u);
    EXPECT_EQ(now[L"new\\deep\\d.txt"].size(), 256u * 200u);
    for (const auto& [path, bytes] : now)
        EXPECT_EQ(path.find(L".new.2") + path.find(L".old.2"), 2 * std::wstring::npos) << path;
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"ready.dat").c_str())));
    // The restarted main add-in removes the update add-in; it stays till then.
    EXPECT_TRUE(UpdaterConnected());
    std::vector<std::wstring> connections = CallLog::Get().EntriesStartingWith(L"AddIn.On");
    auto at = [&](const std::wstring& entry) {
        return std::find(connections.begin(), connections.end(), entry) - connections.begin();
    };
    EXPECT_LT(at(L"AddIn.OnConnection VistelloUpdater.AddIn 0"), at(L"AddIn.OnDisconnection Vistello.AddIn 0"));
    EXPECT_LT(at(L"AddIn.OnDisconnection Vistello.AddIn 0"), static_cast<long>(connections.size()) - 0);
}

// The installed files as they were, without the updater folder's records.
FileTree WithoutUpdaterFolder(FileTree tree)
{
    for (auto it = tree.begin(); it != tree.end();)
        it = it->first.rfind(L"updater", 0) == 0 ? tree.erase(it) : std::next(it);
    return tree;
}

TEST_F(UpdateAddInTest, TheFilesMoveOnlyOnceTheMainAddInsLibraryHasLeftTheProcess)
{
    // Someone in PowerPoint still holds the main add-in's library.
    HMODULE held = LoadLibraryW(File(L"VistelloAddIn.dll").c_str());
    ASSERT_NE(held, nullptr);
    int32_t code = -1;
    MKString message;
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 0);
    PowerPointHost::Pump(2000);
    EXPECT_FALSE(host.AddIn(kMainProgId)->IsConnected());
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"result.dat").c_str())));
    EXPECT_EQ(ReadBytes(File(L"a.txt")), Bytes({'o', 'l', 'd', ' ', 'a'}));
    // Longer than the file timeout, yet no timeout: it runs from the release.
    FreeLibrary(held);
    PumpUntilDone();
    EXPECT_EQ(ReadBytes(UpdaterFile(L"result.dat")), ResultBytes(true, 0, ""));
    EXPECT_EQ(ReadBytes(File(L"sub\\b.txt")), Bytes({'n', 'e', 'w', ' ', 'b'}));
}

TEST_F(UpdateAddInTest, AFileThatStaysInUseEndsInTheTimeoutWithNothingMoved)
{
    HANDLE held = CreateFileW(File(L"sub\\b.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    int32_t code = -1;
    MKString message;
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 0);
    DWORD start = GetTickCount();
    PumpUntilDone();
    DWORD took = GetTickCount() - start;
    CloseHandle(held);
    EXPECT_GE(took, 1000u);
    EXPECT_EQ(ReadBytes(UpdaterFile(L"result.dat")), ResultBytes(true, 301, "Unable to access files (timeout)"));
    EXPECT_EQ(WithoutUpdaterFolder(ReadFileTree(folder)), WithoutUpdaterFolder(installed));
    EXPECT_TRUE(host.AddIn(kMainProgId)->IsConnected());
    // A failed update removes the update add-in at once.
    EXPECT_FALSE(UpdaterConnected());
    EXPECT_FALSE(OfficeAddInKeys::IsRegistered(kOfficePowerPoint, kUpdaterProgId, false));
}

TEST_F(UpdateAddInTest, TheFilesMoveOnlyWhileThisAddInHoldsTheUpdaterLock)
{
    int32_t code = -1;
    MKString message;
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 0);
    // The main add-in has let go of the lock; another process (a check, the
    // installer program) takes it before the files move.
    HANDLE lock = CreateFileW(UpdaterFile(L"lock.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    PumpUntilDone();
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(UpdaterFile(L"result.dat")), ResultBytes(true, 301, "Unable to access files (timeout)"));
    EXPECT_EQ(WithoutUpdaterFolder(ReadFileTree(folder)), WithoutUpdaterFolder(installed));
    EXPECT_TRUE(host.AddIn(kMainProgId)->IsConnected());
}

TEST_F(UpdateAddInTest, ANewFileThatCannotTakeItsPlaceRollsEverythingBack)
{
    // A folder where the update puts a file: the last move fails.
    ASSERT_TRUE(CreateDirectoryW(File(L"new").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(File(L"new\\deep").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(File(L"new\\deep\\d.txt").c_str(), nullptr));
    installed = ReadFileTree(folder);
    int32_t code = -1;
    MKString message;
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 0);
    PumpUntilDone();
    EXPECT_EQ(ReadBytes(UpdaterFile(L"result.dat")), ResultBytes(true, 501, "Unable to install files"));
    EXPECT_EQ(WithoutUpdaterFolder(ReadFileTree(folder)), WithoutUpdaterFolder(installed));
    EXPECT_TRUE(host.AddIn(kMainProgId)->IsConnected());
    EXPECT_FALSE(UpdaterConnected());
}

// Answers the message box that the update add-in shows on the user-interface
// thread: notes its text and presses OK.
class MessageBoxAnswer {
public:
    // onShown runs on the answering thread once the box is up.
    explicit MessageBoxAnswer(std::function<void()> onShown = nullptr)
        : m_onShown(std::move(onShown)), m_thread([this] { Run(); })
    {
    }
    ~MessageBoxAnswer()
    {
        m_stop = true;
        m_thread.join();
    }
    std::wstring Text() const { return m_text; }

private:
    void Run()
    {
        while (!m_stop) {
            HWND box = FindWindowW(L"#32770", L"Vistello");
            if (box) {
                wchar_t text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 512);
                m_text = text;
                if (m_onShown)
                    m_onShown();
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }

    std::function<void()> m_onShown;
    volatile bool m_stop = false;
    std::wstring m_text;
    std::thread m_thread;
};

TEST_F(UpdateAddInTest, AFailureTheMainAddInCannotReadIsShownToTheUser)
{
    HANDLE held = CreateFileW(File(L"a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    int32_t code = -1;
    MKString message;
    MessageBoxAnswer answer;
    // Connects: the update add-in, the main add-in off, then (failing) on.
    CallLog::Get().Fail(L"COMAddIn.put_Connect", E_FAIL, 2, 1);
    RequestUpdate(0, &code, &message);
    PumpUntilDone(3000);
    CloseHandle(held);
    // The main add-in is not running to read the outcome: the update add-in
    // reports it itself, here (no .NET runtime) with the plain message box.
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"result.dat").c_str())));
    EXPECT_FALSE(host.AddIn(kMainProgId)->IsConnected());
    EXPECT_FALSE(UpdaterConnected());
    EXPECT_EQ(answer.Text(),
              L"A serious error occurred while updating files. (error UA-301)\r\n"
              L"Please download and install the new setup to update your version.");
}

std::vector<std::wstring> OnlyReport(const std::vector<std::wstring>& log)
{
    std::vector<std::wstring> report;
    for (const std::wstring& line : log) {
        if (line.rfind(L"Report.", 0) == 0 || line == L"Runtime.Stop")
            report.push_back(line);
    }
    return report;
}

TEST_F(UpdateAddInTest, TheInstallerProgramsReportAssemblyShowsTheFailure)
{
    StandInClr clr;
    ASSERT_TRUE(WriteInstallerProgram(folder, PackedResource(ReportImage(), static_cast<int32_t>(ReportImage().size()))));
    HANDLE held = CreateFileW(File(L"a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    MessageBoxAnswer answer;
    CallLog::Get().Fail(L"COMAddIn.put_Connect", E_FAIL, 2, 1);
    int32_t code = -1;
    MKString message;
    RequestUpdate(0, &code, &message);
    PumpUntilDone(3000);
    CloseHandle(held);
    EXPECT_EQ(OnlyReport(clr.Log()), (std::vector<std::wstring>{L"Report.InvokeMethod(MBUpdateFailed) 2",
                                                                L"Report.InvokeMethod(Dispose) 0", L"Report.Finalized",
                                                                L"Runtime.Stop"}));
    EXPECT_EQ(answer.Text(), L"");
}

TEST_F(UpdateAddInTest, AFailingReportAssemblyIsDisposedOfBeforeTheMessageBoxComesUp)
{
    StandInClr clr;
    StandInClr::Fail(L"Report.MBUpdateFailed");
    ASSERT_TRUE(WriteInstallerProgram(folder, PlainResource(ReportImage())));
    HANDLE held = CreateFileW(File(L"a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<std::wstring> atBox;
    MessageBoxAnswer answer([&] { atBox = OnlyReport(clr.Log()); });
    CallLog::Get().Fail(L"COMAddIn.put_Connect", E_FAIL, 2, 1);
    int32_t code = -1;
    MKString message;
    RequestUpdate(0, &code, &message);
    PumpUntilDone(3000);
    CloseHandle(held);
    EXPECT_EQ(atBox, (std::vector<std::wstring>{L"Report.InvokeMethod(MBUpdateFailed) 2",
                                                L"Report.InvokeMethod(Dispose) 0", L"Report.Finalized",
                                                L"Runtime.Stop"}));
    EXPECT_NE(answer.Text().find(L"(error UA-301)"), std::wstring::npos);
}

TEST_F(UpdateAddInTest, AnAutomaticUpdateLeavesEvenAnUnreadFailureToTheMainAddIn)
{
    HANDLE held = CreateFileW(File(L"a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    int32_t code = -1;
    MKString message;
    MessageBoxAnswer answer;
    CallLog::Get().Fail(L"COMAddIn.put_Connect", E_FAIL, 2, 1);
    RequestUpdate(1, &code, &message);
    PumpUntilDone(3000);
    CloseHandle(held);
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"result.dat").c_str())));
    EXPECT_FALSE(UpdaterConnected());
    EXPECT_EQ(answer.Text(), L"");
}

TEST_F(UpdateAddInTest, RequestsOtherThanPrepareAndSecondRequestsAreAnsweredAsTheyShould)
{
    // Another text: the file goes, no reply, nothing staged.
    ASSERT_TRUE(WriteCommandFile(folder.c_str(), nullptr, 1, MKString(L"Prepare")));
    ASSERT_TRUE(OfficeAddInKeys::Write(kOfficePowerPoint, kUpdaterProgId, L"Vistello Updater", L"", 3,
                                       kScopeCurrentUser));
    host.App().AddIns()->Update();
    ASSERT_EQ(host.AddIn(kUpdaterProgId)->put_Connect(VARIANT_TRUE), S_OK);
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"cmd.dat").c_str())));
    // An unreadable request the same.
    ASSERT_TRUE(MKWriteFile(MKString(UpdaterFile(L"cmd.dat").c_str()), "not a record", 12));
    ASSERT_EQ(host.AddIn(kUpdaterProgId)->put_Connect(VARIANT_FALSE), S_OK);
    ASSERT_EQ(host.AddIn(kUpdaterProgId)->put_Connect(VARIANT_TRUE), S_OK);
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"cmd.dat").c_str())));
    EXPECT_EQ(WithoutUpdaterFolder(ReadFileTree(folder)), WithoutUpdaterFolder(installed));
    ASSERT_EQ(host.AddIn(kUpdaterProgId)->put_Connect(VARIANT_FALSE), S_OK);

    // A prepare while one runs: 401, and the running one goes on.
    int32_t code = -1;
    MKString message;
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 0);
    IUnknown* instance = host.AddIn(kUpdaterProgId)->Instance();
    ASSERT_NE(instance, nullptr);
    Office::IDTExtensibility2* connection = nullptr;
    ASSERT_EQ(instance->QueryInterface(Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&connection)), S_OK);
    ASSERT_TRUE(WriteCommandFile(folder.c_str(), nullptr, 1, MKString(L"prepare")));
    IDispatch* addInInst = nullptr;
    host.AddIn(kUpdaterProgId)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&addInInst));
    EXPECT_EQ(connection->OnConnection(host.App().AsDispatch(), Office::ext_cm_AfterStartup, addInInst, nullptr),
              S_OK);
    addInInst->Release();
    connection->Release();
    ASSERT_TRUE(ReadCommandFile(folder.c_str(), &code, &message));
    EXPECT_EQ(code, 401);
    DeleteCommandFile(folder.c_str());
    PumpUntilDone();
    EXPECT_EQ(ReadBytes(UpdaterFile(L"result.dat")), ResultBytes(true, 0, ""));
}

TEST_F(UpdateAddInTest, WithoutTheReadyRecordThePrepareIsAnsweredWith403)
{
    ASSERT_TRUE(DeleteFileW(UpdaterFile(L"ready.dat").c_str()));
    int32_t code = -1;
    MKString message;
    RequestUpdate(1, &code, &message);
    EXPECT_EQ(code, 403);
    PowerPointHost::Pump(200);
    EXPECT_TRUE(host.AddIn(kMainProgId)->IsConnected());
    EXPECT_FALSE(MKFileExists(MKString(UpdaterFile(L"result.dat").c_str())));
}

}  // namespace
