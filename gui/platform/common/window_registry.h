// WindowRegistry: the bookkeeping of window classes and frame windows that every back end
// keeps. A window is only made for a registered class, and an event is only delivered to a
// window that is still listed (anything else gets default handling, that is, none).
//
// Class names are counted: a name is listed until it was removed as often as it was added.
// Windows are listed by address only; the registry never touches them. GUI thread only.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

class WindowRegistry {
  public:
    void addClass(const char* name);
    void removeClass(const char* name);
    bool hasClass(const char* name) const;

    void addWindow(const void* window);
    void removeWindow(const void* window);
    bool hasWindow(const void* window) const;
    int windowCount() const { return static_cast<int>(windows.size()); }

  private:
    std::vector<std::pair<std::string, int>> classes; // name, registrations
    std::vector<const void*> windows;
};

} // namespace platform
