// The update schedule and "state.dat", the RunOnce schedule with "auto.dat",
// Windows' pending renames and the reboot marker.
#include "AddInTestSupport.h"
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/AutoRunRecord.h"
#include "addin/update/PendingRenames.h"
#include "addin/update/StateRecord.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Bytes ReadAll(const MKString& path)
{
    MKByteArray bytes;
    MKReadFile(path, bytes);
    return ToBytes(bytes);
}

// 2016-01-02 03:00 UTC, as update_fixtures.py writes it.
MKDateTime LastCheck()
{
    return MKDateTime::FromParts(2016, 1, 2, 3, 0, 0, MKDateTimeUtc);
}

class ScheduleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr)); }

    void WriteState(const MKDateTime& lastCheck)
    {
        StateRecord state(folder, clock);
        state.SetLastCheck(lastCheck);
        ASSERT_TRUE(state.Save(nullptr));
    }

    MKDateTime StoredLastCheck()
    {
        StateRecord state(folder, clock);
        state.SetLastCheck(MKDateTime());
        EXPECT_TRUE(state.Load());
        return state.GetLastCheck();
    }

    void PlaceGolden(const wchar_t* name)
    {
        Bytes bytes = ReadAll(UpdateFixture((std::wstring(L"records\\") + name + L".bin").c_str()));
        ASSERT_TRUE(MKWriteFile(GetStateFilePath(folder), bytes.data(), int(bytes.size())));
    }

    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    FixedClock clock{6000};
};

TEST_F(ScheduleTest, StateFileMatchesTheOracleBothWays)
{
    WriteState(LastCheck());
    EXPECT_EQ(ReadAll(GetStateFilePath(folder)),
              ReadAll(UpdateFixture(L"records\\state.bin")));
    for (const wchar_t* readable : {L"state", L"state_extension", L"state_version_0"}) {
        PlaceGolden(readable);
        EXPECT_EQ(StoredLastCheck().GetValue(), LastCheck().GetValue()) << readable;
    }
    PlaceGolden(L"state_version_10001");
    StateRecord state(folder, clock);
    EXPECT_FALSE(state.Load());
}

TEST_F(ScheduleTest, NoStateFileInAWritableFolderIsAFirstRun)
{
    EXPECT_TRUE(IsCheckDue(folder, 2, nullptr, clock));
    // Asking leaves nothing behind.
    EXPECT_FALSE(MKFileExists(GetStateFilePath(folder)));
}

TEST_F(ScheduleTest, AFreshInstallationWithoutItsUpdaterFolderIsAFirstRun)
{
    ASSERT_TRUE(RemoveDirectoryW(GetUpdaterFolder(folder).GetText()));
    EXPECT_TRUE(IsCheckDue(folder, 2, nullptr, clock));
    EXPECT_FALSE(MKFileExists(GetStateFilePath(folder)));
}

TEST_F(ScheduleTest, TheIntervalFollowsTheFrequencyCode)
{
    struct Case {
        int32_t code;
        double daysAgo;
        bool due;
    } cases[] = {
        {2, 28, false}, {2, 29, true}, {11, 0.9, false}, {11, 1, true}, {1, 7.9, false}, {1, 8, true},
        {10, 167, false}, {10, 168, true}, {17, 7, true}, {17, 6.9, false},
        // Codes outside 1 to 17 take the default code's interval (2: 29 days,
        // the test clock lies outside the 2010-2011 window).
        {0, 28, false}, {0, 29, true}, {99, 28, false}, {99, 29, true},
    };
    for (const Case& c : cases) {
        WriteState(clock.UtcNow().AddDays(-c.daysAgo));
        EXPECT_EQ(IsCheckDue(folder, c.code, nullptr, clock), c.due) << c.code << " " << c.daysAgo;
    }
}

TEST_F(ScheduleTest, ADamagedFileStartsTheIntervalNow)
{
    for (const wchar_t* damaged : {L"state_version_10001", L"cmd_request"}) {
        PlaceGolden(damaged);
        EXPECT_FALSE(IsCheckDue(folder, 11, nullptr, clock)) << damaged;
        EXPECT_EQ(StoredLastCheck().GetValue(), clock.UtcNow().GetValue()) << damaged;
    }
}

TEST_F(ScheduleTest, ALastCheckInTheFutureIsClampedToNow)
{
    WriteState(clock.UtcNow().AddDays(365));
    EXPECT_FALSE(IsCheckDue(folder, 11, nullptr, clock));
    EXPECT_EQ(StoredLastCheck().GetValue(), clock.UtcNow().GetValue());
    // One interval later the check is due, not a year and an interval later.
    clock.SetUtc(clock.UtcNow().AddDays(1));
    EXPECT_TRUE(IsCheckDue(folder, 11, nullptr, clock));
}

