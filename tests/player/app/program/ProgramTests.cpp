#include "fixtures/EmulatedCpu.h"
#include "PlayerProcess.h"

#include "fixtures/ChildProcess.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfBoxMovie.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>
#include <ddeml.h>

namespace {

enum : UINT {
    kCmdFullScreen = 32774,
    kCmdProperties = 32783,
    kCmdUseEngine = 32797,
    kCmdMaintainAssociation = 32798,
    kCmdClose = 57600,
    kCmdAbout = 57664,
    kCmdStop = 57645,
    kCmdPlay = 57646,
};

enum { kPaneMessage = 0, kPaneRate = 1, kPaneFrame = 2, kPaneTime = 3 };

const wchar_t kProfileKey[] = L"Software\\Brelix Technologies\\Plova Player";
const wchar_t kCommandKey[] = L"ShockwaveFlash.ShockwaveFlash\\Shell\\open\\command";
const wchar_t kIconKey[] = L"ShockwaveFlash.ShockwaveFlash\\DefaultIcon";

std::wstring SaveMovie(ScratchFolder& folder, const wchar_t* name, uint16_t frames, uint16_t rate = 0x0C00)
{
    std::wstring path = folder.File(name);
    SwfSaveFile(path, SwfBoxMovie(frames, rate));
    return path;
}

// Waits until the frame pane shows at least `frame`.
bool WaitForFrame(PlayerProcess& player, int frame)
{
    for (int i = 0; i < 200; ++i) {
        int shown = -1;
        int count = -1;
        if (sscanf(player.PaneText(2).c_str(), " Frame: %d / %d", &shown, &count) == 2 && shown >= frame)
            return true;
        Sleep(50);
    }
    return false;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

// What `reg query` prints for a key (values and subkeys).
std::string RegQuery(const std::wstring& key)
{
    return RunChildProcess(L"reg.exe query \"" + key + L"\" /s").output;
}

bool KeyExists(HKEY root, const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The Flash stand-in, a fresh player profile and the movie association keys
// as they were before the test.
class PlayerProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registration.Registered());
        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        commandKeyExisted = KeyExists(HKEY_CLASSES_ROOT, kCommandKey);
        iconKeyExisted = KeyExists(HKEY_CLASSES_ROOT, kIconKey);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey);
        if (!commandKeyExisted)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L"ShockwaveFlash.ShockwaveFlash\\Shell");
        if (!iconKeyExisted)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, kIconKey);
    }

    ControlRegistration registration{StandInControl::Flash10};
    ControlLogFile log;
    ScratchFolder folder;
    bool commandKeyExisted = false;
    bool iconKeyExisted = false;
};

