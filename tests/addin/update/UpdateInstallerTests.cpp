// The updater lock between processes, and whole installations by the update
// installer: done at once, blocked by a file in use, killed after each step
// or in the middle of one and recovered at the next start.
#include "FaultyFileCalls.h"
#include "FileTree.h"
#include "InstallerRun.h"
#include "PackageFixtures.h"
#include "RecordFixtures.h"
#include "UpdaterChild.h"

#include "addin/update/InstallJournal.h"
#include "addin/update/InstalledPlugins.h"
#include "addin/update/PackageItem.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdateInstaller.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterLock.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace {

// The steps up to the installed files moved aside.
bool StageAndMoveAside(UpdateInstaller& installer)
{
    if (!installer.Prepare() || !installer.Verify())
        return false;
    installer.PlanBackups();
    return installer.InstallSetups() == InstallSetupsOk && installer.ApplyBackups();
}

TEST(UpdaterLockTest, NestedHoldsShareOneOpenFile)
{
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    MKString path = GetLockFilePath(folder);
    UpdaterLock first(folder);
    UpdaterLock second(folder);
    EXPECT_FALSE(first.IsLocked());
    ASSERT_TRUE(first.Acquire());
    ASSERT_TRUE(second.Acquire());
    EXPECT_TRUE(second.IsLocked());
    first.Release();
    EXPECT_TRUE(MKFileExists(path));
    // Still held: nobody else may open it.
    HANDLE other = CreateFileW(path.GetText(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    second.Release();
    EXPECT_FALSE(MKFileExists(path));
    EXPECT_FALSE(first.IsLocked());

    // A file left by a crashed holder is free and reused.
    ASSERT_TRUE(MKWriteFile(path, "", 0));
    EXPECT_FALSE(first.IsLocked());
    {
        UpdaterLock scoped(folder);
        scoped.SetReleaseOnDestruction(true);
        ASSERT_TRUE(scoped.Acquire());
    }
    EXPECT_FALSE(MKFileExists(path));
}

TEST(UpdaterLockTest, ProcessesContendForTheLockFile)
{
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    {
        UpdaterChild holder(L"hold-lock", scratch.path());
        ASSERT_TRUE(WaitForFlag(scratch.File(L"held.flag")));
        UpdaterLock lock(folder);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(lock.Acquire());
        SetFlag(scratch.File(L"release.flag"));
        EXPECT_EQ(holder.Join().exitCode, 0u) << holder.Join().output;
        EXPECT_FALSE(lock.IsLocked());
    }
    // A third process probing with IsLocked never makes a take fail.
    UpdaterChild probe(L"probe", scratch.path());
    ChildProcessResult contend = RunUpdaterChild(L"contend", scratch.path());
    EXPECT_EQ(probe.Join().exitCode, 0u);
    EXPECT_EQ(contend.exitCode, 0u) << contend.output;
}

// The installation of update_fixtures.py's "installer" folder in a scratch
// copy, with the trees before and after a whole installation.
class InstallationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ScratchFolder scratch;
        CopyFixtureTree(L"installer", scratch.path());
        s_old = new FileTree(InstalledTree(scratch.path()));
        EXPECT_EQ(RunInstallation(scratch.path().c_str()), kInstallationSteps);
        s_new = new FileTree(InstalledTree(scratch.path()));
    }

    static void TearDownTestSuite()
    {
        delete s_old;
        delete s_new;
    }

    void SetUp() override { Fresh(); }

    // The fixture copied afresh into the emptied scratch folder.
    void Fresh()
    {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::directory_iterator(fs::path(scratch.path())))
            fs::remove_all(entry.path());
        CopyFixtureTree(L"installer", scratch.path());
    }

    // The installed files: the tree without the updater folder and the
    // plug-in list (which carries the time it was written).
    static FileTree InstalledTree(const std::wstring& root)
    {
        FileTree tree = ReadFileTree(root);
        for (auto it = tree.begin(); it != tree.end();) {
            bool bookkeeping = it->first == L"plugins.dat" || it->first.rfind(L"updater", 0) == 0 ||
                it->first.find(L".flag") != std::wstring::npos;
            it = bookkeeping ? tree.erase(it) : ++it;
        }
        return tree;
    }

    static std::string Differences(const FileTree& tree)
    {
        std::string text;
        for (const FileTree* other : {s_old, s_new}) {
            text += other == s_old ? "\nagainst old:" : "\nagainst new:";
            for (const auto& entry : tree) {
                auto found = other->find(entry.first);
                if (found == other->end() || found->second != entry.second)
                    text += " +" + std::string(entry.first.begin(), entry.first.end());
            }
            for (const auto& entry : *other) {
                if (!tree.count(entry.first))
                    text += " -" + std::string(entry.first.begin(), entry.first.end());
            }
        }
        return text;
    }

    // The installed version by the plug-in list; the history must agree.
    MKVersion RecordedVersion()
    {
        InstalledPlugins list(folder);
        EXPECT_EQ(list.Load(), InstalledPluginsOk);
        UpdateHistory history(folder);
        bool recorded = history.Load() && history.GetCount() == 1;
        EXPECT_EQ(recorded, list.productVersion == MKVersion(4, 0));
        return list.GetCount() > 0 ? list.GetAt(0)->version : MKVersion();
    }

    // Wholly old or wholly new, with the bookkeeping to match, and nothing of
    // the installation's own left behind.
    bool ExpectOldOrNew(const std::wstring& context)
    {
        FileTree tree = InstalledTree(scratch.path());
        bool isOld = tree == *s_old;
        bool isNew = tree == *s_new;
        EXPECT_TRUE(isOld || isNew) << context << Differences(tree);
        if (isOld || isNew) {
            EXPECT_EQ(RecordedVersion(), isNew ? MKVersion(4, 0) : MKVersion(3, 0)) << context;
        }
        EXPECT_FALSE(MKFileExists(GetJournalFilePath(folder))) << context;
        return isNew;
    }

    static FileTree* s_old;
    static FileTree* s_new;
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
};

