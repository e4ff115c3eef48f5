#include "addin/update/ScramblePackageBlock.h"

#include "addin/update/PackageKeyTable.h"

#include <string.h>

void ScramblePackageBlock(void* buffer, int length, uint32_t key)
{
    if (!buffer || length <= 0)
        return;
    const uint32_t* table = PackageKeyTable::Data();
    uint32_t size = uint32_t(length);
    uint32_t index = (size + table[size & PackageKeyTable::kIndexMask] + key) & PackageKeyTable::kIndexMask;
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    uint32_t words = size / 4;
    for (uint32_t i = 0; i < words; ++i, bytes += 4) {
        uint32_t stored;
        memcpy(&stored, bytes, 4);
        uint32_t plain = stored ^ table[index];
        memcpy(bytes, &plain, 4);
        index = (stored + index) & PackageKeyTable::kIndexMask;
    }
    uint32_t tail = size & 3;
    if (tail) {
        uint32_t value = 0;
        memcpy(&value, bytes, tail);  // little-endian: the bytes are the low ones
        value ^= table[index];
        memcpy(bytes, &value, tail);
    }
}
