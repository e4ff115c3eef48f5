#pragma once
#include "base/MKString.h"

// Where the update's installer and setup programs are extracted to and
// started from: "Vistello\Update" in the user's local application data, given
// a protected ACL that lets only the current user, the administrators and the
// system in. Unlike the updater folder, which every user may write, nobody
// else can swap a program between its extraction and its start.

// Makes the folder (or sets its ACL again); empty when it cannot be made.
MKString EnsureProgramFolder();
// The installer and setup program in that folder; empty without it.
MKString GetProgramFolderUpdaterPath();
MKString GetProgramFolderSetupPath();
