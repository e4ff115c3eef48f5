#include "addin/imaging/IndexedImage.h"

#include <new>
#include <string.h>

namespace {

int ClampCount(int count)
{
    return count > 256 ? 256 : count;
}

}  // namespace

IndexedImage::IndexedImage() : RasterImage(PixelType::Indexed)
{
    for (auto& entry : m_palette) {
        entry[0] = entry[1] = entry[2] = 0;
        entry[3] = 255;
    }
}

bool IndexedImage::IsValid() const
{
    return RasterImage::IsValid() && m_paletteCount >= 1 && m_paletteCount <= 256 &&
           m_paletteType != PixelType::Indexed;
}

IndexedImage* IndexedImage::Create(int width, int height)
{
    IndexedImage* image = new (std::nothrow) IndexedImage;
    if (image && !image->SetSize(width, height)) {
        image->Release();
        image = nullptr;
    }
    return image;
}

void IndexedImage::SetPaletteRgb(int count, const uint8_t* entries)
{
    if (!entries || count <= 0)
        return;
    m_paletteType = PixelType::Rgb;
    m_paletteCount = ClampCount(count);
    for (int i = 0; i < m_paletteCount; ++i) {
        memcpy(m_palette[i], entries + 3 * i, 3);
        m_palette[i][3] = 255;
    }
}

void IndexedImage::SetPaletteRgba(int count, const uint8_t* entries)
{
    if (!entries || count <= 0)
        return;
    m_paletteType = PixelType::Rgba;
    m_paletteCount = ClampCount(count);
    memcpy(m_palette, entries, size_t(m_paletteCount) * 4);
}

void IndexedImage::CopyPaletteFrom(const IndexedImage& other)
{
    m_paletteType = other.m_paletteType;
    m_paletteCount = other.m_paletteCount;
    memcpy(m_palette, other.m_palette, sizeof(m_palette));
}

void IndexedImage::SetPaletteAlpha(int index, uint8_t alpha)
{
    index = index < 0 ? 0 : (index > 255 ? 255 : index);
    m_palette[index][3] = alpha;
}

void IndexedImage::ClassifyPalette()
{
    if (!IsValid() || m_paletteType == PixelType::Alpha)
        return;
    bool translucent = false;
    bool gray = true;
    bool colourEntries = m_paletteType == PixelType::Rgb || m_paletteType == PixelType::Rgba;
    for (int i = 0; i < m_paletteCount; ++i) {
        const uint8_t* e = m_palette[i];
        if (e[3] != 255)
            translucent = true;
        if (colourEntries && (e[0] != e[1] || e[1] != e[2]))
            gray = false;
    }
    PixelType type = m_paletteType;
    if (translucent) {
        if (type == PixelType::Rgb)
            type = PixelType::Rgba;
        else if (type == PixelType::Gray)
            type = PixelType::GrayAlpha;
    } else {
        if (type == PixelType::Rgba)
            type = PixelType::Rgb;
        else if (type == PixelType::GrayAlpha)
            type = PixelType::Gray;
    }
    if (gray) {
        if (type == PixelType::Rgb)
            type = PixelType::Gray;
        else if (type == PixelType::Rgba)
            type = PixelType::GrayAlpha;
    }
    m_paletteType = type;
}

void IndexedImage::CompactPalette()
{
    if (!IsValid())
        return;
    const int width = GetWidth();
    const int height = GetHeight();

    bool used[256] = {};
    for (int r = 0; r < height; ++r) {
        const uint8_t* row = GetRow(r);
        for (int x = 0; x < width; ++x)
            used[row[x]] = true;
    }

    // Entries in index order; a used entry equal to an earlier kept one maps to
    // that one's new index.
    uint8_t newIndex[256];
    int kept[256];
    int keptCount = 0;
    bool identity = true;
    for (int i = 0; i < 256; ++i) {
        if (!used[i])
            continue;
        int match = -1;
        for (int k = 0; k < keptCount && match < 0; ++k) {
            if (memcmp(m_palette[kept[k]], m_palette[i], 4) == 0)
                match = k;
        }
        if (match < 0) {
            match = keptCount;
            kept[keptCount++] = i;
        }
        newIndex[i] = uint8_t(match);
        if (match != i)
            identity = false;
    }

    // With every used entry keeping its index, the kept entries are exactly
    // 0..keptCount - 1: pixels and entries stay, only the count may change.
    if (!identity) {
        for (int r = 0; r < height; ++r) {
            uint8_t* row = GetRow(r);
            for (int x = 0; x < width; ++x)
                row[x] = newIndex[row[x]];
        }
        uint8_t rebuilt[256][4];
        for (auto& entry : rebuilt) {
            entry[0] = entry[1] = entry[2] = 0;
            entry[3] = 255;
        }
        for (int k = 0; k < keptCount; ++k)
            memcpy(rebuilt[k], m_palette[kept[k]], 4);
        memcpy(m_palette, rebuilt, sizeof(m_palette));
    }
    m_paletteCount = keptCount;
    ClassifyPalette();
}
