// HeadlessWindow: queued events, recorded presentation, scripted pointer reads.
#include "gui/platform/headless/headless_window.h"

#include "gui/platform/headless/headless_platform.h"

#include <algorithm>
#include <cstring>

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, const platform::WindowSpec& windowSpec)
    : parent(windowSpec.parent), className(windowSpec.className ? windowSpec.className : ""),
      title(windowSpec.title ? windowSpec.title : ""), windowWidth(std::max(1, windowSpec.width)),
      windowHeight(std::max(1, windowSpec.height)), owner(&platform), listener(windowSpec.listener),
      dropListener(windowSpec.dropListener), shown(windowWidth, windowHeight) {}

HeadlessWindow::~HeadlessWindow() {
    if (owner) owner->forgetWindow(this);
}

uint32_t HeadlessWindow::now() const {
    return owner ? owner->ticks() : 0;
}

bool HeadlessWindow::isVisible(const Event& event) const {
    // Signed distance, so that the comparison survives the tick counter wrapping.
    return static_cast<int32_t>(now() - event.visibleFrom) >= 0;
}

void HeadlessWindow::expose(const platform::Area& area) {
    queue.push_back({Kind::Paint, area, 0, 0, now()});
}

void HeadlessWindow::queuePress(int32_t x, int32_t y, uint32_t at) {
    queue.push_back({Kind::Press, {}, x, y, at ? at : now()});
}

void HeadlessWindow::destroyByHost() {
    queue.push_back({Kind::Destroy, {}, 0, 0, now()});
}

platform::DropAction HeadlessWindow::dragOver(uint32_t formats, int32_t x, int32_t y,
                                              uint32_t modifiers) {
    if (!takesDrops()) return platform::DropAction::Refused;
    return dropListener->dragOver(formats, modifiers, x, y);
}

void HeadlessWindow::dragLeave() {
    if (takesDrops()) dropListener->dragLeave();
}

platform::DropOutcome HeadlessWindow::drop(platform::DropFormat format, const std::string& data,
                                           int32_t x, int32_t y) {
    if (!takesDrops()) return platform::DropOutcome::Unusable;
    const platform::DropOutcome outcome =
        dropListener->drop(format, data.data(), data.size(), x, y);
    dropListener->dragLeave();
    return outcome;
}

void HeadlessWindow::setScreenOrigin(int32_t x, int32_t y) {
    originX = x;
    originY = y;
}

void HeadlessWindow::processEvents(platform::EventFilter filter) {
    platform::Area paint;
    bool paintPending = false;
    auto deliverPaint = [&] {
        if (!paintPending) return;
        paintPending = false;
        if (listener && !destroyed) listener->windowPaint(paint);
    };
    // Events are taken one at a time from the front, so that a press whose handling runs a
    // nested (paint-only) pass sees the queue as it is then.
    for (size_t index = 0; !destroyed && index < queue.size();) {
        const Event event = queue[index];
        if (!isVisible(event) ||
            (filter == platform::EventFilter::PaintOnly && event.kind == Kind::Press)) {
            ++index;
            continue;
        }
        queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(index));
        switch (event.kind) {
        case Kind::Paint:
            if (event.area.isEmpty()) break;
            if (!paintPending) {
                paint = event.area;
                paintPending = true;
            } else {
                paint.left = std::min(paint.left, event.area.left);
                paint.top = std::min(paint.top, event.area.top);
                paint.right = std::max(paint.right, event.area.right);
                paint.bottom = std::max(paint.bottom, event.area.bottom);
            }
            break;
        case Kind::Press:
            deliverPaint();
            pressTime = event.visibleFrom;
            if (listener && !destroyed) listener->windowButtonDown(event.x, event.y);
            // The handler may have changed the queue; start again from the front.
            index = 0;
            break;
        case Kind::Destroy:
            destroyed = true;
            break;
        }
    }
    deliverPaint();
    if (destroyed && !destroyReported) {
        destroyReported = true;
        queue.clear();
        if (listener) listener->windowDestroyed();
    }
}

bool HeadlessWindow::takeLeftButtonPress() {
    if (destroyed) return false;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (it->kind == Kind::Press && isVisible(*it)) {
            pressTime = it->visibleFrom;
            queue.erase(it);
            return true;
        }
    }
    return false;
}

void HeadlessWindow::present(const PixelSurface& surface, const platform::Area& area) {
    if (destroyed) return;
    const platform::Area clipped{std::max(area.left, 0), std::max(area.top, 0),
                                 std::min({area.right, surface.width, windowWidth}),
                                 std::min({area.bottom, surface.height, windowHeight})};
    if (clipped.isEmpty()) return;
    presented.push_back(clipped);
    const auto columns = static_cast<size_t>(clipped.right - clipped.left);
    for (int32_t y = clipped.top; y < clipped.bottom; ++y)
        std::memcpy(shown.row(y) + clipped.left, surface.row(y) + clipped.left,
                    columns * sizeof(uint32_t));
}

uint32_t HeadlessWindow::pointerButtons() {
    if (destroyed || !owner) return 0;
    return owner->readButtons();
}

bool HeadlessWindow::pointerPosition(platform::PointerPosition& position) {
    position = platform::PointerPosition{};
    if (destroyed || !owner) return false;
    owner->readPosition(position.screenX, position.screenY);
    position.windowX = position.screenX - originX;
    position.windowY = position.screenY - originY;
    return true;
}

bool HeadlessWindow::screenOrigin(int32_t& x, int32_t& y) {
    x = originX;
    y = originY;
    return !destroyed;
}

bool HeadlessWindow::resize(int32_t newWidth, int32_t newHeight) {
    if (destroyed || newWidth <= 0 || newHeight <= 0) return false;
    PixelSurface resized(newWidth, newHeight);
    for (int32_t y = 0; y < std::min(windowHeight, newHeight); ++y)
        std::memcpy(resized.row(y), shown.row(y),
                    static_cast<size_t>(std::min(windowWidth, newWidth)) * sizeof(uint32_t));
    shown = std::move(resized);
    windowWidth = newWidth;
    windowHeight = newHeight;
    return true;
}

void HeadlessWindow::setCursor(int32_t type) {
    if (type < platform::kCursorDefault || type > platform::kCursorSizeNWSE) return;
    cursorType = type;
    ++cursorChangeCount;
}
