// The resources embedded in a library: a table of BMP files by resource number, the form in
// which this system's libraries carry their resources (the system services' findResource reads
// it).
//
// Each deliverable links one table, generated at build time from its resources/*.bmp files
// (cmake/Embed.cmake, embed_bitmap_resources). The table's accessor has hidden visibility, so
// every loaded library resolves it to its own table even when several of them share a
// process; a program that links the toolkit without a table sees an empty one.
//
// The table is constant data; lookups are safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>

// One embedded file: its resource number and its bytes.
struct EmbeddedResource {
    int32_t id;
    const unsigned char* data;
    const size_t* size;
};

// A library's resources, sorted by nothing in particular; numbers are unique.
struct ResourceTable {
    const EmbeddedResource* entries;
    size_t count;
};

// The table linked into this library (defined by the generated resource source; a weak
// empty default answers when none is linked).
#if defined(_WIN32)
// PE objects cannot override a weak definition from another object, and a DLL exports only
// what its .def file names: the accessor is a weak reference instead, null in a program that
// links no table.
__attribute__((weak)) const ResourceTable* embeddedBitmapTable();
#else
__attribute__((visibility("hidden"))) const ResourceTable* embeddedBitmapTable();
#endif

// The table linked into this library, or null when there is none.
inline const ResourceTable* linkedBitmapTable() {
#if defined(_WIN32)
    if (!embeddedBitmapTable) return nullptr;
#endif
    return embeddedBitmapTable();
}

// Finds resource `id` in `table`, comparing only the low 16 bits of the number as resource
// numbers are 16-bit. Answers false (and leaves the outputs alone) when the table lacks it.
bool findResource(const ResourceTable* table, int32_t id, const unsigned char*& data, size_t& size);
