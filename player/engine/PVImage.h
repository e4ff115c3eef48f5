#pragma once
#include <cstddef>
#include <cstdint>

// The engine's pixel container: rows from the top, each `Stride()` bytes
// (width x bytes per pixel rounded up to 4). Palette images (kind 6) carry
// at least 256 RGBA entries; their palette kind tells what an entry expands
// to. Operations that make a new image answer null when memory runs out and
// leave this image untouched.
class PVImage {
public:
    // The numbers of PixelType (pixels/PixelTypes.h).
    enum Kind {
        kRGB = 1,
        kRGBA = 2,
        kAlpha = 3,
        kGrey = 4,
        kGreyAlpha = 5,
        kPalette = 6,
    };

    // 3, 4, 1, 1, 2, 1 for kinds 1 to 6; 0 for any other kind.
    static int BytesPerPixel(int kind);

    // A zero-filled image, or null for a non-positive size, a kind outside
    // 1-6, a size whose buffer would not fit in memory, or lack of memory.
    // Kind 6 gets max(paletteEntries, 256) palette entries, of which
    // paletteEntries (at least 1) count.
    static PVImage* Create(int kind, int width, int height, int paletteEntries = 0);

    virtual ~PVImage();
    PVImage(const PVImage&) = delete;
    PVImage& operator=(const PVImage&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Kind() const { return kind_; }
    int Stride() const { return stride_; }
    uint8_t* Pixels() { return pixels_; }
    const uint8_t* Pixels() const { return pixels_; }
    uint8_t* Row(int y) { return pixels_ + static_cast<size_t>(stride_) * y; }
    const uint8_t* Row(int y) const { return pixels_ + static_cast<size_t>(stride_) * y; }
    // RGBA entries; null unless kind 6.
    const uint8_t* Palette() const { return palette_; }
    int PaletteCount() const { return paletteCount_; }
    int PaletteKind() const { return paletteKind_; }
    // Some counted palette entry is not opaque.
    bool PaletteHasAlpha() const;

    // A copy with pixels and palette; null for a palette image without
    // entries or whose palette kind is 6.
    PVImage* Clone() const;
    // Stores `count` entries laid out as `entryKind` pixels (1 RGB, 2 RGBA,
    // 5 grey and alpha, 3 and 4 one grey byte) as RGBA and sets the palette
    // kind. False for an entry kind outside 1-5, a count outside 1 to the
    // allocated entries, or an image without palette.
    bool SetPalette(const uint8_t* entries, int count, int entryKind);
    // Narrows the palette kind to what the entries need (alpha, colour).
    void ReducePalette();
    // Narrows the pixel kind where no information is lost, repacking the
    // rows in place.
    void Reduce();
    // This image itself for kinds 1-5 (the caller must not free it twice);
    // for kind 6 a new image of the palette kind, or null.
    PVImage* ExpandPalette();
    // Nearest-neighbour copy at the new size (a clone at the same size);
    // palette images keep their palette.
    PVImage* ResizeNearest(int width, int height) const;
    // Area-averaged copy at the new size (a clone at the same size); null for
    // palette images, whose palette must be expanded first.
    PVImage* ResizeArea(int width, int height) const;

private:
    PVImage() = default;

    int width_ = 0;
    int height_ = 0;
    int kind_ = 0;
    uint8_t* pixels_ = nullptr;
    int stride_ = 0;
    uint8_t* palette_ = nullptr;
    int paletteCapacity_ = 0;
    int paletteCount_ = 0;
    int paletteKind_ = kRGB;
};
