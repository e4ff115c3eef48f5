#pragma once
#include "addin/hosting/PixelBuffer.h"
#include "base/MKString.h"

#include <ocidl.h>
#include <stdint.h>
#include <windows.h>

// A 32-bit bottom-up DIB section selected into a memory DC of its own, through
// which window pixels, a windowless control's drawing and GDI output meet our
// pixel operations. The surface owns the DC and the bitmap and deletes both.
// Used on the thread that made it.
class DibSurface {
public:
    // A surface compatible with the reference DC (null: the screen); null for
    // a zero or negative size or when GDI refuses.
    static DibSurface* Create(HDC reference, int width, int height);
    virtual ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC GetDC() const { return m_dc; }
    HBITMAP GetBitmap() const { return m_bitmap; }
    int GetWidth() const { return m_header.biWidth; }
    int GetHeight() const { return m_header.biHeight; }
    // A view of the bits, valid while the surface lives. GDI may still be
    // drawing into them: call GdiFlush first after GDI output.
    PixelBuffer GetPixelBuffer() const;

    // Copies the window's client pixels from (x, y) into the surface at
    // (destX, destY); the copy never reaches beyond the requested size or the
    // surface. Nothing happens without a DC or for an empty request.
    void CopyFromWindowDC(HWND window, int x, int y, int width, int height, int destX, int destY);
    // The same; with desktop composition on, from the screen (what the user
    // sees) instead of the window's own DC.
    void CopyFromWindow(HWND window, int x, int y, int width, int height, int destX, int destY);
    // Lets a view object draw its content into the clip rectangle (surface
    // pixels), with its (x, y) at the surface's origin. `bounds` is where the
    // object lies in its own coordinates (null: the clip rectangle).
    void DrawViewObject(IViewObject* view, int x, int y, const RECT& clip, const RECT* bounds = nullptr);

    void FillBytes(const RECT& rect, uint8_t value);
    void Fill(const RECT& rect, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    void FillAll(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    void SetAlpha(int x, int y, int width, int height, uint8_t alpha);
    bool GetPixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b, uint8_t* a) const;

    // Writes the pixels (with alpha) as a PNG file at the compression level,
    // or (without alpha) as a JPEG file of the quality; the writer's answer.
    bool SavePng(const MKString& path, int level) const;
    bool SaveJpeg(const MKString& path, int quality) const;

private:
    DibSurface() = default;

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    BITMAPINFOHEADER m_header = {};
    uint8_t* m_bits = nullptr;
};

// The colour of one client pixel of the window as alpha | red << 8 | green << 16
// | blue << 24 (the alpha a 1 x 1 surface cleared to 0 received); false, with
// 0, without a window or when no surface could be made.
bool ReadScreenPixel(HWND window, int x, int y, uint32_t* colour);
