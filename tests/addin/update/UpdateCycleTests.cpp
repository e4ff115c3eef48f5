// The update cycle through the built VistelloAddIn.dll in the stand-in
// PowerPoint: the automatic check at start-up against the loopback server
// playing the update service, the download recorded in "ready.dat", its
// installation at the next start through the built update add-in, the
// installer program started for a failed update, the failure told at the next
// start, and a check stopped while its download stalls.
#include "AddInTestSupport.h"
#include "FileTree.h"
#include "PackageFixtures.h"

#include "addin/core/ComClassRegistry.h"
#include "addin/core/OfficeAddInKeys.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKBinaryWriter.h"
#include "base/MKFile.h"
#include "base/MKMemOutStream.h"
#include "base/MKPath.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/Fixtures.h"
#include "fixtures/LoopbackHttpServer.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

using standin::PowerPointHost;

namespace {

const char kMagic[] = "check_for_updates_result_1\n";
const char kKernel[] = "B80321F4-6A3C-48C1-89A9-FDCFF7BA605A";
const wchar_t kPackageName[] = L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx";
const wchar_t kUpdaterClass[] = L"{2F6C91C3-3FC7-4d79-A674-84D29A4461EA}";
const wchar_t kUpdaterProgId[] = L"VistelloUpdater.AddIn";
const wchar_t kProductKey[] = L"Software\\Brelix Technologies\\Vistello";
const wchar_t kMachineProductKey[] = L"SOFTWARE\\Brelix Technologies\\Vistello";

std::wstring OutFile(const wchar_t* name)
{
    return std::wstring(VISTELLO_OUT_DIR) + L"\\" + name;
}

std::string ReadText(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Pumps PowerPoint's messages until done answers true or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD limit)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limit)
            return false;
        PowerPointHost::Pump(50);
    }
    return true;
}

// "result.dat" as the update add-in writes it after a failure.
void WriteFailedResult(const MKString& folder, bool prepare, int32_t code)
{
    MKMemOutStream memory;
    MKBinaryWriter writer(&memory);
    writer.WriteU32(0x23630B07);
    writer.WriteU32(1);
    writer.WriteInt32(1);
    writer.WriteU8(prepare ? 1 : 0);
    writer.WriteInt32(code);
    writer.WriteString(L"");
    writer.WriteU32(0);
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    ASSERT_TRUE(MKWriteFile(GetResultFilePath(folder), memory.GetData(), memory.GetCount()));
}

