#pragma once
#include <windows.h>
#include <cstdint>

namespace standin {

// Blends a straight-alpha colour 0xAARRGGBB over `area` of the device
// context: the colour goes through a premultiplied 32-bit BGRA pixel and
// AlphaBlend, so partial alpha mixes with what the context already holds and
// the context's clip region is honoured. Alpha 0 draws nothing.
void FillArgb(HDC dc, const RECT& area, uint32_t argb);

}  // namespace standin
