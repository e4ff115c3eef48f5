#include "addin/imaging/drawing/BitmapPlatformDevice.h"

#include "addin/imaging/drawing/ClipMaskRects.h"
#include "addin/imaging/drawing/PlatformDevice.h"

#include <math.h>
#include <string.h>

BitmapPlatformDevice* BitmapPlatformDevice::Make(HDC reference, int width, int height, bool opaque, HANDLE section)
{
    if (width < 0 || height < 0)
        return nullptr;
    if (width == 0 || height == 0)
        width = height = 1;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                      section, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    auto* device = new (std::nothrow) BitmapPlatformDevice(bitmap, bits, width, height, opaque);
    if (!device) {
        DeleteObject(bitmap);
        return nullptr;
    }
    if (!section && !opaque)
        memset(bits, 0, size_t(width) * size_t(height) * 4);
    return device;
}

BitmapPlatformDevice* BitmapPlatformDevice::MakeForScreen(int width, int height, bool opaque, HANDLE section)
{
    HDC screen = GetDC(nullptr);
    BitmapPlatformDevice* device = Make(screen, width, height, opaque, section);
    ReleaseDC(nullptr, screen);
    return device;
}

BitmapPlatformDevice::BitmapPlatformDevice(HBITMAP bitmap, void* bits, int width, int height, bool opaque)
    : m_bitmapHandle(bitmap), m_clip{RECT{0, 0, width, height}}
{
    m_bitmap.SetExternal(BitmapConfig::Argb8888, width, height, width * 4, bits);
    m_bitmap.SetOpaque(opaque);
}

BitmapPlatformDevice::~BitmapPlatformDevice()
{
    if (m_clipMask)
        cairo_surface_destroy(m_clipMask);
    if (m_memoryDC)
        DeleteDC(m_memoryDC);
    DeleteObject(m_bitmapHandle);
}

void BitmapPlatformDevice::Release()
{
    if (InterlockedDecrement(&m_refs) == 0)
        delete this;
}

void BitmapPlatformDevice::SetMatrixClip(const DrawMatrix& matrix, const std::vector<RECT>& clip)
{
    SetMatrixClipMask(matrix, nullptr);
    m_clip = clip;
}

void BitmapPlatformDevice::SetMatrixClipMask(const DrawMatrix& matrix, cairo_surface_t* mask)
{
    m_transform = matrix;
    m_configDirty = true;
    // The same mask again (a matrix change) keeps the rectangles made from it.
    if (mask == m_clipMask && mask)
        return;
    if (m_clipMask)
        cairo_surface_destroy(m_clipMask);
    m_clipMask = mask ? cairo_surface_reference(mask) : nullptr;
    m_clipStale = mask != nullptr;
    if (!mask)
        m_clip.assign(1, RECT{0, 0, m_bitmap.GetWidth(), m_bitmap.GetHeight()});
}

HDC BitmapPlatformDevice::GetMemoryDC()
{
    if (!m_memoryDC) {
        m_memoryDC = CreateCompatibleDC(nullptr);
        if (!m_memoryDC)
            return nullptr;
        PlatformDevice::PrepareDC(m_memoryDC);
        HGDIOBJ previous = SelectObject(m_memoryDC, m_bitmapHandle);
        if (previous)
            DeleteObject(previous);
        m_configDirty = true;
    }
    if (m_configDirty) {
        m_configDirty = false;
        if (m_clipStale) {
            m_clip = ClipMaskRects(m_clipMask, m_bitmap.GetWidth(), m_bitmap.GetHeight());
            m_clipStale = false;
        }
        PlatformDevice::SetDCTransform(m_memoryDC, m_transform);
        PlatformDevice::SetDCClip(m_memoryDC, m_clip);
    }
    return m_memoryDC;
}

void BitmapPlatformDevice::FlushGdi()
{
    if (m_memoryDC)
        GdiFlush();
}

void BitmapPlatformDevice::CopyToDC(HDC target, int x, int y, const RECT* source)
{
    bool hadDC = m_memoryDC != nullptr;
    HDC dc = GetMemoryDC();
    if (!dc)
        return;
    RECT whole = {0, 0, m_bitmap.GetWidth(), m_bitmap.GetHeight()};
    const RECT& r = source ? *source : whole;
    int width = r.right - r.left, height = r.bottom - r.top;
    XFORM identity = {1, 0, 0, 1, 0, 0};
    SetWorldTransform(dc, &identity);
    if (m_bitmap.IsOpaque()) {
        BitBlt(target, x, y, width, height, dc, r.left, r.top, SRCCOPY);
    } else {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(target, x, y, width, height, dc, r.left, r.top, width, height, blend);
    }
    PlatformDevice::SetDCTransform(dc, m_transform);
    if (!hadDC) {
        // The DC made just for this copy goes; the next GetMemoryDC makes a
        // fresh one rather than answering the deleted handle.
        DeleteDC(dc);
        m_memoryDC = nullptr;
    }
}

void BitmapPlatformDevice::SetOpaqueRect(int x, int y, int width, int height)
{
    x += int(floorf(m_transform.Get(DrawMatrix::kTransX) + 0.5f));
    y += int(floorf(m_transform.Get(DrawMatrix::kTransY) + 0.5f));
    if (!PlatformDevice::ClampSpan(m_bitmap.GetWidth(), &x, &width) ||
        !PlatformDevice::ClampSpan(m_bitmap.GetHeight(), &y, &height))
        return;
    FlushGdi();
    for (int row = y; row < y + height; ++row) {
        uint32_t* pixels = m_bitmap.Row32(row);
        for (int column = x; column < x + width; ++column)
            pixels[column] |= 0xFF000000;
    }
}
