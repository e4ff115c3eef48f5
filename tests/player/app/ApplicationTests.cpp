#include "player/app/CDravoPlayerApp.h"

#include "fixtures/Fixtures.h"
#include "fixtures/SwfBoxMovie.h"
#include "fixtures/SwfFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include "PumpMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>
#include <commctrl.h>

// The program's menus, accelerators, dialogs and strings are linked into this
// test, so the application runs here in-process, where its menus can be read.
namespace {

const wchar_t kProfileKey[] = L"Software\\Brelix Technologies\\Plova Player";

enum : UINT {
    kCmdFullScreen = 32774,
    kCmdProperties = 32783,
    kCmdUseEngine = 32797,
    kCmdClose = 57600,
    kViewId = 59648,
};

bool GoodiesShown(HWND frame)
{
    HMENU menu = GetMenu(frame);
    HMENU goodies = menu ? GetSubMenu(menu, 3) : nullptr;
    return goodies && GetMenuItemID(goodies, 0) == 32788;
}

// Whether the item is greyed once the frame has prepared the popup that holds it.
bool Greyed(HWND frame, int popup, UINT id)
{
    HMENU menu = GetSubMenu(GetMenu(frame), popup);
    SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), popup);
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

std::string MessagePane(HWND frame)
{
    char text[256] = "";
    SendMessageA(GetDlgItem(frame, 59393), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

class PlayerApplication : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registration.Registered());
        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        std::wstring path = folder.File(L"app.swf");
        SwfSaveFile(path, SwfBoxMovie(20, 0x0C00));
        char narrow[MAX_PATH];
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
        movie = narrow;
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey); }

    ControlRegistration registration{StandInControl::Flash10};
    ScratchFolder folder;
    std::string movie;
};

TEST_F(PlayerApplication, GoodiesMenuShowsExactlyWhileTheEngineRendersAndItemsFollowTheMovie)
{
    CDravoPlayerApp application(GetModuleHandleA(nullptr));
    char program[] = "plovaplayer";
    char* argv[] = {program, movie.data()};
    ASSERT_TRUE(application.InitInstance(2, argv, SW_SHOW));
    HWND frame = application.MainWindow();
    ASSERT_NE(frame, nullptr);

    EXPECT_EQ(4, GetMenuItemCount(GetMenu(frame)));
    EXPECT_FALSE(GoodiesShown(frame));
    SendMessageA(frame, WM_COMMAND, kCmdUseEngine, 0);
    EXPECT_TRUE(GoodiesShown(frame));
    SendMessageA(frame, WM_COMMAND, kCmdFullScreen, 0);
    EXPECT_EQ(nullptr, GetMenu(frame));
    SendMessageA(frame, WM_COMMAND, kCmdFullScreen, 0);
    EXPECT_TRUE(GoodiesShown(frame));
    EXPECT_FALSE(Greyed(frame, 0, kCmdClose));
    EXPECT_FALSE(Greyed(frame, 0, kCmdProperties));

    // Moving the window or opening a menu pauses the engine, which resumes
    // afterwards only when it played before.
    EXPECT_EQ("Playing", MessagePane(frame));
    for (UINT enter : {WM_ENTERSIZEMOVE, WM_ENTERMENULOOP}) {
        SendMessageA(frame, enter, 0, 0);
        EXPECT_NE("Playing", MessagePane(frame)) << enter;
        SendMessageA(frame, enter + 1, 0, 0);
        EXPECT_EQ("Playing", MessagePane(frame)) << enter;
    }
    SendMessageA(frame, WM_COMMAND, 57646, 0);
    SendMessageA(frame, WM_ENTERSIZEMOVE, 0, 0);
    SendMessageA(frame, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_NE("Playing", MessagePane(frame));

    SendMessageA(frame, WM_COMMAND, kCmdUseEngine, 0);
    EXPECT_FALSE(GoodiesShown(frame));

    // Without a movie its commands are greyed; the renderer choice is not.
    SendMessageA(frame, WM_COMMAND, kCmdClose, 0);
    EXPECT_TRUE(Greyed(frame, 0, kCmdClose));
    EXPECT_TRUE(Greyed(frame, 0, kCmdProperties));
    EXPECT_TRUE(Greyed(frame, 2, 57646));
    EXPECT_TRUE(Greyed(frame, 2, 32779));
    EXPECT_FALSE(Greyed(frame, 0, kCmdUseEngine));


    // The recent-file list holds the movie and opens it again.
    HMENU file = GetSubMenu(GetMenu(frame), 0);
    SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    char item[MAX_PATH + 8] = "";
    GetMenuStringA(file, 57616, item, sizeof item, MF_BYCOMMAND);
    EXPECT_EQ("&1 " + movie, item);
    SendMessageA(frame, WM_COMMAND, 57616, 0);
    EXPECT_FALSE(Greyed(frame, 0, kCmdClose));

    DestroyWindow(frame);
    PumpMessages();
    EXPECT_EQ(0, application.ExitInstance(0));
}

// The visible renderer window in the view: the picture of the movie.
HWND ShownRenderer(HWND view)
{
    for (HWND child = GetWindow(view, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            return child;
    return nullptr;
}

TEST_F(PlayerApplication, EngineShowsAMovieOpenedInAWindowSizedToItAtItsOwnSize)
{
    CDravoPlayerApp application(GetModuleHandleA(nullptr));
    char program[] = "plovaplayer";
    char* argv[] = {program, movie.data()};
    ASSERT_TRUE(application.InitInstance(2, argv, SW_SHOWNORMAL));
    HWND frame = application.MainWindow();
    SendMessageA(frame, WM_COMMAND, kCmdUseEngine, 0);
    // The renderer is placed asynchronously.
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        Sleep(20);
    }
    HWND renderer = ShownRenderer(GetDlgItem(frame, kViewId));
    ASSERT_NE(nullptr, renderer);
    RECT client = {};
    GetClientRect(renderer, &client);
    // The fixture movie's frame: 11000 x 8000 twips.
    EXPECT_EQ(550, client.right);
    EXPECT_EQ(400, client.bottom);
    DestroyWindow(frame);
    PumpMessages();
    EXPECT_EQ(0, application.ExitInstance(0));
}

// The tip its tool bar's tool tip control shows for the button `id`.
std::string ToolTip(HWND toolBar, UINT id)
{
    HWND tips = reinterpret_cast<HWND>(SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0));
    if (!tips)
        return "(no tool tips)";
    char text[80] = "";
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = toolBar;
    info.uId = id;
    info.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, ARRAYSIZE(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST_F(PlayerApplication, ToolBarButtonsShowTheirCommandsTips)
{
    CDravoPlayerApp application(GetModuleHandleA(nullptr));
    char program[] = "plovaplayer";
    char* argv[] = {program, movie.data()};
    ASSERT_TRUE(application.InitInstance(2, argv, SW_SHOW));
    HWND toolBar = GetDlgItem(application.MainWindow(), 59392);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ("Play", ToolTip(toolBar, 57646));
    EXPECT_EQ("Pause", ToolTip(toolBar, 57647));
    EXPECT_EQ("Stop", ToolTip(toolBar, 57645));
    DestroyWindow(application.MainWindow());
    PumpMessages();
    EXPECT_EQ(0, application.ExitInstance(0));
}

}  // namespace
