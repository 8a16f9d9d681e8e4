// The process-wide bookkeeping of window classes and frame windows.
#include "gui/platform/x11/x11_window_registry.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Registry {
    std::vector<std::pair<std::string, int>> classes; // name, registrations
    std::vector<X11Window*> windows;
};

// Built on first use, so that loading the library runs no code.
Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

namespace x11_registry {

void addClass(const char* name) {
    if (!name) return;
    for (auto& entry : registry().classes) {
        if (entry.first == name) {
            ++entry.second;
            return;
        }
    }
    registry().classes.emplace_back(name, 1);
}

void removeClass(const char* name) {
    if (!name) return;
    auto& classes = registry().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (it->first == name) {
            if (--it->second <= 0) classes.erase(it);
            return;
        }
    }
}

bool hasClass(const char* name) {
    if (!name) return false;
    for (const auto& entry : registry().classes)
        if (entry.first == name) return true;
    return false;
}

void addWindow(X11Window* window) {
    if (window && !hasWindow(window)) registry().windows.push_back(window);
}

void removeWindow(X11Window* window) {
    auto& windows = registry().windows;
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool hasWindow(const X11Window* window) {
    const auto& windows = registry().windows;
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

int windowCount() {
    return static_cast<int>(registry().windows.size());
}

} // namespace x11_registry
