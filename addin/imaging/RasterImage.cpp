#include "addin/imaging/RasterImage.h"

#include "addin/imaging/DirectImage.h"
#include "addin/imaging/IndexedImage.h"
#include "base/MKAlloc.h"

#include <string.h>

namespace {

// Rows are addressed with 32-bit strides and offsets; a larger buffer could
// not be indexed and could never be allocated in a 32-bit process anyway.
const int64_t kMaxPixelBytes = INT32_MAX;

}  // namespace

RasterImage::RasterImage(PixelType type) : m_pixelType(type) {}

RasterImage::~RasterImage()
{
    MKFree(m_pixels);
}

bool RasterImage::IsValid() const
{
    return m_width > 0 && m_height > 0 && m_pixels && IsPixelTypeInRange(m_pixelType);
}

void RasterImage::SetName(const MKString& name)
{
    m_name = name;
}

void RasterImage::CopyProvenance(const RasterImage& from)
{
    m_name = from.m_name;
    m_path = from.m_path;
    m_fileType = from.m_fileType;
    m_modifiedTime = from.m_modifiedTime;
}

bool RasterImage::SetSize(int width, int height)
{
    if (width == m_width && height == m_height && m_pixels)
        return true;
    if (!IsPixelTypeInRange(m_pixelType))
        return false;
    MKFree(m_pixels);
    m_pixels = nullptr;
    m_width = width > 0 ? width : 0;
    m_height = height > 0 ? height : 0;
    int64_t stride = (int64_t(GetBytesPerPixel()) * m_width + 3) / 4 * 4;
    int64_t bytes = stride * m_height;
    if (bytes > 0 && bytes <= kMaxPixelBytes)
        m_pixels = static_cast<uint8_t*>(MKAlloc(size_t(bytes)));
    if (!m_pixels) {
        m_width = m_height = m_stride = 0;
        return false;
    }
    m_stride = int32_t(stride);
    return true;
}

RasterImage* RasterImage::Clone() const
{
    if (!IsValid())
        return nullptr;
    RasterImage* copy = CreateRasterImage(m_pixelType, m_width, m_height);
    if (!copy)
        return nullptr;
    memcpy(copy->m_pixels, m_pixels, size_t(m_stride) * size_t(m_height));
    copy->m_fileType = m_fileType;
    if (const IndexedImage* indexed = AsIndexed())
        copy->AsIndexed()->CopyPaletteFrom(*indexed);
    return copy;
}

bool RasterImage::HasAlpha() const
{
    PixelType type = m_pixelType;
    if (const IndexedImage* indexed = AsIndexed())
        type = indexed->GetPaletteType();
    return type == PixelType::Rgba || type == PixelType::Alpha || type == PixelType::GrayAlpha;
}

IndexedImage* RasterImage::AsIndexed()
{
    return m_pixelType == PixelType::Indexed ? static_cast<IndexedImage*>(this) : nullptr;
}

const IndexedImage* RasterImage::AsIndexed() const
{
    return m_pixelType == PixelType::Indexed ? static_cast<const IndexedImage*>(this) : nullptr;
}

RasterImage* CreateRasterImage(PixelType type, int width, int height)
{
    if (type == PixelType::Indexed)
        return IndexedImage::Create(width, height);
    return DirectImage::Create(type, width, height);
}
