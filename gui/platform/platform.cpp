// The process-wide choice of platform: the window system's own unless a test replaced it.
#include "gui/platform/platform.h"

#include "gui/platform/x11/x11_platform.h"

namespace platform {

namespace {
Platform* replacement = nullptr;
} // namespace

Platform& current() {
    return replacement ? *replacement : x11Platform();
}

void setCurrent(Platform* platform) {
    replacement = platform;
}

} // namespace platform
