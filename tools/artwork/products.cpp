// The table of products the generator knows.
#include "tools/artwork/products.h"

namespace artwork {

const std::vector<Product>& allProducts() {
    static const std::vector<Product> products = {
        {"swirlet", generateSwirlet},
        {"grimfold", generateGrimfold},
        {"tloom", generateTloom},
        {"corallis", generateCorallis},
        {"showcase", generateShowcase},
    };
    return products;
}

} // namespace artwork
