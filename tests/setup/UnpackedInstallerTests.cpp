#include "setup/UnpackedInstaller.h"

#include "fixtures/Fixtures.h"
#include "setup/SetupTestSupport.h"
#include "setup/SetupPayload.h"
#include "setup/SetupProgram.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallerFileName, ReplacesTheExtensionOfTheSetupsName)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\dl\\VistelloSetup.exe", L"VistelloSetup.tmp"}, {L"C:\\dl\\my.setup.v2.exe", L"my.setup.v2.tmp"},
        {L"C:\\dl\\setup", L"setup.tmp"},                      {L"C:\\dl.d\\setup", L"setup.tmp"},
        {L"C:/dl/Setup.EXE", L"Setup.tmp"},                    {L"C:setup.exe", L"setup.tmp"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(InstallerFileName(c.first).GetText(), c.second) << c.first;
}

// A stamped setup program loaded for its resources only.
class SetupModule {
public:
    SetupModule(const ScratchFolder& folder, const wchar_t* payload)
    {
        std::wstring path = StampedSetup(folder.path(), L"Stamped.exe", payload);
        if (!path.empty())
            module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~SetupModule()
    {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }

private:
    HMODULE module_ = nullptr;
};

TEST(UnpackedInstaller, WithoutThePayloadResourceGives201AndLeavesNothing)
{
    ScratchFolder folder;
    UnpackedInstaller installer;
    EXPECT_EQ(installer.Extract(GetModuleHandleW(nullptr), kInstallerPayloadId, L"C:\\x\\Setup.exe",
                                folder.path().c_str()),
              kPayloadNotFound);
    EXPECT_TRUE(IsEmptyFolder(folder.path()));
}

TEST(UnpackedInstaller, ADamagedPayloadLeavesNoFile)
{
    ScratchFolder folder;
    SetupModule setup(folder, L"setup_payload_early_end.bin");
    ASSERT_NE(setup.Get(), nullptr);
    ScratchFolder target;
    UnpackedInstaller installer;
    EXPECT_EQ(installer.Extract(setup.Get(), kInstallerPayloadId, L"C:\\x\\Setup.exe", target.path().c_str()),
              kDecodingFailed);
    EXPECT_TRUE(IsEmptyFolder(target.path()));
}

TEST(UnpackedInstaller, NoOneCanReplaceTheFileUntilItIsDestroyed)
{
    ScratchFolder folder;
    SetupModule setup(folder, L"setup_payload_lzma.bin");
    ASSERT_NE(setup.Get(), nullptr);
    ScratchFolder target;
    std::wstring path = target.File(L"Setup.tmp");
    std::wstring other = target.File(L"other.bin");
    {
        UnpackedInstaller installer;
        ASSERT_EQ(installer.Extract(setup.Get(), kInstallerPayloadId, L"C:\\x\\Setup.exe", target.path().c_str()),
                  0);
        EXPECT_EQ(std::wstring(installer.Path().GetText()), path);
        EXPECT_EQ(ReadBytes(path), ReadBytes(TestsBinPath(L"setup_echo_installer.exe")));

        HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        if (writer != INVALID_HANDLE_VALUE)
            CloseHandle(writer);
        HANDLE file = CreateFileW(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        EXPECT_FALSE(MoveFileExW(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
        EXPECT_FALSE(MoveFileW(path.c_str(), target.File(L"moved.tmp").c_str()));
        EXPECT_FALSE(DeleteFileW(path.c_str()));
        EXPECT_EQ(ReadBytes(path), ReadBytes(TestsBinPath(L"setup_echo_installer.exe")));
    }
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
