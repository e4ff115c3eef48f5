#pragma once
#include <windows.h>

#include <string>

// Fires a content effect's verb as PowerPoint does in a show: DoVerb on the
// installed trampoline's object (local-server activation) with the show's
// pane as the parent window, then pumps this thread's messages until the
// registered message with the verb has reached the show's message window.
// The failure, or empty when it arrived.
std::string FireTrampolineVerb(HWND pane, LONG verb);
