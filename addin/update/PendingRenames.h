#pragma once
#include "base/MKString.h"
#include "base/MKTOArray.h"

// The moves and deletions Windows carries out at its next start
// (PendingFileRenameOperations of the session manager).

// The strings of the value in order: pairs of source and target, an empty
// target for a deletion. True with an empty list when there is no value; false
// when the key cannot be read or the value is no REG_MULTI_SZ.
bool ReadPendingRenames(MKTOArray<MKString>& list);
// listed: the path is listed for deletion at the next start. False when the
// list cannot be read.
bool IsPendingRename(const MKString& path, bool* listed);
