#include "player/engine/PVBitmap.h"

#include "player/engine/PVImage.h"

namespace {

// The smallest power of two not below `side` (1 below 2), at most the limit.
int TextureSide(int side)
{
    int target = 1;
    while (target < side && target < PVBitmap::kMaxSide)
        target *= 2;
    return target;
}

// Replaces `image` by `next` unless they are the same; false (with `image`
// freed) when `next` is null.
bool Replace(PVImage*& image, PVImage* next)
{
    if (next != image)
        delete image;
    image = next;
    return next != nullptr;
}

}  // namespace

PVBitmap::~PVBitmap()
{
    delete image_;
    if (texture_ && release_)
        release_(releaseContext_, texture_);
}

bool PVBitmap::SetImage(PVImage* image)
{
    delete image_;
    image_ = nullptr;
    if (!image)
        return false;
    width_ = image->Width();
    height_ = image->Height();
    const int kind = image->Kind();
    hasAlpha_ = kind == PVImage::kRGBA || kind == PVImage::kGreyAlpha ||
                (kind == PVImage::kPalette && image->PaletteHasAlpha());

    const int targetWidth = TextureSide(width_);
    const int targetHeight = TextureSide(height_);
    if (targetWidth != width_ || targetHeight != height_) {
        if (targetWidth >= width_ && targetHeight >= height_) {
            if (!Replace(image, image->ResizeNearest(targetWidth, targetHeight)))
                return false;
        } else if (!Replace(image, image->ExpandPalette()) ||
                   !Replace(image, image->ResizeArea(targetWidth, targetHeight))) {
            return false;
        }
    }
    if (!Replace(image, image->ExpandPalette()))
        return false;
    image_ = image;
    return true;
}

PVImage* PVBitmap::TakeImage(ReleaseTexture release, void* context, uint32_t handle)
{
    PVImage* image = image_;
    if (!image)
        return nullptr;
    image_ = nullptr;
    texture_ = handle;
    release_ = release;
    releaseContext_ = context;
    return image;
}
