#pragma once
#include "addin/imaging/drawing/BitmapPlatformDevice.h"
#include "addin/imaging/drawing/DrawBitmap.h"
#include "addin/imaging/drawing/DrawCanvas.h"
#include "addin/imaging/drawing/DrawLooper.h"
#include "addin/imaging/drawing/DrawMaskFilter.h"
#include "addin/imaging/drawing/DrawPaint.h"
#include "addin/imaging/drawing/DrawPath.h"
#include "addin/imaging/drawing/DrawPicture.h"
#include "addin/imaging/drawing/DrawShader.h"
#include "addin/imaging/drawing/GfxSlot.h"

#include <memory>
#include <windows.h>

// The objects plug-ins hold through the drawing tables. Each starts with its
// table, which also tells its kind: a slot refuses (does nothing, answers 0)
// an object whose table is not the one it expects. Objects hold references
// to drawing objects, never to each other, so a plug-in may release a
// shader, filter or bitmap right after handing it to a paint or canvas.

extern const GfxSlot kGfxFactoryTable[kGfxFactorySlots];
extern const GfxSlot kGfxCanvasTable[kGfxCanvasSlots];
extern const GfxSlot kGfxPaintTable[kGfxPaintSlots];
extern const GfxSlot kGfxPathTable[kGfxPathSlots];
extern const GfxSlot kGfxShaderTable[kGfxShaderSlots];
extern const GfxSlot kGfxBitmapTable[kGfxBitmapSlots];
extern const GfxSlot kGfxPictureTable[kGfxPictureSlots];
extern const GfxSlot kGfxHandleTable[kGfxHandleSlots];

struct GfxFactory {
    const GfxSlot* table = kGfxFactoryTable;
    static const GfxSlot* Table() { return kGfxFactoryTable; }
};

struct GfxCanvas {
    const GfxSlot* table = kGfxCanvasTable;
    std::shared_ptr<DrawCanvas> canvas;
    // The memory DC handed out by BeginPlatformPaint until EndPlatformPaint.
    HDC dc = nullptr;
    static const GfxSlot* Table() { return kGfxCanvasTable; }
};

struct GfxPaint {
    const GfxSlot* table = kGfxPaintTable;
    DrawPaint paint;
    static const GfxSlot* Table() { return kGfxPaintTable; }
};

struct GfxPath {
    const GfxSlot* table = kGfxPathTable;
    DrawPath path;
    static const GfxSlot* Table() { return kGfxPathTable; }
};

struct GfxShader {
    const GfxSlot* table = kGfxShaderTable;
    DrawShader* shader = nullptr;  // one reference
    static const GfxSlot* Table() { return kGfxShaderTable; }
};

// Pixels either of a platform device (one reference held) or owned, shared
// with the canvases made on them.
struct GfxBitmap {
    const GfxSlot* table = kGfxBitmapTable;
    BitmapPlatformDevice* device = nullptr;
    std::shared_ptr<DrawBitmap> owned;
    DrawBitmap& Bitmap() const { return device ? device->GetBitmap() : *owned; }
    static const GfxSlot* Table() { return kGfxBitmapTable; }
};

struct GfxPicture {
    const GfxSlot* table = kGfxPictureTable;
    DrawPicture* picture = nullptr;  // one reference
    static const GfxSlot* Table() { return kGfxPictureTable; }
};

// A mask filter or a looper (one reference on whichever it holds).
struct GfxHandle {
    const GfxSlot* table = kGfxHandleTable;
    DrawMaskFilter* filter = nullptr;
    DrawLooper* looper = nullptr;
    static const GfxSlot* Table() { return kGfxHandleTable; }
};

// The object when it is of the kind, else null.
template <class T>
T* GfxCheck(T* object)
{
    return object && object->table == T::Table() ? object : nullptr;
}

// The process-wide lock every release runs under: plug-ins release from any
// thread, finalizers included.
class GfxReleaseLock {
public:
    GfxReleaseLock();
    ~GfxReleaseLock();
    GfxReleaseLock(const GfxReleaseLock&) = delete;
    GfxReleaseLock& operator=(const GfxReleaseLock&) = delete;
};

// Slot arguments as the tables pass them.
inline bool GfxFlag(int32_t value) { return (value & 0xFF) != 0; }
DrawMatrix GfxReadMatrix(const void* record);
void GfxWriteMatrix(const DrawMatrix& matrix, void* record);
inline DrawRect GfxRect(float x, float y, float width, float height) { return {x, y, x + width, y + height}; }

// New wrappers; null when memory runs out.
GfxCanvas* GfxWrapCanvas(std::shared_ptr<DrawCanvas> canvas);
GfxBitmap* GfxWrapDevice(BitmapPlatformDevice* device);
GfxBitmap* GfxWrapBitmap(DrawBitmap&& bitmap);
