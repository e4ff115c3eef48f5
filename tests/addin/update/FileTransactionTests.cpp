// The staged-file transaction and the backup transaction together, as an
// update uses them: for every k, the k-th move, delete, folder creation or
// write fails, and the installation is afterwards wholly old or wholly new.
#include "FaultyFileCalls.h"
#include "FileTree.h"
#include "PackageFixtures.h"

#include "addin/update/FileTransaction.h"
#include "addin/update/FileTransactionList.h"
#include "addin/update/UpdatePackage.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace fs = std::filesystem;
using Tree = FileTree;

Tree ReadTree(const std::wstring& root)
{
    return ReadFileTree(root);
}

Tree WithoutBackups(Tree tree)
{
    for (auto it = tree.begin(); it != tree.end();)
        it = it->first.size() > 5 && it->first.substr(it->first.size() - 5) == L".old~" ? tree.erase(it) : ++it;
    return tree;
}

const wchar_t* const kOldFiles[] = {L"a.txt", L"sub\\b.txt", L"sub\\c.txt"};

// Stages the package's items beside their targets, moves the old files aside,
// moves the staged files in and deletes the backups; gives up (restoring the
// old files) at the first failure.
bool RunUpdate(const MKString& install, const UpdatePackage& package)
{
    FileTransactionList staged;
    FileOperationSet* set = staged.AddSet();
    for (int i = 0; i < package.GetItemCount(); ++i)
        set->Folders().AddPath(install, package.GetItem(i)->folder);
    if (!set->Folders().CreateAll(nullptr)) {
        staged.Clear();
        return false;
    }
    for (int i = 0; i < package.GetItemCount(); ++i) {
        const PackageItem& item = *package.GetItem(i);
        MKString target = MKPathCombine(MKPathCombine(install, item.folder), item.name);
        MKString stagedName = target + L".new~";
        if (!set->AddStaged(stagedName, target) || item.ExtractToFile(stagedName, nullptr) != PackageItemOk) {
            staged.Clear();
            return false;
        }
    }
    FileTransaction backup;
    FileOperationSet* old = backup.AddSet(nullptr);
    for (const wchar_t* name : kOldFiles) {
        MKString path = MKPathCombine(install, name);
        old->AddRename(path, path + L".old~");
    }
    if (!backup.Apply(nullptr)) {
        staged.Clear();
        return false;
    }
    if (!staged.Commit()) {
        EXPECT_TRUE(backup.Restore());
        return false;
    }
    backup.DeleteBackups();
    return true;
}

class FileTransactionTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(package.Open(UpdateFixture(L"transaction\\new.vlx")), UpdatePackageOk);
        old = ReadTree(FixturePath(L"update\\transaction\\old"));
        // The tree a whole update leaves, made once without faults.
        ScratchFolder scratch;
        Install(scratch);
        ASSERT_TRUE(RunUpdate(scratch.File(L"install").c_str(), package));
        updated = ReadTree(scratch.File(L"install"));
        ASSERT_NE(updated, old);
        ASSERT_EQ(updated.count(L"new\\deep\\d.txt"), 1u);
        ASSERT_EQ(updated.count(L"sub\\c.txt"), 0u);
    }

    static void Install(const ScratchFolder& scratch)
    {
        CopyFixtureTree(L"transaction\\old", scratch.File(L"install"));
    }

    UpdatePackage package;
    Tree old;
    Tree updated;
};

}  // namespace

TEST_F(FileTransactionTest, EveryFailingCallLeavesTheTreeWhollyOldOrWhollyNew)
{
    const FaultyFileCalls::Kind kinds[] = {FaultyFileCalls::Move, FaultyFileCalls::Delete,
                                           FaultyFileCalls::CreateFolder, FaultyFileCalls::Write};
    const char* names[] = {"MoveFileEx", "DeleteFile", "CreateDirectory", "short write"};
    for (FaultyFileCalls::Kind kind : kinds) {
        int runs = 0;
        for (int k = 1;; ++k) {
            SCOPED_TRACE(testing::Message() << names[kind] << " number " << k);
            ScratchFolder scratch;
            Install(scratch);
            bool succeeded;
            bool failed;
            {
                FaultyFileCalls faults(kind, k);
                succeeded = RunUpdate(scratch.File(L"install").c_str(), package);
                failed = faults.Failed();
            }
            Tree after = ReadTree(scratch.File(L"install"));
            if (succeeded) {
                // Only a failed delete of a backup may leave one behind.
                EXPECT_EQ(WithoutBackups(after), updated);
                if (kind != FaultyFileCalls::Delete) {
                    EXPECT_EQ(after, updated);
                }
            } else {
                EXPECT_TRUE(failed);
                EXPECT_EQ(after, old);
            }
            ++runs;
            if (!failed)
                break;
        }
        // Each kind of call was made, and failed, at least once.
        EXPECT_GE(runs, 2) << names[kind];
    }
}

TEST_F(FileTransactionTest, BackupApplyMovesNothingWhileAnInstalledFileIsOpenElsewhere)
{
    ScratchFolder scratch;
    Install(scratch);
    std::wstring install = scratch.File(L"install");
    HANDLE held = CreateFileW((install + L"\\sub\\c.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    FileTransaction backup;
    FileOperationSet* set = backup.AddSet(nullptr);
    for (const wchar_t* name : kOldFiles) {
        MKString path = MKPathCombine(install.c_str(), name);
        set->AddRename(path, path + L".old~");
    }
    MKString failing;
    EXPECT_FALSE(backup.Apply(&failing));
    CloseHandle(held);
    EXPECT_TRUE(failing.Equals(MKPathCombine(install.c_str(), L"sub\\c.txt")));
    EXPECT_EQ(ReadTree(install), old);
}
