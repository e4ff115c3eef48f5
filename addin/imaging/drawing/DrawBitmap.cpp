#include "addin/imaging/drawing/DrawBitmap.h"

#include "addin/imaging/drawing/PremulColor.h"
#include "base/MKAlloc.h"

#include <string.h>
#include <utility>

DrawBitmap::~DrawBitmap() { Reset(); }

DrawBitmap::DrawBitmap(DrawBitmap&& other) noexcept { *this = std::move(other); }

DrawBitmap& DrawBitmap::operator=(DrawBitmap&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_pixels = std::exchange(other.m_pixels, nullptr);
        m_owned = std::exchange(other.m_owned, false);
        m_opaque = std::exchange(other.m_opaque, false);
        m_config = std::exchange(other.m_config, BitmapConfig::None);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_rowBytes = std::exchange(other.m_rowBytes, 0);
    }
    return *this;
}

int DrawBitmap::BytesPerPixel(BitmapConfig config)
{
    switch (config) {
    case BitmapConfig::A8:
        return 1;
    case BitmapConfig::Argb8888:
        return 4;
    default:
        return 0;
    }
}

bool DrawBitmap::Allocate(BitmapConfig config, int width, int height)
{
    Reset();
    int bpp = BytesPerPixel(config);
    if (bpp == 0 || width < 0 || height < 0)
        return false;
    uint64_t rowBytes = uint64_t(width) * bpp;
    uint64_t total = rowBytes * uint64_t(height);
    if (rowBytes > INT32_MAX || total > INT32_MAX)
        return false;
    m_config = config;
    m_width = width;
    m_height = height;
    m_rowBytes = int(rowBytes);
    if (total == 0)
        return true;
    m_pixels = static_cast<uint8_t*>(MKAlloc(size_t(total)));
    if (!m_pixels) {
        Reset();
        return false;
    }
    memset(m_pixels, 0, size_t(total));
    m_owned = true;
    return true;
}

void DrawBitmap::SetExternal(BitmapConfig config, int width, int height, int rowBytes, void* pixels)
{
    Reset();
    m_config = config;
    m_width = width;
    m_height = height;
    m_rowBytes = rowBytes;
    m_pixels = static_cast<uint8_t*>(pixels);
}

bool DrawBitmap::CopyFrom(const DrawBitmap& source)
{
    if (!Allocate(source.m_config, source.m_width, source.m_height))
        return false;
    if (m_pixels)
        for (int y = 0; y < m_height; ++y)
            memcpy(Row(y), source.Row(y), size_t(m_rowBytes));
    m_opaque = source.m_opaque;
    return true;
}

void DrawBitmap::Reset()
{
    if (m_owned)
        MKFree(m_pixels);
    m_pixels = nullptr;
    m_owned = false;
    m_opaque = false;
    m_config = BitmapConfig::None;
    m_width = m_height = m_rowBytes = 0;
}

uint32_t DrawBitmap::GetColor(int x, int y) const
{
    if (m_config == BitmapConfig::A8)
        return uint32_t(Row(y)[x]) << 24;
    if (m_config != BitmapConfig::Argb8888)
        return 0;
    uint32_t pixel = Row32(y)[x];
    return m_opaque ? pixel | 0xFF000000 : UnpremultiplyPixel(pixel);
}

void DrawBitmap::EraseColor(uint32_t color)
{
    if (IsEmpty())
        return;
    if (m_config == BitmapConfig::A8) {
        for (int y = 0; y < m_height; ++y)
            memset(Row(y), int(ColorAlpha(color)), size_t(m_width));
        return;
    }
    if (m_config != BitmapConfig::Argb8888)
        return;
    uint32_t pixel = PremultiplyColor(color);
    for (int y = 0; y < m_height; ++y) {
        uint32_t* row = Row32(y);
        for (int x = 0; x < m_width; ++x)
            row[x] = pixel;
    }
}

bool DrawBitmap::ScrollRect(const RECT* subset, int dx, int dy)
{
    if (IsEmpty() || GetBytesPerPixel() == 0)
        return false;
    RECT all = {0, 0, m_width, m_height}, area = all;
    if (subset && !IntersectRect(&area, subset, &all))
        return false;
    // What lands inside the area, and where it comes from.
    RECT moved = {area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
    RECT target;
    if (dx <= -m_width || dx >= m_width || dy <= -m_height || dy >= m_height || !IntersectRect(&target, &moved, &area))
        return true;
    int bpp = GetBytesPerPixel();
    size_t bytes = size_t(target.right - target.left) * size_t(bpp);
    auto copyRow = [&](int y) {
        memmove(Row(y) + ptrdiff_t(target.left) * bpp, Row(y - dy) + ptrdiff_t(target.left - dx) * bpp, bytes);
    };
    // Rows in the order that never reads a row already overwritten.
    if (dy > 0)
        for (int y = target.bottom - 1; y >= target.top; --y)
            copyRow(y);
    else
        for (int y = target.top; y < target.bottom; ++y)
            copyRow(y);
    return true;
}
