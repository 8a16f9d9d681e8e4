// HeadlessWindow: a child window without a display. Tests queue exposures, presses and the
// host destroying the window; what the toolkit presents is recorded, area by area, and copied
// into `screen`, the picture a user would see.
//
// State: the windowSpec it was made from, its event queue (each event carries the tick from which
// it is visible), the presented areas and screen, its screen origin and cursor, the listener.
// GUI thread only.
#pragma once

#include "gui/platform/drop_listener.h"
#include "gui/platform/pixel_surface.h"
#include "gui/platform/platform.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class HeadlessPlatform;

class HeadlessWindow final : public platform::Window {
  public:
    HeadlessWindow(HeadlessPlatform& owner, const platform::WindowSpec& windowSpec);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    // ---- platform::Window ----
    bool isUsable() const override { return !destroyed; }
    void processEvents(platform::EventFilter filter) override;
    void detach() override {
        listener = nullptr;
        dropListener = nullptr;
    }
    bool takeLeftButtonPress() override;
    uint32_t lastPressTime() const override { return pressTime; }
    void present(const PixelSurface& surface, const platform::Area& area) override;
    uint32_t pointerButtons() override;
    bool pointerPosition(platform::PointerPosition& position) override;
    bool screenOrigin(int32_t& x, int32_t& y) override;
    bool resize(int32_t width, int32_t height) override;
    int32_t getCursor() const override { return cursorType; }
    void setCursor(int32_t type) override;
    bool takeKeyboardFocus() override;
    void giveBackKeyboardFocus() override;
    bool setSelectionText(platform::Selection which, const char* text) override;
    bool getSelectionText(platform::Selection which, char* buffer, size_t capacity) override;
    std::unique_ptr<platform::PopupLayer> openPopupLayer() override;

    // ---- scripting ----
    // A key going down (and, with release, up again), visible from now on.
    void queueKey(platform::KeyCode code, char character = 0, uint32_t modifiers = 0,
                  bool release = false);
    // Every character of `text` typed in turn.
    void queueText(const char* text);
    // The window system moves the keyboard focus to (gained) or away from the window.
    void queueFocus(bool gained);
    // Makes takeKeyboardFocus refuse.
    void setRefuseFocus(bool refuse) { refuseFocus = refuse; }
    // An exposure of `area`, visible from now on.
    void expose(const platform::Area& area);
    void exposeAll() { expose({0, 0, windowWidth, windowHeight}); }
    // A button press at (x, y) in window coordinates, visible from tick `at` (now when 0).
    void queuePress(int32_t x, int32_t y, uint32_t at = 0);
    // The host destroys the window (with its parent).
    void destroyByHost();
    void setScreenOrigin(int32_t x, int32_t y);
    size_t pendingEvents() const { return queue.size(); }

    // ---- drags from other programs, delivered at once (as the back end would from its
    // event pass); without a drop listener nothing is taken ----
    bool takesDrops() const { return dropListener != nullptr && !destroyed; }
    platform::DropAction dragOver(uint32_t formats, int32_t x, int32_t y, uint32_t modifiers = 0);
    void dragLeave();
    // The data of one format as a drag protocol carries it (files as a "text/uri-list"
    // block), then the end of the drag.
    platform::DropOutcome drop(platform::DropFormat format, const std::string& data, int32_t x,
                               int32_t y);

    // ---- what the toolkit did ----
    const std::vector<platform::Area>& presentedAreas() const { return presented; }
    void clearPresented() { presented.clear(); }
    // Pixels presented so far, window-sized.
    const PixelSurface& screen() const { return shown; }
    int cursorChanges() const { return cursorChangeCount; }
    bool isDetached() const { return listener == nullptr; }
    bool hasKeyboardFocus() const { return focused; }
    int focusTakes() const { return focusTakeCount; }
    int focusReturns() const { return focusReturnCount; }

    int32_t getWidth() const { return windowWidth; }
    int32_t getHeight() const { return windowHeight; }

    void* const parent;
    const std::string className;
    const std::string title;

  private:
    enum class Kind { Paint, Press, Destroy, Key, Focus };
    struct Event {
        Kind kind;
        platform::Area area;
        int32_t x;
        int32_t y;
        uint32_t visibleFrom;
        platform::KeyEvent key{};
        bool gained = false;
    };

    friend class HeadlessPlatform;
    bool isVisible(const Event& event) const;
    uint32_t now() const;

    int32_t windowWidth;
    int32_t windowHeight;
    HeadlessPlatform* owner; // none once the platform is gone
    platform::WindowListener* listener;
    platform::DropListener* dropListener;
    std::deque<Event> queue;
    std::vector<platform::Area> presented;
    PixelSurface shown;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t cursorType = platform::kCursorDefault;
    int cursorChangeCount = 0;
    uint32_t pressTime = 0;
    bool destroyed = false;
    bool destroyReported = false;
    bool focused = false;
    bool refuseFocus = false;
    int focusTakeCount = 0;
    int focusReturnCount = 0;
};
