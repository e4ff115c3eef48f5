// "plugins.dat" lists the Python writer made, an installation folder with
// module packages, and lists the C++ side writes for the oracle to read.
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/InstalledPlugins.h"
#include "addin/update/ModulePackage.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKTOArray.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

MKGuid Guid(const wchar_t* text)
{
    MKGuid guid;
    guid.Parse(text);
    return guid;
}

// An installation folder holding one of the case files as its list.
class ListFolder {
public:
    explicit ListFolder(const MKString& listFile)
    {
        CopyFileW(listFile.GetText(), scratch.File(L"plugins.dat").c_str(), FALSE);
    }
    MKString Path() const { return scratch.path().c_str(); }

    ScratchFolder scratch;
};

MKString Names(const InstalledPlugins& list)
{
    MKString names;
    for (int i = 0; i < list.GetCount(); ++i) {
        names.AppendString(list.GetAt(i)->name);
        names.AppendText(L" ");
    }
    return names;
}

}  // namespace

TEST(InstalledPluginsTest, LoadAnswersTheCodeOfEveryList)
{
    auto cases = PackageCases(L"plugins_cases.txt");
    ASSERT_GE(cases.size(), 11u);
    for (const auto& [path, code] : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(MKPathFileName(path).GetText()));
        ListFolder folder(path);
        InstalledPlugins list(folder.Path());
        EXPECT_EQ(list.Load(), code);
    }
}

TEST(InstalledPluginsTest, AMissingListAnswersOne)
{
    ScratchFolder scratch;
    InstalledPlugins list(scratch.path().c_str());
    EXPECT_EQ(list.Load(), InstalledPluginsCannotOpen);
    EXPECT_EQ(ReadInstalledVersion(scratch.path().c_str()), MKVersion());
}

TEST(InstalledPluginsTest, TheMainSetupMovesToTheFront)
{
    ListFolder folder(UpdateFixture(L"packages\\plugins_other_main.bin"));
    InstalledPlugins list(folder.Path());
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    EXPECT_STREQ(Names(list).GetText(), L"Kernel Fits ");
    EXPECT_EQ(list.GetAt(0)->guid, Guid(packagefixture::kKernelGuid));
    EXPECT_EQ(list.FindByGuid(Guid(packagefixture::kPluginGuid)), 1);
    EXPECT_EQ(list.FindByGuid(MKGuid()), -1);
}

TEST(InstalledPluginsTest, ReadsEveryFieldOfAnInstallation)
{
    MKString folder = UpdateFixture(L"install");
    InstalledPlugins list(folder);
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    EXPECT_EQ(list.listKind, 4);
    EXPECT_EQ(list.productVersion, MKVersion(3, 2, 1));
    EXPECT_EQ(list.written.GetTicks(), MKDateTime::TicksFromDate(2016, 1, 2));
    EXPECT_STREQ(Names(list).GetText(), L"Kernel Fits Newer Missing Disabled Escapes ");
    const InstalledPlugin& kernel = *list.GetAt(0);
    EXPECT_EQ(kernel.version, MKVersion(3, 2, 1, 0));
    EXPECT_EQ(kernel.moduleKind, 1);
    EXPECT_EQ(kernel.installed.GetTicks(), MKDateTime::TicksFromDate(2014, 5, 6));
    EXPECT_EQ(kernel.installed.GetKind(), MKDateTimeUtc);
    MKString path;
    ASSERT_TRUE(kernel.GetMainModulePath(path));
    EXPECT_TRUE(path.Equals(MKPathCombine(folder, L"bin\\Kernel.vmp")));
    EXPECT_EQ(ReadInstalledVersion(folder), MKVersion(3, 2, 1));
}

TEST(InstalledPluginsTest, DropIncompatibleKeepsWhatFitsAndEntriesWithoutAModule)
{
    MKString folder = UpdateFixture(L"install");
    InstalledPlugins list(folder);
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    // The kernel needs product 2.0; "Newer" needs kernel 3.3; "Missing" has no
    // package; "Escapes" names a package outside the installation folder.
    EXPECT_TRUE(list.DropIncompatible(MKVersion(2, 0), MKVersion(3, 2)));
    EXPECT_STREQ(Names(list).GetText(), L"Kernel Fits Disabled ");
    ModulePackage* kernel = list.GetMainModule();
    ASSERT_NE(kernel, nullptr);
    EXPECT_TRUE(kernel->GetName().EqualsText(L"Kernel"));
    ASSERT_NE(list.GetAt(1)->GetMainModule(), nullptr);
    EXPECT_EQ(list.GetAt(2)->GetMainModule(), nullptr);
}

