// The Flash preloader as the built add-in runs it in the stand-in PowerPoint:
// the Flash control is loaded once, in a hidden host, when start-up completes
// and let go at shut-down.
#include "AddInTestSupport.h"
#include "ScratchInstallation.h"
#include "fixtures/StandInClr.h"
#include "fixtures/ComScope.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using standin::PowerPointHost;

namespace {

BOOL CALLBACK CountHiddenHostWindow(HWND window, LPARAM found)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    RECT rect;
    GetWindowRect(window, &rect);
    if (wcsncmp(name, L"_brelix_handy_class_", 20) == 0 && !IsWindowVisible(window) && IsRectEmpty(&rect))
        ++*reinterpret_cast<int*>(found);
    return TRUE;
}

// The hidden windows of this thread that node hosts make for themselves:
// helper windows that are given no size.
int HiddenHostWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountHiddenHostWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

long Count(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    return long(std::count(lines.begin(), lines.end(), line));
}

class FlashPreloaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(install.Registered(), S_OK); }

    ComScope com;
    // The add-in starts the plug-ins of its installation.
    StandInClr clr;
    ScratchInstallation install{L"full"};
    AddInLibrary& library = install.Library();
};

TEST_F(FlashPreloaderTest, LoadsTheFlashControlOnceAtStartUpAndLetsItGoAtShutDown)
{
    ControlRegistration registration(StandInControl::Flash10);
    ControlLogFile log;
    PowerPointHost host(L"14.0");
    const int before = HiddenHostWindows();
    host.Start();
    ASSERT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
    std::vector<std::wstring> lines = log.Lines();
    EXPECT_EQ(1, Count(lines, L"flash IOleObject.SetClientSite(site)"));
    EXPECT_EQ(1, Count(lines, L"flash IPersistPropertyBag2.Load"));
    EXPECT_EQ(0, Count(lines, L"flash IOleObject.DoVerb(-5)"));  // loaded, never shown
    EXPECT_EQ(before + 1, HiddenHostWindows());

    host.Shutdown();
    lines = log.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(L"flash IOleObject.SetClientSite(null)", lines[lines.size() - 2]);
    EXPECT_EQ(L"flash released", lines.back());
    EXPECT_EQ(before, HiddenHostWindows());
}

TEST_F(FlashPreloaderTest, StartsWithoutFlashAndLeavesNoHostBehind)
{
    ControlLogFile log;
    PowerPointHost host(L"14.0");
    const int before = HiddenHostWindows();
    host.Start();
    ASSERT_TRUE(host.AddIn(L"Vistello.AddIn")->IsConnected());
    EXPECT_EQ(before, HiddenHostWindows());
    EXPECT_TRUE(log.Lines().empty());
    host.Shutdown();
}

}  // namespace
