#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"
#include "addin/imaging/drawing/SkVQZ_ICOChooser.h"

#include <stddef.h>
#include <stdint.h>

// Icon and cursor files: a directory of images, each a PNG stream or a DIB
// (1, 4, 8, 24 or 32 bits a pixel) with its AND mask. Every offset and size is
// checked against the block.

// Whether the block starts like an icon or cursor file.
bool IsIcoData(const uint8_t* data, size_t size);
// The image the chooser picks among the directory's entries (announced as
// 32-bit; `nearest`: the one nearest its size, else an exact match), decoded
// into a premultiplied 32-bit bitmap. False (bitmap empty) for a bad file, no
// choice or lack of memory.
bool DecodeIco(const uint8_t* data, size_t size, SkVQZ_ICOChooser& chooser, bool nearest, DrawBitmap& bitmap);
