// BMP decoding: header checks, palette lookup and row unpacking into a PixelSurface.
#include "gui/bitmap_file.h"

#include <utility>

namespace {

constexpr size_t fileHeaderSize = 14;
constexpr size_t minInfoHeaderSize = 40;
constexpr uint32_t compressionNone = 0;
constexpr uint32_t compressionBitFields = 3;

uint32_t readLe16(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t readLe32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Palette index of pixel x in a row of `bits` bits per pixel (1, 4 or 8), most significant
// bits first as the format stores them.
uint32_t paletteIndex(const unsigned char* row, int32_t x, uint32_t bits) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    default:
        return row[x];
    }
}

} // namespace

bool decodeBmpFile(const unsigned char* data, size_t size, PixelSurface& out) {
    if (!data || size < fileHeaderSize + minInfoHeaderSize) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;

    const uint64_t pixelOffset = readLe32(data + 10);
    const unsigned char* info = data + fileHeaderSize;
    const uint64_t infoSize = readLe32(info);
    if (infoSize < minInfoHeaderSize || fileHeaderSize + infoSize > size) return false;

    const int32_t width = static_cast<int32_t>(readLe32(info + 4));
    const int32_t rawHeight = static_cast<int32_t>(readLe32(info + 8));
    const uint32_t planes = readLe16(info + 12);
    const uint32_t bits = readLe16(info + 14);
    const uint32_t compression = readLe32(info + 16);
    uint32_t coloursUsed = readLe32(info + 32);

    // A negative height marks rows stored top row first; INT32_MIN has no positive twin.
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || planes != 1) return false;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (int64_t(width) * int64_t(height) > maxBitmapPixels) return false;

    const bool palettised = bits == 1 || bits == 4 || bits == 8;
    if (!palettised && bits != 24 && bits != 32) return false;
    // 32-bit files written with the standard masks (blue in the low byte) read the same as
    // uncompressed ones; any other mask layout is not supported.
    if (compression == compressionBitFields && bits == 32) {
        if (fileHeaderSize + minInfoHeaderSize + 12 > size) return false;
        const unsigned char* masks =
            infoSize >= 52 ? info + 40 : data + fileHeaderSize + minInfoHeaderSize;
        if (readLe32(masks) != 0x00FF0000u || readLe32(masks + 4) != 0x0000FF00u ||
            readLe32(masks + 8) != 0x000000FFu)
            return false;
    } else if (compression != compressionNone) {
        return false;
    }

    // The palette follows the info header (and the three masks of an old-style bit-field
    // header, which palettised files never have).
    const unsigned char* palette = info + infoSize;
    if (palettised) {
        const uint32_t maxColours = 1u << bits;
        if (coloursUsed == 0 || coloursUsed > maxColours) coloursUsed = maxColours;
        if (fileHeaderSize + infoSize + uint64_t(coloursUsed) * 4 > size) return false;
    }

    const uint64_t rowBytes = ((uint64_t(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || rowBytes * uint64_t(height) > size - pixelOffset) return false;

    PixelSurface decoded;
    decoded.width = width;
    decoded.height = height;
    decoded.pixels.resize(size_t(width) * size_t(height));

    for (int32_t y = 0; y < height; ++y) {
        const int32_t fileRow = topDown ? y : height - 1 - y;
        const unsigned char* row = data + pixelOffset + uint64_t(fileRow) * rowBytes;
        uint32_t* target = decoded.row(y);
        for (int32_t x = 0; x < width; ++x) {
            if (palettised) {
                const uint32_t index = paletteIndex(row, x, bits);
                // An index past the palette reads as black rather than as bytes beyond it.
                if (index >= coloursUsed) {
                    target[x] = 0;
                    continue;
                }
                const unsigned char* entry = palette + index * 4;
                target[x] = uint32_t(entry[2]) << 16 | uint32_t(entry[1]) << 8 | entry[0];
            } else {
                const unsigned char* p = row + size_t(x) * (bits / 8);
                target[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            }
        }
    }
    out = std::move(decoded);
    return true;
}
