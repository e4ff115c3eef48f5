// The content hosting layer lives from the module's start to its stop: the
// add-in reaches the process's player version cache in between.
#include "LinkedAddIn.h"
#include "fixtures/ComScope.h"
#include "fixtures/InprocServerRegistration.h"
#include "fixtures/Fixtures.h"

#include "addin/core/AddInModule.h"
#include "addin/hosting/HostingModule.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/hosting/PlayerVersionProbes.h"

#include <gtest/gtest.h>

namespace {

TEST(HostingModule, TheAddInAnswersInstalledPlayerVersionsWhileTheModuleRuns)
{
    ComScope com;
    InprocServerRegistration flash(kFlashPlayerControlClsid);
    ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_a.dll")));
    EXPECT_EQ(GetHostingPlayerVersionCache(), nullptr);
    {
        LinkedAddIn linked;
        PlayerVersionCache* cache = linked.addIn->GetPlayerVersionCache();
        ASSERT_NE(cache, nullptr);
        EXPECT_EQ(cache->GetFlashVersion().ToString(), MKString(L"32.0.0.101"));
        // A show holds the cache: a new registration waits for its end.
        cache->AddUse();
        ASSERT_TRUE(flash.Register(TestsBinPath(L"player_stub_b.dll")));
        EXPECT_EQ(cache->GetFlashVersion().ToString(), MKString(L"32.0.0.101"));
        cache->ReleaseUse();
        EXPECT_EQ(cache->GetFlashVersion().ToString(), MKString(L"11.2.202.235"));
        flash.Unregister();
        EXPECT_EQ(cache->GetFlashVersion().ToString(), MKString(L"0.0"));
    }
    // The last factory stopped the module, which deleted the cache.
    EXPECT_EQ(GetHostingPlayerVersionCache(), nullptr);
}

TEST(HostingModule, StartAndStopMakeAndDeleteTheCacheAndKeepTheInstance)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(StartModule(instance));
    EXPECT_NE(GetHostingPlayerVersionCache(), nullptr);
    EXPECT_EQ(HostingModuleInstance(), instance);
    StopModule();
    EXPECT_EQ(GetHostingPlayerVersionCache(), nullptr);
}

}  // namespace
