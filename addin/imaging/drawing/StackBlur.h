#pragma once
#include <stdint.h>

// Stack blur: a triangle-weighted running blur whose cost does not depend on
// the radius. Radii above 254 count as 254.
constexpr int kMaxStackBlurRadius = 254;

// multiplier[r] / 2^shift[r] approximates 1 / (r + 1)^2.
uint32_t StackBlurMultiplier(int radius);
int StackBlurShift(int radius);

// Blurs `count` values of one channel in place, `step` bytes apart.
// `stack` has room for 2 * radius + 1 values.
void StackBlurLine(uint8_t* line, int count, ptrdiff_t step, int radius, uint32_t* stack);

// Blurs the selected bytes (bit i of `channelMask` for byte i) of 4-byte
// pixels: a horizontal pass with radiusX, then a vertical pass with radiusY; a
// radius of 0 skips its pass.
void StackBlurPixels(uint8_t* pixels, int width, int height, int rowBytes, int radiusX, int radiusY,
                     unsigned channelMask);