FileTree* InstallationTest::s_old = nullptr;
FileTree* InstallationTest::s_new = nullptr;

TEST_F(InstallationTest, AWholeInstallationReplacesTheSetupAndRecordsIt)
{
    EXPECT_NE(*s_old, *s_new);
    EXPECT_EQ(s_new->count(L"sub\\c.txt"), 0u);
    EXPECT_EQ(s_new->at(L"sub\\b.txt"), "new b");
    EXPECT_EQ(s_new->count(L"new\\deep\\d.txt"), 1u);
    ASSERT_EQ(RunInstallation(folder), kInstallationSteps);
    EXPECT_TRUE(ExpectOldOrNew(L"whole"));
    EXPECT_FALSE(IsReadyFilePresent(folder));
    UpdateHistory history(folder);
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.GetCount(), 1);
    EXPECT_EQ(history.GetAt(0)->method, 1);
    EXPECT_EQ(history.GetAt(0)->GetSetupAt(0)->version, MKVersion(4, 0));
    InstalledPlugins list(folder);
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    EXPECT_EQ(list.productVersion, MKVersion(4, 0));
    // No staged, backup or record copies remain.
    for (const auto& entry : ReadFileTree(scratch.path()))
        EXPECT_EQ(entry.first.find(L".2"), std::wstring::npos) << entry.first;
}

TEST_F(InstallationTest, AFileHeldByAnotherProcessKeepsTheOldTree)
{
    UpdaterChild holder(L"hold-file", scratch.path(), scratch.File(L"sub\\c.txt"));
    ASSERT_TRUE(WaitForFlag(scratch.File(L"held.flag")));
    UpdateInstaller installer(folder);
    ASSERT_TRUE(installer.Prepare());
    ASSERT_TRUE(installer.Verify());
    installer.PlanBackups();
    ASSERT_EQ(installer.InstallSetups(), InstallSetupsOk);
    MKString failing;
    EXPECT_FALSE(installer.ApplyBackups(&failing));
    EXPECT_STREQ(failing.GetText(), scratch.File(L"sub\\c.txt").c_str());
    installer.DiscardStaged();
    installer.Release();
    SetFlag(scratch.File(L"release.flag"));
    EXPECT_EQ(holder.Join().exitCode, 0u);
    EXPECT_FALSE(ExpectOldOrNew(L"held"));
    EXPECT_TRUE(IsReadyFilePresent(folder));
    // Once the file is free the same update installs.
    ASSERT_EQ(RunInstallation(folder), kInstallationSteps);
    EXPECT_TRUE(ExpectOldOrNew(L"after held"));
}

