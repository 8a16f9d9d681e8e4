// BMP codec shared by the toolkit (which reads the bitmaps built into each library) and the
// artwork generator (which writes them). Reads Windows BMP files as the toolkit stores its
// images: the file header, an info header of 40 bytes or more, an optional palette and
// uncompressed rows; palettised images of 1, 4 and 8 bits per pixel and direct-colour images of
// 24 and 32 bits. Writes the one form the libraries embed: 8-bit palettised, 256 colours.
//
// Stateless; safe on any thread. The decoder never reads outside the given bytes: any header,
// palette or row that does not fit, an unsupported format or an image larger than
// maxBitmapPixels makes it answer false and leave the output untouched.
#pragma once

#include "gui/platform/pixel_surface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoded pixels: the system's one pixel type (0x00RRGGBB, rows top to bottom, no padding).
using BmpImage = PixelSurface;

// Largest image (width x height) the decoder accepts; anything larger is treated as corrupt.
inline constexpr int64_t maxBitmapPixels = int64_t(1) << 24;

// Decodes `size` bytes at `data` into `out`. Answers false and leaves `out` unchanged when the
// bytes are not a BMP file this decoder reads.
bool decodeBmpFile(const unsigned char* data, size_t size, BmpImage& out);

// The bytes of an uncompressed 8-bit BMP file of `width` x `height` pixels: file header,
// 40-byte info header, the 256 entries of `palette` (0xRRGGBB) and bottom-up rows padded to
// four bytes, from one palette index per pixel given top row first.
std::vector<uint8_t> encodeBmp8(int32_t width, int32_t height, const uint32_t* palette,
                                const uint8_t* indices);
