"""Writes the control's toolbox bitmap (16 x 16, 24-bit BMP) and icon
(32 x 32, 32-bit ICO): a film frame around a play triangle."""
import struct
import sys


def pixel(x, y, size):
    border = size // 8
    inside = border <= x < size - border and border <= y < size - border
    if not inside:
        hole = (y // max(1, size // 8)) % 2 == 0 and (x < border // 2 + 1 or x >= size - border // 2 - 1)
        return (255, 255, 255) if hole else (40, 40, 40)
    # A triangle pointing right, in the middle of the frame.
    cx, cy = size / 2, size / 2
    dx, dy = x - (cx - size / 5), abs(y + 0.5 - cy)
    if 0 <= dx <= size * 0.45 and dy <= (size * 0.45 - dx) * 0.6:
        return (230, 60, 30)
    return (250, 240, 200)


def rows(size):
    # Bottom-up, blue-green-red.
    for y in range(size - 1, -1, -1):
        yield [pixel(x, y, size)[::-1] for x in range(size)]


def bitmap(size):
    stride = (size * 3 + 3) & ~3
    data = b''.join(bytes(c for p in row for c in p).ljust(stride, b'\0') for row in rows(size))
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + data


def icon(size):
    colour = b''.join(bytes(c for p in row for c in p + (255,)) for row in rows(size))
    mask = b'\0' * (((size + 31) // 32) * 4 * size)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = info + colour + mask
    header = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


if __name__ == '__main__':
    with open(sys.argv[1], 'wb') as out:
        out.write(bitmap(16))
    with open(sys.argv[2], 'wb') as out:
        out.write(icon(32))
