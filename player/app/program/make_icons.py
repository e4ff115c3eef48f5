#!/usr/bin/env python3
"""Writes the player's program icon (a blue disc with a white play triangle,
32 x 32, 32-bit) and its link cursor (a pointing hand, 32 x 32, monochrome)
as .ico and .cur files for the resource compiler."""
import struct
import sys

SIZE = 32


def bitmap_header(height_rows, bits):
    # BITMAPINFOHEADER: the height counts the colour and the mask rows.
    return struct.pack('<IiiHHIIiiII', 40, SIZE, height_rows, 1, bits, 0, 0, 0, 0, 0, 0)


def directory(kind, image, hotspot=(0, 0)):
    # ICONDIR, then one ICONDIRENTRY; for cursors the planes and bit count
    # fields hold the hot spot.
    head = struct.pack('<HHH', 0, kind, 1)
    if kind == 1:
        entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    else:
        entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    return head + entry + image


def icon():
    pixels = bytearray()
    for row in range(SIZE):
        y = SIZE - 1 - row  # bottom-up
        for x in range(SIZE):
            dx, dy = x - 15.5, y - 15.5
            inside = dx * dx + dy * dy <= 15 * 15
            play = 11 <= x <= 23 and abs(y - 15.5) <= (23 - x) * 0.6
            if not inside:
                pixels += bytes((0, 0, 0, 0))
            elif play:
                pixels += bytes((255, 255, 255, 255))
            else:
                pixels += bytes((200, 90, 20, 255))
    mask = bytes(SIZE * SIZE // 8)  # alpha decides
    return directory(1, bitmap_header(SIZE * 2, 32) + pixels + mask)


def hand(x, y):
    """The pointing hand: a finger above a palm, as (outline, fill)."""
    finger = 10 <= x <= 14 and 2 <= y <= 16
    palm = 6 <= x <= 22 and 12 <= y <= 26
    inner = (11 <= x <= 13 and 3 <= y <= 15) or (7 <= x <= 21 and 13 <= y <= 25)
    return finger or palm, inner


def cursor():
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    xor = bytearray()
    andm = bytearray()
    for row in range(SIZE):
        y = SIZE - 1 - row
        xbits = abits = 0
        for x in range(SIZE):
            shape, inner = hand(x, y)
            xbits = (xbits << 1) | (1 if inner else 0)
            abits = (abits << 1) | (0 if shape else 1)
        xor += struct.pack('>I', xbits)
        andm += struct.pack('>I', abits)
    return directory(2, bitmap_header(SIZE * 2, 1) + palette + xor + andm, hotspot=(12, 2))


if __name__ == '__main__':
    with open(sys.argv[1], 'wb') as out:
        out.write(icon())
    with open(sys.argv[2], 'wb') as out:
        out.write(cursor())