TEST_F(InstallationTest, KilledAfterAnyStepTheNextStartFinishesOrUndoesIt)
{
    for (int step = 1; step < kInstallationSteps; ++step) {
        Fresh();
        ChildProcessResult run = RunUpdaterChild(L"install", scratch.path(), L"step:" + std::to_wstring(step));
        ASSERT_EQ(run.exitCode, unsigned(kKilledExitCode)) << step << run.output;
        RecoveryResult recovery = RecoverInstallation(folder);
        bool isNew = ExpectOldOrNew(L"after step " + std::to_wstring(step));
        // Recorded (step 7) means complete; before it the update is undone.
        EXPECT_EQ(isNew, step >= 7) << step;
        EXPECT_EQ(recovery == RecoveryRolledBack, step >= 4 && step < 7) << step;
        if (!isNew) {
            ASSERT_EQ(RunInstallation(folder), kInstallationSteps) << step;
            EXPECT_TRUE(ExpectOldOrNew(L"again after step " + std::to_wstring(step)));
        }
    }
}

TEST_F(InstallationTest, KilledInTheMiddleOfAStepTheTreeIsWhollyOldOrNew)
{
    for (const wchar_t* kind : {L"move", L"write"}) {
        bool completed = false;
        for (int call = 1; call < 40 && !completed; ++call) {
            Fresh();
            std::wstring argument = std::wstring(kind) + L":" + std::to_wstring(call);
            ChildProcessResult run = RunUpdaterChild(L"install", scratch.path(), argument);
            completed = run.exitCode == 0;
            ASSERT_TRUE(completed || run.exitCode == unsigned(kKilledExitCode)) << run.exitCode << run.output;
            RecoverInstallation(folder);
            bool isNew = ExpectOldOrNew(argument);
            EXPECT_TRUE(isNew || !completed) << argument;
        }
        EXPECT_TRUE(completed) << kind;
    }
}

TEST_F(InstallationTest, AFailedCommitIsRolledBackAndNotRecorded)
{
    for (int move = 1; move <= 4; ++move) {
        Fresh();
        UpdateInstaller installer(folder);
        ASSERT_TRUE(StageAndMoveAside(installer));
        {
            FaultyFileCalls faulty(FaultyFileCalls::Move, move);
            EXPECT_FALSE(installer.CommitStaged()) << move;
        }
        EXPECT_TRUE(installer.WasRolledBack()) << move;
        installer.Release();
        EXPECT_FALSE(ExpectOldOrNew(L"commit move " + std::to_wstring(move)));
        EXPECT_FALSE(MKFileExists(GetHistoryFilePath(folder)));
    }
}

TEST_F(InstallationTest, AnIncompleteUndoIsNotCalledARollBackAndIsFinishedLater)
{
    UpdateInstaller installer(folder);
    ASSERT_TRUE(StageAndMoveAside(installer));
    // Something takes an installed name while its old file is aside: the new
    // file cannot go there, and the old one cannot come back.
    ASSERT_TRUE(MKWriteFile(scratch.File(L"sub\\b.txt").c_str(), "intruder", 8));
    EXPECT_FALSE(installer.CommitStaged());
    EXPECT_FALSE(installer.WasRolledBack());
    installer.Release();
    EXPECT_TRUE(MKFileExists(GetJournalFilePath(folder)));
    ASSERT_TRUE(MKFileRemove(scratch.File(L"sub\\b.txt").c_str()));
    EXPECT_EQ(RecoverInstallation(folder), RecoveryRolledBack);
    EXPECT_FALSE(ExpectOldOrNew(L"later"));
}

