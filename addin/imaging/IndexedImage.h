#pragma once
#include "addin/imaging/RasterImage.h"

// Raster image of palette indices (pixel type Indexed) with up to 256 entries
// of R, G, B, A. The palette type says what the entries mean, numbered as
// PixelType: Rgb (alpha 255), Rgba, Alpha (only A counts), Gray and GrayAlpha
// (the gray value is the R byte); Indexed marks a palette that is not usable.
// Pixel indices may exceed the count; the 256 entries always exist.
class IndexedImage : public RasterImage {
public:
    // Palette type Rgb, count 1, all entries (0, 0, 0, 255).
    IndexedImage();

    // Valid as a raster image, count 1 to 256 and a usable palette type.
    bool IsValid() const override;

    static IndexedImage* Create(int width, int height);

    PixelType GetPaletteType() const { return m_paletteType; }
    void SetPaletteType(PixelType type) { m_paletteType = type; }
    int GetPaletteCount() const { return m_paletteCount; }
    // Entry i as 4 bytes R, G, B, A (0 <= i < 256).
    const uint8_t* GetPaletteEntry(int i) const { return m_palette[i]; }

    // Entries of 3 bytes R, G, B (alpha 255; palette type Rgb) or of 4 bytes
    // R, G, B, A (palette type Rgba). Ignored for null entries or count <= 0;
    // counts above 256 are clamped.
    void SetPaletteRgb(int count, const uint8_t* entries);
    void SetPaletteRgba(int count, const uint8_t* entries);
    // Palette type, count and all 256 entries of another image.
    void CopyPaletteFrom(const IndexedImage& other);
    // The alpha of one entry; the index is clamped to 0..255.
    void SetPaletteAlpha(int index, uint8_t alpha);
    // Settles the palette type (Rgb, Rgba, Gray or GrayAlpha) from the entries
    // in use; an Alpha palette and invalid images are left alone.
    void ClassifyPalette();
    // Drops unused and repeated entries, renumbers the pixels and classifies;
    // afterwards every pixel index is below the count. Invalid images are left
    // alone.
    void CompactPalette();

private:
    PixelType m_paletteType = PixelType::Rgb;
    int32_t m_paletteCount = 1;
    uint8_t m_palette[256][4];
};
