// What Office detection and PowerPoint's resource users read: the
// InstallRoot and FilesPaths values, the stand-in files' versions and the
// accelerator table of PPINTL.DLL.
#include "StandInTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "fixtures/ScratchOffice.h"

#include "standins/powerpoint/OfficeInstallation.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

namespace {

std::wstring ReadMachineText(const std::wstring& key, const wchar_t* name)
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

// "major.minor.build.revision" of the fixed file version, "<none>" without one.
std::wstring FileVersionText(const std::wstring& path)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (!size)
        return L"<none>";
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length))
        return L"<none>";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

TEST(OfficeFiles, AnInstallationWritesTheValuesAndFilesDetectionReads)
{
    ScratchFolder folder;
    standin::OfficeInstallation office = ScratchOffice(folder, 12, {12, 0, 6425, 1000}, {12, 0, 6213, 1000});
    ASSERT_TRUE(office.Install());

    const std::wstring common = L"SOFTWARE\\Microsoft\\Office\\12.0\\Common";
    EXPECT_EQ(ReadMachineText(common + L"\\InstallRoot", L"Path"), folder.File(L"Office12\\"));
    EXPECT_EQ(ReadMachineText(common + L"\\FilesPaths", L"mso.dll"), folder.File(L"Office12\\MSO.DLL"));
    EXPECT_EQ(FileVersionText(folder.File(L"Office12\\POWERPNT.EXE")), L"12.0.6425.1000");
    EXPECT_EQ(FileVersionText(folder.File(L"Office12\\MSO.DLL")), L"12.0.6213.1000");

    office.Remove();
    EXPECT_EQ(ReadMachineText(common + L"\\InstallRoot", L"Path"), L"<none>");
    EXPECT_EQ(ReadMachineText(common + L"\\FilesPaths", L"mso.dll"), L"<none>");
    EXPECT_EQ(GetFileAttributesW(folder.File(L"Office12\\POWERPNT.EXE").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(OfficeFiles, OfficeTenKeepsMsoInTheSharedFolderAndZeroVersionsAreUnreadable)
{
    ScratchFolder folder;
    standin::OfficeInstallation office = ScratchOffice(folder, 10, {10, 0, 6501, 0}, {});
    office.msoPlace = standin::MsoPlace::SharedFolder;
    ASSERT_TRUE(office.Install());

    std::wstring mso = office.MsoPath();
    EXPECT_NE(mso.find(L"\\Microsoft Shared\\Office10\\MSO.DLL"), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(mso.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FileVersionText(mso), L"<none>");
    EXPECT_EQ(FileVersionText(folder.File(L"Office10\\POWERPNT.EXE")), L"10.0.6501.0");
    EXPECT_EQ(ReadMachineText(L"SOFTWARE\\Microsoft\\Office\\10.0\\Common\\FilesPaths", L"mso.dll"), L"<none>");
    office.Remove();
    EXPECT_EQ(GetFileAttributesW(mso.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(OfficeFiles, PowerPointsResourceLibraryIsLoadedWithItsAcceleratorTable)
{
    ComScope com;
    standin::PowerPointHost host(L"11.0");
    HMODULE resources = GetModuleHandleW(L"PPINTL.DLL");
    ASSERT_NE(resources, nullptr);
    HACCEL table = LoadAcceleratorsW(resources, MAKEINTRESOURCEW(1292));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8] = {};
    int count = CopyAcceleratorTableW(table, entries, 8);
    DestroyAcceleratorTable(table);
    ASSERT_EQ(count, 5);
    EXPECT_EQ(entries[0].key, VK_F5);
    EXPECT_EQ(entries[0].cmd, 1001);
    EXPECT_EQ(entries[1].fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);
    EXPECT_EQ(entries[3].fVirt & FVIRTKEY, 0);
    EXPECT_EQ(entries[4].fVirt & FALT, FALT);
}

}  // namespace
