#pragma once
#include <stdint.h>

// The fixed key table that package blocks are scrambled with: 16,384
// little-endian 32-bit entries in read-only data, indexed modulo 16,384.
class PackageKeyTable {
public:
    static constexpr int kEntries = 16384;
    static constexpr uint32_t kIndexMask = 0x3FFF;

    // The first entry; the table lives as long as the module.
    static const uint32_t* Data();
    // In bytes: 0x10000.
    static constexpr int Size() { return kEntries * 4; }
};
