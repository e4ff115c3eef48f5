#include "addin/hosting/PixelBuffer.h"

#include "addin/imaging/DirectImage.h"
#include "base/MKAlloc.h"

#include <string.h>

namespace {

// A copy of width x height pixels from (x, y) of one area to (destX, destY) of
// another, clipped to both; false when nothing remains. Computed in 64 bits
// so no argument can overflow.
struct CopyArea {
    int x, y, width, height, destX, destY;
};

// Copies `count` pixels between BGR and RGB order (the first and third bytes
// trade places). A 4-byte output pixel takes a 4-byte input's fourth byte, or
// 255 (opaque) after a 3-byte one.
void CopySwappingRedBlue(const uint8_t* in, int inBytes, uint8_t* out, int outBytes, int count)
{
    for (int k = 0; k < count; ++k, in += inBytes, out += outBytes) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        if (outBytes == 4)
            out[3] = inBytes == 4 ? in[3] : 255;
    }
}

bool ClipCopy(int sourceWidth, int sourceHeight, int destWidth, int destHeight, int x, int y, int width, int height,
              int destX, int destY, CopyArea& out)
{
    int64_t sx = x, sy = y, w = width, h = height, dx = destX, dy = destY;
    if (sx < 0)
        w += sx, dx -= sx, sx = 0;
    if (sy < 0)
        h += sy, dy -= sy, sy = 0;
    if (dx < 0)
        w += dx, sx -= dx, dx = 0;
    if (dy < 0)
        h += dy, sy -= dy, dy = 0;
    if (w > sourceWidth - sx)
        w = sourceWidth - sx;
    if (w > destWidth - dx)
        w = destWidth - dx;
    if (h > sourceHeight - sy)
        h = sourceHeight - sy;
    if (h > destHeight - dy)
        h = destHeight - dy;
    if (w <= 0 || h <= 0)
        return false;
    out = {int(sx), int(sy), int(w), int(h), int(dx), int(dy)};
    return true;
}

// round(value / 255) for value >= 0.
inline uint8_t DivideBy255Rounded(int value)
{
    int v = (2 * value + 255) / 510;
    return uint8_t(v > 255 ? 255 : v);
}

}  // namespace

PixelBuffer::PixelBuffer(uint8_t* data, int width, int height, int stride, bool bottomUp, int bytesPerPixel)
    : m_width(data && width > 0 && height > 0 ? width : 0),
      m_height(data && width > 0 && height > 0 ? height : 0),
      m_data(data),
      m_stride(stride),
      m_bottomUp(bottomUp),
      m_bytesPerPixel(bytesPerPixel == 3 ? 3 : 4)
{
}

PixelBuffer::~PixelBuffer()
{
    Reset();
}

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept
{
    *this = static_cast<PixelBuffer&&>(other);
}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_ownsData = other.m_ownsData;
        m_width = other.m_width;
        m_height = other.m_height;
        m_data = other.m_data;
        m_stride = other.m_stride;
        m_bottomUp = other.m_bottomUp;
        m_bytesPerPixel = other.m_bytesPerPixel;
        other.m_ownsData = false;
        other.m_data = nullptr;
        other.m_width = other.m_height = 0;
    }
    return *this;
}

void PixelBuffer::Reset()
{
    if (m_ownsData)
        MKFree(m_data);
    m_ownsData = false;
    m_data = nullptr;
    m_width = m_height = m_stride = 0;
}

bool PixelBuffer::Allocate(int width, int height, int bytesPerPixel)
{
    Reset();
    if (width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4))
        return false;
    int64_t stride = (int64_t(width) * bytesPerPixel + 3) & ~int64_t(3);
    if (stride * height > INT32_MAX)
        return false;
    m_data = static_cast<uint8_t*>(MKAlloc(size_t(stride * height)));
    if (!m_data)
        return false;
    m_ownsData = true;
    m_width = width;
    m_height = height;
    m_stride = int(stride);
    m_bottomUp = false;
    m_bytesPerPixel = bytesPerPixel;
    return true;
}

