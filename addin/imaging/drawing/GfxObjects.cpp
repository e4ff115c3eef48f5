#include "addin/imaging/drawing/GfxObjects.h"

#include "base/MKCriticalSection.h"

#include <new>
#include <string.h>

namespace {

MKCriticalSection& ReleaseSection()
{
    static MKCriticalSection s_section;
    return s_section;
}

}  // namespace

GfxReleaseLock::GfxReleaseLock() { EnterCriticalSection(ReleaseSection().Get()); }

GfxReleaseLock::~GfxReleaseLock() { LeaveCriticalSection(ReleaseSection().Get()); }

DrawMatrix GfxReadMatrix(const void* record)
{
    // The record's type mask is not trusted: it is recomputed from the values.
    DrawMatrix matrix;
    if (record) {
        float values[9];
        memcpy(values, record, sizeof(values));
        matrix.SetAll(values);
    }
    return matrix;
}

void GfxWriteMatrix(const DrawMatrix& matrix, void* record)
{
    if (!record)
        return;
    float values[9];
    for (int i = 0; i < 9; ++i)
        values[i] = matrix.Get(i);
    uint32_t mask = matrix.GetType();
    memcpy(record, values, sizeof(values));
    memcpy(static_cast<uint8_t*>(record) + sizeof(values), &mask, sizeof(mask));
}

GfxCanvas* GfxWrapCanvas(std::shared_ptr<DrawCanvas> canvas)
{
    if (!canvas)
        return nullptr;
    auto* wrapper = new (std::nothrow) GfxCanvas();
    if (wrapper)
        wrapper->canvas = std::move(canvas);
    return wrapper;
}

GfxBitmap* GfxWrapDevice(BitmapPlatformDevice* device)
{
    if (!device)
        return nullptr;
    auto* wrapper = new (std::nothrow) GfxBitmap();
    if (wrapper)
        wrapper->device = device;
    else
        device->Release();
    return wrapper;
}

GfxBitmap* GfxWrapBitmap(DrawBitmap&& bitmap)
{
    std::shared_ptr<DrawBitmap> owned;
    try {
        owned = std::make_shared<DrawBitmap>(std::move(bitmap));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    auto* wrapper = new (std::nothrow) GfxBitmap();
    if (wrapper)
        wrapper->owned = std::move(owned);
    return wrapper;
}
