// Rename lists, folder sets and folder paths on real files.
#include "FaultyFileCalls.h"

#include "addin/update/FileList.h"
#include "addin/update/FileOperations.h"
#include "addin/update/FileRenameList.h"
#include "addin/update/FolderSet.h"
#include "base/MKFile.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

MKString Make(const ScratchFolder& scratch, const wchar_t* name, const char* text)
{
    MKString path = scratch.File(name).c_str();
    MKWriteFile(path, text, int(strlen(text)));
    return path;
}

std::string Text(const std::wstring& path)
{
    MKByteArray bytes;
    return MKReadFile(path.c_str(), bytes) ? std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetCount())
                                           : "<none>";
}

}  // namespace

TEST(FileRenameListTest, AFailingThirdMoveBringsTheOthersBack)
{
    ScratchFolder scratch;
    FileRenameList list;
    for (const wchar_t* name : {L"1", L"2", L"3"})
        list.Add(Make(scratch, name, "x"), MKString(scratch.File(name).c_str()) + L".moved");
    {
        FaultyFileCalls faults(FaultyFileCalls::Move, 3);
        EXPECT_FALSE(list.Apply(true, false));
        // Three forward moves, then two undo moves.
        EXPECT_EQ(faults.Count(FaultyFileCalls::Move), 5);
    }
    EXPECT_EQ(list.GetUndoFailures(), 0);
    for (const wchar_t* name : {L"1", L"2", L"3"}) {
        EXPECT_EQ(Text(scratch.File(name)), "x");
        EXPECT_EQ(Text(scratch.File(name) + L".moved"), "<none>");
    }
    ASSERT_TRUE(list.Apply(true, false));
    ASSERT_TRUE(list.Apply(false, false));
    EXPECT_EQ(Text(scratch.File(L"2")), "x");
}

TEST(FileRenameListTest, AnImmediateMoveNeverReplacesAFile)
{
    ScratchFolder scratch;
    FileRenameList list;
    list.Add(Make(scratch, L"a", "new a"), Make(scratch, L"a.target", "old a"));
    EXPECT_FALSE(list.Apply(true, false));
    EXPECT_EQ(Text(scratch.File(L"a.target")), "old a");
    EXPECT_EQ(Text(scratch.File(L"a")), "new a");
}

TEST(FileRenameListTest, CanOpenAllPassesMissingTargetsAndReportsAHeldFile)
{
    ScratchFolder scratch;
    FileRenameList list;
    list.Add(Make(scratch, L"a", "a"), scratch.File(L"missing\\a").c_str());
    list.Add(Make(scratch, L"b", "b"), Make(scratch, L"b.target", "b"));
    EXPECT_TRUE(list.CanOpenAll(false, nullptr));
    EXPECT_TRUE(list.CanOpenAllExclusively(nullptr));
    HANDLE held = CreateFileW(scratch.File(L"b.target").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    MKString failing;
    EXPECT_FALSE(list.CanOpenAll(false, &failing));
    CloseHandle(held);
    EXPECT_STREQ(failing.GetText(), scratch.File(L"b.target").c_str());
    list.GetAt(1).skip = 1;
    held = CreateFileW(scratch.File(L"b").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(list.CanOpenAllExclusively(nullptr));
    CloseHandle(held);
}

TEST(CreateFolderPathTest, CreatesEachFolderAndRefusesClimbingOut)
{
    ScratchFolder scratch;
    MKString base = scratch.path().c_str();
    EXPECT_EQ(CreateFolderPath(base, L"a/./b", nullptr), 0);
    EXPECT_TRUE(MKIsDirectoryAt(scratch.File(L"a\\b").c_str()));
    EXPECT_EQ(CreateFolderPath(base, L"x/y/../z", nullptr), CreateFolderPathRefused);
    EXPECT_FALSE(MKIsDirectoryAt(scratch.File(L"x").c_str()));
    // Even where the folder it names exists.
    EXPECT_EQ(CreateFolderPath(base, L"a/b/..", nullptr), CreateFolderPathRefused);
    EXPECT_EQ(CreateFolderPath(base, L"C:\\Windows", nullptr), CreateFolderPathBadPath);
    EXPECT_EQ(CreateFolderPath(scratch.File(L"nothing").c_str(), L"a", nullptr), CreateFolderPathRefused);
    EXPECT_EQ(CreateFolderPath(base, L"a/b", nullptr), 0);
}

TEST(FolderSetTest, NormalisesParentsFirstAndKeepsCaseVariants)
{
    ScratchFolder scratch;
    MKString root = scratch.path().c_str();
    FolderSet set;
    set.AddPath(root, L"a\\b");
    set.AddPath(root, L"a");
    set.AddPath(root, L"A");
    set.Normalize();
    ASSERT_EQ(set.GetCount(), 3);
    EXPECT_STREQ(set.GetAt(0).GetText(), scratch.File(L"a").c_str());
    EXPECT_STREQ(set.GetAt(1).GetText(), scratch.File(L"A").c_str());
    EXPECT_STREQ(set.GetAt(2).GetText(), scratch.File(L"a\\b").c_str());
}

TEST(FolderSetTest, CreationUndoesOnlyWhatItMadeAndRemovalKeepsAUsersFile)
{
    ScratchFolder scratch;
    MKString root = scratch.path().c_str();
    CreateDirectoryW(scratch.File(L"kept").c_str(), nullptr);
    FolderSet set;
    set.AddPath(root, L"kept/new/deeper");
    {
        FaultyFileCalls faults(FaultyFileCalls::CreateFolder, 3);
        EXPECT_FALSE(set.CreateAll(nullptr));
    }
    EXPECT_TRUE(MKIsDirectoryAt(scratch.File(L"kept").c_str()));
    EXPECT_FALSE(MKIsDirectoryAt(scratch.File(L"kept\\new").c_str()));
    ASSERT_TRUE(set.CreateAll(nullptr));
    Make(scratch, L"kept\\new\\user.txt", "mine");
    EXPECT_TRUE(set.Apply(nullptr, false));
    EXPECT_EQ(Text(scratch.File(L"kept\\new\\user.txt")), "mine");
    EXPECT_FALSE(MKIsDirectoryAt(scratch.File(L"kept\\new\\deeper").c_str()));
}

TEST(FileListTest, AMissingFileIsNoFailure)
{
    ScratchFolder scratch;
    FileList list;
    list.Add(Make(scratch, L"a", "a"));
    list.Add(scratch.File(L"missing").c_str());
    EXPECT_TRUE(list.DeleteAll(false));
    EXPECT_FALSE(MKIsFileAt(scratch.File(L"a").c_str()));
}
