#pragma once
#include "addin/update/PackageDigest.h"
#include "base/MKString.h"
#include "base/MKVersion.h"
#include <stdint.h>

// The assembly an entry of kind 1 holds, as the runtime names it, and the
// symbol file that goes with it on disk (empty when none).
struct ModuleAssembly {
    MKString simpleName;
    MKVersion version;
    bool hasToken = false;
    uint64_t token = 0;
    MKString symbolFile;
};

// One named entry of a module package (an assembly or a resource): where its
// stored bytes lie, how they are packed and the key that descrambles them.
struct ModuleEntry {
    int32_t kind = 0;
    MKString name;
    // The plain (extracted) size.
    int32_t size = 0;
    // 0 stored, 1 zlib, 2 LZMA.
    uint8_t method = 0;
    int32_t storedSize = 0;
    uint32_t key = 0;
    // Of the stored bytes.
    PackageDigest digest;
    int32_t dataOffset = 0;
    // Kind 1 only.
    ModuleAssembly assembly;
};

// Entries of this kind hold an assembly.
inline constexpr int32_t kModuleEntryAssembly = 1;
