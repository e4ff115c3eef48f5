// The update checker against the loopback server playing the update service:
// the exact forms it posts, the replies it takes or refuses, the downloads it
// records, and stopping it while the service stalls.
#include "FileTree.h"
#include "PackageFixtures.h"
#include "RecordFixtures.h"

#include "addin/update/ReadyRecord.h"
#include "addin/update/StateRecord.h"
#include "addin/update/UpdateChecker.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterLock.h"
#include "base/MKFile.h"
#include "base/MKPath.h"
#include "fixtures/Fixtures.h"
#include "fixtures/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace {

const char kMagic[] = "check_for_updates_result_1\n";
const char kKernel[] = "B80321F4-6A3C-48C1-89A9-FDCFF7BA605A";

UpdateCheckFacts Facts()
{
    UpdateCheckFacts facts;
    facts.installationGuid = L"0123456789ABCDEF0123456789ABCDEF";
    facts.mbrid = 7;
    facts.officeVersionKnown = true;
    facts.officeVersion = 14;
    facts.officeLanguageKnown = true;
    facts.officeLanguage = 1033;
    facts.userLanguageKnown = true;
    facts.userLanguage = 1031;
    facts.windowsVersion = 1060001;
    MKTArray<FeatureUses> features;
    features.Add({0x123456, 7});
    features.Add({0xABC, -1});
    features.Add({0x42, 0});
    facts.usage = MakeUsageString(3, 4, 0x1FF, 6, features);
    facts.frequency = 2;
    return facts;
}

std::string Body(const std::string& request)
{
    size_t at = request.find("\r\n\r\n");
    return at == std::string::npos ? std::string() : request.substr(at + 4);
}

class Settings : public UpdateCheckSettings {
public:
    void DisableAutoCheck() override { ++disabled; }
    void SetUpdateFrequency(int32_t code) override { frequency = code; }
    int disabled = 0;
    int32_t frequency = 0;
};

// An installation of Setup 3.0 (update_fixtures.py's "installer" folder)
// without its downloaded update; the update's package is what the service
// offers for download.
class UpdateCheckerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CopyFixtureTree(L"installer", scratch.path());
        MKString downloaded = MKPathCombine(GetUpdaterFolder(folder), L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx");
        MKByteArray bytes;
        ASSERT_TRUE(MKReadFile(downloaded, bytes));
        package.assign(reinterpret_cast<const char*>(bytes.GetData()), size_t(bytes.GetCount()));
        ASSERT_TRUE(MKFileRemove(downloaded));
        DeleteReadyFile(folder);
    }

    std::string Offer(const char* action = "Install", const char* version = "4.0")
    {
        return std::string(kMagic) + "{\"Version\": Version(\"4.0\"), \"Setups\": [{\"InternalName\": \"Setup\", " +
            "\"Guid\": Guid(\"{" + kKernel + "}\"), \"Version\": Version(\"" + version + "\"), \"Size\": " +
            std::to_string(package.size()) + ", \"Action\": \"" + action + "\"}]}";
    }

    // Runs a check to its end against the server; the final status.
    int32_t Check(LoopbackHttpServer& server, bool automatic = true)
    {
        UpdateChecker checker(folder, clock);
        checker.SetServiceUrl(server.Url(L"").c_str());
        if (automatic)
            checker.SetStartDelay(1);
        EXPECT_TRUE(checker.Start(Facts(), &settings));
        for (int i = 0; i < 1000 && !checker.HasThreadEnded(); ++i)
            Sleep(20);
        EXPECT_TRUE(checker.HasThreadEnded());
        return checker.GetStatus();
    }

    ScratchFolder scratch;
    MKString folder = scratch.path().c_str();
    FixedClock clock{6000};
    Settings settings;
    std::string package;
};

TEST_F(UpdateCheckerTest, PostsTheExactFormWithItsUserAgent)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(std::string(kMagic) + "null");
    ASSERT_TRUE(server.Start(reply));
    EXPECT_EQ(Check(server), UpdateCheckNothingOffered);
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("POST /updates/vistello/check/ HTTP/1.1\r\n", 0), 0u) << requests[0];
    EXPECT_NE(requests[0].find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.0)\r\n"),
              std::string::npos)
        << requests[0];
    // Automatic (1) and no "state.dat" yet (2); the usage string leaves out
    // the feature without recent uses and keeps the low byte of the source.
    EXPECT_EQ(Body(requests[0]),
              "iguid=0123456789ABCDEF0123456789ABCDEF&mbrid=7&uwv=1&gv=3.0&flags=3&uf=2&mso_ver=14&mso_lcid=1033"
              "&user_lcid=1031&win_ver=1060001&addons=2%3B3%3B4%3B255%3B6%3B123456%3A7%3B000042%3A0");
    // The check time is saved: the next automatic check waits an interval.
    StateRecord state(folder, clock);
    ASSERT_TRUE(state.Load());
    EXPECT_EQ(state.GetLastCheck().GetValue(), clock.UtcNow().GetValue());
    EXPECT_FALSE(IsCheckDue(folder, 2, nullptr, clock));
}

