// X11ErrorTrap: scoped protocol and I/O error handlers for the toolkit's own connections.
#include "gui/platform/x11/x11_error_trap.h"

namespace {
// The innermost live trap; each trap links to the one it was nested in.
X11ErrorTrap* innermostTrap = nullptr;
} // namespace

int x11TrapProtocolError(Display* display, XErrorEvent* event) {
    for (X11ErrorTrap* trap = innermostTrap; trap; trap = trap->outer) {
        if (trap->display == display) {
            trap->errorCode = event->error_code ? event->error_code : 1;
            return 0;
        }
    }
    // Another connection's error: the handler that was there before the outermost trap.
    X11ErrorTrap* outermost = innermostTrap;
    while (outermost && outermost->outer)
        outermost = outermost->outer;
    if (outermost && outermost->previousHandler) return outermost->previousHandler(display, event);
    return 0;
}

int x11TrapIoError(Display* display) {
    for (X11ErrorTrap* trap = innermostTrap; trap; trap = trap->outer) {
        if (trap->display == display) {
            // Returning hands over to the connection's exit handler, which marks it lost.
            trap->ioFailed = true;
            return 0;
        }
    }
    X11ErrorTrap* outermost = innermostTrap;
    while (outermost && outermost->outer)
        outermost = outermost->outer;
    if (outermost && outermost->previousIoHandler) return outermost->previousIoHandler(display);
    return 0;
}

X11ErrorTrap::X11ErrorTrap(Display* connection) : display(connection), outer(innermostTrap) {
    previousHandler = XSetErrorHandler(x11TrapProtocolError);
    previousIoHandler = XSetIOErrorHandler(x11TrapIoError);
    innermostTrap = this;
}

X11ErrorTrap::~X11ErrorTrap() {
    innermostTrap = outer;
    XSetErrorHandler(previousHandler);
    XSetIOErrorHandler(previousIoHandler);
}

bool X11ErrorTrap::sync() {
    if (display && !ioFailed) XSync(display, False);
    return !failed();
}
