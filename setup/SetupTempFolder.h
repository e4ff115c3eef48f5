#pragma once
#include "base/MKString.h"

#include <windows.h>

enum SetupTempFolderError {
    kTempFolderNotCreated = 403,
    kNoTempPath = 501,
};

// The folder name for a tick count: "vl", the count in base 32 (digits 0-9
// and A-V, least significant first) and ".tmp".
MKString SetupFolderName(DWORD tick);

// Creates a fresh folder in tempPath, named from tick on and counting up past
// names that are taken (by a folder or a file, also one made by another setup
// between our look and our creation). Only the current user may use it.
// Answers 0 with folder set, or kTempFolderNotCreated.
int CreateSetupFolderIn(const MKString& tempPath, DWORD tick, MKString& folder);

// CreateSetupFolderIn the user's temporary folder from the current tick.
// kNoTempPath when there is none or it is longer than 300 characters, which
// would cut it.
int MakeSetupTempFolder(MKString& folder);
