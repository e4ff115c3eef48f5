#include "base/MKFileVersionInfo.h"
#include "base/MKVersion.h"
#include "base/MKVersionLibrary.h"

#include "BaseTestSupport.h"
#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Version, CompareOrdersAbsentPartsFirst)
{
    // Each row sorts strictly before the next.
    const MKVersion ordered[] = {
        MKVersion(-1, 5),      MKVersion(1, 2),       MKVersion(1, 2, 0),    MKVersion(1, 2, 0, 0),
        MKVersion(1, 2, 0, 1), MKVersion(1, 9, 9, 9), MKVersion(2, 0),       MKVersion(2, 0, 0, 0),
        MKVersion(10, 0),
    };
    const int n = int(sizeof(ordered) / sizeof(ordered[0]));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            int expected = i < j ? -1 : i > j ? 1 : 0;
            EXPECT_EQ(expected, ordered[i].Compare(ordered[j])) << i << " vs " << j;
            EXPECT_EQ(i < j, ordered[i].IsLess(ordered[j]));
            EXPECT_EQ(i > j, ordered[i].IsGreater(ordered[j]));
        }
    }
}

TEST(Version, Format)
{
    EXPECT_EQ(L"10.1", Text(MKVersion(10, 1).ToString()));
    EXPECT_EQ(L"10.1.3", Text(MKVersion(10, 1, 3).ToString()));
    EXPECT_EQ(L"10.1.3.7", Text(MKVersion(10, 1, 3, 7).ToString()));
    EXPECT_EQ(L"-1.2", Text(MKVersion(-1, 2).ToString()));
    wchar_t buffer[5];
    EXPECT_EQ(8, MKVersion(1, 22, 333).Format(buffer, 5));
    EXPECT_EQ(std::wstring(L"1.22"), buffer);
}

TEST(Version, Parse)
{
    struct {
        const wchar_t* text;
        bool ok;
        MKVersion version;
    } cases[] = {
        {L"1.2", true, MKVersion(1, 2)},
        {L"1. 2", true, MKVersion(1, 2)},
        {L"1.2.3", true, MKVersion(1, 2, 3)},
        {L"1.2.3.4", true, MKVersion(1, 2, 3, 4)},
        {L" +7.-3.0x.4beta", true, MKVersion(7, -3, 0, 4)},
        {L"9", false, MKVersion()},
        {L"1.2.3.4.5", false, MKVersion()},
        {L"1.x", false, MKVersion()},
        {L"1.2.", false, MKVersion()},
        {L"1..2", false, MKVersion()},
        {L".1", false, MKVersion()},
        {L"", false, MKVersion()},
        {nullptr, false, MKVersion()},
        {L"99999999999.1", false, MKVersion()},
    };
    for (const auto& c : cases) {
        MKVersion out(9, 9, 9, 9);
        EXPECT_EQ(c.ok, MKVersion::Parse(c.text, out)) << (c.text ? c.text : L"(null)");
        EXPECT_EQ(0, c.version.Compare(out)) << (c.text ? c.text : L"(null)") << " gave " << out.ToString().GetText();
    }
    MKVersion absent;
    EXPECT_EQ(-1, absent.build);
    EXPECT_EQ(-1, absent.revision);
}

TEST(FileVersionInfo, ReadsStringsUnderAFallbackKey)
{
    MKFileVersionInfo info(MKString(TestsBinPath(L"versioned_strings.dll").c_str()));
    info.ExtraNames().Add(MKString(L"BuildFlavour"));
    info.ExtraNames().Add(MKString(L"NoSuchValue"));
    ASSERT_TRUE(info.Read());
    EXPECT_EQ(L"1.2.3.4", Text(info.GetString(MKFileVersionInfo::FileVersion)));
    EXPECT_EQ(L"Versioned Test Company", Text(info.GetString(MKFileVersionInfo::CompanyName)));
    EXPECT_EQ(L"Strings under a fallback key", Text(info.GetString(MKFileVersionInfo::FileDescription)));
    EXPECT_EQ(L"versioned_strings.dll", Text(info.GetString(MKFileVersionInfo::OriginalFilename)));
    EXPECT_EQ(L"5.6.7.8", Text(info.GetString(MKFileVersionInfo::ProductVersion)));
    EXPECT_EQ(L"", Text(info.GetString(MKFileVersionInfo::SpecialBuild)));
    EXPECT_EQ(0, info.GetFileVersion().Compare(MKVersion(1, 2, 3, 4)));
    EXPECT_EQ(0, info.GetProductVersion().Compare(MKVersion(5, 6, 7, 8)));
    EXPECT_EQ(uint32_t(VS_FF_PRERELEASE), info.GetFileFlags());
    // The language of the translation table, in the system's words.
    wchar_t german[256];
    VerLanguageNameW(0x0407, german, 256);
    EXPECT_EQ(std::wstring(german), Text(info.GetLanguageName()));
    ASSERT_EQ(2, info.ExtraValues().GetCount());
    EXPECT_EQ(L"checked", Text(info.ExtraValues()[0]));
    EXPECT_EQ(L"", Text(info.ExtraValues()[1]));

    info.Clear();
    EXPECT_EQ(L"", Text(info.GetString(MKFileVersionInfo::FileVersion)));
    EXPECT_EQ(0, info.GetFileVersion().Compare(MKVersion(0, 0, 0, 0)));
}

TEST(FileVersionInfo, SharedLibraryAndFailures)
{
    MKVersionLibrary library;
    ASSERT_TRUE(library.Load());
    MKFileVersionInfo info(MKString(TestsBinPath(L"versioned_strings.dll").c_str()));
    ASSERT_TRUE(info.Read(&library));
    EXPECT_EQ(L"Versioned Product", Text(info.GetString(MKFileVersionInfo::ProductName)));

    // Our own test program carries no version resource.
    MKFileVersionInfo none(MKString(TestsBinPath(L"base_tests.exe").c_str()));
    EXPECT_FALSE(none.Load(library));
    MKFileVersionInfo missing(MKString(TestsBinPath(L"no_such.dll").c_str()));
    EXPECT_FALSE(missing.Read(&library));
    EXPECT_EQ(0, missing.GetFileVersion().Compare(MKVersion(0, 0, 0, 0)));
}

TEST(FileVersionInfo, SystemLibraryHasAVersion)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    MKFileVersionInfo info(MKString((std::wstring(system) + L"\\kernel32.dll").c_str()));
    ASSERT_TRUE(info.Read());
    EXPECT_FALSE(info.GetString(MKFileVersionInfo::FileVersion).IsEmpty());
    EXPECT_GT(info.GetFileVersion().major, 0);
}

}  // namespace
