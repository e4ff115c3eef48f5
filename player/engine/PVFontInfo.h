#pragma once
#include <cstdint>

#include "player/engine/PVString.h"
#include "player/engine/PVTArray.h"

// What a font information tag (or DefineFont2) tells about a font: its name,
// style flags and one character code per glyph, in glyph order.
struct PVFontInfo {
    PVString name;
    uint8_t smallText = 0;
    uint8_t shiftJIS = 0;
    uint8_t ansi = 0;
    uint8_t italic = 0;
    uint8_t bold = 0;
    uint8_t wideCodes = 0;
    PVTArray<uint16_t> codes;
};
