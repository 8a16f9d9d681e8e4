// WindowRegistry: counted class names and the list of live windows.
#include "gui/platform/common/window_registry.h"

#include <algorithm>

namespace platform {

void WindowRegistry::addClass(const char* name) {
    if (!name) return;
    for (auto& entry : classes) {
        if (entry.first == name) {
            ++entry.second;
            return;
        }
    }
    classes.emplace_back(name, 1);
}

void WindowRegistry::removeClass(const char* name) {
    if (!name) return;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (it->first == name) {
            if (--it->second <= 0) classes.erase(it);
            return;
        }
    }
}

bool WindowRegistry::hasClass(const char* name) const {
    if (!name) return false;
    for (const auto& entry : classes)
        if (entry.first == name) return true;
    return false;
}

void WindowRegistry::addWindow(const void* window) {
    if (window && !hasWindow(window)) windows.push_back(window);
}

void WindowRegistry::removeWindow(const void* window) {
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool WindowRegistry::hasWindow(const void* window) const {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

} // namespace platform
