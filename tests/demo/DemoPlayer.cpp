// demo_player.exe <movie> <ready file> <done file>: plays the movie in the
// built plovaplayer.exe with the movie engine. The Flash stand-in is
// registered for the run, as the player opens movies in the Flash control
// first. Once the engine plays, the ready file is written (the demo script
// then takes its pictures); when the done file appears (or after a minute)
// the status bar's panes are printed and the player is closed. Exits 0 when
// every step worked.
#include "PlayerProcess.h"
#include "fixtures/ComScope.h"
#include "player/app/PVPlayerCommands.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include <stdio.h>

namespace {

enum { kPaneMessage = 0, kPaneRate = 1, kPaneFrame = 2, kPaneTime = 3 };

int Fail(const char* what)
{
    fprintf(stderr, "demo_player: %s\n", what);
    return 1;
}

bool WriteReadyFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return Fail("usage: demo_player <movie> <ready file> <done file>");
    ComScope com;
    ControlRegistration flash(StandInControl::Flash10);
    if (!flash.Registered())
        return Fail("the Flash stand-in could not be registered");
    PlayerProcess player(L"\"" + std::wstring(argv[1]) + L"\"");
    if (!player.MainWindow())
        return Fail("the player's window did not appear");
    if (!player.Command(kCmdUseEngine))
        return Fail("the player did not take the engine command");
    std::string state = player.WaitForPane(kPaneMessage, "Playing", 30000);
    if (state != "Playing")
        return Fail(("the movie engine does not play: \"" + state + "\"").c_str());
    if (!WriteReadyFile(argv[2]))
        return Fail("the ready file could not be written");
    for (int waited = 0; waited < 600 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES; ++waited)
        Sleep(100);
    printf("%s\n%s\n%s\n%s\n", player.PaneText(kPaneMessage).c_str(), player.PaneText(kPaneFrame).c_str(),
           player.PaneText(kPaneRate).c_str(), player.PaneText(kPaneTime).c_str());
    long code = player.Close();
    if (code != 0)
        return Fail(code < 0 ? "the player did not exit when closed" : "the player exited with an error");
    return 0;
}
