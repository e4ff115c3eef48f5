#pragma once
#include "base/MKVersion.h"

#include <windows.h>

// The Flash Player ActiveX control and the QuickTime control, as registered.
extern const CLSID kFlashPlayerControlClsid;
extern const CLSID kQuickTimeControlClsid;

// The file version of the control's registered in-process server
// (GetInstalledControlPath). False, with 0.0.-1.-1, when no file is
// registered or it has no version resource. Any thread.
bool ProbeControlVersion(REFCLSID clsid, MKVersion& out);
bool ProbeFlashPlayerVersion(MKVersion& out);
bool ProbeQuickTimeControlVersion(MKVersion& out);
