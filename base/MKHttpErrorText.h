#pragma once
#include "base/MKString.h"

#include <windows.h>

// The system's text of an error code in the user's default language, else the
// text of the WinINet module (which may be null), trailing white space
// removed; "Unknown Error" when neither has one.
MKString MKHttpErrorText(DWORD code, HMODULE wininet);
