#pragma once
#include "base/MKString.h"

class MKSharedSecurity;

// The "setups" folder of the installation folder keeps the installed setup
// packages, so that a later update knows the files it replaces.
MKString GetSetupsFolder(const MKString& installationFolder);
// True when the folder exists or could be created.
bool EnsureSetupsFolder(const MKString& installationFolder, const MKSharedSecurity* security);
// setups\<name with its extension replaced by ".vlx">; empty for a name that
// is no plain file name (it comes from stored data).
MKString GetSetupPackagePath(const MKString& installationFolder, const MKString& name);
