#include "player/engine/PVImageScale.h"

#include "pixels/AreaAverage.h"

bool ScaleImage(int sourceWidth, int sourceHeight, int bytesPerPixel, int sourceStride, const uint8_t* source,
                int width, int height, int stride, uint8_t* destination, PVScaleCancel cancel, void* cancelArgument)
{
    // Exact steps: no span ends past the source.
    return AreaAverage(sourceWidth, sourceHeight, bytesPerPixel, sourceStride, source, width, height, stride,
                       destination, AreaStep::Exact, cancel, cancelArgument);
}
