#pragma once
#include <stdint.h>

// Halves the width of `rows` rows of `width` pixels of 1 to 4 bytes each:
// every pair of horizontal neighbours becomes one pixel whose channels are
// (a + b) >> 1. The destination may be the source's own memory when its
// stride is not larger (each output byte lies at or before the bytes it is
// made from). False, with nothing written, unless the width is positive and
// even, the row count positive and the pixel size 1 to 4.
bool DownsampleHalf(int width, int rows, int bytesPerPixel, int sourceStride, const uint8_t* source,
                    int destinationStride, uint8_t* destination);