// An installation of Setup 3.0 (update_fixtures.py's "installer" folder)
// with a copy of the built add-in registered as "Vistello.AddIn", the built
// update add-in registered beside it, the update service at the loopback
// server, and the update settings unset (both on).
class UpdateCycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = scratch.path() + L"\\Vistello";
        CopyFixtureTree(L"installer", folder);
        RemoveAddInRegistration();
        ClearSettings();
        ASSERT_TRUE(CopyFileW(AddInLibrary::Path().c_str(), File(L"VistelloAddIn.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(OutFile(L"VistelloUpdaterAddIn.dll").c_str(),
                              File(L"VistelloUpdaterAddIn.dll").c_str(), FALSE));
        {
            // Registered, then let go: the update add-in waits for the
            // library to leave the process.
            AddInLibrary library(File(L"VistelloAddIn.dll"));
            ASSERT_EQ(library.RegisterServer(), S_OK);
        }
        ASSERT_TRUE(RegisterComClass(kUpdaterClass, kUpdaterProgId, File(L"VistelloUpdaterAddIn.dll").c_str(),
                                     L"Vistello Updater"));
    }
    void TearDown() override
    {
        server.Stop();
        CoFreeUnusedLibrariesEx(0, 0);
        OfficeAddInKeys::Remove(kOfficePowerPoint, kUpdaterProgId, kScopeCurrentUser);
        UnregisterComClass(kUpdaterClass, kUpdaterProgId);
        RemoveAddInRegistration();
        ClearSettings();
        SetEnvironmentVariableW(L"VISTELLO_INSTALLER_LOG", nullptr);
    }

    static void ClearSettings()
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey, L"AutoCheckUpdates");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey, L"AutoInstallUpdates");
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kMachineProductKey, L"UpdateService");
    }

    std::wstring File(const wchar_t* name) const { return folder + L"\\" + name; }
    MKString Folder() const { return MKString(folder.c_str()); }
    MKString UpdaterFile(const wchar_t* name) const { return MKPathCombine(GetUpdaterFolder(Folder()), name); }

    // Takes the downloaded update away: the service offers its package.
    void TakeDownloadedUpdate()
    {
        MKByteArray bytes;
        ASSERT_TRUE(MKReadFile(UpdaterFile(kPackageName), bytes));
        package.assign(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount()));
        ASSERT_TRUE(MKFileRemove(UpdaterFile(kPackageName)));
        DeleteReadyFile(Folder());
    }

    std::string Offer() const
    {
        return std::string(kMagic) + "{\"Version\": Version(\"4.0\"), \"Setups\": [{\"InternalName\": \"Setup\", " +
            "\"Guid\": Guid(\"{" + kKernel + "}\"), \"Version\": Version(\"4.0\"), \"Size\": " +
            std::to_string(package.size()) + ", \"Action\": \"Install\"}]}";
    }

    // Starts the service with the offer; downloads get the package, or
    // nothing ever when they stall.
    void StartService(bool downloadsStall)
    {
        LoopbackHttpServer::Reply download;
        download.bytes = LoopbackHttpServer::Ok(package);
        download.stall = downloadsStall;
        server.SetReplyFor("/updates/vistello/download/", download);
        LoopbackHttpServer::Reply check;
        check.bytes = LoopbackHttpServer::Ok(Offer());
        ASSERT_TRUE(server.Start(check));
        WriteText(HKEY_LOCAL_MACHINE, kMachineProductKey, L"UpdateService", server.Url(L""));
    }

    bool Locked() const { return MKFileExists(GetLockFilePath(Folder())); }

    ComScope com;
    ErrorBoxWatcher boxes;
    ScratchFolder scratch;
    std::wstring folder;
    std::string package;
    LoopbackHttpServer server;
};

TEST_F(UpdateCycleTest, TheCheckAtStartUpDownloadsTheUpdateAndTheNextStartInstallsItThroughTheUpdateAddIn)
{
    TakeDownloadedUpdate();
    FileTree installed = ReadFileTree(folder);
    StartService(false);
    {
        PowerPointHost host(L"14.0");
        host.Start();
        ASSERT_TRUE(host.AddIn(L"Vistello.AddIn") && host.AddIn(L"Vistello.AddIn")->IsConnected());
        // The check waits a moment after the start, then asks and downloads.
        ASSERT_TRUE(PumpUntil([&] { return IsReadyFilePresent(Folder()) && !Locked(); }, 25000));
        std::vector<std::string> requests = server.Requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].rfind("POST /updates/vistello/check/ ", 0), 0u) << requests[0];
        EXPECT_EQ(requests[1].rfind("POST /updates/vistello/download/ ", 0), 0u) << requests[1];
        EXPECT_NE(requests[1].find("&s=b80321f4-6a3c-48c1-89a9-fdcff7ba605a&v=4.0&f=1"), std::string::npos)
            << requests[1];
        EXPECT_TRUE(LoadAndVerifyReadyFile(Folder()));
        EXPECT_TRUE(MKFileExists(GetStateFilePath(Folder())));
        // Nothing is installed while this PowerPoint runs.
        EXPECT_EQ(ReadFileTree(folder)[L"a.txt"], installed[L"a.txt"]);
        host.Shutdown();
    }
    server.Stop();

    PowerPointHost host(L"14.0");
    host.Start();
    std::string newA;
    for (int i = 0; i < 5000; ++i)
        newA += "new a";
    // The update add-in swaps the files while the main add-in is away, then
    // connects it again, and it reads the result.
    ASSERT_TRUE(PumpUntil(
        [&] {
            standin::ComAddInObject* main = host.AddIn(L"Vistello.AddIn");
            return ReadFileTree(folder)[L"a.txt"] == newA && main && main->IsConnected() &&
                   !ResultRecord::Exists(Folder());
        },
        20000));
    FileTree now = ReadFileTree(folder);
    EXPECT_EQ(now[L"sub\\b.txt"], "new b");
    EXPECT_EQ(now.count(L"sub\\c.txt"), 0u);
    EXPECT_EQ(now[L"new\\deep\\d.txt"].size(), 256u * 200u);
    for (const auto& [path, bytes] : now)
        EXPECT_EQ(path.find(L".new.2") + path.find(L".old.2"), 2 * std::wstring::npos) << path;
    EXPECT_FALSE(IsReadyFilePresent(Folder()));
    EXPECT_FALSE(MKFileExists(UpdaterFile(kPackageName)));
    UpdateHistory history(Folder());
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.GetCount(), 1);
    EXPECT_EQ(history.GetAt(0)->version, MKVersion(4, 0));
    EXPECT_TRUE(history.GetAt(0)->flag);
    for (const std::wstring& text : boxes.Texts())
        EXPECT_EQ(text.find(L"UE-"), std::wstring::npos);
    host.Shutdown();
}

