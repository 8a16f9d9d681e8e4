// ChangePresenter: sends a frame's picture to its window, only where it differs from what the
// window already shows. It keeps a copy of the shown pixels and a short queue of areas that
// views are about to redraw; after they drew, only the bounding box of the pixels that really
// changed inside each area goes out.
//
// State: the shown copy (the frame's size), up to kMaxAreas queued areas. GUI thread only.
#pragma once

#include "gui/geometry.h"
#include "gui/platform/pixel_surface.h"
#include "gui/platform/platform.h"

#include <cstdint>

class ChangePresenter {
  public:
    static constexpr int32_t kMaxAreas = 16;

    ChangePresenter(int32_t width, int32_t height) : shown(width, height) {}

    // A picture of a new size: nothing counts as shown, the queue empties.
    void resize(int32_t width, int32_t height);

    // Sends `area` of `surface` (clipped to it) whole, as an exposure needs, and records it as
    // shown. Nothing happens without a usable window.
    void presentExposed(platform::Window* window, const PixelSurface& surface, const Rect& area);
    // Sends the bounding box of the pixels inside `candidate` that differ from what is shown.
    void presentChanges(platform::Window* window, const PixelSurface& surface,
                        const Rect& candidate);

    // An area whose pixels may change before the next flush. Beyond kMaxAreas the last area
    // grows to cover the new one.
    void queue(const Rect& candidate);
    // presentChanges for every queued area, then an empty queue.
    void flush(platform::Window* window, const PixelSurface& surface);
    void clearQueue() { count = 0; }
    int32_t queuedCount() const { return count; }

  private:
    PixelSurface shown;
    Rect areas[kMaxAreas];
    int32_t count = 0;
};
