// VistelloSetup.exe as a user gets it: copied alone into an empty folder and
// run, it installs the product from the packages it carries, and the stand-in
// PowerPoint starts what it installed. With one carried package damaged it
// installs nothing and ends with the installer's failure code.
#include "fixtures/ChildProcess.h"
#include "fixtures/Fixtures.h"
#include "setup/SetupTestSupport.h"

#include "addin/update/InstalledPlugins.h"
#include "addin/update/UpdateHistory.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>

namespace {

// The installer's exit code for a damaged carried package.
const unsigned long kDamagedPackageCode = 5;
const int kSecondPluginPackage = 1003;

const wchar_t* const kDeliverables[] = {L"VistelloLoaderAddIn.dll", L"VistelloAddIn.dll",
                                        L"VistelloUpdaterAddIn.dll", L"VistelloTrampoline.exe",
                                        L"plovaplayer.exe", L"plovapoint.dll"};
const wchar_t* const kPlugins[] = {L"Kernel", L"TestA", L"DemoImage", L"DemoFlash", L"DemoMovie"};
// The setups in resource order, 1000 onwards.
const wchar_t* const kSetups[] = {L"Vistello", L"Kernel", L"TestA", L"DemoImage", L"DemoFlash", L"DemoMovie"};

std::wstring ProgramFiles()
{
    wchar_t folder[MAX_PATH];
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder))
               ? std::wstring(folder) : std::wstring();
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring PackagePath(int id)
{
    return std::wstring(VISTELLO_SETUP_PACKAGES) + L"\\Package" + std::to_wstring(id) + L".vlx";
}

std::string Narrow(const MKString& text)
{
    std::string narrow;
    for (const wchar_t* c = text.GetText(); *c; ++c)
        narrow += char(*c);
    return narrow;
}

