#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"

#include <stdint.h>
#include <windows.h>

// In-place pixel operations on premultiplied 32-bit bitmaps. Colours are
// straight ARGB words; rectangles are left, top, right, bottom. Bitmaps of
// another config are left unchanged, and every access stays inside the
// bitmaps (rectangles and source positions are clipped). Tint, gamma and a
// mask's source read an opaque bitmap's pixels as opaque, whatever their
// alpha byte (GDI leaves it 0).

// Each pixel's alpha becomes the luminance of its colour.
void LuminanceToAlpha(DrawBitmap& bitmap);
// The rectangle becomes the colour; nothing unless it lies inside.
void FillRectColor(DrawBitmap& bitmap, const RECT& rect, uint32_t color);
// The alpha of the rectangle's pixels, their colour read as straight.
void SetRectAlpha(DrawBitmap& bitmap, const RECT& rect, uint8_t alpha);
// Destination alpha from the source's red channel, optionally through the
// mask curve.
void MaskFromChannel(DrawBitmap& bitmap, const DrawBitmap& source, int sourceX, int sourceY, const RECT& rect,
                     bool curve);
// Destination alpha times the matching source alpha.
void MultiplyAlphaRect(DrawBitmap& bitmap, const DrawBitmap& source, int sourceX, int sourceY, const RECT& rect);
void StackBlur(DrawBitmap& bitmap, int radiusX, int radiusY);
// Blurred coverage (the red channel) in the colour.
void MaskShadow(DrawBitmap& bitmap, int radiusX, int radiusY, uint32_t color);
// Blurred alpha, inverted, through a ramp of the colour; with `inside` only
// within the shape as it was. False for a gamma of 0 or less.
bool AlphaShadow(DrawBitmap& bitmap, int radiusX, int radiusY, uint32_t color, double gamma, bool inside);
// A gamma curve on R, G, B; false for a gamma of 0 or less.
bool GammaRect(DrawBitmap& bitmap, const RECT& rect, double gamma);
// Multiply tint mixed by the tint's alpha.
void TintRect(DrawBitmap& bitmap, uint32_t tint, int x, int y, int width, int height);
// The straight colour at (x, y); 0 outside the bitmap.
uint32_t GetPixelColor(const DrawBitmap& bitmap, int x, int y);

// The mask curve of MaskFromChannel, curve[m] for m = 0..255.
const uint8_t* MaskCurve();
