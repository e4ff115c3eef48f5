#pragma once
#include "addin/imaging/GifFrameList.h"
#include "addin/imaging/RasterImage.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

// GIF pictures from an open buffered file, read forward from its current
// position; the file stays open. Failures answer false or null with nothing
// left allocated.

// The size of the first image; a file whose first block is the trailer
// answers true with 0 x 0.
bool GifReadSize(FILE* file, int* width, int* height);

// Decodes the frames as indexed images (rows bottom-up) whose palette is the
// local or global colour table; a transparent index that occurs in a frame
// makes that entry's alpha 0. A graphic control extension sets the delay and
// transparency of the frames after it (a frame without one keeps the last
// values). With outImage, the first frame is handed over there (the caller
// owns it); otherwise every frame is appended to frames, and an empty list
// answers false. The frames of a file together hold no more pixels than one
// picture may (ImageLimits.h): a frame past that fails the decode.
bool GifDecode(FILE* file, GifFrameList* frames, RasterImage** outImage);

// The first frame, or null.
RasterImage* GifLoadFirstFrame(FILE* file);
// The same from a whole file held in memory.
RasterImage* GifLoadFirstFrameData(const uint8_t* data, size_t size);

// LZW-decodes one image's data (code size byte and sub-blocks, up to and
// including the terminating empty block) into pixelCount index bytes. False,
// with the missing pixels 0, when the data end early or hold a bad code.
bool GifDecodeLzw(FILE* file, uint8_t* buffer, size_t pixelCount);