TEST_F(InstallationTest, AFailedRecordUndoesTheInstalledFiles)
{
    UpdateInstaller installer(folder);
    ASSERT_TRUE(StageAndMoveAside(installer));
    ASSERT_TRUE(installer.CommitStaged());
    // The history cannot be written where a folder stands in its way.
    MKString blocked = MKPathCombine(GetUpdaterFolder(folder), L"blocked");
    ASSERT_TRUE(CreateDirectoryW(blocked.GetText(), nullptr));
    EXPECT_FALSE(installer.RecordInstallation(true, 1, false, MKString(), blocked));
    EXPECT_TRUE(installer.WasRolledBack());
    installer.Release();
    EXPECT_FALSE(ExpectOldOrNew(L"record"));
}

// Installations the update must cope with: a backup an earlier update could
// not delete still lies under the name this one plans ("sub\\b.txt.old.2"),
// or the installed setup's package is missing from "setups" (so the entry
// tells of no installed file).
enum class Leftover { StaleBackup, MissingSetupPackage };

class InstallationLeftoverTest : public InstallationTest {
protected:
    void Arrange(Leftover leftover)
    {
        Fresh();
        if (leftover == Leftover::StaleBackup)
            ASSERT_TRUE(MKWriteFile(scratch.File(L"sub\\b.txt.old.2").c_str(), "stale b", 7));
        else
            ASSERT_TRUE(MKFileRemove(scratch.File(L"setups\\Setup.vlx").c_str()));
        m_leftover = leftover;
    }

    // Wholly old or wholly new as this installation started out: without its
    // package the old "sub\\c.txt" is unknown and stays; the stale backup may
    // stay (under its own name only). Answers whether it is new.
    bool ExpectWhole(const std::string& context)
    {
        FileTree old = *s_old;
        FileTree whole = *s_new;
        if (m_leftover == Leftover::MissingSetupPackage) {
            old.erase(L"setups\\Setup.vlx");
            whole[L"sub\\c.txt"] = s_old->at(L"sub\\c.txt");
        }
        FileTree tree = InstalledTree(scratch.path());
        auto stale = tree.find(L"sub\\b.txt.old.2");
        if (stale != tree.end()) {
            EXPECT_EQ(stale->second, "stale b") << context;
            tree.erase(stale);
        }
        bool isOld = tree == old;
        bool isNew = tree == whole;
        EXPECT_TRUE(isOld || isNew) << context << Differences(tree);
        if (isOld || isNew) {
            EXPECT_EQ(RecordedVersion(), isNew ? MKVersion(4, 0) : MKVersion(3, 0)) << context;
        }
        EXPECT_FALSE(MKFileExists(GetJournalFilePath(folder))) << context;
        return isNew;
    }

    Leftover m_leftover = Leftover::StaleBackup;
};

TEST_F(InstallationLeftoverTest, EachFailingFileCallLeavesTheTreeWhollyOldOrNew)
{
    const char* kinds[] = {"move", "delete", "create folder", "write"};
    for (Leftover leftover : {Leftover::StaleBackup, Leftover::MissingSetupPackage}) {
        for (int kind = 0; kind < FaultyFileCalls::KindCount; ++kind) {
            bool reached = true;
            for (int call = 1; reached && call < 60; ++call) {
                Arrange(leftover);
                std::string context = std::string(leftover == Leftover::StaleBackup ? "stale " : "missing ") +
                    kinds[kind] + " " + std::to_string(call);
                int done = 0;
                {
                    FaultyFileCalls faulty(FaultyFileCalls::Kind(kind), call);
                    done = RunInstallation(folder);
                    reached = faulty.Failed();
                }
                // The next start.
                RecoverInstallation(folder);
                bool isNew = ExpectWhole(context);
                EXPECT_EQ(isNew, done == kInstallationSteps) << context;
                // Nothing of the failed attempt stands in the way of the next.
                if (!isNew) {
                    EXPECT_EQ(RunInstallation(folder), kInstallationSteps) << context;
                    EXPECT_TRUE(ExpectWhole(context + " again"));
                }
            }
            EXPECT_FALSE(reached) << kinds[kind] << " calls did not run out";
        }
    }
}

