#include "player/app/PVToolBarImages.h"

HBITMAP PVCreateToolBarImages()
{
    const int size = kPVToolBarImageSize;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size * 3, size);
    ReleaseDC(nullptr, screen);
    if (!dc || !bitmap) {
        if (dc)
            DeleteDC(dc);
        return bitmap;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all = {0, 0, size * 3, size};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    HBRUSH ink = CreateSolidBrush(RGB(0, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, ink);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));

    POINT play[3] = {{4, 2}, {13, 8}, {4, 14}};
    Polygon(dc, play, 3);
    RECT bars[2] = {{size + 4, 3, size + 7, 13}, {size + 9, 3, size + 12, 13}};
    FillRect(dc, &bars[0], ink);
    FillRect(dc, &bars[1], ink);
    RECT stop = {2 * size + 4, 4, 2 * size + 12, 12};
    FillRect(dc, &stop, ink);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(ink);
    DeleteDC(dc);
    return bitmap;
}