TEST_F(UpdateCheckerTest, EveryBadAnswerLeavesTheInstallationAsItWas)
{
    // A pending update of an earlier check stays through a failed one.
    ReadyRecord pending(folder);
    pending.version = MKVersion(3, 5);
    ASSERT_TRUE(WriteReadyFile(folder, nullptr, pending));
    std::string cut = LoopbackHttpServer::Ok(Offer());
    cut.resize(cut.size() - 10);
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"CRLF", LoopbackHttpServer::Ok("check_for_updates_result_1\r\nnull")},
        {"garbage", LoopbackHttpServer::Ok("<html>busy</html>")},
        {"bad document", LoopbackHttpServer::Ok(std::string(kMagic) + "{\"Version\": ")},
        {"500", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"},
        {"truncated", cut},
        {"version without setups", LoopbackHttpServer::Ok(std::string(kMagic) + "{\"Version\": Version(\"4.0\")}")},
    };
    for (const Case& c : cases) {
        FileTree before = ReadFileTree(scratch.path());
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply reply;
        reply.bytes = c.bytes;
        ASSERT_TRUE(server.Start(reply));
        EXPECT_EQ(Check(server), UpdateCheckFailed) << c.name;
        FileTree after = ReadFileTree(scratch.path());
        after.erase(L"updater\\state.dat");
        before.erase(L"updater\\state.dat");
        EXPECT_EQ(after, before) << c.name;
        EXPECT_EQ(server.Requests().size(), 1u) << c.name;
    }
}

TEST_F(UpdateCheckerTest, AReplyLargerThanOneMegabyteIsRefused)
{
    // "null" padded with blanks to the size of the case: the document is the
    // same, only the size tells the cases apart.
    const size_t limit = 1024 * 1024;
    const struct {
        size_t size;
        int32_t status;
    } cases[] = {{limit, UpdateCheckNothingOffered}, {limit + 1, UpdateCheckFailed}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        std::string body = std::string(kMagic) + "null";
        body.resize(c.size, ' ');
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply reply;
        reply.bytes = LoopbackHttpServer::Ok(body);
        ASSERT_TRUE(server.Start(reply));
        EXPECT_EQ(Check(server, false), c.status);
    }
}

TEST_F(UpdateCheckerTest, DownloadsVerifiesAndRecordsWhatIsOffered)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply check;
    check.bytes = LoopbackHttpServer::Ok(Offer());
    LoopbackHttpServer::Reply download;
    download.bytes = LoopbackHttpServer::Ok(package);
    server.SetReplyFor("/updates/vistello/download/", download);
    ASSERT_TRUE(server.Start(check));
    EXPECT_EQ(Check(server, false), UpdateCheckRecorded);
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].rfind("POST /updates/vistello/download/ HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(Body(requests[1]),
              "iguid=0123456789ABCDEF0123456789ABCDEF&mbrid=7&uwv=1&s=b80321f4-6a3c-48c1-89a9-fdcff7ba605a&v=4.0");
    ReadyRecord ready(folder);
    ASSERT_TRUE(ready.Load());
    EXPECT_EQ(ready.kind, 2);
    EXPECT_EQ(ready.version, MKVersion(4, 0));
    ASSERT_EQ(ready.GetSetupCount(), 1);
    // Installed in an older version: an update.
    EXPECT_EQ(ready.GetSetupAt(0)->setupType, 2);
    EXPECT_TRUE(ready.Verify(true));

    // The same offer again: the package is there already, nothing is
    // downloaded.
    LoopbackHttpServer again;
    again.SetReplyFor("/updates/vistello/download/", download);
    ASSERT_TRUE(again.Start(check));
    EXPECT_EQ(Check(again, false), UpdateCheckRecorded);
    EXPECT_EQ(again.Requests().size(), 1u);
}

