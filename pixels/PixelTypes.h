#pragma once
#include <stdint.h>

// Pixel layouts shared by the add-in's images and the movie engine's; the
// numbers are stored and passed as they stand. Palette types of indexed images
// use the same numbers for what their entries mean, with Indexed marking a
// palette that is not usable.
enum class PixelType : int32_t {
    None = 0,
    Rgb = 1,        // R, G, B
    Rgba = 2,       // R, G, B, A with straight alpha, 255 opaque
    Alpha = 3,      // A (white with this alpha)
    Gray = 4,       // G
    GrayAlpha = 5,  // G, A
    Indexed = 6,    // palette index
};

// Bytes of one pixel: 0 for a type outside 1..6.
inline int BytesPerPixel(PixelType type)
{
    static const int8_t bytes[7] = {0, 3, 4, 1, 1, 2, 1};
    int index = static_cast<int>(type);
    return index >= 0 && index <= 6 ? bytes[index] : 0;
}

inline bool IsPixelTypeInRange(PixelType type)
{
    return type >= PixelType::Rgb && type <= PixelType::Indexed;
}

// Asked now and then by long image operations (resizing, JPEG coding); answers
// true to cancel the operation, which then fails. Must not throw.
typedef bool (*ImageCancelCallback)(void* user);
