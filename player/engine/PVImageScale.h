#pragma once
#include <cstdint>

// Asked before each halving and every 8th output row of ScaleImage; true
// cancels the scaling, which then fails. Must not throw.
using PVScaleCancel = bool (*)(void* argument);

// Area-averaging scaler for pixels of 1 to 4 bytes: while the source is 16
// or more times the destination along an axis it is halved first (pairs or
// 2 x 2 boxes), then each destination pixel averages the source area it
// covers in 16.16 fixed point. The source is not changed. False for
// non-positive sizes, a pixel size outside 1-4, cancellation or lack of
// memory (the destination may then be partly written).
bool ScaleImage(int sourceWidth, int sourceHeight, int bytesPerPixel, int sourceStride, const uint8_t* source,
                int width, int height, int stride, uint8_t* destination, PVScaleCancel cancel = nullptr,
                void* cancelArgument = nullptr);
