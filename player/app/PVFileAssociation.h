#pragma once
#include "base/MKString.h"

#include <windows.h>

// Creates or opens root\path\subName (path alone when subName is null; an
// empty subName leaves the name ending in '\') with full access and, when a
// value is given, makes it the key's default value (REG_SZ). False when the
// key cannot be created or its name is longer than 1023 characters.
bool SetKeyDefault(HKEY root, const char* path, const char* subName, const char* value);

// Writes "MaintainAssoc" of section "Settings" and, when maintain is set,
// points the Flash movie class's open command and icon at programPath
// (failures ignored: the user may lack the rights).
void PVWriteAssociation(bool maintain, const char* programPath);

// The running program's full path; empty when it cannot be read or is longer
// than 499 characters.
MKString PVProgramPath();
