// Installed player versions: the registered server's path (REG_SZ or
// REG_EXPAND_SZ), its file version, and the cache that keeps them while
// holders (slide shows) run.
#include "fixtures/InprocServerRegistration.h"
#include "fixtures/Fixtures.h"

#include "addin/hosting/InstalledControlPath.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/hosting/PlayerVersionProbes.h"
#include "base/MKTextBuffer.h"

#include <gtest/gtest.h>

namespace {

const MKVersion kStubA(32, 0, 0, 101);
const MKVersion kStubB(11, 2, 202, 235);

std::wstring Text(const MKVersion& version)
{
    return version.ToString().GetText();
}

// Both controls start unregistered and get their old registration back.
class PlayerVersions : public ::testing::Test {
protected:
    void SetUp() override
    {
        flash.Unregister();
        quickTime.Unregister();
    }

    InprocServerRegistration flash{kFlashPlayerControlClsid};
    InprocServerRegistration quickTime{kQuickTimeControlClsid};
};

TEST_F(PlayerVersions, TheProbeReadsTheRegisteredServersFileVersion)
{
    std::wstring folder = TestsBinPath(L"");
    folder.pop_back();  // no trailing separator: the variable stands for the folder
    ASSERT_TRUE(SetEnvironmentVariableW(L"VISTELLO_PLAYER_DIR", folder.c_str()));
    struct Case {
        const char* name;
        std::wstring path;
        DWORD type;
        bool found;
        MKVersion version;
    };
    const Case cases[] = {
        {"plain path", TestsBinPath(L"player_stub_a.dll"), REG_SZ, true, kStubA},
        {"expandable path", L"%VISTELLO_PLAYER_DIR%\\player_stub_b.dll", REG_EXPAND_SZ, true, kStubB},
        {"unexpanded text as REG_SZ", L"%VISTELLO_PLAYER_DIR%\\player_stub_b.dll", REG_SZ, false, MKVersion()},
        {"missing file", TestsBinPath(L"no_such_player.dll"), REG_SZ, false, MKVersion()},
        {"empty value", L"", REG_SZ, false, MKVersion()},
        {"value of another type", TestsBinPath(L"player_stub_a.dll"), REG_MULTI_SZ, false, MKVersion()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(flash.Register(c.path, c.type));
        MKVersion version(1, 1, 1, 1);
        EXPECT_EQ(ProbeFlashPlayerVersion(version), c.found);
        EXPECT_EQ(Text(version), Text(c.version));
    }
    ASSERT_TRUE(flash.Register(L"%VISTELLO_PLAYER_DIR%\\player_stub_a.dll", REG_EXPAND_SZ));
    EXPECT_EQ(std::wstring(GetInstalledControlPath(kFlashPlayerControlClsid).GetText()),
              TestsBinPath(L"player_stub_a.dll"));
    // The QuickTime control is looked up under its own class.
    MKVersion version;
    EXPECT_FALSE(ProbeQuickTimeControlVersion(version));
    ASSERT_TRUE(quickTime.Register(TestsBinPath(L"player_stub_b.dll")));
    EXPECT_TRUE(ProbeQuickTimeControlVersion(version));
    EXPECT_EQ(Text(version), Text(kStubB));
}

TEST_F(PlayerVersions, WithoutAKeyTheControlIsNotInstalled)
{
    MKVersion version(1, 2, 3, 4);
    EXPECT_FALSE(ProbeFlashPlayerVersion(version));
    EXPECT_EQ(Text(version), L"0.0");
    EXPECT_TRUE(GetInstalledControlPath(kFlashPlayerControlClsid).IsEmpty());
    PlayerVersionCache cache;
    EXPECT_TRUE(cache.GetFlashVersion() == PlayerVersionCache::NotInstalled());
    EXPECT_EQ(cache.GetFlashVersion().build, -1);
    EXPECT_EQ(cache.GetFlashVersion().revision, -1);
}

TEST_F(PlayerVersions, WithoutHoldersEveryQueryProbesAgain)
{
    PlayerVersionCache cache;
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_a.dll")));
    EXPECT_EQ(Text(cache.GetFlashVersion()), Text(kStubA));
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_b.dll")));
    EXPECT_EQ(Text(cache.GetFlashVersion()), Text(kStubB));
    flash.Unregister();
    EXPECT_EQ(Text(cache.GetFlashVersion()), L"0.0");
}

TEST_F(PlayerVersions, WhileHeldTheFirstProbeStaysUntilTheLastHolderLeaves)
{
    PlayerVersionCache cache;
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_a.dll")));
    cache.AddUse();
    cache.AddUse();
    EXPECT_EQ(Text(cache.GetFlashVersion()), Text(kStubA));
    EXPECT_EQ(Text(cache.GetQuickTimeControlVersion()), L"0.0");
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_b.dll")));
    ASSERT_TRUE(quickTime.Register(TestsBinPath(L"player_stub_a.dll")));
    EXPECT_EQ(Text(cache.GetFlashVersion()), Text(kStubA));
    EXPECT_EQ(Text(cache.GetQuickTimeControlVersion()), L"0.0");
    cache.ReleaseUse();
    EXPECT_EQ(cache.GetUseCount(), 1);
    EXPECT_EQ(Text(cache.GetFlashVersion()), Text(kStubA));
    cache.ReleaseUse();
    EXPECT_EQ(Text(cache.GetFlashVersion()), Text(kStubB));
    EXPECT_EQ(Text(cache.GetQuickTimeControlVersion()), Text(kStubA));
    // More releases than uses change nothing.
    cache.ReleaseUse();
    EXPECT_EQ(cache.GetUseCount(), 0);
}

TEST_F(PlayerVersions, TheReportNamesBothControls)
{
    PlayerVersionCache cache;
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_a.dll")));
    MKTextBuffer report;
    cache.WriteReport(report);
    EXPECT_STREQ(report.GetText(), L"Flash Player ActiveX 32.0.0.101\nQuickTime Control: not found\n");

    flash.Unregister();
    ASSERT_TRUE(quickTime.Register(TestsBinPath(L"player_stub_b.dll")));
    report.Clear();
    cache.WriteReport(report);
    EXPECT_STREQ(report.GetText(), L"Flash Player ActiveX: not found\nQuickTime Control 11.2.202.235\n");
}

}  // namespace
