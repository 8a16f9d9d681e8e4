#!/usr/bin/env python3
# Writes resources/201_pattern.bmp, the 6 x 4 8-bit test image of the bitmap tests. Its
# pixels follow patternPixel() in bitmap_test_support.h: pure white where (x + y) % 3 == 0,
# a near-white (254, 255, 255) at (1, 0), and (40x + 10, 60y + 5, 200 - 10x) elsewhere.
import os
import struct

W, H = 6, 4


def pixel(x, y):
    if (x + y) % 3 == 0:
        return (255, 255, 255)
    if (x, y) == (1, 0):
        return (254, 255, 255)
    return (40 * x + 10, 60 * y + 5, 200 - 10 * x)


colours = sorted({pixel(x, y) for y in range(H) for x in range(W)})
index = {c: i for i, c in enumerate(colours)}
row_bytes = (W + 3) & ~3
palette = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in colours)
palette += b"\0" * (4 * 256 - len(palette))
rows = b""
for y in reversed(range(H)):  # bottom-up
    rows += bytes(index[pixel(x, y)] for x in range(W)) + b"\0" * (row_bytes - W)
offset = 14 + 40 + len(palette)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
data = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset) + info + palette + rows
path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "resources", "201_pattern.bmp")
with open(path, "wb") as f:
    f.write(data)
