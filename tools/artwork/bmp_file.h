// Writing 8-bit palettised BMP files (the form the plug-ins embed) and reading BMP files back
// through the codec the toolkit decodes with, so the generator checks what the plug-ins see.
#pragma once

#include "bmp/bmp_codec.h"
#include "tools/artwork/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

// The bytes of an uncompressed 8-bit BMP file: file header, 40-byte info header, 256 palette
// entries and bottom-up rows padded to four bytes.
std::vector<uint8_t> encodeBmp8(const IndexedImage& image);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
bool writeBmp8(const std::string& path, const IndexedImage& image, std::string& error);

// Reads a BMP file into 0x00RRGGBB pixels with the toolkit's decoder.
bool readBmp(const std::string& path, BmpImage& out, std::string& error);

// Writes a binary PPM of `pixels` (for previews that are converted to PNG for review).
bool writePpm(const std::string& path, const BmpImage& pixels, std::string& error);

// The colours an indexed image stands for.
BmpImage expand(const IndexedImage& image);

} // namespace artwork
