#include "addin/imaging/drawing/GfxObjects.h"

// The picture and handle tables' slots.

namespace GfxPictureSlots {

void Release(GfxPicture* picture)
{
    if (!GfxCheck(picture))
        return;
    GfxReleaseLock lock;
    picture->picture->Release();
    delete picture;
}

// Flags are accepted as the interface passes them; a recording needs none.
GfxCanvas* BeginRecording(GfxPicture* picture, int32_t width, int32_t height, uint32_t)
{
    if (!GfxCheck(picture) || width < 0 || height < 0)
        return nullptr;
    return GfxWrapCanvas(picture->picture->BeginRecording(width, height));
}

void EndRecording(GfxPicture* picture)
{
    if (GfxCheck(picture))
        picture->picture->EndRecording();
}

void Draw(GfxPicture* picture, GfxCanvas* canvas)
{
    if (GfxCheck(picture) && GfxCheck(canvas))
        picture->picture->Draw(*canvas->canvas);
}

}  // namespace GfxPictureSlots

namespace GfxHandleSlots {

void Release(GfxHandle* handle)
{
    if (!GfxCheck(handle))
        return;
    GfxReleaseLock lock;
    if (handle->filter)
        handle->filter->Release();
    if (handle->looper)
        handle->looper->Release();
    delete handle;
}

}  // namespace GfxHandleSlots

extern const GfxSlot kGfxPictureTable[kGfxPictureSlots] = {
    GFX_SLOT(GfxPictureSlots::Release),
    GFX_SLOT(GfxPictureSlots::BeginRecording),
    GFX_SLOT(GfxPictureSlots::EndRecording),
    GFX_SLOT(GfxPictureSlots::Draw),
};

extern const GfxSlot kGfxHandleTable[kGfxHandleSlots] = {
    GFX_SLOT(GfxHandleSlots::Release),
};
