// The diagnostic system report: the environment's lines, the server path of a
// COM class as the report shows it, and the tables without their sources.
#include "AddInTestSupport.h"

#include "fixtures/Fixtures.h"

#include "addin/core/EnvironmentInfo.h"
#include "addin/core/SystemReport.h"
#include "base/MKTextBuffer.h"

#include <gtest/gtest.h>

namespace {

std::wstring Text(const MKTextBuffer& buffer)
{
    return buffer.GetText();
}

TEST(SystemReport, LocalesAreNamedInEnglishWithTheirNumber)
{
    EXPECT_EQ(std::wstring(EnvironmentInfo::FormatLocale(0).GetText()), L"");
    EXPECT_EQ(std::wstring(EnvironmentInfo::FormatLocale(0x0409).GetText()), L"English (United States) (0x0409)");
    EXPECT_EQ(std::wstring(EnvironmentInfo::FormatLocale(0x0407).GetText()), L"German (Germany) (0x0407)");
    // A number the system cannot name.
    EXPECT_EQ(std::wstring(EnvironmentInfo::FormatLocale(0x7ABC).GetText()), L"? (?) (0x7abc)");
}

TEST(SystemReport, TheEnvironmentWritesOnlyTheFactsItHas)
{
    EnvironmentInfo empty;
    MKTextBuffer out;
    empty.WriteLanguageLines(out);
    empty.WriteProductLines(out);
    empty.WriteNetLine(out);
    EXPECT_EQ(Text(out), L"System Language: \nUser System Language: \n\n");

    EnvironmentInfo full;
    full.systemLocale.Set(0x0409);
    full.userLocale.Set(0x0407);
    full.officeProductName.Set(MKString(L"Microsoft Office Professional 2010"));
    full.msoVersion.Set(MKVersion(14, 0, 4760, 1000));
    full.powerPointVersion.Set(MKVersion(14, 0, 4754, 1000));
    full.officeLanguages[1].Set(0x0407);
    full.netFramework.Set(MKString(L".NET Framework 2.0.50727.1433 SP1"));
    out.Clear();
    full.WriteLanguageLines(out);
    full.WriteProductLines(out);
    full.WriteNetLine(out);
    EXPECT_EQ(Text(out), L"System Language: English (United States) (0x0409)\n"
                         L"User System Language: German (Germany) (0x0407)\n"
                         L"Microsoft Office Professional 2010 (14.0.4760.1000)\n"
                         L"Microsoft PowerPoint 14.0.4754.1000\n"
                         L"Office Language: German (Germany) (0x0407)\n"
                         L".NET Framework 2.0.50727.1433 SP1\n");
}

TEST(SystemReport, WithoutSourcesTheTablesSaySo)
{
    MKTextBuffer out;
    WriteComAddInTable(nullptr, out);
    WriteFileVersionLines(nullptr, out);
    WriteAddOnTable(nullptr, out);
    EXPECT_EQ(Text(out), L"No Application\nNo AddIn pointer\n");
}

TEST(SystemReport, TheInstallationsFilesShowTheirVersions)
{
    ScratchFolder folder;
    MKTextBuffer out;
    WriteInstalledFileVersions(MKString(folder.path().c_str()), out);
    EXPECT_EQ(Text(out), L"");
    // The built library's version resource stands in for each file; a file
    // without one is left out.
    ASSERT_TRUE(CopyFileW(VISTELLO_ADDIN_DLL, folder.File(L"VistelloAddIn.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(VISTELLO_ADDIN_DLL, folder.File(L"VistelloUpdater.exe").c_str(), FALSE));
    HANDLE file = CreateFileW(folder.File(L"VistelloUpdaterAddIn.dll").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    WriteInstalledFileVersions(MKString(folder.path().c_str()), out);
    EXPECT_EQ(Text(out), L"VistelloAddIn.dll: 1.0.0.0\nVistelloUpdater.exe: 1.0.0.0\n");
}

// A class registered under a scratch CLSID, removed afterwards.
class ServerPath : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CLASSES_ROOT, kKey); }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kKey);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{5E7A3B10-0000-4000-8000-0000000000AA}");
        DeleteFileW(Temp(L"vistello-report.dll").c_str());
    }
    static std::wstring Temp(const wchar_t* name)
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + name;
    }
    static constexpr const wchar_t* kClass = L"{5E7A3B10-0000-4000-8000-0000000000AA}";
    static constexpr const wchar_t* kKey = L"CLSID\\{5E7A3B10-0000-4000-8000-0000000000AA}\\InprocServer32";
};

TEST_F(ServerPath, AManifestsLibraryAMscoreeCodeBaseOrThePlainPath)
{
    EXPECT_EQ(std::wstring(FindInprocServerPath(kClass).GetText()), L"");
    WriteText(HKEY_CLASSES_ROOT, kKey, nullptr, L"C:\\Plain\\server.dll");
    EXPECT_EQ(std::wstring(FindInprocServerPath(kClass).GetText()), L"C:\\Plain\\server.dll");
    WriteText(HKEY_CLASSES_ROOT, kKey, nullptr, L"MSCOREE.DLL");
    EXPECT_EQ(std::wstring(FindInprocServerPath(kClass).GetText()), L"MSCOREE.DLL");
    WriteText(HKEY_CLASSES_ROOT, kKey, L"CodeBase", L"file:///C:/Net/addin.dll");
    EXPECT_EQ(std::wstring(FindInprocServerPath(kClass).GetText()), L"file:///C:/Net/addin.dll");
    // A manifest without its library beside it names itself; with the
    // library, the library.
    std::wstring folder = Temp(L"");
    folder.pop_back();
    WriteText(HKEY_CLASSES_ROOT, kKey, L"ManifestLocation", folder);
    WriteText(HKEY_CLASSES_ROOT, kKey, L"ManifestName", L"vistello-report.dll.manifest");
    EXPECT_EQ(FindInprocServerPath(kClass).GetText(), Temp(L"vistello-report.dll.manifest"));
    HANDLE file = CreateFileW(Temp(L"vistello-report.dll").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    CloseHandle(file);
    EXPECT_EQ(FindInprocServerPath(kClass).GetText(), Temp(L"vistello-report.dll"));
}

}  // namespace
