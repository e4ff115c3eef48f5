// The setups folder, and list entries refreshed from installed packages.
#include "PackageFixtures.h"

#include "addin/update/InstalledPlugins.h"
#include "addin/update/SetupsFolder.h"
#include "addin/update/UpdatePackage.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(SetupsFolderTest, NamesPackagesInsideTheSetupsFolderOnly)
{
    MKString root = L"C:\\Product";
    EXPECT_STREQ(GetSetupsFolder(root).GetText(), L"C:\\Product\\setups");
    EXPECT_STREQ(GetSetupPackagePath(root, L"Kernel").GetText(), L"C:\\Product\\setups\\Kernel.vlx");
    EXPECT_STREQ(GetSetupPackagePath(root, L"Kernel.zip").GetText(), L"C:\\Product\\setups\\Kernel.vlx");
    for (const wchar_t* hostile : {L"..", L"..\\x", L"a/b", L"C:x", L"", L". ."})
        EXPECT_TRUE(GetSetupPackagePath(root, hostile).IsEmpty()) << hostile;
    ScratchFolder scratch;
    EXPECT_TRUE(EnsureSetupsFolder(scratch.path().c_str(), nullptr));
    EXPECT_TRUE(MKIsDirectoryAt(scratch.File(L"setups").c_str()));
    EXPECT_TRUE(EnsureSetupsFolder(scratch.path().c_str(), nullptr));
}

TEST(SetupsFolderTest, AnUpdateKeepsTheInstalledTimeAndMovesTheUpdatedTime)
{
    ScratchFolder scratch;
    CopyFixtureTree(L"install", scratch.path());
    MKString folder = scratch.path().c_str();
    UpdatePackage package;
    ASSERT_EQ(package.Open(UpdateFixture(L"packages\\update_good.bin")), UpdatePackageOk);
    InstalledPlugins list(folder);
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    int count = list.GetCount();
    MKDateTime installed = list.GetAt(0)->installed;
    MKDateTime before = MKDateTime::UtcNow();
    InstalledPlugin* kernel = list.UpdateFromPackage(package);
    ASSERT_EQ(kernel, list.GetAt(0));
    EXPECT_EQ(list.GetCount(), count);
    EXPECT_EQ(kernel->installed.GetValue(), installed.GetValue());
    EXPECT_TRUE(kernel->updated.IsAtLeast(before));
    EXPECT_TRUE(kernel->name.EqualsText(L"Setup"));
    EXPECT_EQ(kernel->version, MKVersion(3, 2));
    EXPECT_TRUE(kernel->mainFolder.EqualsText(L"app\\bin"));
    EXPECT_TRUE(kernel->mainFile.EqualsText(L"Stored.txt"));

    // A setup not in the list is added with both times set.
    InstalledPlugin* added = list.AddFromPackage(package);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(list.GetCount(), count + 1);
    EXPECT_TRUE(added->installed.IsAtLeast(before));

    // The setup package is found in "setups" under the entry's name.
    ASSERT_TRUE(EnsureSetupsFolder(folder, nullptr));
    ASSERT_TRUE(CopyFileW(UpdateFixture(L"packages\\update_good.bin").GetText(),
                          scratch.File(L"setups\\Setup.vlx").c_str(), FALSE));
    ASSERT_TRUE(kernel->OpenSetupPackage());
    EXPECT_EQ(kernel->GetSetupPackage()->GetItemCount(), 5);
    EXPECT_FALSE(list.GetAt(1)->OpenSetupPackage());
}
