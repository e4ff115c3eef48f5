#pragma once
#include "addin/imaging/ImageTypes.h"
#include "addin/imaging/RasterImage.h"
#include "base/MKString.h"

// Image files by path; the kind is decided by the extension alone.

// Bmp for .bmp, .rle and .dib; Gif for .gif; Jpeg for .jpg, .jpeg, .jpe, .jif
// and .jfif; Png for .png (any letter case); None for anything else or an
// empty path.
ImageFileType ImageFileTypeOf(const MKString& path);

// The pixel size from the file's headers; false for an unknown kind, a file
// that cannot be opened or bad headers.
bool ReadImageFileSize(const MKString& path, int* width, int* height);

// Decodes the file (the first frame of a GIF) into the smallest fitting pixel
// type: palettes compacted, gray colour pictures made gray, opaque alpha
// dropped. The image records the file's name with extension, its full path,
// the decoder's file type and the last-write time. Null for an unknown kind, a
// file that cannot be opened or read, or lack of memory; the caller owns the
// result.
RasterImage* LoadImageFile(const MKString& path);

// Write the image to the path as PNG (compression level clamped to 0..9) or
// JPEG (pixel types Rgb and Gray only). The file is written in full beside the
// target first and then replaces it, so a failure leaves any earlier file as
// it was and no partial file behind. False on any failure or a cancel.
bool SavePngFile(const RasterImage* image, const MKString& path, int level);
bool SaveJpegFile(const RasterImage* image, const MKString& path, int quality, bool progressive, bool rowsTopDown,
                  ImageCancelCallback progress, void* user);