TEST_F(InstallationLeftoverTest, KilledAfterAnyStepTheNextStartLeavesTheTreeWhollyOldOrNew)
{
    for (Leftover leftover : {Leftover::StaleBackup, Leftover::MissingSetupPackage}) {
        for (int step = 1; step < kInstallationSteps; ++step) {
            Arrange(leftover);
            std::string context = std::string(leftover == Leftover::StaleBackup ? "stale " : "missing ") +
                "step " + std::to_string(step);
            ChildProcessResult run = RunUpdaterChild(L"install", scratch.path(), L"step:" + std::to_wstring(step));
            ASSERT_EQ(run.exitCode, unsigned(kKilledExitCode)) << context << run.output;
            RecoverInstallation(folder);
            bool isNew = ExpectWhole(context);
            EXPECT_EQ(isNew, step >= 7) << context;
            if (!isNew) {
                ASSERT_EQ(RunInstallation(folder), kInstallationSteps) << context;
                EXPECT_TRUE(ExpectWhole(context + " again"));
            }
        }
    }
}

TEST_F(InstallationLeftoverTest, AStaleBackupThatCannotBeDeletedIsPassedOverAndNeverPutInPlace)
{
    Arrange(Leftover::StaleBackup);
    UpdateInstaller installer(folder);
    ASSERT_TRUE(installer.Prepare());
    ASSERT_TRUE(installer.Verify());
    {
        // The stale backup's delete is the plan's first.
        FaultyFileCalls faulty(FaultyFileCalls::Delete, 1);
        installer.PlanBackups();
        EXPECT_TRUE(faulty.Failed());
    }
    ASSERT_EQ(installer.InstallSetups(), InstallSetupsOk);
    ASSERT_TRUE(installer.ApplyBackups());
    MKByteArray bytes;
    ASSERT_TRUE(MKReadFile(scratch.File(L"sub\\b.txt.old.3").c_str(), bytes));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount())),
              s_old->at(L"sub\\b.txt"));
    // The commit's first move fails: the undo brings the installed files back
    // from this update's own backups.
    {
        FaultyFileCalls faulty(FaultyFileCalls::Move, 1);
        EXPECT_FALSE(installer.CommitStaged());
    }
    EXPECT_TRUE(installer.WasRolledBack());
    installer.Release();
    EXPECT_FALSE(ExpectWhole("stale commit"));
    EXPECT_TRUE(MKFileExists(scratch.File(L"sub\\b.txt.old.2").c_str()));
}

