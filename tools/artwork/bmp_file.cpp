// BMP encoding and file input and output for the artwork generator.
#include "tools/artwork/bmp_file.h"

#include <fstream>
#include <iterator>

namespace artwork {

std::vector<uint8_t> encodeBmp8(const IndexedImage& image) {
    return ::encodeBmp8(image.width, image.height, image.palette.data(), image.indices.data());
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

bool readBmp(const std::string& path, BmpImage& out, std::string& error) {
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

bool writePpm(const std::string& path, const BmpImage& pixels, std::string& error) {
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

BmpImage expand(const IndexedImage& image) {
    BmpImage out(image.width, image.height);
    for (size_t i = 0; i < image.indices.size(); ++i)
        out.pixels[i] = image.palette[image.indices[i]];
    return out;
}

} // namespace artwork
