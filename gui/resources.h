// The bitmap resources of the library the toolkit is linked into, by resource number (the
// platform's system services find them).
#pragma once

#include <cstddef>
#include <cstdint>

// Finds bitmap resource `id` in this library's own resources; false when it has none of that
// number.
bool findBitmapResource(int32_t id, const unsigned char*& data, size_t& size);
