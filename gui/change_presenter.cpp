// ChangePresenter: the pixel comparison against the shown copy and the queue of areas.
#include "gui/change_presenter.h"

#include <algorithm>
#include <cstring>

void ChangePresenter::resize(int32_t width, int32_t height) {
    shown = PixelSurface(width, height);
    count = 0;
}

void ChangePresenter::presentExposed(platform::Window* window, const PixelSurface& surface,
                                     const Rect& area) {
    if (!window || !window->isUsable()) return;
    const Rect clipped(std::max(area.left, 0), std::max(area.top, 0),
                       std::min({area.right, surface.width, shown.width}),
                       std::min({area.bottom, surface.height, shown.height}));
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return;
    window->present(surface, {clipped.left, clipped.top, clipped.right, clipped.bottom});
    const auto columns = static_cast<size_t>(clipped.getWidth());
    for (int32_t y = clipped.top; y < clipped.bottom; ++y)
        std::memcpy(shown.row(y) + clipped.left, surface.row(y) + clipped.left,
                    columns * sizeof(uint32_t));
}

void ChangePresenter::presentChanges(platform::Window* window, const PixelSurface& surface,
                                     const Rect& candidate) {
    if (!window || !window->isUsable()) return;
    const int32_t left = std::max(candidate.left, 0);
    const int32_t right = std::min({candidate.right, surface.width, shown.width});
    const int32_t top = std::max(candidate.top, 0);
    const int32_t bottom = std::min({candidate.bottom, surface.height, shown.height});
    if (left >= right || top >= bottom) return;
    // Bounding box of the pixels that differ from what the window shows.
    int32_t changedLeft = right, changedRight = left, changedTop = bottom, changedBottom = top;
    const auto columns = static_cast<size_t>(right - left);
    for (int32_t y = top; y < bottom; ++y) {
        const uint32_t* now = surface.row(y);
        const uint32_t* before = shown.row(y);
        if (std::memcmp(now + left, before + left, columns * sizeof(uint32_t)) == 0) continue;
        int32_t first = left;
        while (now[first] == before[first])
            ++first;
        int32_t last = right - 1;
        while (now[last] == before[last])
            --last;
        changedLeft = std::min(changedLeft, first);
        changedRight = std::max(changedRight, last + 1);
        changedTop = std::min(changedTop, y);
        changedBottom = y + 1;
    }
    if (changedTop >= changedBottom) return;
    presentExposed(window, surface, Rect(changedLeft, changedTop, changedRight, changedBottom));
}

void ChangePresenter::queue(const Rect& candidate) {
    if (count < kMaxAreas) {
        areas[count++] = candidate;
        return;
    }
    // Too many separate areas: the last one grows to cover the rest.
    Rect& last = areas[kMaxAreas - 1];
    last = Rect(std::min(last.left, candidate.left), std::min(last.top, candidate.top),
                std::max(last.right, candidate.right), std::max(last.bottom, candidate.bottom));
}

void ChangePresenter::flush(platform::Window* window, const PixelSurface& surface) {
    for (int32_t i = 0; i < count; ++i)
        presentChanges(window, surface, areas[i]);
    count = 0;
}
