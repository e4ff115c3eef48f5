#include "standins/controls/ColourFill.h"

namespace standin {

void FillArgb(HDC dc, const RECT& area, uint32_t argb)
{
    uint32_t alpha = argb >> 24;
    if (alpha == 0 || area.right <= area.left || area.bottom <= area.top)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!memory || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        return;
    }
    auto premultiply = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
    *static_cast<uint32_t*>(bits) = alpha << 24 | premultiply((argb >> 16) & 0xFF) << 16 |
                                    premultiply((argb >> 8) & 0xFF) << 8 | premultiply(argb & 0xFF);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, 0, 0, 1, 1, blend);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}  // namespace standin
