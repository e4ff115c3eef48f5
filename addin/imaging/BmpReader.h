#pragma once
#include "addin/imaging/RasterImage.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// Windows bitmaps from an open buffered file, read forward from its current
// position; the file stays open. Bad signatures, unsupported layouts, short
// data and sizes too large to allocate answer false or null with nothing left
// allocated.

// Width and height from the headers; a top-down file (negative height) gives
// its height as a positive number.
bool BmpReadSize(FILE* file, int* width, int* height);

// 1-, 4- and 8-bit files (raw, RLE8, RLE4) give indexed images with the colour
// table as palette, 16- and 24-bit ones Rgb, 32-bit ones Rgba with the fourth
// byte as alpha as it stands, except that a file whose fourth bytes are all 0
// and that declares no alpha mask is opaque. Run-length data that
// end early leave the rest of the picture index 0. The caller owns the
// result; its file type is Bmp.
RasterImage* BmpDecode(FILE* file);
// The same from a whole file held in memory.
RasterImage* BmpDecodeData(const uint8_t* data, size_t size);

enum class BmpRleMode { Rle8, Rle4 };

// Run-length data into `rows` rows of `width` bytes (one index per pixel; the
// first row is the bottom one). Runs, deltas and absolute runs are clipped to
// the buffer; pixels the data skip, or that the data end before, keep their
// value. Always true: data that end early end the decode.
bool BmpDecodeRle(FILE* file, uint8_t* buffer, BmpRleMode mode, int width, int rows);
