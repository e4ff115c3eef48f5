#pragma once
#include <cstdint>

#include "player/engine/PVGeometry.h"

// One character of a button in the states whose bits are set.
struct PVButtonRecord {
    enum State : uint8_t {
        kUp = 0x01,
        kOver = 0x02,
        kDown = 0x04,
        kHitTest = 0x08,
    };

    uint8_t states = 0;
    uint16_t characterId = 0;
    uint16_t depth = 0;
    PVMatrix matrix;
    PVCxform cxform;
};
