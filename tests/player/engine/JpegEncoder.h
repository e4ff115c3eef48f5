#pragma once
#include <cstdint>
#include <vector>

// JPEG fixtures made with libjpeg at test time. `pixels` are rows without
// padding of `components` bytes per pixel: 1 grey, 3 RGB, 4 CMYK.
std::vector<uint8_t> EncodeJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels,
                                bool progressive = false);

// The same picture as a tables-only stream and an abbreviated image stream
// that needs those tables.
struct JpegParts {
    std::vector<uint8_t> tables;
    std::vector<uint8_t> image;
};
JpegParts EncodeAbbreviatedJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels);
