#pragma once
#include "addin/imaging/ImageTypes.h"

#include <stdint.h>
#include <windows.h>

class RasterImage;

// Rows of 24- or 32-bit pixels in the Windows DIB byte order (B, G, R or
// B, G, R, A), either owned (allocated here, freed by the destructor) or a
// view of memory that must outlive the buffer. Coordinates are logical: row 0
// is the top of the picture, also for bottom-up storage. Every operation clips
// its rectangle (and, for two buffers, both rectangles) to the buffers, so no
// argument can reach outside them. One thread at a time.
class PixelBuffer {
public:
    // An empty buffer (no pixels).
    PixelBuffer() = default;
    // A view of memory owned elsewhere.
    PixelBuffer(uint8_t* data, int width, int height, int stride, bool bottomUp, int bytesPerPixel);
    virtual ~PixelBuffer();
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    // Owned pixels of 3 or 4 bytes, rows padded to 4 bytes, stored top-down;
    // content undefined. False (buffer left empty) for a bad size or when
    // memory runs out.
    bool Allocate(int width, int height, int bytesPerPixel);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetStride() const { return m_stride; }
    int GetBytesPerPixel() const { return m_bytesPerPixel; }
    bool IsBottomUp() const { return m_bottomUp; }
    bool IsEmpty() const { return !m_data || m_width <= 0 || m_height <= 0; }
    uint8_t* GetData() const { return m_data; }
    // The first byte of logical pixel (x, y); the caller keeps x and y inside.
    uint8_t* PixelAt(int x, int y) const
    {
        return m_data + ptrdiff_t(x) * m_bytesPerPixel + ptrdiff_t(m_bottomUp ? m_height - y - 1 : y) * m_stride;
    }

    // Every byte of the rectangle's pixels.
    void FillBytes(const RECT& rect, uint8_t value);
    // Every pixel of the rectangle (alpha only where there are 4 bytes).
    void Fill(const RECT& rect, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    // The alpha byte of the rectangle's pixels; 4-byte buffers only.
    void SetAlpha(const RECT& rect, uint8_t alpha);
    // True, with the pixel as B | G << 8 | R << 16 | A << 24, when every pixel
    // of a non-empty 4-byte buffer equals the first one.
    bool IsUniform(uint32_t* word) const;
    // Colour times alpha / 255, rounded (alpha 255 stays, alpha 0 gives black);
    // 4-byte buffers only.
    void Premultiply(const RECT& rect);
    // Puts the width x height pixels from (x, y) of a 4-byte buffer over the
    // colour (r, g, b, a), straight alpha, rounded.
    static void CompositeOverColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a, int width, int height,
                                   PixelBuffer& buffer, int x, int y);
    // R, G, B, A of a pixel (A 255 for 3-byte buffers); false outside.
    bool GetPixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b, uint8_t* a) const;
    // Copies a rectangle byte for byte between buffers of the same pixel
    // size; nothing happens between different sizes.
    static void CopyPixels(const PixelBuffer& source, int x, int y, int width, int height, PixelBuffer& destination,
                           int destX, int destY);
    // Copies a rectangle of an Rgb or Rgba image (x, y counted from its top)
    // into the buffer, turning R, G, B into B, G, R; alpha 255 into 4-byte
    // buffers from Rgb images, dropped into 3-byte ones. Other types: nothing.
    static void DrawRasterImage(const RasterImage& image, int x, int y, int width, int height,
                                PixelBuffer& destination, int destX, int destY);
    // The pixels as a new Rgba (alpha 255 from 3-byte buffers) or Rgb image,
    // top row at the top; null for an empty buffer or lack of memory.
    RasterImage* ToRasterImageRgba() const;
    RasterImage* ToRasterImageRgb() const;
    // Colour and alpha of content drawn once over black and once over white,
    // from the red channel's difference: no difference (or a white render
    // darker than the black one) is opaque, a full one transparent; between,
    // the black render's colour is divided by the alpha. Written into out,
    // which may be the black buffer; all three must have 4 bytes a pixel.
    static void RecoverAlpha(const PixelBuffer& black, const PixelBuffer& white, int x, int y, int width, int height,
                             PixelBuffer& out);

private:
    // The rectangle clipped to this buffer; false when nothing remains.
    bool Clip(RECT& rect) const;
    // A new image of `type` (Rgb or Rgba) holding the pixels, as the public
    // forms describe.
    RasterImage* ToRasterImage(PixelType type) const;
    void Reset();

    bool m_ownsData = false;
    int m_width = 0;
    int m_height = 0;
    uint8_t* m_data = nullptr;
    int m_stride = 0;
    bool m_bottomUp = false;
    int m_bytesPerPixel = 4;
};
