#include "addin/hosting/DibSurface.h"

#include "addin/imaging/ImageFiles.h"
#include "base/MKSystemChecks.h"

#include <new>

namespace {

RECT Whole(int width, int height)
{
    RECT rect = {0, 0, width, height};
    return rect;
}

}  // namespace

DibSurface* DibSurface::Create(HDC reference, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    DibSurface* surface = new (std::nothrow) DibSurface;
    if (!surface)
        return nullptr;
    BITMAPINFOHEADER& h = surface->m_header;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    surface->m_dc = CreateCompatibleDC(reference);
    void* bits = nullptr;
    if (surface->m_dc) {
        surface->m_bitmap = CreateDIBSection(reference ? reference : surface->m_dc,
                                             reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (!surface->m_bitmap || !bits) {
        delete surface;
        return nullptr;
    }
    surface->m_bits = static_cast<uint8_t*>(bits);
    surface->m_oldBitmap = SelectObject(surface->m_dc, surface->m_bitmap);
    return surface;
}

DibSurface::~DibSurface()
{
    if (m_dc && m_oldBitmap)
        SelectObject(m_dc, m_oldBitmap);
    if (m_bitmap)
        DeleteObject(m_bitmap);
    if (m_dc)
        DeleteDC(m_dc);
}

PixelBuffer DibSurface::GetPixelBuffer() const
{
    return PixelBuffer(m_bits, GetWidth(), GetHeight(), GetWidth() * 4, true, 4);
}

void DibSurface::CopyFromWindowDC(HWND window, int x, int y, int width, int height, int destX, int destY)
{
    // Only the requested rectangle, cut at the surface's edges.
    int64_t w = width, h = height;
    if (w > int64_t(GetWidth()) - destX)
        w = int64_t(GetWidth()) - destX;
    if (h > int64_t(GetHeight()) - destY)
        h = int64_t(GetHeight()) - destY;
    if (w <= 0 || h <= 0)
        return;
    HDC source = ::GetDC(window);
    if (!source)
        return;
    POINT origin = {0, 0};
    LPtoDP(source, &origin, 1);
    BitBlt(m_dc, destX, destY, int(w), int(h), source, x - origin.x, y - origin.y, SRCCOPY);
    GdiFlush();
    ReleaseDC(window, source);
}

void DibSurface::CopyFromWindow(HWND window, int x, int y, int width, int height, int destX, int destY)
{
    if (width <= 0 || height <= 0)
        return;
    if (!MKIsDwmCompositionEnabled()) {
        CopyFromWindowDC(window, x, y, width, height, destX, destY);
        return;
    }
    // Composed windows keep their own DC's pixels off screen: take what the
    // desktop shows there.
    POINT corner = {x, y};
    MapWindowPoints(window, HWND_DESKTOP, &corner, 1);
    CopyFromWindowDC(GetDesktopWindow(), corner.x, corner.y, width, height, destX, destY);
}

void DibSurface::DrawViewObject(IViewObject* view, int x, int y, const RECT& clip, const RECT* bounds)
{
    if (!view)
        return;
    HRGN region = CreateRectRgnIndirect(&clip);
    SelectClipRgn(m_dc, region);
    POINT oldOrigin;
    SetViewportOrgEx(m_dc, -x, -y, &oldOrigin);
    DVASPECTINFO aspect = {sizeof(DVASPECTINFO), DVASPECTINFOFLAG_CANOPTIMIZE};
    const RECT& placed = bounds ? *bounds : clip;
    RECTL drawn = {placed.left, placed.top, placed.right, placed.bottom};
    view->Draw(DVASPECT_CONTENT, -1, &aspect, nullptr, nullptr, m_dc, &drawn, nullptr, nullptr, 0);
    SetViewportOrgEx(m_dc, oldOrigin.x, oldOrigin.y, nullptr);
    // The clip would otherwise stay on the DC and cut later copies short.
    SelectClipRgn(m_dc, nullptr);
    if (region)
        DeleteObject(region);
    GdiFlush();
}

void DibSurface::FillBytes(const RECT& rect, uint8_t value)
{
    GetPixelBuffer().FillBytes(rect, value);
}

void DibSurface::Fill(const RECT& rect, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    GetPixelBuffer().Fill(rect, r, g, b, a);
}

void DibSurface::FillAll(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    GetPixelBuffer().Fill(Whole(GetWidth(), GetHeight()), r, g, b, a);
}

void DibSurface::SetAlpha(int x, int y, int width, int height, uint8_t alpha)
{
    RECT rect = {x, y, int(int64_t(x) + width > INT32_MAX ? INT32_MAX : int64_t(x) + width),
                 int(int64_t(y) + height > INT32_MAX ? INT32_MAX : int64_t(y) + height)};
    GetPixelBuffer().SetAlpha(rect, alpha);
}

bool DibSurface::GetPixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b, uint8_t* a) const
{
    return GetPixelBuffer().GetPixel(x, y, r, g, b, a);
}

bool DibSurface::SavePng(const MKString& path, int level) const
{
    RasterImage* image = GetPixelBuffer().ToRasterImageRgba();
    bool ok = image && SavePngFile(image, path, level);
    if (image)
        image->Release();
    return ok;
}

bool DibSurface::SaveJpeg(const MKString& path, int quality) const
{
    RasterImage* image = GetPixelBuffer().ToRasterImageRgb();
    bool ok = image && SaveJpegFile(image, path, quality, false, false, nullptr, nullptr);
    if (image)
        image->Release();
    return ok;
}

bool ReadScreenPixel(HWND window, int x, int y, uint32_t* colour)
{
    if (colour)
        *colour = 0;
    if (!window)
        return false;
    HDC windowDC = ::GetDC(window);
    DibSurface* surface = DibSurface::Create(windowDC, 1, 1);
    if (windowDC)
        ReleaseDC(window, windowDC);
    if (!surface)
        return false;
    surface->FillBytes(Whole(1, 1), 0);
    surface->CopyFromWindow(window, x, y, 1, 1, 0, 0);
    uint8_t r = 0, g = 0, b = 0, a = 0;
    surface->GetPixel(0, 0, &r, &g, &b, &a);
    delete surface;
    if (colour)
        *colour = uint32_t(a) | uint32_t(r) << 8 | uint32_t(g) << 16 | uint32_t(b) << 24;
    return true;
}