TEST_F(InstallationTest, APackageChangedAfterItsCheckIsCaughtWhileItsFilesAreWritten)
{
    UpdateInstaller installer(folder);
    ASSERT_TRUE(installer.Prepare());
    ASSERT_TRUE(installer.Verify());
    installer.PlanBackups();
    // Another user rewrites the checked package in the shared updater folder:
    // its last byte is the stored data of "new\\deep\\d.txt".
    MKString package = MKPathCombine(GetUpdaterFolder(folder), L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx");
    MKByteArray bytes;
    ASSERT_TRUE(MKReadFile(package, bytes));
    bytes[bytes.GetCount() - 1] ^= 0x55;
    ASSERT_TRUE(MKWriteFile(package, bytes.GetData(), bytes.GetCount()));
    EXPECT_EQ(installer.InstallSetups(), int(InstallSetupsPackageBase) + int(PackageItemNotVerified));
    installer.DiscardStaged();
    installer.Release();
    EXPECT_FALSE(ExpectOldOrNew(L"changed package"));
    for (const auto& entry : ReadFileTree(scratch.path()))
        EXPECT_EQ(entry.first.find(L".new.2"), std::wstring::npos) << entry.first;
}

// A ready record with the given setups (GUID, package file name in the
// "installer" fixture or none).
void WriteReady(const MKString& folder, std::initializer_list<const wchar_t*> guids)
{
    ReadyRecord record(folder);
    record.version = MKVersion(4, 0);
    for (const wchar_t* text : guids) {
        ReadySetup* setup = new ReadySetup(&record);
        setup->guid.Parse(text);
        setup->version = MKVersion(4, 0);
        ASSERT_TRUE(record.AddSetup(setup));
    }
    ASSERT_TRUE(WriteReadyFile(folder, nullptr, record));
}

const wchar_t kInstallerSetup[] = L"C8D778F4-5666-4DE3-82BF-F55F5AF17CB4";
const wchar_t kSetupProgram[] = L"5FE9860A-3BD3-4FE5-AFBB-51DC961F57A9";

TEST_F(InstallationTest, TheOptionsNarrowThePlan)
{
    WriteReady(folder, {packagefixture::kKernelGuid, kInstallerSetup});
    UpdateInstaller keepOnly(folder);
    keepOnly.SetKeepOnlyInstaller(true);
    ASSERT_TRUE(keepOnly.Prepare());
    EXPECT_TRUE(keepOnly.HasOtherSetups());
    EXPECT_TRUE(keepOnly.HasInstallerSetup());
    EXPECT_EQ(keepOnly.GetReadyRecord()->GetSetupCount(), 1);
    EXPECT_EQ(keepOnly.GetReadyVersion(), MKVersion(4, 0));

    UpdateInstaller leaveOut(folder);
    leaveOut.SetLeaveOutInstaller(true);
    ASSERT_TRUE(leaveOut.Prepare());
    EXPECT_TRUE(leaveOut.HasOtherSetups());
    EXPECT_FALSE(leaveOut.HasInstallerSetup());
    EXPECT_EQ(leaveOut.GetReadyRecord()->GetSetupCount(), 1);

    WriteReady(folder, {kInstallerSetup});
    UpdateInstaller alone(folder);
    alone.SetKeepOnlyInstaller(true);
    ASSERT_TRUE(alone.Prepare());
    EXPECT_FALSE(alone.HasOtherSetups());
    EXPECT_FALSE(alone.IsComplete());

    WriteReady(folder, {packagefixture::kKernelGuid, kSetupProgram});
    UpdateInstaller program(folder);
    ASSERT_TRUE(program.Prepare());
    EXPECT_TRUE(program.HasSetupProgram());
    EXPECT_TRUE(program.IsComplete());

    DeleteReadyFile(folder);
    UpdateInstaller none(folder);
    EXPECT_FALSE(none.Prepare());
    EXPECT_TRUE(none.IsComplete());
    EXPECT_EQ(none.GetReadyVersion(), MKVersion());
}

TEST_F(InstallationTest, ASetupNeverInstalledIsStagedAndCommittedWithoutBackups)
{
    ASSERT_TRUE(MKFileRemove(scratch.File(L"plugins.dat").c_str()));
    for (const wchar_t* name : {L"a.txt", L"sub\\b.txt", L"sub\\c.txt", L"setups\\Setup.vlx"})
        ASSERT_TRUE(MKFileRemove(scratch.File(name).c_str()));
    ASSERT_EQ(RunInstallation(folder), kInstallationSteps);
    FileTree tree = InstalledTree(scratch.path());
    EXPECT_EQ(tree.at(L"a.txt"), s_new->at(L"a.txt"));
    EXPECT_EQ(tree.at(L"new\\deep\\d.txt"), s_new->at(L"new\\deep\\d.txt"));
    InstalledPlugins list(folder);
    ASSERT_EQ(list.Load(), InstalledPluginsOk);
    EXPECT_EQ(list.GetAt(0)->version, MKVersion(4, 0));
}

TEST_F(InstallationTest, APackageThatFailsItsCheckIsDeletedWithTheReadyRecord)
{
    MKString package = MKPathCombine(GetUpdaterFolder(folder), L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx");
    MKByteArray bytes;
    ASSERT_TRUE(MKReadFile(package, bytes));
    bytes[bytes.GetCount() - 1] ^= 0x55;
    ASSERT_TRUE(MKWriteFile(package, bytes.GetData(), bytes.GetCount()));
    UpdateInstaller installer(folder);
    ASSERT_TRUE(installer.Prepare());
    EXPECT_FALSE(installer.Verify());
    EXPECT_FALSE(MKFileExists(package));
    EXPECT_FALSE(IsReadyFilePresent(folder));
}

}  // namespace
