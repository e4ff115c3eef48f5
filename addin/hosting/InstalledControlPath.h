#pragma once
#include "base/MKString.h"

#include <windows.h>

// The file registered as the in-process server of an ActiveX control: the
// default value of HKEY_CLASSES_ROOT\CLSID\{CLSID}\InprocServer32, with
// environment variables expanded when it is a REG_EXPAND_SZ value. Empty when
// the key or value is missing or of another type. Any thread.
MKString GetInstalledControlPath(REFCLSID clsid);
