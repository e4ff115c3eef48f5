#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"
#include "addin/imaging/drawing/DrawMatrix.h"

#include <cairo.h>
#include <vector>
#include <windows.h>

// A drawing device whose pixels are a top-down 32-bit DIB section, so the
// same pixels are drawn by our rasteriser and by GDI (through a memory DC
// made on first use that follows the device's matrix and clip) and copied to
// any DC. Reference counted; one thread at a time.
class BitmapPlatformDevice {
public:
    // Null when GDI cannot make the section. A width or height of 0 makes a
    // 1 x 1 device. A non-opaque device without a shared section starts
    // transparent; other pixels are left as they are.
    static BitmapPlatformDevice* Make(HDC reference, int width, int height, bool opaque, HANDLE section);
    static BitmapPlatformDevice* MakeForScreen(int width, int height, bool opaque, HANDLE section);

    void AddRef() { InterlockedIncrement(&m_refs); }
    void Release();

    DrawBitmap& GetBitmap() { return m_bitmap; }
    HBITMAP GetBitmapHandle() const { return m_bitmapHandle; }

    // The matrix and clip (rectangles in device pixels) GDI output follows
    // from the next GetMemoryDC on.
    void SetMatrixClip(const DrawMatrix& matrix, const std::vector<RECT>& clip);
    // The same with the clip as a coverage mask of the device's size (null:
    // the whole device), which must not change afterwards; the device holds
    // a reference and turns it into rectangles only when GDI next needs them.
    void SetMatrixClipMask(const DrawMatrix& matrix, cairo_surface_t* mask);
    const DrawMatrix& GetMatrix() const { return m_transform; }
    // The DC through which GDI draws into the pixels; kept until the device dies.
    HDC GetMemoryDC();
    // Finishes pending GDI output before the pixels are read.
    void FlushGdi();
    // Copies the source rectangle (null: everything) to (x, y) of the target:
    // a plain copy when opaque, else an alpha blend.
    void CopyToDC(HDC target, int x, int y, const RECT* source);
    // Makes the rectangle, offset by the matrix's whole-pixel translation,
    // opaque (alpha OR 0xFF).
    void SetOpaqueRect(int x, int y, int width, int height);

private:
    BitmapPlatformDevice(HBITMAP bitmap, void* bits, int width, int height, bool opaque);
    ~BitmapPlatformDevice();
    BitmapPlatformDevice(const BitmapPlatformDevice&) = delete;
    BitmapPlatformDevice& operator=(const BitmapPlatformDevice&) = delete;

    LONG m_refs = 1;
    HBITMAP m_bitmapHandle;
    HDC m_memoryDC = nullptr;
    bool m_configDirty = true;
    DrawMatrix m_transform;
    std::vector<RECT> m_clip;
    // The mask m_clip is made from (a reference; null when given as
    // rectangles), and whether m_clip still has to be made from it.
    cairo_surface_t* m_clipMask = nullptr;
    bool m_clipStale = false;
    DrawBitmap m_bitmap;
};
