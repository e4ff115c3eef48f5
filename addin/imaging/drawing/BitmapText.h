#pragma once
#include "addin/imaging/drawing/DrawBitmap.h"

#include <string>

// The text form of a bitmap: "width|height|channels=" then every pixel's
// bytes, rows from the top, each byte as two characters 0x40 + nibble, high
// nibble first. Opaque bitmaps have 3 channels (R, G, B), others 4 (A, R, G,
// B straight).

// The text of a 32-bit or A8 bitmap (A8 pixels are black with their alpha);
// empty for any other bitmap.
std::wstring BitmapToText(const DrawBitmap& bitmap);
// A 32-bit bitmap from its text; false (bitmap empty) for a bad header, a size
// whose pixels would not fit in memory, or fewer characters than it promises.
bool BitmapFromText(const wchar_t* text, DrawBitmap& bitmap);
