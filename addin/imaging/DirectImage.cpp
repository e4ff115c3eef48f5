#include "addin/imaging/DirectImage.h"

#include <new>

DirectImage* DirectImage::Create(PixelType type, int width, int height)
{
    if (type < PixelType::Rgb || type > PixelType::GrayAlpha)
        return nullptr;
    DirectImage* image = new (std::nothrow) DirectImage(type);
    if (image && !image->SetSize(width, height)) {
        image->Release();
        image = nullptr;
    }
    return image;
}