TEST_F(ScheduleTest, AStateFileThatCannotBeWrittenStopsAutomaticChecks)
{
    WriteState(clock.UtcNow().AddDays(-30));
    HANDLE held = CreateFileW(GetStateFilePath(folder).GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    StateRecord state(folder, clock);
    EXPECT_FALSE(state.CanWrite());
    EXPECT_FALSE(IsCheckDue(folder, 2, nullptr, clock));
    CloseHandle(held);
    EXPECT_TRUE(IsCheckDue(folder, 2, nullptr, clock));
    EXPECT_TRUE(state.SaveNow(nullptr));
    EXPECT_FALSE(IsCheckDue(folder, 2, nullptr, clock));
}

// The RunOnce value of the current user, as reg.exe shows it.
std::string QueryRunOnce()
{
    for (const std::string& line : RegQuery(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce")) {
        if (line.rfind("VistelloUpdater", 0) == 0)
            return line;
    }
    return std::string();
}

TEST(ScheduledRunTest, RunOnceAndAutoDatNameTheSameRun)
{
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    MKString program = GetUpdaterExePath(folder);
    ASSERT_TRUE(MKWriteFile(program, "MZ", 2));
    ASSERT_TRUE(ScheduleRun(folder, nullptr, L"  \"" + program + L"\"  ", L"update path \"C:\\x y\""));
    MKGuid run;
    ASSERT_TRUE(ReadAutoRunFile(folder, &run));
    MKString expected = MKString::PrependText(L"\"", program) + L"\" update path \"C:\\x y\" /silent /auto " +
        run.FormatUpper();
    EXPECT_STREQ(GetScheduledRunCommand().GetText(), expected.GetText());
    std::string shown = QueryRunOnce();
    std::string narrow(expected.GetText(), expected.GetText() + expected.GetLength());
    EXPECT_NE(shown.find("REG_SZ"), std::string::npos) << shown;
    EXPECT_NE(shown.find(narrow), std::string::npos) << shown;
    EXPECT_TRUE(IsScheduledRunPending(folder));

    // An older schedule's identifier no longer names the pending run.
    MKGuid older;
    older.Create();
    ASSERT_TRUE(WriteAutoRunFile(folder, nullptr, older));
    EXPECT_FALSE(IsScheduledRunPending(folder));
    ASSERT_TRUE(WriteAutoRunFile(folder, nullptr, run));
    // Nor does a command whose program is gone.
    ASSERT_TRUE(MKFileRemove(program));
    EXPECT_FALSE(IsScheduledRunPending(folder));

    RemoveScheduledRun(folder);
    EXPECT_TRUE(GetScheduledRunCommand().IsEmpty());
    EXPECT_EQ(QueryRunOnce(), "");
    EXPECT_FALSE(MKFileExists(GetAutoRunFilePath(folder)));
}

TEST(PendingRenamesTest, AMarkerListedForDeletionAtTheNextStartIsSeen)
{
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    MKString marker = GetRebootFilePath(folder);
    EXPECT_FALSE(IsRebootFilePresent(folder));
    ASSERT_TRUE(MKWriteFile(marker, "", 0));
    EXPECT_TRUE(IsRebootFilePresent(folder));
    MKString moved = marker + L".moved";
    ASSERT_TRUE(MKWriteFile(moved, "", 0));

    HKEY manager = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                            KEY_READ | KEY_WRITE, &manager),
              ERROR_SUCCESS);
    RegDeleteValueW(manager, L"PendingFileRenameOperations");
    bool listed = true;
    ASSERT_TRUE(IsPendingRename(marker, &listed));
    EXPECT_FALSE(listed);

    // A move first, then the deletion: the deletion's empty target must not
    // end the list.
    ASSERT_TRUE(MoveFileExW(moved.GetText(), marker.GetText(), MOVEFILE_DELAY_UNTIL_REBOOT));
    ASSERT_TRUE(MoveFileExW(marker.GetText(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    std::vector<std::string> shown = RegQuery(L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager");
    std::string narrow(marker.GetText(), marker.GetText() + marker.GetLength());
    bool prefixed = std::any_of(shown.begin(), shown.end(), [&](const std::string& line) {
        return line.rfind("PendingFileRenameOperations", 0) == 0 && line.find("\\??\\" + narrow) != std::string::npos;
    });
    EXPECT_TRUE(prefixed);
    MKTOArray<MKString> list;
    ASSERT_TRUE(ReadPendingRenames(list));
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_TRUE(list[3].IsEmpty());
    ASSERT_TRUE(IsPendingRename(marker, &listed));
    EXPECT_TRUE(listed);
    // Only deletions count: the moved file is a rename source.
    ASSERT_TRUE(IsPendingRename(moved, &listed));
    EXPECT_FALSE(listed);

    // A value of another type cannot be read.
    ASSERT_EQ(RegSetValueExW(manager, L"PendingFileRenameOperations", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(L"x"), 4),
              ERROR_SUCCESS);
    EXPECT_FALSE(ReadPendingRenames(list));
    RegDeleteValueW(manager, L"PendingFileRenameOperations");
    RegCloseKey(manager);
}

TEST(DeleteInstallerProgramsTest, RetriesWhileAProgramIsHeldAndGivesUpAfterTheLimit)
{
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
    MKString updater = GetDownloadedUpdaterPath(folder);
    MKString setup = GetDownloadedSetupPath(folder);
    ASSERT_TRUE(MKWriteFile(updater, "MZ", 2));
    ASSERT_TRUE(MKWriteFile(setup, "MZ", 2));
    HANDLE held = CreateFileW(setup.GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DWORD start = GetTickCount();
    DeleteInstallerPrograms(folder, 1000);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 3000u);
    EXPECT_FALSE(MKFileExists(updater));
    EXPECT_TRUE(MKFileExists(setup));
    CloseHandle(held);
    start = GetTickCount();
    DeleteInstallerPrograms(folder, 1000);
    EXPECT_LT(GetTickCount() - start, 500u);
    EXPECT_FALSE(MKFileExists(setup));
}

}  // namespace
