// X11Connection: one editor window's own connection to the X server. Each frame window opens
// its own, so two editors in one process (of one library or of two) never share event queues
// or state. A lost connection (server gone) is recorded here instead of ending the process.
//
// State: the Display, and whether an I/O error made it unusable. GUI thread only.
#pragma once

#include <X11/Xlib.h>

#include <memory>

class X11Connection {
  public:
    // Connects to the display named by the environment; null when there is none.
    static std::unique_ptr<X11Connection> open();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display() const { return connection; }
    // False once an I/O error was seen; no request may be sent afterwards.
    bool isUsable() const { return !lost; }

  private:
    explicit X11Connection(Display* display);
    static void onFatalIoError(Display* display, void* self);

    Display* connection;
    bool lost = false;
};
