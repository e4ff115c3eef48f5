// The records of the updater folder against the Python oracle's golden bytes,
// both ways: the oracle's file reads as its fields, and the fields written
// again give the oracle's bytes.
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/AutoRunRecord.h"
#include "addin/update/CommandRecord.h"
#include "addin/update/ReadyRecord.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/UpdateHistory.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "base/MKTOArray.h"
#include "fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// Keep in step with update_fixtures.py.
const wchar_t kRunGuid[] = L"9A8B7C6D-5E4F-4A3B-9C2D-1E0F9A8B7C6D";
const wchar_t kInstallerGuid[] = L"C8D778F4-5666-4DE3-82BF-F55F5AF17CB4";
const wchar_t kOtherGuid[] = L"11111111-2222-3333-4444-555555555555";

MKGuid Guid(const wchar_t* text)
{
    MKGuid guid;
    EXPECT_TRUE(guid.Parse(text));
    return guid;
}

Bytes ReadAll(const MKString& path)
{
    MKByteArray bytes;
    MKReadFile(path, bytes);
    return ToBytes(bytes);
}

Bytes Golden(const wchar_t* name)
{
    return ReadAll(UpdateFixture((std::wstring(L"records\\") + name + L".bin").c_str()));
}

// An installation folder whose updater folder holds one golden record under
// the file name the record has there.
class UpdaterRecordsTest : public ::testing::Test {
protected:
    void Place(const wchar_t* golden, const MKString& path)
    {
        ASSERT_TRUE(EnsureUpdaterFolder(folder, nullptr));
        Bytes bytes = Golden(golden);
        ASSERT_FALSE(bytes.empty()) << golden;
        ASSERT_TRUE(MKWriteFile(path, bytes.data(), int(bytes.size())));
    }

    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
};

TEST_F(UpdaterRecordsTest, PathsLieInTheUpdaterFolder)
{
    MKString root = L"C:\\Product";
    EXPECT_STREQ(GetUpdaterFolder(root).GetText(), L"C:\\Product\\updater");
    EXPECT_STREQ(GetAddInDllPath(root).GetText(), L"C:\\Product\\VistelloAddIn.dll");
    EXPECT_STREQ(GetUpdaterAddInDllPath(root).GetText(), L"C:\\Product\\VistelloUpdaterAddIn.dll");
    EXPECT_STREQ(GetUpdaterExePath(root).GetText(), L"C:\\Product\\VistelloUpdater.exe");
    EXPECT_STREQ(GetDownloadedUpdaterPath(root).GetText(), L"C:\\Product\\updater\\VistelloUpdater.exe");
    EXPECT_STREQ(GetDownloadedSetupPath(root).GetText(), L"C:\\Product\\updater\\VistelloSetup.exe");
    EXPECT_STREQ(GetLockFilePath(root).GetText(), L"C:\\Product\\updater\\lock.dat");
    EXPECT_STREQ(GetReadyFilePath(root).GetText(), L"C:\\Product\\updater\\ready.dat");
    EXPECT_STREQ(GetHistoryFilePath(root).GetText(), L"C:\\Product\\updater\\history.dat");
}

TEST_F(UpdaterRecordsTest, CommandRecordMatchesTheOracleBothWays)
{
    struct Case {
        const wchar_t* golden;
        int32_t value;
        const wchar_t* text;
    } cases[] = {{L"cmd_request", 1, L"prepare"}, {L"cmd_reply", 209, L"Fehler \u00fc\u20ac"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteCommandFile(folder, nullptr, c.value, c.text));
        EXPECT_EQ(ReadAll(GetCommandFilePath(folder)), Golden(c.golden)) << c.golden;
        Place(c.golden, GetCommandFilePath(folder));
        int32_t value = -1;
        MKString text;
        ASSERT_TRUE(ReadCommandFile(folder, &value, &text)) << c.golden;
        EXPECT_EQ(value, c.value);
        EXPECT_STREQ(text.GetText(), c.text);
    }
    DeleteCommandFile(folder);
    int32_t value;
    MKString text;
    EXPECT_FALSE(ReadCommandFile(folder, &value, &text));
}

