// Decoder for Windows BMP files as the toolkit stores its images: the file header, an info
// header of 40 bytes or more, an optional palette and uncompressed rows. Palettised images of
// 1, 4 and 8 bits per pixel and direct-colour images of 24 and 32 bits are read.
//
// Stateless; safe on any thread. The decoder never reads outside the given bytes: any header,
// palette or row that does not fit, an unsupported format or an image larger than
// maxBitmapPixels makes it answer false and leave the output untouched.
#pragma once

#include "gui/pixel_surface.h"

#include <cstddef>
#include <cstdint>

// Largest image (width x height) the decoder accepts; anything larger is treated as corrupt.
inline constexpr int64_t maxBitmapPixels = int64_t(1) << 24;

// Decodes `size` bytes at `data` into `out` (pixels 0x00RRGGBB, top row first). Answers false
// and leaves `out` unchanged when the bytes are not a BMP file this decoder reads.
bool decodeBmpFile(const unsigned char* data, size_t size, PixelSurface& out);
