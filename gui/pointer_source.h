// PointerSource: the input queries a drawing context answers for the controls that track the
// mouse, asked of the window system. The platform layer implements it for each window and hands
// it to the contexts a frame builds.
#pragma once

#include "gui/geometry.h"

#include <cstdint>

// A context without one sees no buttons, a pointer at the window origin and no second click.
class PointerSource {
  public:
    // Buttons and modifiers held now: the Mouse* bits above.
    virtual int32_t getButtonState() = 0;
    // Pointer position in screen coordinates.
    virtual Point getPointerPosition() = 0;
    // Screen position of the window's top-left corner.
    virtual Point getWindowPosition() = 0;
    // Monotonic milliseconds.
    virtual uint32_t getTicks() = 0;
    // The system's double-click interval in milliseconds.
    virtual uint32_t getDoubleClickTime() = 0;
    // Tick time of the last button press the window delivered.
    virtual uint32_t getLastPressTime() = 0;
    // Removes a waiting left-button press from the window's queue and answers whether there
    // was one; may wait a millisecond or so for one to arrive rather than spin.
    virtual bool takeLeftButtonPress() = 0;

  protected:
    ~PointerSource() = default;
};
