#pragma once
#include "addin/imaging/RasterImage.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// JPEG through libjpeg. Readers take an open file (read from its current
// position, left open) or a memory block. Every fatal library error returns to
// a recovery point of the running call, so any thread may decode, and the
// call answers null or false with nothing left allocated. A progress callback,
// when given, cancels the call by answering true.

// Gray JPEGs give Gray images, all others Rgb; CMYK and YCCK are turned into
// RGB as R = max(0, C - (255 - K)) and so on, other layouts of three or more
// components give their first three (fewer fail). The callback is asked after
// each scanline. The caller owns the result; its file type is Jpeg. Truncated
// scan data end the picture early (the missing rows come out as libjpeg fills
// them) rather than failing.
RasterImage* JpegDecode(FILE* file, ImageCancelCallback progress, void* user);
RasterImage* JpegDecode(const uint8_t* data, size_t size, ImageCancelCallback progress, void* user);

// Width and height from the header alone.
bool JpegReadSize(FILE* file, int* width, int* height);
bool JpegReadSize(const uint8_t* data, size_t size, int* width, int* height);

// Encodes with the quality (baseline tables), optimised Huffman tables, the
// slow integer DCT and, when asked, the simple progressive script. Alpha, Gray
// and GrayAlpha become one gray component (the alpha, the gray, the gray);
// Rgb and Rgba three (alpha dropped). Indexed images are refused: expand them
// first. With rowsTopDown the image's stored rows are taken top row first.
// The callback is asked before each row of Rgb, Alpha and Gray images and
// after each row of Rgba and GrayAlpha ones (which go through a row buffer).
// False for a null file, an invalid or indexed image, a library error or a
// cancel; the file is left to the caller.
bool JpegWriteImage(const RasterImage* image, FILE* file, int quality, bool progressive, bool rowsTopDown,
                    ImageCancelCallback progress, void* user);

// The same into a new MKAlloc block handed over in *data with its *length
// (null and 0 on failure; the caller frees it with MKFree).
bool JpegWriteImageToMemory(const RasterImage* image, uint8_t** data, size_t* length, int quality,
                            bool progressive, bool rowsTopDown, ImageCancelCallback progress, void* user);
