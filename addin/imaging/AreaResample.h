#pragma once
#include "addin/imaging/ImageTypes.h"

class RasterImage;

// Integer area averaging in 16.16 fixed point of a valid image of 1 to 4 bytes
// per pixel. While the picture is 16 or more times too large along an axis it
// is first halved along that axis (2 x 2 boxes, or pairs), so each averaging
// span stays below 16 source pixels. The callback, when given, is asked before
// each halving and every 8th output row. A new image of the same type, or null
// for a size <= 0, cancellation or lack of memory.
RasterImage* AreaResample(const RasterImage& image, int width, int height, ImageCancelCallback cancel,
                          void* user);
