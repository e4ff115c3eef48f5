#pragma once
#include <cstdint>

// One node of a sound's block queue: the links, the byte count, then the
// bytes in the same allocation.
struct PVAudioBlock {
    PVAudioBlock* previous;
    PVAudioBlock* next;
    int32_t size;

    uint8_t* Data() { return reinterpret_cast<uint8_t*>(this + 1); }
    const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(this + 1); }

    // A block holding a copy of `size` (> 0) bytes; null when out of memory.
    static PVAudioBlock* Create(const uint8_t* bytes, int32_t size);
    static void Free(PVAudioBlock* block);  // null is ignored
};
