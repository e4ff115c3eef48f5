#pragma once
#include <cstdint>

// The engine's in-memory forms of the format's common records.

// Rectangle in twips (1/20 pixel).
struct PVRect {
    int32_t xmin = 0;
    int32_t xmax = 0;
    int32_t ymin = 0;
    int32_t ymax = 0;
};

// x' = x * scaleX + y * rotateSkew1 + translateX,
// y' = x * rotateSkew0 + y * scaleY + translateY; translation in twips.
struct PVMatrix {
    float scaleX = 1;
    float scaleY = 1;
    float rotateSkew0 = 0;
    float rotateSkew1 = 0;
    float translateX = 0;
    float translateY = 0;
};

// Colour transform: adds first, then 8.8 fixed-point multipliers.
struct PVCxform {
    int16_t addRed = 0;
    int16_t addGreen = 0;
    int16_t addBlue = 0;
    int16_t addAlpha = 0;
    int16_t multRed = 256;
    int16_t multGreen = 256;
    int16_t multBlue = 256;
    int16_t multAlpha = 256;
};

struct PVRGBA {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};
