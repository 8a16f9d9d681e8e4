// BMP decoding (header checks, palette lookup, row unpacking) and 8-bit encoding.
#include "bmp/bmp_codec.h"

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
void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

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

bool decodeBmpFile(const unsigned char* data, size_t size, BmpImage& out) {
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

    BmpImage decoded(width, height);

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

std::vector<uint8_t> encodeBmp8(int32_t width, int32_t height, const uint32_t* palette,
                                const uint8_t* indices) {
    const uint32_t rowBytes = (uint32_t(width) + 3u) & ~3u;
    const uint32_t pixelOffset = 14 + 40 + 256 * 4;
    const uint32_t imageBytes = rowBytes * uint32_t(height);

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + imageBytes);
    put32(out, 0); // reserved
    put32(out, pixelOffset);

    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height)); // positive: rows stored bottom-up
    put16(out, 1);                // planes
    put16(out, 8);                // bits per pixel
    put32(out, 0);                // no compression
    put32(out, imageBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 256); // colours used
    put32(out, 0);   // all colours important

    for (int32_t i = 0; i < 256; ++i) {
        const uint32_t rgb = palette[i];
        out.push_back(uint8_t(rgb));
        out.push_back(uint8_t(rgb >> 8));
        out.push_back(uint8_t(rgb >> 16));
        out.push_back(0);
    }
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* row = indices + size_t(y) * size_t(width);
        out.insert(out.end(), row, row + width);
        out.insert(out.end(), rowBytes - uint32_t(width), 0);
    }
    return out;
}
