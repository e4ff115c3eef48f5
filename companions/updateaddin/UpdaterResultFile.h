#pragma once
#include <stdint.h>

#include "base/MKString.h"

class MKSharedSecurity;

// Writes "result.dat" in the updater folder of the installation folder: the
// outcome of an update for the main add-in's next start. Little-endian:
// magic 0x23630B07, version 1, step (i32), prepare flag (one byte), error
// code (i32), message (u32 UTF-8 byte count and the bytes), extension block
// length 0. The file is replaced whole or left as it was; false when the
// folder or the file cannot be written.
bool WriteUpdaterResultFile(const MKString& installationFolder, const MKSharedSecurity* security, int32_t step,
                            bool prepare, int32_t errorCode, const MKString& message);
