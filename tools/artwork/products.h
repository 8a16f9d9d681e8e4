// The products the artwork generator knows: each writes its editor's BMP files, named after
// their resource numbers, into the output folder. A product is one source file,
// <name>_artwork.cpp, defining generate<Name>(options, error); the build writes the table of
// all of them from the plug-in list (tools/artwork/CMakeLists.txt).
#pragma once

#include "tools/artwork/panel_kit.h"

#include <string>
#include <vector>

namespace artwork {

struct Product {
    const char* name;
    bool (*generate)(const ArtworkOptions& options, std::string& error);
};

// Every product, in the order the regenerate target writes them.
const std::vector<Product>& allProducts();

} // namespace artwork
