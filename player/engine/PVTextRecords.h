#pragma once
#include <cstdint>

#include "player/engine/PVGeometry.h"

// The records of a static text: style records, each followed by glyph runs,
// each run a stretch of glyph entries.

// A style record; font, colour, offsets and height carry over from the
// record before when a record does not set them.
struct PVTextRecord1 {
    // Bits 0-7: the record's flag byte; bits 16-31: the font id in effect.
    uint32_t style;
    PVRGBA color;
    // x offset in the low 16 bits, y offset in the high 16 bits (signed,
    // twips).
    uint32_t offsets;
    uint32_t height;  // twips, low 16 bits significant
    uint32_t runCount;
    uint32_t firstRun;

    int FontId() const { return static_cast<int>(style >> 16); }
    int XOffset() const { return static_cast<int16_t>(offsets & 0xFFFF); }
    int YOffset() const { return static_cast<int16_t>(offsets >> 16); }
};

// A glyph run: 1 to 127 glyph entries from `firstGlyph` on.
struct PVTextRecord0 {
    uint32_t glyphCount;
    uint32_t firstGlyph;
};

struct PVTextGlyphEntry {
    uint16_t index;  // glyph of the style's font; check with PVFont::Glyph
    int32_t advance;  // twips
};
