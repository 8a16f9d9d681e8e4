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

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoded pixels 0x00RRGGBB (blue in the low byte), rows top to bottom, no padding.
struct BmpImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    BmpImage() = default;
    BmpImage(int32_t w, int32_t h, uint32_t fill = 0)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

    uint32_t* row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
    // The pixel at (x, y); 0 outside the image.
    uint32_t at(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? row(y)[x] : 0;
    }
};

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
