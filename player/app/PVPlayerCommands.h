#pragma once
#include <windows.h>

// The player's commands (menu resource 128, accelerator table 128, tool bar),
// resource ids and child window ids.
enum PVPlayerCommand : UINT {
    kCmdRewind = 32772,
    kCmdFullScreen = 32774,
    kCmdLooping = 32779,
    kCmdWebPage = 32780,
    kCmdMovieProperties = 32783,
    kCmdPlayAsFastAsPossible = 32788,
    kCmdOutlines = 32789,
    kCmdBWOutlines = 32791,
    kCmdNormalView = 32793,
    kCmdView3DSlices = 32794,
    kCmdView3DPlane = 32795,
    kCmdView3DCube = 32796,
    kCmdUseEngine = 32797,
    kCmdMaintainAssociation = 32798,
    kCmdClose = 57600,
    kCmdOpen = 57601,
    kCmdRecentFile1 = 57616,
    kCmdAbout = 57664,
    kCmdExit = 57665,
    kCmdToolBar = 59392,
    kCmdStatusBar = 59393,
};

enum PVPlayerResource : UINT {
    kResMain = 128,  // icon, menu, accelerators
    kResButtonCursor = 138,
    kResAboutDialog = 100,
    kResPropertiesDialog = 101,
    kStrInitFailed = 105,
    kStrSeconds = 129,
    kStrMinutes = 130,
    kStrHours = 131,
    kStrTitle = 57344,
    kStrReady = 57345,
    kStrUnableToOpen = 57666,
};

constexpr UINT kRecentFileCount = 8;
constexpr UINT kViewWindowId = 59648;

// The maker's web page, opened by the Help menu and the About dialog.
extern const char kMakerWebPage[];
