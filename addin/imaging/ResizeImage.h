#pragma once
#include "addin/imaging/ImageFilters.h"
#include "addin/imaging/RasterImage.h"

// A resized copy of an image of pixel type Rgb, Rgba, Gray or GrayAlpha (other
// types and invalid images give null; expand them first). Sizes below 1 become
// 1; the same size gives a Clone. FilterFast runs the integer area resampler
// (without the cancel callback); any other number runs a separable two-pass
// filter (numbers outside 0..16 mean Box), asking the callback, when given,
// once per processed row. Null when cancelled or memory runs out; the source is
// never changed.
RasterImage* ResizeImage(const RasterImage* image, int width, int height, int filter,
                         ImageCancelCallback cancel, void* user);