TEST_F(UpdaterRecordsTest, ReadersRefuseVersionsAndCutFilesAsTheFormatsSay)
{
    struct Case {
        const wchar_t* golden;
        bool readable;
    } commands[] = {{L"cmd_version_0", false}, {L"cmd_version_10000", true}, {L"cmd_version_10001", false},
                    {L"cmd_cut", false}};
    for (const Case& c : commands) {
        Place(c.golden, GetCommandFilePath(folder));
        int32_t value;
        MKString text;
        EXPECT_EQ(ReadCommandFile(folder, &value, &text), c.readable) << c.golden;
    }
    Case results[] = {{L"result", true}, {L"result_version_0", true}, {L"result_version_10001", false}};
    for (const Case& c : results) {
        Place(c.golden, GetResultFilePath(folder));
        int32_t step = 0, code = 0;
        bool prepare = false;
        MKString message;
        EXPECT_EQ(ReadResultFile(folder, &step, &prepare, &code, &message), c.readable) << c.golden;
    }
    Place(L"auto_version_0", GetAutoRunFilePath(folder));
    MKGuid run;
    EXPECT_TRUE(ReadAutoRunFile(folder, &run));
    EXPECT_EQ(run, Guid(kRunGuid));
}

TEST_F(UpdaterRecordsTest, ResultRecordReadsTheUpdateAddInsOutcome)
{
    EXPECT_FALSE(ResultRecord::Exists(folder));
    Place(L"result", GetResultFilePath(folder));
    EXPECT_TRUE(ResultRecord::Exists(folder));
    int32_t step = 0, code = 0;
    bool prepare = false;
    MKString message;
    ASSERT_TRUE(ReadResultFile(folder, &step, &prepare, &code, &message));
    EXPECT_EQ(step, 1);
    EXPECT_TRUE(prepare);
    EXPECT_EQ(code, 501);
    EXPECT_STREQ(message.GetText(), L"Unable to install files");
    ResultRecord::Delete(folder);
    EXPECT_FALSE(ResultRecord::Exists(folder));
}

TEST_F(UpdaterRecordsTest, AutoRunRecordMatchesTheOracleBothWays)
{
    ASSERT_TRUE(WriteAutoRunFile(folder, nullptr, Guid(kRunGuid)));
    EXPECT_EQ(ReadAll(GetAutoRunFilePath(folder)), Golden(L"auto"));
    MKGuid run;
    ASSERT_TRUE(ReadAutoRunFile(folder, &run));
    EXPECT_EQ(run, Guid(kRunGuid));
}

