#pragma once
#include "addin/imaging/RasterImage.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// PNG through libpng. Readers take an open file (read from its current
// position, left open) or a memory block; every failure (bad or truncated
// data, unsupported layout, dimensions too large to allocate) answers null or
// false with nothing left allocated. Safe on any thread: each call has its own
// recovery point.

// The image in the smallest pixel type that holds it: gray 4, RGB 1, palette 6
// (palette type settled from the entries and the transparency chunk), gray
// and alpha 5, RGBA 2; 16-bit samples keep their high byte. A transparency
// chunk on a gray or RGB image becomes an alpha channel (types 5 and 2). The
// caller owns the result; its file type is Png.
RasterImage* PngDecode(FILE* file);
RasterImage* PngDecode(const uint8_t* data, size_t size);

// Width and height from the header alone.
bool PngReadSize(FILE* file, int* width, int* height);
bool PngReadSize(const uint8_t* data, size_t size, int* width, int* height);

// Writes 8-bit samples, not interlaced, with the compression level clamped to
// 0..9: Gray and Alpha (alpha values as gray) as gray, Rgb, GrayAlpha and Rgba
// as they are; indexed images as their expanded palette type. Into a file (the
// caller closes it, and removes it on failure) or into a new MKAlloc block
// handed over in *data with its *length (null and 0 on failure; the caller
// frees it with MKFree).
bool PngEncode(const RasterImage* image, FILE* file, int level);
bool PngEncode(const RasterImage* image, uint8_t** data, size_t* length, int level);
