// artwork: writes the editors' bitmap files.
//
//   artwork [--fonts DIR] [--preview DIR] PRODUCT OUTPUT_DIR
//
// PRODUCT is one of the products below; OUTPUT_DIR receives its BMP files (normally
// plugins/PRODUCT/resources). With --preview, PPM pictures of the composed panel and the
// strip are written for review. Output is deterministic: the same fonts give the same files.
#include "tools/artwork/products.h"

#include <cstdio>
#include <cstring>

namespace {

const artwork::Product products[] = {
    {"swirlet", artwork::generateSwirlet},
    {"showcase", artwork::generateShowcase},
};

int usage() {
    std::fprintf(stderr, "usage: artwork [--fonts DIR] [--preview DIR] PRODUCT OUTPUT_DIR\n"
                         "products:");
    for (const artwork::Product& product : products)
        std::fprintf(stderr, " %s", product.name);
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    artwork::ArtworkOptions options;
    const char* productName = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fonts") == 0 && i + 1 < argc) {
            options.fontDir = argv[++i];
        } else if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
            options.previewDir = argv[++i];
        } else if (argv[i][0] == '-') {
            return usage();
        } else if (!productName) {
            productName = argv[i];
        } else if (options.outputDir.empty()) {
            options.outputDir = argv[i];
        } else {
            return usage();
        }
    }
    if (!productName || options.outputDir.empty()) return usage();

    for (const artwork::Product& product : products) {
        if (std::strcmp(product.name, productName) != 0) continue;
        std::string error;
        if (!product.generate(options, error)) {
            std::fprintf(stderr, "artwork: %s: %s\n", productName, error.c_str());
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "artwork: unknown product %s\n", productName);
    return usage();
}
