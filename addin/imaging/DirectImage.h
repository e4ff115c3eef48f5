#pragma once
#include "addin/imaging/RasterImage.h"

// Raster image of pixel types 1 to 5 (no palette). The factories answer a sized
// image carrying one reference, or null when the size cannot be set.
class DirectImage : public RasterImage {
public:
    explicit DirectImage(PixelType type) : RasterImage(type) {}

    static DirectImage* Create(PixelType type, int width, int height);
    static DirectImage* CreateRgb24(int width, int height) { return Create(PixelType::Rgb, width, height); }
    static DirectImage* CreateArgb32(int width, int height) { return Create(PixelType::Rgba, width, height); }
    static DirectImage* CreateAlpha8(int width, int height) { return Create(PixelType::Alpha, width, height); }
    static DirectImage* CreateGray8(int width, int height) { return Create(PixelType::Gray, width, height); }
    static DirectImage* CreateGrayAlpha16(int width, int height) { return Create(PixelType::GrayAlpha, width, height); }
};
