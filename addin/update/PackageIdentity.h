#pragma once
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKString.h"
#include "base/MKVersion.h"
#include <stdint.h>

class MKBinaryReader;

// The fields both package header blocks start with: what the package is and
// what it needs.
struct PackageIdentity {
    int32_t packageKind = 0;
    MKDateTime dateTime;
    MKString name;
    MKGuid guid;
    MKVersion version;
    // 1 = the kernel module.
    int32_t moduleKind = 0;
    MKVersion requiredProduct;
    MKVersion requiredKernel;

    // Reads the header version (false when it is not 1 to 10000) and the
    // fields; a stream error stays in the reader for the caller to test.
    bool Read(MKBinaryReader& reader);
};
