// The products the artwork generator knows: each writes its editor's BMP files, named after
// their resource numbers, into the output folder. Adding a product means one more source file
// with its generate function and one more line in the table (products.cpp).
#pragma once

#include "tools/artwork/panel_kit.h"

#include <string>
#include <vector>

namespace artwork {

struct Product {
    const char* name;
    bool (*generate)(const ArtworkOptions& options, std::string& error);
};

bool generateSwirlet(const ArtworkOptions& options, std::string& error);
bool generateGrimfold(const ArtworkOptions& options, std::string& error);
bool generateTloom(const ArtworkOptions& options, std::string& error);
bool generateCorallis(const ArtworkOptions& options, std::string& error);
bool generateShowcase(const ArtworkOptions& options, std::string& error);

// Every product, in the order the regenerate target writes them.
const std::vector<Product>& allProducts();

} // namespace artwork
