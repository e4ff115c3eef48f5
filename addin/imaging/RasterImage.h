#pragma once
#include "addin/imaging/ImageTypes.h"
#include "base/MKRefClass.h"
#include "base/MKString.h"

#include <stddef.h>
#include <stdint.h>

class IndexedImage;

// In-memory picture of 8-bit samples in one of six pixel types. Row 0 is the
// BOTTOM row of the picture; every row starts on a 4-byte boundary (stride =
// bytes per pixel x width rounded up to 4) and padding bytes mean nothing. The
// pixels come from MKAlloc and are owned by the image.
//
// Ownership: a new image carries one reference, its creator's; Release drops it
// and deletes the image. Every function below that answers a new image hands
// that reference to the caller and answers null on failure (bad input, memory).
// Images with pixel type Indexed are always IndexedImage objects. One thread at
// a time.
class RasterImage : public MKRefClass {
public:
    ~RasterImage() override;

    // Width and height above 0, pixels present and a type from 1 to 6.
    virtual bool IsValid() const;

    PixelType GetPixelType() const { return m_pixelType; }
    int GetBytesPerPixel() const { return BytesPerPixel(m_pixelType); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetStride() const { return m_stride; }
    uint8_t* GetPixels() { return m_pixels; }
    const uint8_t* GetPixels() const { return m_pixels; }
    // Stored row r (0 = bottom of the picture); r must lie in 0..height - 1.
    uint8_t* GetRow(int r) { return m_pixels + ptrdiff_t(r) * m_stride; }
    const uint8_t* GetRow(int r) const { return m_pixels + ptrdiff_t(r) * m_stride; }
    // Row counted from the top of the picture, as files store them.
    uint8_t* GetTopRow(int i) { return GetRow(m_height - 1 - i); }
    const uint8_t* GetTopRow(int i) const { return GetRow(m_height - 1 - i); }

    // Where the image came from: file name with extension, full path, the
    // decoder's file type and the file's last-write time (seconds since 1970).
    const MKString& GetName() const { return m_name; }
    const MKString& GetPath() const { return m_path; }
    ImageFileType GetFileType() const { return m_fileType; }
    int64_t GetModifiedTime() const { return m_modifiedTime; }
    void SetName(const MKString& name);
    void SetPath(const MKString& path) { m_path = path; }
    void SetFileType(ImageFileType type) { m_fileType = type; }
    void SetModifiedTime(int64_t seconds) { m_modifiedTime = seconds; }
    // Copies name, path, file type and time from another image.
    void CopyProvenance(const RasterImage& from);

    // (Re)allocates the pixels for a new size; content undefined. The current
    // size with pixels present keeps everything. False, leaving the image
    // without pixels and with size 0, for a zero size, a buffer over 2 GB
    // (computed in 64 bits) or when memory runs out.
    bool SetSize(int width, int height);

    // Same type, size, pixels and file type (and palette); name, path and time
    // stay empty.
    RasterImage* Clone() const;
    // Types Rgba, Alpha and GrayAlpha, and indexed images whose palette carries
    // alpha.
    bool HasAlpha() const;

    // This image as an indexed image, or null for the other types.
    IndexedImage* AsIndexed();
    const IndexedImage* AsIndexed() const;

    // Conversions. Each answers a new image (the receiver is unchanged) or null
    // when the receiver is invalid, of another type, fails the named condition
    // or memory runs out. The IfGray / IfOpaque ones keep the provenance.
    RasterImage* ToGrayIfGray() const;       // Rgb -> Gray when R = G = B everywhere
    RasterImage* ToGrayAlphaIfGray() const;  // Rgba -> GrayAlpha when R = G = B everywhere
    RasterImage* ToGrayIfOpaque() const;     // GrayAlpha -> Gray when A = 255 everywhere
    RasterImage* ToRgbIfOpaque() const;      // Rgba -> Rgb when A = 255 everywhere
    RasterImage* AlphaToRgba() const;        // (255, 255, 255, A)
    RasterImage* GrayToRgb() const;          // (G, G, G)
    RasterImage* GrayAlphaToRgba() const;    // (G, G, G, A)
    // Indexed -> Rgb for opaque palettes (colour or gray), Rgba otherwise.
    RasterImage* IndexedToDirect() const;
    // Indexed -> an image of the palette type, each pixel in that type's layout.
    RasterImage* ExpandPalette() const;
    // Any valid image -> Rgb. For an Rgb receiver the answer IS the receiver,
    // with no reference added: release the answer only when it differs from
    // the receiver. Provenance is kept only when an Rgba picture was copied.
    RasterImage* ToRgb();

protected:
    explicit RasterImage(PixelType type);

private:
    MKString m_name;
    MKString m_path;
    ImageFileType m_fileType = ImageFileType::None;
    int64_t m_modifiedTime = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint8_t* m_pixels = nullptr;
    int32_t m_stride = 0;
    PixelType m_pixelType;
};

// A DirectImage for types 1 to 5 or an IndexedImage for type 6, sized; null for
// any other type or when the size cannot be set.
RasterImage* CreateRasterImage(PixelType type, int width, int height);

// Turns *slot into an Rgb or Rgba image: those two stay as they are, the other
// types are converted. On success the slot receives the new image and, when
// releaseOld is set, the old one is released. False (slot unchanged) for a null
// slot or image, a bad type or a failed conversion.
bool ExpandToDirectColor(RasterImage** slot, bool releaseOld);
