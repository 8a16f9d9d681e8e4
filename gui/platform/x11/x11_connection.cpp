// X11Connection: opening, losing and closing an editor's own X connection.
#include "gui/platform/x11/x11_connection.h"

#include "gui/platform/x11/x11_error_trap.h"

#include <new>

std::unique_ptr<X11Connection> X11Connection::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    std::unique_ptr<X11Connection> connection(new (std::nothrow) X11Connection(display));
    if (!connection) XCloseDisplay(display);
    return connection;
}

X11Connection::X11Connection(Display* display) : connection(display) {
    // Xlib ends the process after an I/O error unless the connection has an exit handler that
    // returns; ours only marks the connection lost, and the window then reports itself gone.
    XSetIOErrorExitHandler(connection, onFatalIoError, this);
}

void X11Connection::onFatalIoError(Display*, void* self) {
    static_cast<X11Connection*>(self)->lost = true;
}

X11Connection::~X11Connection() {
    if (!connection) return;
    // On a lost connection Xlib only frees its structures; the trap keeps a second I/O error
    // report from reaching the host's handler.
    X11ErrorTrap trap(connection);
    XCloseDisplay(connection);
}
