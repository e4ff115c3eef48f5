#pragma once
#include <windows.h>

// Ends the system's start-up busy cursor for this program at once: the
// cursor stays until the program takes a message from its queue, which the
// setup otherwise would not do before the installer ends. Uses a hidden
// window of a class registered for the call; leaves nothing behind.
void DismissBusyCursor(HINSTANCE instance);
