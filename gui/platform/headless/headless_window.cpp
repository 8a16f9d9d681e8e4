// HeadlessWindow: queued events, recorded presentation, scripted pointer reads.
#include "gui/platform/headless/headless_window.h"

#include "gui/platform/common/file_uri.h"
#include "gui/platform/headless/headless_platform.h"

#include <algorithm>
#include <cstring>

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, const platform::WindowSpec& windowSpec)
    : parent(windowSpec.parent), className(windowSpec.className ? windowSpec.className : ""),
      title(windowSpec.title ? windowSpec.title : ""), windowWidth(std::max(1, windowSpec.width)),
      windowHeight(std::max(1, windowSpec.height)), owner(&platform), listener(windowSpec.listener),
      dropListener(windowSpec.dropListener), shown(windowWidth, windowHeight) {}

HeadlessWindow::~HeadlessWindow() {
    if (!owner) return;
    if (focused && focusTakeCount > focusReturnCount) ++owner->focusLeftCount;
    for (const HeadlessWindow*& selectionOwner : owner->selectionOwners)
        if (selectionOwner == this) selectionOwner = nullptr;
    owner->forgetWindow(this);
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

void HeadlessWindow::queueKey(platform::KeyCode code, char character, uint32_t modifiers,
                              bool release) {
    Event event{Kind::Key, {}, 0, 0, now()};
    event.key.code = code;
    event.key.character = character;
    event.key.modifiers = modifiers;
    queue.push_back(event);
    if (release) {
        event.key.pressed = false;
        queue.push_back(event);
    }
}

void HeadlessWindow::queueText(const char* text) {
    for (const char* p = text; p && *p; ++p)
        queueKey(platform::KeyCode::Character, *p);
}

void HeadlessWindow::queueFocus(bool gained) {
    Event event{Kind::Focus, {}, 0, 0, now()};
    event.gained = gained;
    queue.push_back(event);
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
    // The data as a drag protocol delivers it, handed on as the X11 back end does.
    platform::DropData dropped;
    if (format == platform::kDropFiles)
        dropped.paths = file_uri::droppedFiles(data.data(), data.size(), *owner);
    else
        dropped.text = data;
    const platform::DropOutcome outcome = dropListener->drop(format, dropped, x, y);
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
        if (!isVisible(event) || (filter == platform::EventFilter::PaintOnly &&
                                  event.kind != Kind::Paint && event.kind != Kind::Destroy)) {
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
        case Kind::Key:
        case Kind::Focus:
            deliverPaint();
            if (event.kind == Kind::Focus) focused = event.gained;
            if (listener && !destroyed) {
                if (event.kind == Kind::Key)
                    listener->windowKey(event.key); // no host window here to pass keys on to
                else
                    listener->windowFocus(event.gained);
            }
            index = 0; // as for a press: the handler may have changed the queue
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

// ---- keyboard focus and selections ----

bool HeadlessWindow::takeKeyboardFocus() {
    if (destroyed || refuseFocus) return false;
    ++focusTakeCount;
    focused = true;
    return true;
}

void HeadlessWindow::giveBackKeyboardFocus() {
    ++focusReturnCount;
    focused = false;
}

bool HeadlessWindow::setSelectionText(platform::Selection which, const char* text) {
    if (destroyed || !owner || !text) return false;
    const auto index = static_cast<size_t>(which);
    owner->selections[index] = text;
    owner->selectionOwners[index] = this;
    return true;
}

bool HeadlessWindow::getSelectionText(platform::Selection which, char* buffer, size_t capacity) {
    if (destroyed || !owner || !buffer || capacity == 0) return false;
    const std::string& text = owner->selections[static_cast<size_t>(which)];
    if (text.empty()) return false;
    const size_t count = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = 0;
    return true;
}

// ---- popup layers ----

class HeadlessPopupLayer final : public platform::PopupLayer {
  public:
    explicit HeadlessPopupLayer(HeadlessPlatform& platform) : owner(&platform) {
        ++owner->popupOpenCount;
        ++owner->popupLiveCount;
    }
    ~HeadlessPopupLayer() override { --owner->popupLiveCount; }
    bool isUsable() const override { return usable; }
    platform::Area screenArea() override { return owner->screen; }
    void showPanels(const platform::PopupPanel* panels, size_t count) override {
        owner->panelAreas.clear();
        owner->panelPixels.clear();
        for (size_t i = 0; i < count; ++i) {
            owner->panelAreas.push_back(panels[i].area);
            owner->panelPixels.push_back(panels[i].pixels ? *panels[i].pixels : PixelSurface());
        }
    }
    void processEvents(platform::PopupListener& listener) override {
        if (owner->popupSteps.empty()) {
            usable = false;
            return;
        }
        const HeadlessPlatform::PopupStep step = owner->popupSteps.front();
        owner->popupSteps.pop_front();
        ++owner->popupStepCount;
        if (step.isKey)
            listener.popupKey(step.key);
        else
            listener.popupPointer(step.kind, step.x, step.y, step.button);
    }

  private:
    HeadlessPlatform* owner;
    bool usable = true;
};

std::unique_ptr<platform::PopupLayer> HeadlessWindow::openPopupLayer() {
    if (destroyed || !owner || owner->refusePopups) return nullptr;
    return std::make_unique<HeadlessPopupLayer>(*owner);
}