TEST_F(PlayerProgram, ScriptedRunSwitchesRenderersGoesFullScreenAndKeepsItsSettings)
{
    std::wstring movie = SaveMovie(folder, L"box.swf", 40);
    std::string programPath;
    {
        PlayerProcess player(Quoted(movie));
        HWND frame = player.MainWindow();
        ASSERT_NE(frame, nullptr);
        // The Flash control renders first: it is handed the movie.
        EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"box.swf"); }, 10000));
        wchar_t title[256];
        GetWindowTextW(frame, title, 256);
        EXPECT_STREQ(L"box.swf - Plova Player", title);

        // The engine reopens the movie and plays it in the movie's colours.
        log.Clear();
        ASSERT_TRUE(player.Command(kCmdUseEngine));
        EXPECT_EQ("Playing", player.WaitForPane(kPaneMessage, "Playing"));
        HWND view = player.ChildOfClass(frame, L"DravoPlayerView");
        HWND engine = player.ChildOfClass(view, L"__hwf_rclass");
        ASSERT_NE(engine, nullptr);
        EXPECT_TRUE(IsWindowVisible(engine));
        // Its picture is checked in-process (DravoRendererTests): this Wine
        // draws OpenGL child windows off the screen.
        EXPECT_NE(std::string::npos, player.WaitForPane(kPaneFrame, " Frame: 5 / 40").find(" / 40"));

        // Play/Pause toggles; Stop rewinds.
        ASSERT_TRUE(player.Command(kCmdPlay));
        std::string paused = player.PaneText(kPaneMessage);
        EXPECT_TRUE(paused == "Paused" || paused == "Stopped") << paused;
        ASSERT_TRUE(player.Command(kCmdPlay));
        EXPECT_EQ("Playing", player.PaneText(kPaneMessage));
        ASSERT_TRUE(player.Command(kCmdStop));
        EXPECT_EQ("Stopped", player.PaneText(kPaneMessage));
        ASSERT_TRUE(player.Command(kCmdPlay));

        // Back on the Flash control the movie loads there again.
        ASSERT_TRUE(player.Command(kCmdUseEngine));
        EXPECT_TRUE(PumpUntil([&] { return log.Contains(L"box.swf"); }, 10000));
        EXPECT_FALSE(IsWindowVisible(engine));

        // Full screen takes the caption away and gives it back.
        ASSERT_TRUE(player.Command(kCmdFullScreen));
        EXPECT_EQ(0, GetWindowLongW(frame, GWL_STYLE) & WS_CAPTION);
        EXPECT_NE(0, GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);
        ASSERT_TRUE(player.Command(kCmdFullScreen));
        EXPECT_EQ(WS_CAPTION, GetWindowLongW(frame, GWL_STYLE) & WS_CAPTION);
        EXPECT_EQ(0, GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_TOPMOST);

        ASSERT_TRUE(player.Command(kCmdMaintainAssociation));
        EXPECT_EQ(0, player.Close());
    }
    std::string profile = RegQuery(L"HKCU\\Software\\Brelix Technologies\\Plova Player");
    for (const char* value : {"MaintainAssoc", "StatusBar", "ToolBar", "looping", "WindowPlacement"})
        EXPECT_NE(std::string::npos, profile.find(value)) << value << " in\n" << profile;
    EXPECT_NE(std::string::npos, profile.find("File1")) << profile;
    std::string command = RegQuery(L"HKCR\\ShockwaveFlash.ShockwaveFlash\\Shell\\open\\command");
    EXPECT_NE(std::string::npos, command.find("plovaplayer.exe\" \"%1\"")) << command;
    std::string icon = RegQuery(L"HKCR\\ShockwaveFlash.ShockwaveFlash\\DefaultIcon");
    EXPECT_NE(std::string::npos, icon.find("plovaplayer.exe,0")) << icon;
}

TEST_F(PlayerProgram, SilentTwelveFramesPerSecondMoviePlaysAtItsRateWithoutInput)
{
    SKIP_WITHOUT_REAL_TIME();
    std::wstring movie = SaveMovie(folder, L"slow.swf", 200);
    PlayerProcess player(Quoted(movie));
    ASSERT_NE(player.MainWindow(), nullptr);
    ASSERT_TRUE(player.Command(kCmdUseEngine));
    Sleep(5000);
    std::string pane = player.PaneText(kPaneFrame);
    int frame = -1;
    int count = -1;
    ASSERT_EQ(2, sscanf(pane.c_str(), " Frame: %d / %d", &frame, &count)) << pane;
    EXPECT_EQ(200, count);
    EXPECT_GE(frame, 55);
    EXPECT_LE(frame, 65);
    EXPECT_NE(std::string::npos, player.PaneText(kPaneRate).find("fps"));
}

TEST_F(PlayerProgram, MovieWithoutAFrameRateOpensInBothRenderers)
{
    std::wstring movie = SaveMovie(folder, L"still.swf", 30, 0);
    PlayerProcess player(Quoted(movie));
    ASSERT_NE(player.MainWindow(), nullptr);
    ASSERT_TRUE(player.Command(kCmdUseEngine));
    Sleep(1000);
    EXPECT_TRUE(player.Responds());
    EXPECT_EQ("Playing", player.PaneText(kPaneMessage));
    EXPECT_EQ("", player.PaneText(kPaneTime));

    player.PostCommand(kCmdProperties);
    HWND dialog = player.WaitForDialog(L"Movie Properties");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ("0 frames per second", DialogItemText(dialog, 1006));
    EXPECT_EQ("1 seconds", DialogItemText(dialog, 1010));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);

    ASSERT_TRUE(player.Command(kCmdUseEngine));
    EXPECT_TRUE(player.Responds());
    EXPECT_EQ(0, player.Close());
}