bool PixelBuffer::Clip(RECT& rect) const
{
    if (IsEmpty())
        return false;
    rect.left = rect.left < 0 ? 0 : rect.left;
    rect.top = rect.top < 0 ? 0 : rect.top;
    rect.right = rect.right > m_width ? m_width : rect.right;
    rect.bottom = rect.bottom > m_height ? m_height : rect.bottom;
    return rect.left < rect.right && rect.top < rect.bottom;
}

void PixelBuffer::FillBytes(const RECT& area, uint8_t value)
{
    RECT rect = area;
    if (!Clip(rect))
        return;
    const size_t bytes = size_t(rect.right - rect.left) * m_bytesPerPixel;
    for (int y = rect.top; y < rect.bottom; ++y)
        memset(PixelAt(rect.left, y), value, bytes);
}

void PixelBuffer::Fill(const RECT& area, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    if (r == g && g == b && b == a) {
        FillBytes(area, r);
        return;
    }
    RECT rect = area;
    if (!Clip(rect))
        return;
    const uint8_t pixel[4] = {b, g, r, a};
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint8_t* p = PixelAt(rect.left, y);
        for (int x = rect.left; x < rect.right; ++x, p += m_bytesPerPixel)
            memcpy(p, pixel, size_t(m_bytesPerPixel));
    }
}

void PixelBuffer::SetAlpha(const RECT& area, uint8_t alpha)
{
    RECT rect = area;
    if (m_bytesPerPixel != 4 || !Clip(rect))
        return;
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint8_t* p = PixelAt(rect.left, y);
        for (int x = rect.left; x < rect.right; ++x, p += 4)
            p[3] = alpha;
    }
}

bool PixelBuffer::IsUniform(uint32_t* word) const
{
    if (m_bytesPerPixel != 4 || IsEmpty())
        return false;
    uint32_t first;
    memcpy(&first, PixelAt(0, 0), 4);
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* p = PixelAt(0, y);
        for (int x = 0; x < m_width; ++x, p += 4) {
            if (memcmp(p, &first, 4) != 0)
                return false;
        }
    }
    if (word)
        *word = first;
    return true;
}

void PixelBuffer::Premultiply(const RECT& area)
{
    RECT rect = area;
    if (m_bytesPerPixel != 4 || !Clip(rect))
        return;
    for (int y = rect.top; y < rect.bottom; ++y) {
        uint8_t* p = PixelAt(rect.left, y);
        for (int x = rect.left; x < rect.right; ++x, p += 4) {
            const int a = p[3];
            if (a == 255)
                continue;
            for (int c = 0; c < 3; ++c)
                p[c] = a == 0 ? 0 : DivideBy255Rounded(p[c] * a);
        }
    }
}

void PixelBuffer::CompositeOverColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a, int width, int height,
                                     PixelBuffer& buffer, int x, int y)
{
    RECT rect = {x, y, int(int64_t(x) + width > INT32_MAX ? INT32_MAX : int64_t(x) + width),
                 int(int64_t(y) + height > INT32_MAX ? INT32_MAX : int64_t(y) + height)};
    if (buffer.m_bytesPerPixel != 4 || width <= 0 || height <= 0 || !buffer.Clip(rect))
        return;
    const uint8_t under[4] = {b, g, r, a};
    for (int row = rect.top; row < rect.bottom; ++row) {
        uint8_t* p = buffer.PixelAt(rect.left, row);
        for (int col = rect.left; col < rect.right; ++col, p += 4) {
            const int alpha = p[3];
            if (alpha == 255)
                continue;
            if (alpha == 0) {
                memcpy(p, under, 4);
                continue;
            }
            for (int c = 0; c < 3; ++c)
                p[c] = DivideBy255Rounded(alpha * p[c] + (255 - alpha) * under[c]);
            p[3] = DivideBy255Rounded(alpha * 255 + (255 - alpha) * under[3]);
        }
    }
}