TEST(InstalledPluginsTest, DropIncompatibleDropsAKernelNeedingANewerProduct)
{
    InstalledPlugins list(UpdateFixture(L"install"));
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    EXPECT_FALSE(list.DropIncompatible(MKVersion(1, 9), MKVersion(9, 0)));
    EXPECT_STREQ(Names(list).GetText(), L"Fits Newer Disabled ");
    EXPECT_EQ(list.GetMainModule(), nullptr);
}

TEST(InstalledPluginsTest, SaveReplacesTheListAndLoadsBackTheSame)
{
    ScratchFolder scratch;
    CopyFileW(UpdateFixture(L"install\\plugins.dat").GetText(), scratch.File(L"plugins.dat").c_str(), FALSE);
    InstalledPlugins list(scratch.path().c_str());
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    MKDateTime before = MKDateTime::UtcNow();
    ASSERT_TRUE(list.Save());
    InstalledPlugins again(scratch.path().c_str());
    ASSERT_EQ(again.Load(), InstalledPluginsOk);
    EXPECT_STREQ(Names(again).GetText(), Names(list).GetText());
    EXPECT_TRUE(again.written.IsAtLeast(before));
    EXPECT_EQ(again.written.GetKind(), MKDateTimeUtc);
    EXPECT_EQ(again.GetAt(0)->installed.GetValue(), list.GetAt(0)->installed.GetValue());
    EXPECT_TRUE(again.GetAt(1)->mainFolder.EqualsText(L"plugins\\fits"));
    // Nothing is left beside the list.
    MKTOArray<MKString> names;
    ASSERT_TRUE(MKListDirectory(scratch.path().c_str(), names, false));
    EXPECT_EQ(names.GetCount(), 1);
}

TEST(InstalledPluginsTest, TheOracleReadsWhatSaveWrote)
{
    ScratchFolder scratch;
    InstalledPlugins list(scratch.path().c_str());
    list.listKind = 3;
    list.productVersion = MKVersion(4, 5, 6);
    InstalledPlugin* kernel = list.Add();
    kernel->guid = Guid(packagefixture::kKernelGuid);
    kernel->name = L"Kernel \u00e9";
    kernel->version = MKVersion(1, 2, 3, 4);
    kernel->packageKind = 2;
    kernel->moduleKind = 1;
    kernel->mainFolder = L"bin";
    kernel->mainFile = L"Kernel.vmp";
    kernel->installed = MKDateTime(MKDateTime::TicksFromDate(2015, 3, 14), MKDateTimeUtc);
    InstalledPlugin* other = list.Add();
    other->guid = Guid(packagefixture::kPluginGuid);
    other->name = L"Other";
    other->version = MKVersion(7, 0);
    ASSERT_TRUE(list.Save());
    MKByteArray bytes;
    ASSERT_TRUE(MKReadFile(list.GetListPath(), bytes));
    ASSERT_GE(bytes.GetCount(), 8);
    EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24, 0x588CD93Au);
    HandRecordToOracle(RecordKind::Plugins, L"plugins_cpp.dat", ToBytes(bytes),
                       "{\"list_kind\": 3, \"product_version\": [4, 5, 6], \"plugins\": ["
                       "[\"B80321F4-6A3C-48C1-89A9-FDCFF7BA605A\", \"Kernel \\u00e9\", [1, 2, 3, 4], 2, 1, \"bin\", "
                       "\"Kernel.vmp\", " +
                           std::to_string(kernel->installed.GetValue()) +
                           ", 0], [\"6D1E0C7A-1B2C-4D3E-8F90-A1B2C3D4E5F6\", \"Other\", [7, 0], 0, 0, \"\", \"\", 0, 0]]}");
}
