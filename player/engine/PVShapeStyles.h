#pragma once
#include <cstdint>

#include "player/engine/PVGeometry.h"
#include "player/engine/PVGradient.h"
#include "player/engine/PVTArray.h"

class PVGradTex;

// The style tables of shapes. Edges point at entries, so an array's entries
// are allocated once, at their final count, and never move.

struct PVFillStyle {
    enum Kind {
        kSolid = 0,
        kLinearGradient = 16,
        kRadialGradient = 18,
        kRepeatingBitmap = 64,
        kClippedBitmap = 65,
    };

    uint8_t kind = kSolid;
    PVRGBA color;
    PVGradient gradient;
    // The gradient's texture from the dictionary's cache; null until the
    // cache hands one out.
    PVGradTex* texture = nullptr;
    uint16_t bitmapId = 0;
    // Gradient or bitmap space to shape space.
    PVMatrix matrix;
};

struct PVFillStyleArray {
    // Exactly `count` default entries (no texture held); false when memory
    // runs out. Entries must never be left unset: the shape releases their
    // textures when it goes.
    bool Allocate(int count)
    {
        if (!entries.Allocate(count))
            return false;
        for (int i = 0; i < entries.Count(); ++i)
            entries[i] = PVFillStyle();
        return true;
    }

    PVTArray<PVFillStyle> entries;
};

struct PVLineStyle {
    int32_t width = 0;  // twips
    PVRGBA color;
};

struct PVLineStyleArray {
    PVTArray<PVLineStyle> entries;
};
