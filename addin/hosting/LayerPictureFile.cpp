#include "addin/hosting/LayerPictureFile.h"

#include "addin/hosting/DibSurface.h"
#include "addin/hosting/NodeLayer.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"

bool SaveLayerPicture(const NodeLayer& layer, const MKString& path, bool jpeg, int value)
{
    DibSurface* surface = layer.GetSurface();
    if (!surface)
        return false;
    const PixelBuffer pixels = surface->GetPixelBuffer();
    if (pixels.IsEmpty() || pixels.GetBytesPerPixel() != 4)
        return false;
    RasterImage* image = CreateRasterImage(PixelType::Rgba, pixels.GetWidth(), pixels.GetHeight());
    if (!image)
        return false;
    const bool opaque = !layer.IsAlphaMeaningful();
    for (int y = 0; y < pixels.GetHeight(); ++y) {
        uint8_t* row = image->GetTopRow(y);
        for (int x = 0; x < pixels.GetWidth(); ++x) {
            const uint8_t* bgra = pixels.PixelAt(x, y);
            row[4 * x] = bgra[2];
            row[4 * x + 1] = bgra[1];
            row[4 * x + 2] = bgra[0];
            row[4 * x + 3] = opaque ? 255 : bgra[3];
        }
    }
    bool written;
    if (jpeg) {
        RasterImage* rgb = image->ToRgb();
        written = rgb && SaveJpegFile(rgb, path, value, false, false, nullptr, nullptr);
        if (rgb && rgb != image)
            rgb->Release();
    } else {
        written = SavePngFile(image, path, value);
    }
    image->Release();
    return written;
}
