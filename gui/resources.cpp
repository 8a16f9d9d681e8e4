// Bitmap resources: through the platform's system services.
#include "gui/resources.h"

#include "gui/platform/platform.h"

bool findBitmapResource(int32_t id, const unsigned char*& data, size_t& size) {
    return platform::current().findResource(id, data, size);
}