TEST_F(UpdateCheckerTest, SetupsThatAreNotToBeInstalledAreNotTaken)
{
    const std::string offers[] = {Offer("install"), Offer("Install", "3.0"), Offer("Install", "2.9")};
    for (const std::string& offer : offers) {
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply reply;
        reply.bytes = LoopbackHttpServer::Ok(offer);
        ASSERT_TRUE(server.Start(reply));
        EXPECT_EQ(Check(server), UpdateCheckNothingOffered) << offer;
        EXPECT_FALSE(IsReadyFilePresent(folder));
    }
}

TEST_F(UpdateCheckerTest, TheReplyMayTurnAutomaticChecksOffAndChangeTheFrequency)
{
    struct Case {
        const char* document;
        int disabled;
        int32_t frequency;
    } cases[] = {
        {"{\"DisableAutoCheck\": true, \"UpdateCheckFreq\": 11}", 1, 11},
        {"{\"DisableAutoCheck\": false, \"UpdateCheckFreq\": 18}", 0, 0},
        {"{\"UpdateCheckFreq\": 2}", 0, 0},
    };
    for (const Case& c : cases) {
        settings = Settings();
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply reply;
        reply.bytes = LoopbackHttpServer::Ok(std::string(kMagic) + c.document);
        ASSERT_TRUE(server.Start(reply));
        EXPECT_EQ(Check(server), UpdateCheckNothingOffered) << c.document;
        EXPECT_EQ(settings.disabled, c.disabled) << c.document;
        EXPECT_EQ(settings.frequency, c.frequency) << c.document;
    }
}

