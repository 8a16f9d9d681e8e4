// X11ErrorTrap: catches the X protocol and I/O errors of one of the toolkit's own connections
// for the span of a block of Xlib calls, instead of letting Xlib's default handlers end the
// host process.
//
// Xlib's handlers are process-wide and belong to the host, so a trap installs the toolkit's
// handlers only while it lives and puts the previous ones back when it ends; errors of other
// connections that arrive meanwhile are passed on to the previous handlers. Traps nest.
// GUI thread only.
#pragma once

#include <X11/Xlib.h>

class X11ErrorTrap {
  public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far; true when none of the
    // requests made inside this trap failed and the connection still works.
    bool sync();
    // A request made inside this trap failed (as far as the replies read so far tell).
    bool failed() const { return errorCode != 0 || ioFailed; }
    int lastErrorCode() const { return errorCode; }

  private:
    friend int x11TrapProtocolError(Display*, XErrorEvent*);
    friend int x11TrapIoError(Display*);

    Display* display;
    X11ErrorTrap* outer;
    int errorCode = 0;
    bool ioFailed = false;
    XErrorHandler previousHandler = nullptr;
    XIOErrorHandler previousIoHandler = nullptr;
};
