// The built VistelloLoaderAddIn.dll registered with Wine's regsvr32 and loaded
// by the stand-in Office through the registry, handing over to the real
// VistelloAddIn.dll beside it.
#include "AddInTestSupport.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"

#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

#include <algorithm>

using standin::CallLog;
using standin::PowerPointHost;

namespace {

using Lines = std::vector<std::string>;

const wchar_t kLoaderClassKey[] = L"HKCR\\CLSID\\{DF9F1320-DF9A-4e86-B183-6D843E885D4B}";
const wchar_t kLoaderProgIdKey[] = L"HKCR\\VistelloLoader.AddIn";
const wchar_t kLoaderMachineEntryKey[] = L"HKLM\\SOFTWARE\\Microsoft\\Office\\PowerPoint\\AddIns\\VistelloLoader.AddIn";
const wchar_t kLoaderUserEntry[] = L"Software\\Microsoft\\Office\\PowerPoint\\AddIns\\VistelloLoader.AddIn";

std::wstring LoaderPath()
{
    return std::wstring(VISTELLO_OUT_DIR) + L"\\VistelloLoaderAddIn.dll";
}

unsigned long Regsvr(const std::wstring& options, const std::wstring& path)
{
    return RunChildProcess(L"regsvr32.exe /s " + options + L"\"" + path + L"\"").exitCode;
}

class LoaderOfficeTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveEverything(); }
    void TearDown() override
    {
        CallLog::Get().SetRecording(false);
        CallLog::Get().Clear();
        RemoveEverything();
    }
    static void RemoveEverything()
    {
        Regsvr(L"/u ", LoaderPath());
        RemoveAddInRegistration();
    }

    // Nothing is installed beside the add-in: its start shows why it failed.
    ErrorBoxWatcher boxes;
};

TEST_F(LoaderOfficeTest, RegsvrWritesTheClassAndTheMachinesEntryAndUnregistrationRemovesThem)
{
    // A per-user entry of the loader would hide the machine's.
    WriteDword(HKEY_CURRENT_USER, kLoaderUserEntry, L"LoadBehavior", 2);
    ASSERT_EQ(Regsvr(L"", LoaderPath()), 0u);

    std::wstring widePath = LoaderPath();
    std::string path(widePath.begin(), widePath.end());
    std::string classKey = "HKEY_CLASSES_ROOT\\CLSID\\{DF9F1320-DF9A-4e86-B183-6D843E885D4B}";
    EXPECT_EQ(RegQuery(kLoaderClassKey),
              (Lines{classKey, "(Default)    REG_SZ    Vistello Loader", classKey + "\\InprocServer32",
                     "(Default)    REG_SZ    " + path, classKey + "\\ProgID",
                     "(Default)    REG_SZ    VistelloLoader.AddIn"}));
    EXPECT_EQ(RegQuery(kLoaderProgIdKey),
              (Lines{"HKEY_CLASSES_ROOT\\VistelloLoader.AddIn", "(Default)    REG_SZ    Vistello Loader",
                     "HKEY_CLASSES_ROOT\\VistelloLoader.AddIn\\CLSID",
                     "(Default)    REG_SZ    {DF9F1320-DF9A-4e86-B183-6D843E885D4B}"}));
    EXPECT_EQ(RegQuery(kLoaderMachineEntryKey),
              (Lines{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\PowerPoint\\AddIns\\VistelloLoader.AddIn",
                     "CommandLineSafe    REG_DWORD    0x0", "Description    REG_SZ    Vistello Loader Add-In",
                     "FriendlyName    REG_SZ    Vistello Loader", "LoadBehavior    REG_DWORD    0x3"}));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kLoaderUserEntry));

    WriteDword(HKEY_CURRENT_USER, kLoaderUserEntry, L"LoadBehavior", 3);
    ASSERT_EQ(Regsvr(L"/u ", LoaderPath()), 0u);
    for (const wchar_t* key : {kLoaderClassKey, kLoaderProgIdKey, kLoaderMachineEntryKey})
        EXPECT_EQ(RegQuery(key), Lines{}) << key;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kLoaderUserEntry));
    // Unregistering again finds nothing and still succeeds.
    EXPECT_EQ(Regsvr(L"/u ", LoaderPath()), 0u);
}

TEST_F(LoaderOfficeTest, OfficeLoadsTheLoaderWhichHandsOverToTheAddInAndLetsGoOfIt)
{
    ASSERT_EQ(Regsvr(L"", LoaderPath()), 0u);
    // Installed as setup leaves it: the add-in's class is known, Office has
    // no entry of the add-in yet.
    ASSERT_EQ(Regsvr(L"", AddInLibrary::Path()), 0u);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserEntry);
    ASSERT_EQ(GetModuleHandleW(AddInLibrary::Path().c_str()), nullptr);

    ComScope com;
    {
        PowerPointHost host(L"14.0");
        CallLog::Get().Clear();
        CallLog::Get().SetRecording(true);
        host.Start();
        standin::ComAddInObject* loader = host.AddIn(L"VistelloLoader.AddIn");
        ASSERT_NE(loader, nullptr);
        EXPECT_TRUE(loader->IsConnected());
        // Loaded by the loader, not yet an add-in of Office.
        EXPECT_NE(GetModuleHandleW(AddInLibrary::Path().c_str()), nullptr);
        EXPECT_EQ(host.AddIn(L"Vistello.AddIn"), nullptr);

        PowerPointHost::Pump(200);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kUserEntry, L"LoadBehavior"), 3);
        ASSERT_NE(host.AddIn(L"Vistello.AddIn"), nullptr);
        EXPECT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
        EXPECT_TRUE(loader->IsConnected());
        const std::vector<std::wstring>& log = CallLog::Get().Entries();
        auto created = std::find(log.begin(), log.end(), L"AddIn.Create Vistello.AddIn 0");
        auto connected = std::find(log.begin(), log.end(), L"AddIn.OnConnection Vistello.AddIn 0");
        EXPECT_NE(created, log.end());
        EXPECT_NE(connected, log.end());
        EXPECT_LT(created, connected);
        EXPECT_LT(std::find(log.begin(), log.end(), L"AddIn.OnConnection VistelloLoader.AddIn 0"), created);
        host.Shutdown();
    }
    // Office's own load was the only one left: once COM frees unused
    // libraries, the add-in is gone from the process.
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleW(AddInLibrary::Path().c_str()), nullptr);
    EXPECT_EQ(GetModuleHandleW(LoaderPath().c_str()), nullptr);
}

}  // namespace
