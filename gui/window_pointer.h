// WindowPointer: the input queries of the drawing contexts a frame builds, answered from the
// frame's platform window (buttons, modifiers and position polled now, press queue, clock).
//
// State: the window it asks (none while the frame has no window). GUI thread only.
#pragma once

#include "gui/platform/platform.h"
#include "gui/pointer_source.h"

class WindowPointer final : public PointerSource {
  public:
    explicit WindowPointer(platform::Window* window = nullptr) : window(window) {}
    void setWindow(platform::Window* newWindow) { window = newWindow; }

    int32_t getButtonState() override;
    Point getPointerPosition() override;
    Point getWindowPosition() override;
    uint32_t getTicks() override;
    uint32_t getDoubleClickTime() override;
    uint32_t getLastPressTime() override;
    // Takes a waiting left press; when there is none, pauses 1 ms so that a waiting loop
    // neither spins nor (on the headless clock) stands still.
    bool takeLeftButtonPress() override;

  private:
    platform::Window* window;
};
