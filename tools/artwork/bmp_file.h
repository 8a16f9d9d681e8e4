// Writing 8-bit palettised BMP files (the form the plug-ins embed) and reading BMP files back
// through the toolkit's own decoder, so the generator checks what the plug-ins will see.
#pragma once

#include "gui/pixel_surface.h"
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
bool readBmp(const std::string& path, PixelSurface& out, std::string& error);

// Writes a binary PPM of `pixels` (for previews that are converted to PNG for review).
bool writePpm(const std::string& path, const PixelSurface& pixels, std::string& error);

// The colours an indexed image stands for.
PixelSurface expand(const IndexedImage& image);

} // namespace artwork
