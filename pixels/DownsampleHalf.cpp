#include "pixels/DownsampleHalf.h"

#include <stddef.h>

namespace {

template <int Bpp>
void HalveRows(int halfWidth, int rows, int sourceStride, const uint8_t* source, int destinationStride,
               uint8_t* destination)
{
    for (int r = 0; r < rows; ++r) {
        const uint8_t* in = source + ptrdiff_t(r) * sourceStride;
        uint8_t* out = destination + ptrdiff_t(r) * destinationStride;
        for (int x = 0; x < halfWidth; ++x, in += 2 * Bpp, out += Bpp) {
            for (int c = 0; c < Bpp; ++c)
                out[c] = uint8_t((in[c] + in[c + Bpp]) >> 1);
        }
    }
}

}  // namespace

bool DownsampleHalf(int width, int rows, int bytesPerPixel, int sourceStride, const uint8_t* source,
                    int destinationStride, uint8_t* destination)
{
    if (width <= 0 || width % 2 != 0 || rows <= 0)
        return false;
    const int half = width / 2;
    switch (bytesPerPixel) {
    case 1:
        HalveRows<1>(half, rows, sourceStride, source, destinationStride, destination);
        return true;
    case 2:
        HalveRows<2>(half, rows, sourceStride, source, destinationStride, destination);
        return true;
    case 3:
        HalveRows<3>(half, rows, sourceStride, source, destinationStride, destination);
        return true;
    case 4:
        HalveRows<4>(half, rows, sourceStride, source, destinationStride, destination);
        return true;
    }
    return false;
}
