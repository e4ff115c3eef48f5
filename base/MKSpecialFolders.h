#pragma once
#include "base/MKString.h"

// Folders the system names, each with a trailing '\', and fresh temporary
// file names. Empty strings on failure.

// The user's temporary folder.
MKString MKGetTempPath();
// A name in the temporary folder that no file or folder has at the time of
// the call; nothing is created. Empty when the folder is unknown or a bounded
// number of names could not be probed (the folder refuses every query).
MKString MKTempFileName();
// The system folder; the usual one of the platform when it cannot be asked.
MKString MKGetSystemDirectory();
// A shell folder by its CSIDL number (shfolder.dll, loaded once).
MKString MKGetSpecialFolder(int csidl);
