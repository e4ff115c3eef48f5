#pragma once
#include "base/MKString.h"
#include <stdint.h>

// "result.dat": the outcome of the last update, written by the update add-in
// and read (then deleted) by the add-in at its next start.
class ResultRecord {
public:
    // The file can be opened for reading.
    static bool Exists(const MKString& installationFolder);
    static void Delete(const MKString& installationFolder);
};

// False for a missing, foreign, cut or damaged file or a version above 10000.
bool ReadResultFile(const MKString& installationFolder, int32_t* step, bool* prepare, int32_t* errorCode,
                    MKString* message);
