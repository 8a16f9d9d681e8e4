// The platform every frame uses: the window system's own unless a test installed another.
#include "gui/platform/platform.h"

namespace platform {

Platform* installed = nullptr;

Platform& current() {
    return installed ? *installed : windowSystem();
}

} // namespace platform
