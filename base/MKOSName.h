#pragma once
#include "base/MKString.h"

#include <windows.h>

// The operating system's name for the diagnostic report ("Microsoft Windows
// XP Professional Service Pack 3 (Build 2600)"), from what GetVersionExW
// told (extended: whether the OSVERSIONINFOEXW part was filled), the
// processor architecture and GetSystemMetrics(SM_SERVERR2).
MKString MKOSName(const OSVERSIONINFOEXW& version, bool extended, WORD processorArchitecture, bool serverR2);