class SetupInstall : public testing::Test {
protected:
    void SetUp() override
    {
        // See SetupRunTests: the desktop process starts before any child.
        GetDesktopWindow();
        folder_ = ProgramFiles() + L"\\Vistello";
        ASSERT_NE(folder_, L"\\Vistello");
        RemoveInstallation();
        ASSERT_FALSE(Exists(folder_)) << "an earlier installation could not be removed";
        temp_ = work_.File(L"temp");
        media_ = work_.File(L"media");
        ASSERT_TRUE(CreateDirectoryW(temp_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(media_.c_str(), nullptr));
        setup_ = media_ + L"\\VistelloSetup.exe";
        ASSERT_TRUE(CopyFileW((std::wstring(VISTELLO_OUT_BIN) + L"\\VistelloSetup.exe").c_str(), setup_.c_str(),
                              TRUE));
    }

    void TearDown() override { RemoveInstallation(); }

    ChildProcessResult RunSetup()
    {
        return RunChildProcess(L"\"" + setup_ + L"\" /silent", {{L"TMP", temp_}, {L"TEMP", temp_}});
    }

    // Unregisters what an installation registered and deletes its folder.
    void RemoveInstallation()
    {
        if (!Exists(folder_))
            return;
        for (const wchar_t* name : {L"VistelloLoaderAddIn.dll", L"VistelloAddIn.dll", L"VistelloUpdaterAddIn.dll"})
            RunChildProcess(L"regsvr32 /u /s \"" + folder_ + L"\\" + name + L"\"");
        RunChildProcess(L"\"" + folder_ + L"\\VistelloTrampoline.exe\" /UnregServer");
        std::wstring from = folder_ + L'\0';
        SHFILEOPSTRUCTW operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationW(&operation);
    }

    // Replaces the carried package's bytes in the copied setup program.
    void StampPackage(int id, const std::function<void(std::vector<unsigned char>&)>& damage)
    {
        std::vector<unsigned char> bytes = ReadBytes(PackagePath(id));
        ASSERT_GT(bytes.size(), 100u);
        damage(bytes);
        HANDLE update = BeginUpdateResourceW(setup_.c_str(), FALSE);
        ASSERT_TRUE(update);
        BOOL written = UpdateResourceW(update, L"BIN", MAKEINTRESOURCEW(id), kPayloadLanguage, bytes.data(),
                                       DWORD(bytes.size()));
        ASSERT_TRUE(EndUpdateResourceW(update, !written) && written);
    }

    std::wstring Installed(const std::wstring& relative) const { return folder_ + L"\\" + relative; }

    ScratchFolder work_;
    std::wstring folder_;
    std::wstring temp_;
    std::wstring media_;
    std::wstring setup_;
};

TEST_F(SetupInstall, AloneInAnEmptyFolderInstallsTheProductThatPowerPointStarts)
{
    ChildProcessResult run = RunSetup();
    ASSERT_TRUE(run.started);
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(IsEmptyFolder(temp_)) << "the setup or its installer left files in the temporary folder";

    // Every file as the build made it: the deliverables, the module packages
    // as the fixture writer wrote them and the carried packages in "setups".
    for (const wchar_t* name : kDeliverables)
        EXPECT_EQ(ReadBytes(Installed(name)), ReadBytes(std::wstring(VISTELLO_OUT_BIN) + L"\\" + name)) << name;
    for (const wchar_t* name : kPlugins) {
        std::wstring module = std::wstring(name) + L"\\" + name + L".vmp";
        EXPECT_EQ(ReadBytes(Installed(module)), ReadBytes(FixturePath((L"install\\demo\\" + module).c_str())))
            << module;
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(ReadBytes(Installed(std::wstring(L"setups\\") + kSetups[i] + L".vlx")), ReadBytes(PackagePath(1000 + i)))
            << kSetups[i];
    EXPECT_FALSE(Exists(Installed(L"updater\\ready.dat")));

    // "plugins.dat" as the add-in reads it: the kernel first, the product's
    // own setup without a module, then the plug-ins in resource order.
    InstalledPlugins plugins{MKString(folder_.c_str())};
    ASSERT_EQ(plugins.Load(), InstalledPluginsOk);
    EXPECT_EQ(Narrow(plugins.productVersion.ToString()), "1.0");
    const char* const expected[] = {"Kernel 2.1.0.5 Kernel\\Kernel.vmp", "Vistello 1.0 \\",
                                    "TestA 1.0.0.0 TestA\\TestA.vmp", "DemoImage 1.0.0.0 DemoImage\\DemoImage.vmp",
                                    "DemoFlash 1.0.0.0 DemoFlash\\DemoFlash.vmp",
                                    "DemoMovie 1.0.0.0 DemoMovie\\DemoMovie.vmp"};
    ASSERT_EQ(plugins.GetCount(), 6);
    for (int i = 0; i < 6; ++i) {
        const InstalledPlugin& entry = *plugins.GetAt(i);
        EXPECT_EQ(Narrow(entry.name) + " " + Narrow(entry.version.ToString()) + " " + Narrow(entry.mainFolder) + "\\" +
                      Narrow(entry.mainFile),
                  expected[i]);
    }

    // One installation in the history, by the installer, of every setup.
    UpdateHistory history{MKString(folder_.c_str())};
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.GetCount(), 1);
    const UpdateEntry& update = *history.GetAt(0);
    EXPECT_EQ(update.updateType, 1);
    EXPECT_EQ(update.method, 4);
    ASSERT_EQ(update.GetSetupCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(update.GetSetupAt(i)->setupType, 1) << i;

    // The demo's stand-in PowerPoint over what was installed: the loader
    // hands over to the add-in and the plug-in kernel starts; it shuts down
    // at once (the close request is there from the start).
    std::wstring out = work_.File(L"office");
    ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
    HANDLE close = CreateFileW((out + L"\\close.request").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(close, INVALID_HANDLE_VALUE);
    CloseHandle(close);
    ChildProcessResult office = RunChildProcess(L"\"" + TestsBinPath(L"demo_office.exe") + L"\" \"" + out + L"\" startup");
    EXPECT_EQ(office.exitCode, 0u) << office.output;
    EXPECT_NE(office.output.find("startup done: the loader handed over to the add-in, the plug-in kernel started"),
              std::string::npos)
        << office.output;
    EXPECT_NE(office.output.find("shutdown done"), std::string::npos) << office.output;
}

struct Damage {
    const char* what;
    std::function<void(std::vector<unsigned char>&)> apply;
};

class DamagedSetup : public SetupInstall, public testing::WithParamInterface<Damage> {};

TEST_P(DamagedSetup, InstallsNothingAndEndsWithTheInstallersCode)
{
    StampPackage(kSecondPluginPackage, GetParam().apply);
    ChildProcessResult run = RunSetup();
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, kDamagedPackageCode) << run.output;
    EXPECT_FALSE(Exists(folder_)) << "a damaged setup installed files";
    EXPECT_TRUE(IsEmptyFolder(temp_)) << "the setup or its installer left files in the temporary folder";
}

// A package starts with 24 bytes of prefix, a 20-byte signature and 12 bytes
// of key, header length and gap length (no gap): its header block begins at
// 56. Its items' stored bytes end the file.
INSTANTIATE_TEST_SUITE_P(
    Packages, DamagedSetup,
    testing::Values(Damage{"item", [](std::vector<unsigned char>& b) { b.back() ^= 0x01; }},
                    Damage{"header", [](std::vector<unsigned char>& b) { b[60] ^= 0x80; }},
                    Damage{"cut", [](std::vector<unsigned char>& b) { b.pop_back(); }},
                    Damage{"unsigned", [](std::vector<unsigned char>& b) { b[16] = 0; }}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.what); });

}  // namespace
