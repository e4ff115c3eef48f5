#pragma once
#include <stddef.h>
#include <stdint.h>

// Pictures are decoded inside the host's 32-bit process, whose 2 GB of address
// space PowerPoint shares with every add-in; a file of a few hundred bytes must
// not be able to claim most of it before a single pixel is seen. A decoded
// picture may therefore hold at most 64 Mi pixels (8192 x 8192: the largest
// camera photos, about 60 megapixels, still load), which takes at most 256 MB
// as RGBA. The libraries' own working memory for one decode is held to the same
// 256 MB, and every check is made before anything of that size is allocated.
const int64_t kMaxImagePixels = int64_t(64) << 20;
const size_t kMaxImageBytes = size_t(256) << 20;

// Whether a picture of this size may be decoded.
inline bool ImageSizeAllowed(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxImagePixels && height <= kMaxImagePixels &&
           width * height <= kMaxImagePixels;
}