TEST_F(PlayerProgram, DialogsShowTheProgramAndTheMovie)
{
    std::wstring movie = SaveMovie(folder, L"props.swf", 90);
    PlayerProcess player(Quoted(movie));
    ASSERT_NE(player.MainWindow(), nullptr);

    player.PostCommand(kCmdAbout);
    HWND about = player.WaitForDialog(L"About Plova Player");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ("Plova Player 1.7", DialogItemText(about, 1019));
    EXPECT_NE("", DialogItemText(about, 1022));
    // F1 is swallowed: the dialog stays.
    SendMessageW(about, WM_HELP, 0, 0);
    EXPECT_TRUE(IsWindow(about));
    // So is the framework's command-help message, answered as handled.
    EXPECT_EQ(TRUE, SendMessageW(about, 0x0365, 0, 0));
    EXPECT_TRUE(IsWindow(about));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(about); }));

    // With the Flash control the player names the control's version.
    player.PostCommand(kCmdProperties);
    HWND properties = player.WaitForDialog(L"Movie Properties");
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(0u, DialogItemText(properties, 1004).find("Flash Player 10."));
    PostMessageW(properties, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(properties); }));

    ASSERT_TRUE(player.Command(kCmdUseEngine));
    player.PostCommand(kCmdProperties);
    properties = player.WaitForDialog(L"Movie Properties");
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ("props.swf", DialogItemText(properties, 1011));
    EXPECT_EQ("550 x 400", DialogItemText(properties, 1005));
    EXPECT_EQ("12 frames per second", DialogItemText(properties, 1006));
    EXPECT_EQ("90 frames", DialogItemText(properties, 1007));
    EXPECT_EQ("Requires Flash 6 or higher", DialogItemText(properties, 1008));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(movie.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(std::to_string(data.nFileSizeLow) + " bytes", DialogItemText(properties, 1009));
    EXPECT_EQ("8 seconds", DialogItemText(properties, 1010));
    char folderText[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, folder.path().c_str(), -1, folderText, MAX_PATH, nullptr, nullptr);
    EXPECT_EQ(folderText, DialogItemText(properties, 1003));
    EXPECT_EQ("Experimental Hardware Acceleration", DialogItemText(properties, 1004));
    PostMessageW(properties, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(properties); }));

    // Closing the movie leaves an untitled document.
    ASSERT_TRUE(player.Command(kCmdClose));
    EXPECT_EQ("", player.PaneText(kPaneMessage));
    EXPECT_EQ(0, player.Close());
}

TEST_F(PlayerProgram, DeleteOptionRemovesTheMovieAtExitOnlyWithExactlyTwoArguments)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* options;
        bool deleted;
    };
    const Case cases[] = {
        {L"a.swf", L"/delete", true},
        {L"b.swf", L"/DELETE", true},
        {L"c.swf", L"/delete extra", false},
        {L"d.swf", L"-delete", false},
    };
    for (const Case& c : cases) {
        std::wstring movie = SaveMovie(folder, c.name, 5);
        {
            PlayerProcess player(Quoted(movie) + L" " + c.options);
            ASSERT_NE(player.MainWindow(), nullptr) << c.options;
            EXPECT_EQ(0, player.Close()) << c.options;
        }
        EXPECT_EQ(c.deleted, GetFileAttributesW(movie.c_str()) == INVALID_FILE_ATTRIBUTES) << c.options;
    }
    // A movie deleted at exit never enters the recent-file list.
    std::string profile = RegQuery(L"HKCU\\Software\\Brelix Technologies\\Plova Player\\Recent File List");
    EXPECT_EQ(std::string::npos, profile.find("a.swf")) << profile;
    EXPECT_NE(std::string::npos, profile.find("c.swf")) << profile;
}

TEST_F(PlayerProgram, StartsWithoutAMovie)
{
    PlayerProcess player(L"");
    HWND frame = player.MainWindow();
    ASSERT_NE(frame, nullptr);
    wchar_t title[256];
    GetWindowTextW(frame, title, 256);
    EXPECT_STREQ(L"Untitled - Plova Player", title);
    EXPECT_EQ("", player.PaneText(kPaneMessage));
    EXPECT_EQ(0, player.Close());
}

