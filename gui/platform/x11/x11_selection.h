// X11Selection: the CLIPBOARD and PRIMARY selections of one window: owning a selection with the
// toolkit's 8-bit text and serving it to other programs (TARGETS, UTF8_STRING, STRING, TEXT),
// and asking the owner of one for its text (UTF8_STRING first, then STRING), waiting at most a
// second for the answer. 8-bit text is Latin-1; characters outside it become '?'.
//
// State: the connection and window (not owned), the atoms, the texts owned. GUI thread only.
#pragma once

#include "gui/platform/platform.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

class X11Selection {
  public:
    X11Selection(Display* display, ::Window window);

    bool own(platform::Selection which, const char* text);
    bool read(platform::Selection which, char* buffer, size_t capacity);
    // A SelectionRequest or SelectionClear for the window; false for other events.
    bool handle(const XEvent& event);

  private:
    Atom atomOf(platform::Selection which) const {
        return which == platform::Selection::Clipboard ? clipboard : XA_PRIMARY;
    }
    bool fetch(Atom selection, Atom target, std::string& out);
    void serve(const XSelectionRequestEvent& request);

    Display* display;
    ::Window window;
    Atom clipboard, utf8, targets, text, property;
    std::string owned[2];
};