TEST_F(UpdateCycleTest, AFailedUpdateStartsTheInstallerProgramWithTheFolder)
{
    ASSERT_TRUE(CopyFileW((std::wstring(VISTELLO_STANDIN_DIR) + L"\\VistelloUpdater.exe").c_str(),
                          File(L"VistelloUpdater.exe").c_str(), FALSE));
    std::wstring log = scratch.File(L"installer.log");
    SetEnvironmentVariableW(L"VISTELLO_INSTALLER_LOG", log.c_str());
    WriteFailedResult(Folder(), false, 301);
    PowerPointHost host(L"14.0");
    host.Start();
    const std::string expected = "/update /path \"" + std::string(folder.begin(), folder.end()) + "\"\n";
    std::string line;
    ASSERT_TRUE(PumpUntil(
        [&] { return (line = ReadText(log)).find(expected) != std::string::npos; }, 10000))
        << line;
    EXPECT_EQ(line.rfind("\"" + std::string(folder.begin(), folder.end()) + "\\VistelloUpdater.exe\" ", 0), 0u)
        << line;
    // The result stays for the installer program; nobody is told.
    EXPECT_TRUE(ResultRecord::Exists(Folder()));
    EXPECT_FALSE(Locked());
    for (const std::wstring& text : boxes.Texts())
        EXPECT_EQ(text.find(L"UE-"), std::wstring::npos);
    host.Shutdown();
}

TEST_F(UpdateCycleTest, AFailedUpdateWithoutInstallerProgramIsToldAtTheNextStartOnce)
{
    WriteFailedResult(Folder(), false, 407);
    const std::wstring expected = L"A serious error occurred while updating files. (error UE-407)\nPlease download and "
                                  L"install the new setup to update your version.";
    {
        PowerPointHost host(L"14.0");
        host.Start();
        ASSERT_TRUE(PumpUntil(
            [&] {
                std::vector<std::wstring> texts = boxes.Texts();
                return std::find(texts.begin(), texts.end(), expected) != texts.end();
            },
            5000));
        EXPECT_FALSE(ResultRecord::Exists(Folder()));
        host.Shutdown();
    }
    boxes.Clear();
    PowerPointHost host(L"14.0");
    host.Start();
    PowerPointHost::Pump(300);
    for (const std::wstring& text : boxes.Texts())
        EXPECT_EQ(text.find(L"UE-"), std::wstring::npos);
    host.Shutdown();
}

TEST_F(UpdateCycleTest, ShuttingDownDuringAStalledDownloadEndsTheCheck)
{
    TakeDownloadedUpdate();
    StartService(true);
    PowerPointHost host(L"14.0");
    host.Start();
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() >= 2; }, 25000));
    ASSERT_TRUE(Locked());
    host.Shutdown();
    // The stop waited for the checker's thread: it has ended and let go of
    // the lock and of the partial package.
    EXPECT_FALSE(Locked());
    EXPECT_FALSE(MKFileExists(UpdaterFile(kPackageName)));
    EXPECT_FALSE(IsReadyFilePresent(Folder()));
    // A stop is no failed check: the next start checks again.
    EXPECT_FALSE(MKFileExists(GetStateFilePath(Folder())));
    PowerPointHost::Pump(300);
    PowerPointHost again(L"14.0");
    again.Start();
    EXPECT_TRUE(again.AddIn(L"Vistello.AddIn")->IsConnected());
    again.Shutdown();
}

}  // namespace