TEST_F(UpdateCheckerTest, StopDuringAStalledDownloadEndsTheThreadInTime)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply check;
    check.bytes = LoopbackHttpServer::Ok(Offer());
    LoopbackHttpServer::Reply stall;
    stall.bytes = LoopbackHttpServer::Ok(package);
    stall.pauseAt = 200;
    stall.pauseMs = 25000;
    server.SetReplyFor("/updates/vistello/download/", stall);
    ASSERT_TRUE(server.Start(check));
    Bytes before;
    {
        UpdateChecker checker(folder, clock);
        checker.SetServiceUrl(server.Url(L"").c_str());
        ASSERT_TRUE(checker.Start(Facts(), &settings));
        ASSERT_TRUE(server.WaitForRequests(2, 10000));
        Sleep(300);
        EXPECT_GE(checker.GetStatus(), int32_t(UpdateCheckDownloading));
        DWORD start = GetTickCount();
        EXPECT_TRUE(checker.Stop());
        EXPECT_LE(GetTickCount() - start, DWORD(UpdateChecker::kStopWaitMs));
        EXPECT_TRUE(checker.HasThreadEnded());
        EXPECT_EQ(checker.GetStatus(), int32_t(UpdateCheckStopped));
    }
    server.Stop();
    // The cut download is gone, no record was written, the lock is free and
    // a stopped check leaves the check time alone.
    EXPECT_FALSE(MKFileExists(MKPathCombine(GetUpdaterFolder(folder), L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx")));
    EXPECT_FALSE(IsReadyFilePresent(folder));
    EXPECT_FALSE(MKFileExists(GetStateFilePath(folder)));
    EXPECT_FALSE(UpdaterLock(folder).IsLocked());
}

TEST_F(UpdateCheckerTest, StopDuringTheStartDelayTouchesNothing)
{
    UpdateChecker checker(folder, clock);
    checker.SetServiceUrl(L"http://127.0.0.1:9");
    checker.SetStartDelay(5000);
    ASSERT_TRUE(checker.Start(Facts(), &settings));
    ASSERT_TRUE(checker.Start(Facts(), &settings));
    DWORD start = GetTickCount();
    EXPECT_TRUE(checker.Stop());
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(checker.GetStatus(), int32_t(UpdateCheckThreadStarted));
    EXPECT_FALSE(MKFileExists(GetStateFilePath(folder)));
}

TEST_F(UpdateCheckerTest, AnInstallationHoldingTheLockKeepsTheCheckOut)
{
    UpdaterLock installation(folder);
    ASSERT_TRUE(installation.Acquire());
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply reply;
    reply.bytes = LoopbackHttpServer::Ok(Offer());
    ASSERT_TRUE(server.Start(reply));
    EXPECT_EQ(Check(server), UpdateCheckFailed);
    EXPECT_TRUE(server.Requests().empty());
    installation.Release();
}

TEST_F(UpdateCheckerTest, ADownloadLargerThanAnnouncedEndsAtOnceAndIsDeleted)
{
    const std::string downloaded = "b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx";
    struct Case {
        const char* name;
        std::string body;
        int64_t announced;
        // Send the body up to here, then hold the connection.
        int pauseAt;
    };
    const Case cases[] = {
        {"one byte over", package, int64_t(package.size()) - 1, -1},
        // A reply that goes on: the check must end at the bound, not wait
        // for the rest.
        {"goes on", package + std::string(256 * 1024, 'x'), int64_t(package.size()), int(package.size()) + 200000},
    };
    for (const Case& c : cases) {
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply check;
        std::string offer = Offer();
        const std::string stated = "\"Size\": " + std::to_string(package.size());
        ASSERT_NE(offer.find(stated), std::string::npos);
        offer.replace(offer.find(stated), stated.size(), "\"Size\": " + std::to_string(c.announced));
        check.bytes = LoopbackHttpServer::Ok(offer);
        LoopbackHttpServer::Reply download;
        download.bytes = LoopbackHttpServer::Ok(c.body);
        download.pauseAt = c.pauseAt;
        download.pauseMs = c.pauseAt >= 0 ? 60000 : 0;
        server.SetReplyFor("/updates/vistello/download/", download);
        ASSERT_TRUE(server.Start(check));
        EXPECT_EQ(Check(server, false), UpdateCheckDownloadFailed) << c.name;
        server.Stop();
        std::wstring name(downloaded.begin(), downloaded.end());
        EXPECT_FALSE(MKFileExists(MKPathCombine(GetUpdaterFolder(folder), name.c_str()))) << c.name;
        EXPECT_FALSE(IsReadyFilePresent(folder)) << c.name;
        EXPECT_FALSE(UpdaterLock(folder).IsLocked()) << c.name;
    }
}

TEST_F(UpdateCheckerTest, ACheckReplyPastItsBoundFailsWithoutADownload)
{
    // The offer with blanks between its tokens: 512 KiB of them stay below
    // the 1 MiB bound and the offer is downloaded (the control), 1 MiB and
    // more end the check, also while the server holds the connection open.
    struct Case {
        const char* name;
        size_t blanks;
        int pauseAt;
        int32_t status;
        size_t requests;
    };
    const Case cases[] = {
        {"below the bound", 512 * 1024, -1, UpdateCheckRecorded, 2},
        {"past the bound", 1024 * 1024, -1, UpdateCheckFailed, 1},
        {"goes on", 2 * 1024 * 1024, 1536 * 1024, UpdateCheckFailed, 1},
    };
    for (const Case& c : cases) {
        DeleteReadyFile(folder);
        std::string offer = Offer();
        offer.insert(offer.find('{') + 1, std::string(c.blanks, ' '));
        LoopbackHttpServer server;
        LoopbackHttpServer::Reply check;
        check.bytes = LoopbackHttpServer::Ok(offer);
        check.pauseAt = c.pauseAt;
        check.pauseMs = c.pauseAt >= 0 ? 60000 : 0;
        LoopbackHttpServer::Reply download;
        download.bytes = LoopbackHttpServer::Ok(package);
        server.SetReplyFor("/updates/vistello/download/", download);
        ASSERT_TRUE(server.Start(check));
        EXPECT_EQ(Check(server, false), c.status) << c.name;
        server.Stop();
        EXPECT_EQ(server.Requests().size(), c.requests) << c.name;
        EXPECT_EQ(IsReadyFilePresent(folder), c.status == UpdateCheckRecorded) << c.name;
        EXPECT_FALSE(UpdaterLock(folder).IsLocked()) << c.name;
    }
}

TEST_F(UpdateCheckerTest, ADownloadThatFailsItsCheckIsDeletedAndNotRecorded)
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply check;
    check.bytes = LoopbackHttpServer::Ok(Offer());
    std::string damaged = package;
    // The last byte belongs to the last item's data: its digest fails.
    damaged.back() = char(damaged.back() ^ 0x5A);
    LoopbackHttpServer::Reply download;
    download.bytes = LoopbackHttpServer::Ok(damaged);
    server.SetReplyFor("/updates/vistello/download/", download);
    ASSERT_TRUE(server.Start(check));
    EXPECT_EQ(Check(server, false), UpdateCheckRecordingFailed);
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_FALSE(MKFileExists(MKPathCombine(GetUpdaterFolder(folder), L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a.vlx")));
    EXPECT_FALSE(IsReadyFilePresent(folder));
    // The check itself was answered: its time is kept.
    EXPECT_TRUE(MKFileExists(GetStateFilePath(folder)));
}

}  // namespace
