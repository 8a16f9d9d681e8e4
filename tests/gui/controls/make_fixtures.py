#!/usr/bin/env python3
# Writes the 8-bit test images of the control tests into resources/:
#   301_rows.bmp    40 x 250, every pixel of row y is (y, 0x40, 0x80): a strip whose drawn
#                   rows can be read back from the red byte (rowOf() in control_fixtures.h)
#   302_handle.bmp  6 x 4 handle in (0x20, 0xC0, 0x40) with a white (key colour) top-left pixel
#   303_off.bmp     40 x 250 in (0x10, 0x20, 0x30): the unlit image of a level meter
import os
import struct


def write(name, width, height, pixel):
    colours = sorted({pixel(x, y) for y in range(height) for x in range(width)})
    index = {c: i for i, c in enumerate(colours)}
    row_bytes = (width + 3) & ~3
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in colours)
    palette += b"\0" * (4 * 256 - len(palette))
    rows = b""
    for y in reversed(range(height)):  # bottom-up
        rows += bytes(index[pixel(x, y)] for x in range(width)) + b"\0" * (row_bytes - width)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    data = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "resources")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


write("301_rows.bmp", 40, 250, lambda x, y: (y, 0x40, 0x80))
write("302_handle.bmp", 6, 4, lambda x, y: (255, 255, 255) if (x, y) == (0, 0) else (0x20, 0xC0, 0x40))
write("303_off.bmp", 40, 250, lambda x, y: (0x10, 0x20, 0x30))
