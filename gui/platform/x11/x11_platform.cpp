// X11Platform: window classes, child windows and the clock on X11.
#include "gui/platform/x11/x11_platform.h"

#include "gui/platform/x11/monotonic_clock.h"
#include "gui/platform/x11/x11_window.h"
#include "gui/platform/x11/x11_window_registry.h"

bool X11Platform::registerWindowClass(const char* name) {
    if (!name || !*name) return false;
    x11_registry::addClass(name);
    return true;
}

void X11Platform::unregisterWindowClass(const char* name) {
    x11_registry::removeClass(name);
}

std::unique_ptr<platform::Window>
X11Platform::createChildWindow(const platform::WindowSpec& windowSpec) {
    if (!x11_registry::hasClass(windowSpec.className)) return nullptr;
    return X11Window::create(windowSpec);
}

uint32_t X11Platform::ticks() {
    return platform::monotonicTicks();
}

void X11Platform::sleep(uint32_t milliseconds) {
    platform::sleepMilliseconds(milliseconds);
}

X11Platform& x11Platform() {
    static X11Platform instance;
    return instance;
}

platform::Platform& platform::windowSystem() {
    return x11Platform();
}