HDDEDATA CALLBACK IgnoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

// A shell DDE execute to the running player, as Explorer sends one; whether
// the player took it.
bool ShellExecuteOverDde(const char* command)
{
    DWORD instance = 0;
    if (DdeInitializeA(&instance, &IgnoreDde, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    HSZ service = DdeCreateStringHandleA(instance, "plovaplayer", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "system", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, service, topic, nullptr);
    DWORD result = 0;
    bool done = false;
    if (conversation) {
        done = DdeClientTransaction(reinterpret_cast<BYTE*>(const_cast<char*>(command)), DWORD(strlen(command) + 1),
                                    conversation, nullptr, 0, XTYP_EXECUTE, 10000, &result) != nullptr;
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return done;
}

TEST_F(PlayerProgram, TheShellOpensAMovieInTheRunningPlayerThroughDde)
{
    std::wstring movie = SaveMovie(folder, L"shell.swf", 20);
    PlayerProcess player(L"");
    HWND frame = player.MainWindow();
    ASSERT_NE(frame, nullptr);
    char narrow[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, movie.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
    const std::string command = std::string("[open(\"") + narrow + "\")]";
    ASSERT_TRUE(ShellExecuteOverDde(command.c_str()));
    wchar_t title[256] = L"";
    GetWindowTextW(frame, title, 256);
    EXPECT_STREQ(L"shell.swf - Plova Player", title);
    EXPECT_EQ(0, player.Close());
}

TEST_F(PlayerProgram, KeysReachTheCommandsAndEscStopsBeforeTheAccelerators)
{
    std::wstring movie = SaveMovie(folder, L"keys.swf", 100);
    PlayerProcess player(Quoted(movie));
    HWND frame = player.MainWindow();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(player.Command(kCmdUseEngine));
    ASSERT_EQ("Playing", player.WaitForPane(kPaneMessage, "Playing"));
    ASSERT_TRUE(WaitForFrame(player, 3));
    struct Key {
        WPARAM key;
        const char* state;
    };
    // Space and Enter toggle play, Esc stops (rewinds), Home rewinds.
    const Key keys[] = {{VK_SPACE, "Paused"}, {VK_RETURN, "Playing"}, {VK_ESCAPE, "Stopped"}, {VK_RETURN, "Playing"}};
    for (const Key& k : keys) {
        PostMessageW(frame, WM_KEYDOWN, k.key, 0);
        EXPECT_EQ(k.state, player.WaitForPane(kPaneMessage, k.state)) << k.key;
    }
    // Away from the first frame a pause reads as Paused (the frame pane
    // shows the rewound frame once the next frame is due).
    Sleep(500);
    ASSERT_TRUE(WaitForFrame(player, 3));
    PostMessageW(frame, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_EQ("Paused", player.WaitForPane(kPaneMessage, "Paused"));
    PostMessageW(frame, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ("Stopped", player.WaitForPane(kPaneMessage, "Stopped"));
    EXPECT_EQ(0, player.Close());
}

TEST_F(PlayerProgram, RestoresTheSavedPlacement)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kProfileKey) + L"\\Settings").c_str(),
                                             0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    const wchar_t text[] = L"0,0,1,10,10,-1,-1,100,50,740,530";
    RegSetValueExW(key, L"WindowPlacement", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
    PlayerProcess player(L"");
    HWND frame = player.MainWindow();
    ASSERT_NE(frame, nullptr);
    WINDOWPLACEMENT placement = {sizeof placement};
    ASSERT_TRUE(GetWindowPlacement(frame, &placement));
    EXPECT_EQ(UINT(SW_SHOWNORMAL), placement.showCmd);
    EXPECT_EQ(100, placement.rcNormalPosition.left);
    EXPECT_EQ(50, placement.rcNormalPosition.top);
    EXPECT_EQ(740, placement.rcNormalPosition.right);
    EXPECT_EQ(530, placement.rcNormalPosition.bottom);
    EXPECT_EQ(0, player.Close());
}

}  // namespace
