#!/usr/bin/env python3
"""Writes bitmap layouts ImageMagick does not write itself: RLE4 and RLE8 with
deltas and odd absolute runs, top-down rows, 32-bit BI_RGB with a zero or a
real fourth byte, and bit fields after a 40-byte header. Usage: OUT_DIR."""
import os
import struct
import sys

W, H = 37, 29


def pattern(x, y, c):
    return (x * 37 + y * 91 + c * 71 + (x * y) % 13 * 17) % 256


def bmp(header_size, width, height, bits, compression, palette, data, extra=b"", colors_used=None):
    entry = 3 if header_size == 12 else 4
    table = b"".join(bytes((b, g, r) + ((0,) if entry == 4 else ())) for (r, g, b) in palette)
    if header_size == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        used = len(palette) if colors_used is None else colors_used
        info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data), 2835, 2835, used, 0)
    offset = 14 + len(info) + len(extra) + len(table)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    return head + info + extra + table + data


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def rle4_row(indices):
    """Encoded runs, absolute runs of odd and even lengths, one delta."""
    out = bytearray()
    x = 0
    n = len(indices)
    toggle = 0
    while x < n:
        if toggle % 3 == 0 and x + 3 <= n:
            # run of 3 alternating nibbles taken from the next two pixels
            a, b = indices[x], indices[x + 1]
            if indices[x + 2] == a:
                out += bytes((3, (a << 4) | b))
                x += 3
                toggle += 1
                continue
        if toggle % 3 == 1 and x + 5 <= n:
            run = indices[x : x + 5]
            out += bytes((0, 5))
            data = bytes(((run[0] << 4) | run[1], (run[2] << 4) | run[3], run[4] << 4))
            out += data + b"\0"  # 3 bytes: padded to a word
            x += 5
            toggle += 1
            continue
        out += bytes((1, indices[x] << 4))
        x += 1
        toggle += 1
    return bytes(out + b"\0\0")


def rle8_row(indices, y):
    out = bytearray()
    x = 0
    n = len(indices)
    while x < n:
        same = 1
        while x + same < n and indices[x + same] == indices[x] and same < 255:
            same += 1
        if same >= 2:
            out += bytes((same, indices[x]))
            x += same
        elif x + 3 <= n:
            k = min(7 if y % 2 else 4, n - x)
            out += bytes((0, k)) + bytes(indices[x : x + k]) + (b"\0" if k % 2 else b"")
            x += k
        else:
            out += bytes((1, indices[x]))
            x += 1
    return bytes(out + b"\0\0")


def main(out_dir):
    palette16 = [(i * 17, 255 - i * 13, (i * 53) % 256) for i in range(16)]
    palette256 = [(i, (i * 7) % 256, 255 - i) for i in range(256)]
    index4 = [[(x // 3 + y) % 16 for x in range(W)] for y in range(H)]
    index8 = [[(x // 2 * 11 + y * 3) % 256 for x in range(W)] for y in range(H)]

    rows = b"".join(rle4_row(index4[H - 1 - r]) for r in range(H)) + b"\0\1"
    write(out_dir, "bmp_rle4.bmp", bmp(40, W, H, 4, 2, palette16, rows))

    # A delta of (2, 1) after the first pixel of row 5 leaves pixels unset.
    body = bytearray()
    for r in range(H):
        row = index8[H - 1 - r]
        if r == 5:
            body += bytes((1, row[0], 0, 2, 2, 1))
            continue
        if r == 6:
            row = row[3:]
            body += rle8_row(row, r)[:-2] + b"\0\0"
            continue
        body += rle8_row(row, r)
    body += b"\0\1"
    write(out_dir, "bmp_rle8_delta.bmp", bmp(40, W, H, 8, 1, palette256, bytes(body)))

    rgb = [[tuple(pattern(x, y, c) for c in range(3)) for x in range(W)] for y in range(H)]
    top_down = b"".join(padded(b"".join(bytes((b, g, r)) for (r, g, b) in rgb[y])) for y in range(H))
    write(out_dir, "bmp_topdown24.bmp", bmp(40, W, -H, 24, 0, [], top_down))
    top_down8 = b"".join(padded(bytes(index8[y])) for y in range(H))
    write(out_dir, "bmp_topdown8.bmp", bmp(40, W, -H, 8, 0, palette256, top_down8))

    def rows32(alpha):
        out = bytearray()
        for y in reversed(range(H)):
            for x, (r, g, b) in enumerate(rgb[y]):
                out += bytes((b, g, r, alpha(x, y)))
        return bytes(out)

    write(out_dir, "bmp_32rgb_zero.bmp", bmp(40, W, H, 32, 0, [], rows32(lambda x, y: 0)))
    write(out_dir, "bmp_32rgb_alpha.bmp", bmp(40, W, H, 32, 0, [], rows32(lambda x, y: (x * 7 + y * 5) % 256)))

    def rows16(pack):
        return b"".join(
            padded(b"".join(struct.pack("<H", pack(*rgb[H - 1 - r][x])) for x in range(W))) for r in range(H)
        )

    masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    masks555 = struct.pack("<III", 0x7C00, 0x03E0, 0x001F)
    write(out_dir, "bmp_565_info.bmp",
          bmp(40, W, H, 16, 3, [], rows16(lambda r, g, b: (r >> 3) << 11 | (g >> 2) << 5 | b >> 3), masks565))
    write(out_dir, "bmp_555_info.bmp",
          bmp(40, W, H, 16, 3, [], rows16(lambda r, g, b: (r >> 3) << 10 | (g >> 3) << 5 | b >> 3), masks555))


def write(out_dir, name, data):
    with open(os.path.join(out_dir, name), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
