#pragma once
#include <stdint.h>

#include "pixels/PixelTypes.h"

// The decoder that produced an image; 4 is not used.
enum class ImageFileType : int32_t {
    None = 0,
    Bmp = 1,
    Gif = 2,
    Jpeg = 3,
    Png = 5,
};
