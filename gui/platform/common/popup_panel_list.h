// The panels of an open popup layer as a list that follows the layer's showPanels calls:
// panels at the start that sit where the new list puts them stay (their windows keep the grab
// and nothing flickers); the rest are destroyed and made again. Shared by the window back ends.
#pragma once

#include "gui/platform/platform.h"

#include <cstring>
#include <memory>
#include <vector>

namespace platform {

// How many of `panels` (from the first) stay for the new list `shown`.
template <class Panel>
size_t keptPanels(const std::vector<std::unique_ptr<Panel>>& panels, const PopupPanel* shown,
                  size_t count) {
    size_t keep = 0;
    while (keep < panels.size() && keep < count &&
           std::memcmp(&panels[keep]->area, &shown[keep].area, sizeof(Area)) == 0)
        ++keep;
    return keep;
}

// Destroys the panels after the first `keep` and makes the new ones of `shown`; false when a
// panel could not be made (the list then holds those made so far).
template <class Panel, class Destroy, class Make>
bool replacePanelsAfter(std::vector<std::unique_ptr<Panel>>& panels, size_t keep,
                        const PopupPanel* shown, size_t count, Destroy destroy, Make make) {
    for (size_t i = keep; i < panels.size(); ++i)
        destroy(*panels[i]);
    panels.resize(keep);
    for (size_t i = keep; i < count; ++i) {
        std::unique_ptr<Panel> panel = make(shown[i].area);
        if (!panel) return false;
        panels.push_back(std::move(panel));
    }
    return true;
}

} // namespace platform
