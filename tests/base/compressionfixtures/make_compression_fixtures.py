"""Writes the compression and digest fixtures of the base library tests.

Python's zlib, lzma and hashlib stand in for data made by other programs: the
tests decode these files and compare with the plain bytes written beside them.
"""
import hashlib
import lzma
import os
import struct
import sys
import zlib


def plain_bytes():
    # Text-like runs mixed with pseudo-random bytes: compresses well but not
    # trivially, and spans several 16 KB input buffers once compressed.
    state = 12345
    out = bytearray()
    words = [b"stream ", b"record ", b"value ", b"deflate ", b"lzma ", b"\n"]
    while len(out) < 200000:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        if state % 7 == 0:
            for _ in range(16):
                state = (state * 1103515245 + 12345) & 0x7FFFFFFF
                out.append((state >> 16) & 0xFF)
        else:
            out += words[state % len(words)]
    return bytes(out[:200000])


def raw_lzma(data, dict_size, lc=3, lp=0, pb=2):
    filters = [{"id": lzma.FILTER_LZMA1, "dict_size": dict_size, "lc": lc, "lp": lp, "pb": pb}]
    body = lzma.compress(data, format=lzma.FORMAT_RAW, filters=filters)
    properties = bytes([(pb * 5 + lp) * 9 + lc]) + struct.pack("<I", dict_size)
    return properties + body


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    data = plain_bytes()
    raw = zlib.compressobj(9, zlib.DEFLATED, -15)
    files = {
        "compression_plain.bin": data,
        "compression_zlib.bin": zlib.compress(data, 6),
        "compression_raw.bin": raw.compress(data) + raw.flush(),
        "compression_lzma.bin": raw_lzma(data, 1 << 16),
        # lc 0, lp 2, pb 0 and a dictionary far larger than the data.
        "compression_lzma_lp2.bin": raw_lzma(data[:5000], 1 << 26, lc=0, lp=2, pb=0),
        "compression_plain.sha1": hashlib.sha1(data).hexdigest().encode("ascii"),
    }
    for name, content in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
