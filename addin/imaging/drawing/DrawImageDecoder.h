#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"

#include <stddef.h>
#include <stdint.h>

// Image files decoded into premultiplied 32-bit drawing bitmaps. The kind is
// told by the data's first bytes, not by a file name.

// Formats numbered as the drawing interface's callers know them.
enum class DrawImageFormat : int32_t { Unknown = 0, Bmp = 1, Gif = 2, Ico = 3, Jpeg = 4, Png = 5 };

bool IsPngData(const uint8_t* data, size_t size);
DrawImageFormat ImageFormatOf(const uint8_t* data, size_t size);

// PNG, JPEG, BMP, GIF (the first frame) or an icon file (the entry nearest
// the system icon size). The bitmap is opaque when the picture has no alpha.
// False (bitmap empty) for data of another kind, bad data or lack of memory.
bool DecodeImageData(const uint8_t* data, size_t size, DrawBitmap& bitmap);

// The same for a file; false also when it cannot be read.
bool DecodeImageFile(const wchar_t* path, DrawBitmap& bitmap);

// As DecodeImageData, but an icon file gives its entry of the config and size
// (width or height 0 or less: the system icon size); none of them: false.
// `format` (may be null) receives the data's kind on success.
bool DecodeMemorySized(const uint8_t* data, size_t size, DrawBitmap& bitmap, BitmapConfig config, int width,
                       int height, DrawImageFormat* format);
// The same for a file; false also when it cannot be read.
bool DecodeFileSized(const wchar_t* path, DrawBitmap& bitmap, BitmapConfig config, int width, int height,
                     DrawImageFormat* format);
