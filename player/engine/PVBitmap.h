#pragma once
#include <cstdint>

#include "player/engine/PVChar.h"

class PVImage;

// Bitmap character (type 3): the picture of bitmap fills, kept as an image
// with power-of-two sides until the texture code takes it, and afterwards as
// the texture handle alone.
class PVBitmap : public PVChar {
public:
    // Called with the context and the handle when the bitmap goes.
    using ReleaseTexture = void (*)(void* context, uint32_t handle);

    explicit PVBitmap(int id) : PVChar(kBitmap, id) {}
    // Frees a still held image and hands a texture handle to its callback.
    ~PVBitmap() override;

    // Takes `image` (deleted here on failure too), records its size and
    // whether it carries alpha, and brings it to power-of-two sides of at
    // most kMaxSide (enlarging by repetition, shrinking by area averaging),
    // palettes expanded. False when memory runs out; the bitmap then holds
    // no image.
    bool SetImage(PVImage* image);
    // Hands the image over to the caller, who now owns it, and remembers the
    // texture made from it; null when it was already taken or never set.
    PVImage* TakeImage(ReleaseTexture release, void* context, uint32_t handle);

    // Forgets the texture handle given to TakeImage, for a texture that could
    // not be made after all: the bitmap then draws as one without an image.
    void ForgetTexture()
    {
        texture_ = 0;
        release_ = nullptr;
    }

    const PVImage* Image() const { return image_; }
    // The decoded picture's size before any resizing.
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasAlpha() const { return hasAlpha_; }
    uint32_t TextureHandle() const { return texture_; }

    static constexpr int kMaxSide = 2048;
    // Decoded pictures of more pixels are refused, so a few bytes of input
    // cannot claim gigabytes.
    static constexpr uint32_t kMaxPixels = 1u << 24;

private:
    PVImage* image_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool hasAlpha_ = false;
    uint32_t texture_ = 0;
    ReleaseTexture release_ = nullptr;
    void* releaseContext_ = nullptr;
};
