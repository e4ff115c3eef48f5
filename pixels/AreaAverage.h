#pragma once
#include <stdint.h>

#include "pixels/PixelTypes.h"

// How a size ratio (source / destination) becomes a 16.16 step: exactly, or
// through the single-precision ratio that the `Fast` resize filter uses. The
// two can differ by one step unit on pictures of more than 256 pixels.
enum class AreaStep { Exact, SinglePrecision };

// Integer area averaging of pixels of 1 to 4 bytes in 16.16 fixed point.
// While the source is 16 or more times the destination along an axis it is
// first halved along that axis (2 x 2 boxes, or pairs; an odd last column or
// row is dropped), so each averaging span stays below 16 source pixels. The
// callback, when given, is asked before each halving and every 8th
// destination row. The source is not changed. False for non-positive sizes, a
// pixel size outside 1-4, cancellation or lack of memory (the destination may
// then be partly written).
bool AreaAverage(int sourceWidth, int sourceHeight, int bytesPerPixel, int sourceStride, const uint8_t* source,
                 int width, int height, int stride, uint8_t* destination, AreaStep step,
                 ImageCancelCallback cancel, void* user);
