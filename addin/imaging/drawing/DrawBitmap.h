#pragma once
#include <stddef.h>
#include <stdint.h>
#include <windows.h>

// Pixel layouts of drawing bitmaps, numbered as the drawing interface's
// callers pass them. Only A8 (one alpha byte a pixel) and Argb8888
// (premultiplied colour words, see PremulColor.h) hold pixels here.
enum class BitmapConfig : int32_t {
    None = 0,
    A1 = 1,
    A8 = 2,
    Index8 = 3,
    Rgb565 = 4,
    Argb4444 = 5,
    Argb8888 = 6,
};

// A rectangle of pixels, rows top-down, either owned or a view of memory that
// outlives the bitmap (a DIB section). Move-only. One thread at a time.
class DrawBitmap {
public:
    DrawBitmap() = default;
    ~DrawBitmap();
    DrawBitmap(DrawBitmap&& other) noexcept;
    DrawBitmap& operator=(DrawBitmap&& other) noexcept;
    DrawBitmap(const DrawBitmap&) = delete;
    DrawBitmap& operator=(const DrawBitmap&) = delete;

    // Owned, zeroed pixels with packed rows. False (bitmap left empty) for a
    // config without pixels, a negative size, a size whose bytes overflow, or
    // when memory runs out. A 0-sized bitmap succeeds and is empty.
    bool Allocate(BitmapConfig config, int width, int height);
    // A view of someone else's pixels.
    void SetExternal(BitmapConfig config, int width, int height, int rowBytes, void* pixels);
    void Reset();
    // Owned pixels copied from the source, with its config, size and opaque
    // flag; false (bitmap left empty) when memory runs out.
    bool CopyFrom(const DrawBitmap& source);

    BitmapConfig GetConfig() const { return m_config; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetRowBytes() const { return m_rowBytes; }
    int GetBytesPerPixel() const { return BytesPerPixel(m_config); }
    bool IsEmpty() const { return !m_pixels || m_width <= 0 || m_height <= 0; }
    bool IsOpaque() const { return m_opaque; }
    void SetOpaque(bool opaque) { m_opaque = opaque; }
    uint8_t* GetPixels() const { return m_pixels; }
    uint8_t* Row(int y) const { return m_pixels + ptrdiff_t(y) * m_rowBytes; }
    uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(Row(y)); }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // The straight colour of a pixel inside the bitmap (A8: alpha only). An
    // opaque bitmap's pixels are opaque whatever their alpha byte: GDI,
    // drawing into the pixels, leaves that byte 0.
    uint32_t GetColor(int x, int y) const;

    // Every pixel becomes the straight colour (premultiplied; A8 keeps its
    // alpha alone).
    void EraseColor(uint32_t color);

    // Moves the pixels of the subset (null: everything) by (dx, dy); pixels
    // moved out of the subset are lost, the part uncovered keeps its pixels.
    // False for a bitmap without pixels or a subset outside it.
    bool ScrollRect(const RECT* subset, int dx, int dy);

    static int BytesPerPixel(BitmapConfig config);

private:
    uint8_t* m_pixels = nullptr;
    bool m_owned = false;
    bool m_opaque = false;
    BitmapConfig m_config = BitmapConfig::None;
    int m_width = 0;
    int m_height = 0;
    int m_rowBytes = 0;
};
