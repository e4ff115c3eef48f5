#pragma once
#include "addin/imaging/drawing/ConvolutionFilters.h"
#include "addin/imaging/drawing/DrawBitmap.h"

#include <stdint.h>

// Separable resize of premultiplied ARGB (or A8) bitmaps by integer filters,
// row by row through a ring of horizontally filtered rows.

// The subset (x, y, width, height) of the source resized to width x height;
// the answer has the subset's size, the source's config and opaque flag.
// Empty for an empty source, a size of 0 or less, or a config without pixels.
DrawBitmap ConvolutionResizeSubset(const DrawBitmap& source, ConvolutionMethod method, int width, int height,
                                   int subsetX, int subsetY, int subsetWidth, int subsetHeight);
DrawBitmap ConvolutionResize(const DrawBitmap& source, ConvolutionMethod method, int width, int height);

// Convolves source rows of `bytesPerPixel` (4: B, G, R, A; 1: alpha) bytes
// into packed output rows (horizontal filter count pixels each). Without
// alpha the output alpha is 255; with it no colour exceeds its alpha.
void ConvolveBitmap2D(const uint8_t* source, int sourceRowBytes, int bytesPerPixel, bool hasAlpha,
                      const FixedFilterList& horizontal, const FixedFilterList& vertical, uint8_t* output);
