// WindowPointer: drawing-context input queries over a platform window.
#include "gui/window_pointer.h"

int32_t WindowPointer::getButtonState() {
    return window ? static_cast<int32_t>(window->pointerButtons()) : 0;
}

Point WindowPointer::getPointerPosition() {
    platform::PointerPosition position;
    if (!window || !window->pointerPosition(position)) return getWindowPosition();
    return {position.screenX, position.screenY};
}

Point WindowPointer::getWindowPosition() {
    int32_t x = 0, y = 0;
    if (window) window->screenOrigin(x, y);
    return {x, y};
}

uint32_t WindowPointer::getTicks() {
    return platform::current().ticks();
}

uint32_t WindowPointer::getDoubleClickTime() {
    return platform::current().doubleClickTime();
}

uint32_t WindowPointer::getLastPressTime() {
    return window ? window->lastPressTime() : 0;
}

bool WindowPointer::takeLeftButtonPress() {
    if (window && window->takeLeftButtonPress()) return true;
    platform::current().sleep(1);
    return false;
}
