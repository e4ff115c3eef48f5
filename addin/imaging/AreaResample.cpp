#include "addin/imaging/AreaResample.h"

#include "pixels/AreaAverage.h"
#include "addin/imaging/RasterImage.h"

RasterImage* AreaResample(const RasterImage& image, int width, int height, ImageCancelCallback cancel, void* user)
{
    if (width <= 0 || height <= 0 || !image.IsValid())
        return nullptr;
    const int bpp = image.GetBytesPerPixel();
    if (bpp < 1 || bpp > 4)
        return nullptr;
    RasterImage* result = CreateRasterImage(image.GetPixelType(), width, height);
    if (!result)
        return nullptr;
    if (!AreaAverage(image.GetWidth(), image.GetHeight(), bpp, image.GetStride(), image.GetPixels(), width, height,
                     result->GetStride(), result->GetPixels(), AreaStep::SinglePrecision, cancel, user)) {
        result->Release();
        return nullptr;
    }
    return result;
}
