// Lookup of embedded resources by number, and the empty table of a library that has none.
#include "gui/platform/common/embedded_resources.h"

#if !defined(_WIN32)
// Overridden by the generated table of a deliverable; weak so that test programs and tools
// link the toolkit without one. A weak function is never inlined, so the override is seen.
__attribute__((weak)) const ResourceTable* embeddedBitmapTable() {
    return nullptr;
}
#endif

bool findResource(const ResourceTable* table, int32_t id, const unsigned char*& data,
                  size_t& size) {
    if (!table || !table->entries) return false;
    const uint32_t wanted = static_cast<uint32_t>(id) & 0xFFFFu;
    for (size_t i = 0; i < table->count; ++i) {
        const EmbeddedResource& entry = table->entries[i];
        if ((static_cast<uint32_t>(entry.id) & 0xFFFFu) != wanted) continue;
        if (!entry.data || !entry.size) return false;
        data = entry.data;
        size = *entry.size;
        return true;
    }
    return false;
}
