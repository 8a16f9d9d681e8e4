// BMP encoding and file input and output for the artwork generator.
#include "tools/artwork/bmp_file.h"

#include "gui/bitmap_file.h"

#include <fstream>
#include <iterator>

namespace artwork {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::vector<uint8_t> encodeBmp8(const IndexedImage& image) {
    const uint32_t rowBytes = (uint32_t(image.width) + 3u) & ~3u;
    const uint32_t pixelOffset = 14 + 40 + 256 * 4;
    const uint32_t imageBytes = rowBytes * uint32_t(image.height);

    std::vector<uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + imageBytes);
    put32(out, 0); // reserved
    put32(out, pixelOffset);

    put32(out, 40);
    put32(out, uint32_t(image.width));
    put32(out, uint32_t(image.height)); // positive: rows stored bottom-up
    put16(out, 1);                      // planes
    put16(out, 8);                      // bits per pixel
    put32(out, 0);                      // no compression
    put32(out, imageBytes);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 256); // colours used
    put32(out, 0);   // all colours important

    for (uint32_t rgb : image.palette) {
        out.push_back(uint8_t(rgb));
        out.push_back(uint8_t(rgb >> 8));
        out.push_back(uint8_t(rgb >> 16));
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.indices.data() + size_t(y) * size_t(image.width);
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), rowBytes - uint32_t(image.width), 0);
    }
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writeBmp8(const std::string& path, const IndexedImage& image, std::string& error) {
    return writeFile(path, encodeBmp8(image), error);
}

bool readBmp(const std::string& path, PixelSurface& out, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                           std::istreambuf_iterator<char>()};
    if (!decodeBmpFile(bytes.data(), bytes.size(), out)) {
        error = path + " is not a BMP file the toolkit reads";
        return false;
    }
    return true;
}

bool writePpm(const std::string& path, const PixelSurface& pixels, std::string& error) {
    const std::string header =
        "P6\n" + std::to_string(pixels.width) + " " + std::to_string(pixels.height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    for (uint32_t p : pixels.pixels) {
        bytes.push_back(uint8_t(p >> 16));
        bytes.push_back(uint8_t(p >> 8));
        bytes.push_back(uint8_t(p));
    }
    return writeFile(path, bytes, error);
}

PixelSurface expand(const IndexedImage& image) {
    PixelSurface out(image.width, image.height);
    for (size_t i = 0; i < image.indices.size(); ++i)
        out.pixels[i] = image.palette[image.indices[i]];
    return out;
}

} // namespace artwork
