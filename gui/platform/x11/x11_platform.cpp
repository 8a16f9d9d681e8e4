// X11Platform: window classes and child windows on X11; the program's platform.
#include "gui/platform/x11/x11_platform.h"

#include "gui/platform/x11/x11_window.h"

bool X11Platform::registerWindowClass(const char* name) {
    if (!name || !*name) return false;
    windows.addClass(name);
    return true;
}

void X11Platform::unregisterWindowClass(const char* name) {
    windows.removeClass(name);
}

std::unique_ptr<platform::Window>
X11Platform::createChildWindow(const platform::WindowSpec& windowSpec) {
    if (!windows.hasClass(windowSpec.className)) return nullptr;
    return X11Window::create(windowSpec);
}

X11Platform& x11Platform() {
    static X11Platform instance;
    return instance;
}

platform::Platform& platform::current() {
    return x11Platform();
}
