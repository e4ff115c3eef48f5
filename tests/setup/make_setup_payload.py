"""Writes the installer payload that the setup program carries as its
resource "BIN" 500.

usage: make_setup_payload.py KIND INSTALLER OUTPUT

KIND is "lzma" (the form the product ships: the unpacked size, the LZMA
properties and a raw LZMA1 stream) or "stored" (-1, then the program as it
is). The other kinds are damaged payloads for tests:
  truncated       the LZMA stream cut in half
  early_end       a whole stream that decodes to 1000 bytes fewer than stated
  long_stream     a whole stream that decodes to 1000 bytes more than stated
  bad_properties  properties no decoder takes (lc/lp/pb byte 225)
  negative_size   a size below -1 in front of a good stream
"""
import lzma
import struct
import sys

# lc 3, lp 0, pb 2 and a 2 MiB dictionary.
LC, LP, PB = 3, 0, 2
DICT_SIZE = 2 << 20


def lzma_parts(program):
    filters = [{"id": lzma.FILTER_LZMA1, "dict_size": DICT_SIZE, "lc": LC, "lp": LP, "pb": PB}]
    stream = lzma.compress(program, format=lzma.FORMAT_RAW, filters=filters)
    properties = bytes([(PB * 5 + LP) * 9 + LC]) + struct.pack("<I", DICT_SIZE)
    return properties, stream


def payload(kind, program):
    if kind == "stored":
        return struct.pack("<i", -1) + program
    properties, stream = lzma_parts(program)
    size = len(program)
    if kind == "lzma":
        return struct.pack("<i", size) + properties + stream
    if kind == "truncated":
        return struct.pack("<i", size) + properties + stream[: len(stream) // 2]
    if kind == "early_end":
        return struct.pack("<i", size + 1000) + properties + stream
    if kind == "long_stream":
        return struct.pack("<i", size - 1000) + properties + stream
    if kind == "bad_properties":
        return struct.pack("<i", size) + bytes([225]) + properties[1:] + stream
    if kind == "negative_size":
        return struct.pack("<i", -2) + properties + stream
    raise SystemExit("unknown payload kind: " + kind)


def main():
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    kind, source, target = sys.argv[1:]
    with open(source, "rb") as f:
        program = f.read()
    with open(target, "wb") as f:
        f.write(payload(kind, program))


if __name__ == "__main__":
    main()
