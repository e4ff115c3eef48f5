// Module-level rules of the core linked into the test: the option that marks
// a PowerPoint started to show, the titles of show windows, and the module's
// start and stop.
#include "AddInTestSupport.h"
#include "LinkedAddIn.h"
#include "fixtures/ComScope.h"

#include "addin/core/AddInClassFactory.h"
#include "addin/core/AddInModule.h"
#include "addin/core/ShellHook.h"
#include "base/MKHostCache.h"
#include "base/MKSharedSecurity.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleRules, PowerPointIsStartedToShowOnlyWithTheSlashOptionS)
{
    struct Case {
        const wchar_t* commandLine;
        bool show;
    };
    for (Case c : {Case{L"POWERPNT.EXE /S \"C:\\Talk.pptx\"", true}, Case{L"POWERPNT.EXE /s Talk.pptx", true},
                   Case{L"\"C:\\Program Files\\POWERPNT.EXE\" /O /S x.ppt", true},
                   Case{L"POWERPNT.EXE -S Talk.pptx", false}, Case{L"POWERPNT.EXE /Show Talk.pptx", false},
                   Case{L"POWERPNT.EXE /SO Talk.pptx", false}, Case{L"POWERPNT.EXE Talk.pptx", false},
                   Case{L"POWERPNT.EXE -- /S", true}, Case{L"POWERPNT.EXE", false}, Case{L"", false}}) {
        EXPECT_EQ(CommandLineAsksToShow(c.commandLine), c.show) << ::testing::PrintToString(std::wstring(c.commandLine));
    }
}

TEST(ModuleRules, AShowWindowTitleNamesAPresentationInBrackets)
{
    struct Case {
        const wchar_t* title;
        bool named;
    };
    for (Case c : {Case{L"PowerPoint Slide Show - [Talk.pptx]", true}, Case{L"[x]", true}, Case{L"a [b] c", true},
                   Case{L"[]", false}, Case{L"PowerPoint Slide Show", false}, Case{L"[Talk.pptx", false},
                   Case{L"Talk.pptx]", false}, Case{L"]Talk[", false}, Case{L"", false}, Case{L"[][x]", false}}) {
        EXPECT_EQ(ShellHook::TitleNamesPresentation(c.title), c.named) << ::testing::PrintToString(std::wstring(c.title));
    }
}

TEST(ModuleRules, AModuleThatDidNotStartIsNotStopped)
{
    // Shared security made by someone else stays when a module that never
    // started is stopped.
    ASSERT_TRUE(MKSharedSecurity::CreateGlobal());
    StopModule();
    EXPECT_NE(MKSharedSecurity::Global(), nullptr);

    // The module's own start is undone by its stop, once.
    MKSharedSecurity::DestroyGlobal();
    ASSERT_TRUE(StartModule(nullptr));
    EXPECT_NE(MKSharedSecurity::Global(), nullptr);
    StopModule();
    EXPECT_EQ(MKSharedSecurity::Global(), nullptr);
    ASSERT_TRUE(MKSharedSecurity::CreateGlobal());
    StopModule();
    EXPECT_NE(MKSharedSecurity::Global(), nullptr);
    MKSharedSecurity::DestroyGlobal();
}

TEST(ModuleRules, TheHostNameCacheLivesFromModuleStartToStop)
{
    uint32_t address = 0;
    int error = 0;
    ASSERT_TRUE(StartModule(nullptr));
    MKHostCache::Store(MKString(L"cached.example"), 0x0100007F, 0);
    EXPECT_TRUE(MKHostCache::Lookup(MKString(L"cached.example"), &address, &error));
    EXPECT_EQ(0x0100007Fu, address);
    StopModule();
    // Without a cache nothing is remembered.
    EXPECT_FALSE(MKHostCache::Lookup(MKString(L"cached.example"), &address, &error));
}

TEST(ModuleRules, TheLastFactoryStopsTheModuleTheFirstStartsIt)
{
    ComScope com;
    {
        LinkedAddIn first;
        EXPECT_EQ(*ServerLockCount(), 1);
        EXPECT_NE(MKSharedSecurity::Global(), nullptr);
        LinkedAddIn second;
        EXPECT_EQ(*ServerLockCount(), 2);
        first.addIn->Release();
        // The connection went with the add-in.
        first.addIn = nullptr;
        first.connection = nullptr;
        EXPECT_EQ(*ServerLockCount(), 1);
        EXPECT_NE(MKSharedSecurity::Global(), nullptr);
    }
    EXPECT_EQ(*ServerLockCount(), 0);
    EXPECT_EQ(MKSharedSecurity::Global(), nullptr);
}

TEST(ModuleRules, TheModuleLockIsThereWhileTheRuntimeIsHeld)
{
    EXPECT_EQ(GetModuleCriticalSection(), nullptr);
    ASSERT_TRUE(AcquireModuleRuntime());
    ASSERT_TRUE(AcquireModuleRuntime());
    CRITICAL_SECTION* section = GetModuleCriticalSection();
    ASSERT_NE(section, nullptr);
    EnterModuleLock();
    EXPECT_TRUE(TryEnterCriticalSection(section));
    LeaveCriticalSection(section);
    LeaveModuleLock();
    ReleaseModuleRuntime();
    EXPECT_EQ(GetModuleCriticalSection(), section);
    ReleaseModuleRuntime();
    EXPECT_EQ(GetModuleCriticalSection(), nullptr);
    // More releases than references change nothing.
    ReleaseModuleRuntime();
    ASSERT_TRUE(AcquireModuleRuntime());
    EXPECT_NE(GetModuleCriticalSection(), nullptr);
    ReleaseModuleRuntime();
}

}  // namespace
