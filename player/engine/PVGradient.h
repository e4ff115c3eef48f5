#pragma once
#include <cstdint>

#include "player/engine/PVGeometry.h"

// A gradient fill's colour ramp: up to 8 entries, each a colour at a ratio
// (0-255) along the gradient.
struct PVGradient {
    static constexpr int kMaxEntries = 8;

    uint8_t count = 0;
    PVRGBA colors[kMaxEntries];
    uint8_t ratios[kMaxEntries] = {};
    // Every entry read had alpha 255.
    uint8_t allOpaque = 1;
};

// The gradient texture cache's key test: equal counts, colours equal in the
// top 5 bits of every channel, ratios equal exactly.
bool PVGradientEquals(const PVGradient& a, const PVGradient& b);