bool PixelBuffer::GetPixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b, uint8_t* a) const
{
    if (IsEmpty() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    const uint8_t* p = PixelAt(x, y);
    if (r)
        *r = p[2];
    if (g)
        *g = p[1];
    if (b)
        *b = p[0];
    if (a)
        *a = m_bytesPerPixel == 4 ? p[3] : 255;
    return true;
}

void PixelBuffer::CopyPixels(const PixelBuffer& source, int x, int y, int width, int height, PixelBuffer& destination,
                             int destX, int destY)
{
    CopyArea area;
    if (source.m_bytesPerPixel != destination.m_bytesPerPixel || source.IsEmpty() || destination.IsEmpty() ||
        !ClipCopy(source.m_width, source.m_height, destination.m_width, destination.m_height, x, y, width, height,
                  destX, destY, area))
        return;
    const size_t bytes = size_t(area.width) * source.m_bytesPerPixel;
    for (int i = 0; i < area.height; ++i)
        memmove(destination.PixelAt(area.destX, area.destY + i), source.PixelAt(area.x, area.y + i), bytes);
}

void PixelBuffer::DrawRasterImage(const RasterImage& image, int x, int y, int width, int height,
                                  PixelBuffer& destination, int destX, int destY)
{
    const PixelType type = image.GetPixelType();
    CopyArea area;
    if ((type != PixelType::Rgb && type != PixelType::Rgba) || !image.IsValid() || destination.IsEmpty() ||
        !ClipCopy(image.GetWidth(), image.GetHeight(), destination.m_width, destination.m_height, x, y, width,
                  height, destX, destY, area))
        return;
    const int inBytes = image.GetBytesPerPixel();
    const int outBytes = destination.m_bytesPerPixel;
    for (int i = 0; i < area.height; ++i) {
        const uint8_t* in = image.GetTopRow(area.y + i) + ptrdiff_t(area.x) * inBytes;
        CopySwappingRedBlue(in, inBytes, destination.PixelAt(area.destX, area.destY + i), outBytes, area.width);
    }
}

RasterImage* PixelBuffer::ToRasterImageRgba() const
{
    return ToRasterImage(PixelType::Rgba);
}

RasterImage* PixelBuffer::ToRasterImageRgb() const
{
    return ToRasterImage(PixelType::Rgb);
}

RasterImage* PixelBuffer::ToRasterImage(PixelType type) const
{
    RasterImage* image = IsEmpty() ? nullptr : DirectImage::Create(type, m_width, m_height);
    if (!image)
        return nullptr;
    const int outBytes = image->GetBytesPerPixel();
    for (int y = 0; y < m_height; ++y)
        CopySwappingRedBlue(PixelAt(0, y), m_bytesPerPixel, image->GetTopRow(y), outBytes, m_width);
    return image;
}

void PixelBuffer::RecoverAlpha(const PixelBuffer& black, const PixelBuffer& white, int x, int y, int width,
                               int height, PixelBuffer& out)
{
    if (black.m_bytesPerPixel != 4 || white.m_bytesPerPixel != 4 || out.m_bytesPerPixel != 4)
        return;
    RECT rect = {x, y, int(int64_t(x) + width > INT32_MAX ? INT32_MAX : int64_t(x) + width),
                 int(int64_t(y) + height > INT32_MAX ? INT32_MAX : int64_t(y) + height)};
    if (width <= 0 || height <= 0 || !black.Clip(rect) || !white.Clip(rect) || !out.Clip(rect))
        return;
    for (int row = rect.top; row < rect.bottom; ++row) {
        const uint8_t* b = black.PixelAt(rect.left, row);
        const uint8_t* w = white.PixelAt(rect.left, row);
        uint8_t* o = out.PixelAt(rect.left, row);
        for (int col = rect.left; col < rect.right; ++col, b += 4, w += 4, o += 4) {
            // How much more of the white background came through than of the
            // black one; noise can make the white render the darker one.
            const int through = int(w[2]) - int(b[2]);
            if (through >= 255) {
                memset(o, 0, 4);
            } else if (through <= 0) {
                memmove(o, b, 3);
                o[3] = 255;
            } else {
                const int alpha = 255 - through;
                for (int c = 0; c < 3; ++c) {
                    int v = (b[c] * 255 + alpha / 2) / alpha;
                    o[c] = uint8_t(v > 255 ? 255 : v);
                }
                o[3] = uint8_t(alpha);
            }
        }
    }
}
