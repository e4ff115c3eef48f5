#include "addin/imaging/drawing/DrawingTables.h"

#include "addin/imaging/drawing/GfxObjects.h"

#include <new>

namespace {

void CopySlots(const GfxSlot* table, int size, int count, GfxSlot* out)
{
    if (!out)
        return;
    for (int i = 0; i < count && i < size; ++i)
        out[i] = table[i];
}

}  // namespace

extern "C" GfxFactory* __cdecl FillDrawingTables(int count1, GfxSlot* array1, int count2, GfxSlot* array2,
                                                 int count3, GfxSlot* array3, int count4, GfxSlot* array4,
                                                 int count5, GfxSlot* array5, int count6, GfxSlot* array6,
                                                 int count7, GfxSlot* array7, int count8, GfxSlot* array8,
                                                 int count9, GfxSlot* array9)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<GfxFactory*>(nullptr), [&] {
        CopySlots(kGfxFactoryTable, kGfxFactorySlots, count1, array1);
        CopySlots(kGfxHandleTable, kGfxHandleSlots, count2, array2);
        CopySlots(kGfxHandleTable, kGfxHandleSlots, count3, array3);
        CopySlots(kGfxShaderTable, kGfxShaderSlots, count4, array4);
        CopySlots(kGfxPictureTable, kGfxPictureSlots, count5, array5);
        CopySlots(kGfxPathTable, kGfxPathSlots, count6, array6);
        CopySlots(kGfxPaintTable, kGfxPaintSlots, count7, array7);
        CopySlots(kGfxBitmapTable, kGfxBitmapSlots, count8, array8);
        CopySlots(kGfxCanvasTable, kGfxCanvasSlots, count9, array9);
        return new (std::nothrow) GfxFactory();
    });
}
