#pragma once

// The named resampling filters, numbered as callers pass them to ResizeImage.
enum ImageFilterNumber : int {
    FilterUnknown = 0,
    FilterFast = 1,  // integer area averaging; its kernel entry is unused
    FilterPoint = 2,
    FilterBox = 3,
    FilterTriangle = 4,
    FilterHermite = 5,
    FilterHanning = 6,
    FilterHamming = 7,
    FilterBlackman = 8,
    FilterGaussian = 9,
    FilterQuadratic = 10,
    FilterCubic = 11,
    FilterCatrom = 12,
    FilterMitchell = 13,
    FilterLanczos = 14,
    FilterBessel = 15,
    FilterSinc = 16,
};

const int kImageFilterCount = 17;

// A filter kernel over the distance from the sample centre (in source pixels
// at scale 1), its support (half width of the window) and its name.
struct ImageFilter {
    double (*kernel)(double x);
    float support;
    const wchar_t* name;
};

// The filter of a number from 0 to 16; any other number gives Box.
const ImageFilter& GetImageFilter(int number);

// Bessel function of the first kind, order 1, by rational approximation.
double BesselJ1(double t);