TEST_F(UpdaterRecordsTest, AFailedWriteLeavesTheEarlierRecordWhole)
{
    ASSERT_TRUE(WriteCommandFile(folder, nullptr, 1, L"prepare"));
    Bytes before = ReadAll(GetCommandFilePath(folder));
    // A file that cannot be replaced: the new record is refused, the old one
    // stays whole and no temporary file is left beside it.
    HANDLE held = CreateFileW(GetCommandFilePath(folder).GetText(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteCommandFile(folder, nullptr, 0, L"a much longer reply than the request was"));
    CloseHandle(held);
    EXPECT_EQ(ReadAll(GetCommandFilePath(folder)), before);
    MKTOArray<MKString> names;
    ASSERT_TRUE(MKListDirectory(GetUpdaterFolder(folder), names, false));
    EXPECT_EQ(names.GetCount(), 1);
}

TEST_F(UpdaterRecordsTest, ReadyRecordPutsTheInstallerSetupFirstAndWritesTheOraclesBytes)
{
    Place(L"ready", GetReadyFilePath(folder));
    ReadyRecord record(folder);
    ASSERT_TRUE(record.Load());
    EXPECT_EQ(record.kind, 3);
    EXPECT_EQ(record.version, MKVersion(4, 0, 1));
    EXPECT_EQ(record.updateType, 2);
    ASSERT_EQ(record.GetSetupCount(), 3);
    EXPECT_EQ(record.FindInstallerSetup(), 0);
    EXPECT_EQ(record.FindSetup(Guid(packagefixture::kKernelGuid)), 1);
    EXPECT_EQ(record.FindSetup(Guid(kOtherGuid)), 2);
    EXPECT_STREQ(record.GetSetupAt(0)->name.GetText(), L"Updater \u00e9");
    EXPECT_EQ(record.GetSetupAt(1)->version, MKVersion(4, 0, 1, 7));
    EXPECT_EQ(record.GetSetupAt(1)->size, 99999);
    EXPECT_EQ(record.GetSetupAt(2)->setupType, 3);
    EXPECT_EQ(record.FindSetupProgramPackage(), -1);
    EXPECT_STREQ(record.GetSetupAt(2)->GetPackagePath().GetText(),
                 (GetUpdaterFolder(folder) + L"\\11111111-2222-3333-4444-555555555555.vlx").GetText());

    ReadyRecord copy(folder);
    ASSERT_TRUE(record.CopyTo(copy));
    ASSERT_TRUE(WriteReadyFile(folder, nullptr, copy));
    EXPECT_EQ(ReadAll(GetReadyFilePath(folder)), Golden(L"ready_ordered"));
}

TEST_F(UpdaterRecordsTest, ReadyRecordRefusesCountsBeyondTheData)
{
    struct Case {
        const wchar_t* golden;
        bool readable;
    } cases[] = {{L"ready_count_size", false}, {L"ready_count_below", false}, {L"ready_version_0", false},
                 {L"ready_ordered", true}};
    for (const Case& c : cases) {
        Place(c.golden, GetReadyFilePath(folder));
        ReadyRecord record(folder);
        EXPECT_EQ(record.Load(), c.readable) << c.golden;
        if (!c.readable) {
            EXPECT_EQ(record.GetSetupCount(), 0) << c.golden;
        }
        ReadyRecord* loaded = LoadReadyFile(folder);
        EXPECT_EQ(loaded != nullptr, c.readable) << c.golden;
        delete loaded;
    }
    DeleteReadyFile(folder);
    EXPECT_FALSE(IsReadyFilePresent(folder));
    EXPECT_EQ(LoadReadyFile(folder), nullptr);
}

TEST_F(UpdaterRecordsTest, HistoryMatchesTheOracleAndExportsItsXml)
{
    Place(L"history", GetHistoryFilePath(folder));
    UpdateHistory history(folder);
    ASSERT_TRUE(history.Load());
    ASSERT_EQ(history.GetCount(), 2);
    EXPECT_TRUE(history.GetAt(0)->flag);
    EXPECT_EQ(history.GetAt(1)->method, 5);
    ASSERT_EQ(history.GetAt(1)->GetSetupCount(), 2);
    EXPECT_STREQ(history.GetAt(1)->GetSetupAt(0)->name.GetText(), L"a<b");

    std::ifstream file(UpdateFixture(L"records\\history.xml").GetText(), std::ios::binary);
    std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    MKString xml = history.WriteXml();
    EXPECT_EQ(std::string(xml.GetText(), xml.GetText() + xml.GetLength()), expected);

    MKString copy = MKPathCombine(GetUpdaterFolder(folder), L"copy.dat");
    ASSERT_TRUE(history.SaveTo(copy, nullptr));
    EXPECT_EQ(ReadAll(copy), Golden(L"history"));

    struct Case {
        const wchar_t* golden;
        bool readable;
    } cases[] = {{L"history_version_0", true}, {L"history_version_10001", false}, {L"history_cut", false}};
    for (const Case& c : cases) {
        Place(c.golden, GetHistoryFilePath(folder));
        EXPECT_EQ(history.Load(), c.readable) << c.golden;
    }
}

TEST(UpdateHistoryTest, TheSameVersionAgainMergesIntoOneEntry)
{
    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    ReadyRecord ready(folder);
    ready.version = MKVersion(5, 0);
    ready.updateType = 2;
    auto add = [&](const wchar_t* guid, const wchar_t* name, int32_t type) {
        ReadySetup* setup = new ReadySetup(&ready);
        setup->guid = Guid(guid);
        setup->name = name;
        setup->version = MKVersion(5, 0);
        setup->setupType = type;
        ASSERT_TRUE(ready.AddSetup(setup));
    };
    add(kInstallerGuid, L"Updater", 2);
    UpdateHistory history(folder);
    ASSERT_TRUE(history.AddUpdate(ready, 1, false));
    // The update add-in's later part of the same version.
    ready.RemoveSetup(0);
    add(kInstallerGuid, L"Updater renamed", 2);
    add(packagefixture::kKernelGuid, L"Kernel", 1);
    ASSERT_TRUE(history.AddUpdate(ready, 4, true));
    ASSERT_EQ(history.GetCount(), 1);
    const UpdateEntry& entry = *history.GetAt(0);
    EXPECT_EQ(entry.method, 4);
    EXPECT_TRUE(entry.flag);
    ASSERT_EQ(entry.GetSetupCount(), 2);
    EXPECT_STREQ(entry.FindSetup(Guid(kInstallerGuid))->name.GetText(), L"Updater renamed");
    // Another version is a new entry.
    ready.version = MKVersion(5, 1);
    ASSERT_TRUE(history.AddUpdate(ready, 2, false));
    EXPECT_EQ(history.GetCount(), 2);
    ASSERT_TRUE(history.Save(nullptr));
    UpdateHistory again(folder);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetCount(), 2);
    EXPECT_EQ(again.GetAt(1)->version, MKVersion(5, 1));
}

TEST(UpdateHistoryTest, EscapesTheFiveMarkupCharactersAsNumbers)
{
    MKString plain = L"Kernel 1";
    EXPECT_EQ(EscapeXmlText(plain).GetText(), plain.GetText());
    EXPECT_STREQ(EscapeXmlText(L"a<b").GetText(), L"a&#60;b");
    EXPECT_STREQ(EscapeXmlText(L"\"&'<>\u00e9").GetText(), L"&#34;&#38;&#39;&#60;&#62;\u00e9");
}

}  // namespace
