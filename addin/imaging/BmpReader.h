#pragma once
#include "addin/imaging/RasterImage.h"

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
// table as palette, 16- and 24-bit ones Rgb, 32-bit ones Rgba (a file whose
// fourth bytes are all 0 and declares no alpha mask is opaque). The caller
// owns the result; its file type is Bmp.
RasterImage* BmpDecode(FILE* file);

enum class BmpRleMode { Rle8, Rle4 };

// Run-length data into `rows` rows of `width` bytes (one index per pixel; the
// first row is the bottom one). Runs, deltas and absolute runs are clipped to
// the buffer; pixels the data skip keep their value. False when the file ends
// before the rows are used up or the end-of-bitmap marker came.
bool BmpDecodeRle(FILE* file, uint8_t* buffer, BmpRleMode mode, int width, int rows);
