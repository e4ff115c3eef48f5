#include "player/app/CDravoPlayerApp.h"

#include <stdlib.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    CDravoPlayerApp application(instance);
    return application.Run(__argc, __argv, showCommand);
}
