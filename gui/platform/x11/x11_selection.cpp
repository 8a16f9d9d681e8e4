// X11Selection: owning, serving and reading the two selections.
#include "gui/platform/x11/x11_selection.h"

#include "gui/platform/common/utf8.h"

#include "gui/platform/posix/monotonic_clock.h"
#include "gui/platform/x11/x11_error_trap.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kAnswerWaitMs = 1000;
}

X11Selection::X11Selection(Display* connection, ::Window owner)
    : display(connection), window(owner) {
    clipboard = XInternAtom(display, "CLIPBOARD", False);
    utf8 = XInternAtom(display, "UTF8_STRING", False);
    targets = XInternAtom(display, "TARGETS", False);
    text = XInternAtom(display, "TEXT", False);
    property = XInternAtom(display, "TOOLKIT_SELECTION", False);
}

bool X11Selection::own(platform::Selection which, const char* newText) {
    if (!newText) return false;
    const Atom selection = atomOf(which);
    owned[static_cast<size_t>(which)] = newText;
    XSetSelectionOwner(display, selection, window, CurrentTime);
    return XGetSelectionOwner(display, selection) == window;
}

bool X11Selection::fetch(Atom selection, Atom target, std::string& out) {
    XDeleteProperty(display, window, property);
    XConvertSelection(display, selection, target, property, window, CurrentTime);
    XFlush(display);
    const uint32_t start = platform::monotonicTicks();
    XEvent event;
    for (;;) {
        if (XCheckTypedWindowEvent(display, window, SelectionNotify, &event)) {
            if (event.xselection.selection == selection) break;
            continue;
        }
        // Our own requests for the selection we own are answered by handle() elsewhere;
        // meanwhile requests of others are served here so that two editors never wait on
        // each other.
        if (XCheckTypedWindowEvent(display, window, SelectionRequest, &event)) {
            handle(event);
            continue;
        }
        if (platform::monotonicTicks() - start > kAnswerWaitMs) return false;
        platform::sleepMilliseconds(2);
    }
    if (event.xselection.property == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 65536 / 4, True,
                                          AnyPropertyType, &type, &format, &count, &after, &data);
    if (status != Success || !data) return false;
    const bool usable = format == 8 && (type == utf8 || type == XA_STRING);
    if (usable) out.assign(reinterpret_cast<const char*>(data), count);
    XFree(data);
    if (usable && type == utf8) out = utf8::toLatin1(out);
    return usable;
}

bool X11Selection::read(platform::Selection which, char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return false;
    const Atom selection = atomOf(which);
    std::string result;
    X11ErrorTrap trap(display);
    const ::Window owner = XGetSelectionOwner(display, selection);
    if (owner == None) return false;
    if (owner == window) {
        result = owned[static_cast<size_t>(which)];
    } else if (!fetch(selection, utf8, result) && !fetch(selection, XA_STRING, result)) {
        return false;
    }
    const size_t count = std::min(result.size(), capacity - 1);
    std::memcpy(buffer, result.data(), count);
    buffer[count] = 0;
    return true;
}

void X11Selection::serve(const XSelectionRequestEvent& request) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request.display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    // Old clients name no property: the target's name is used then.
    const Atom into = request.property != None ? request.property : request.target;
    reply.xselection.property = None;

    const bool known = request.selection == clipboard || request.selection == XA_PRIMARY;
    const std::string& content =
        owned[request.selection == clipboard ? static_cast<size_t>(platform::Selection::Clipboard)
                                             : static_cast<size_t>(platform::Selection::Primary)];
    X11ErrorTrap trap(display); // the requestor may be gone already
    if (known && request.target == targets) {
        const Atom offered[] = {targets, utf8, XA_STRING, text};
        XChangeProperty(display, request.requestor, into, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered), 4);
        reply.xselection.property = into;
    } else if (known && request.target == utf8) {
        const std::string encoded = utf8::fromLatin1(content);
        XChangeProperty(display, request.requestor, into, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(encoded.data()),
                        static_cast<int>(encoded.size()));
        reply.xselection.property = into;
    } else if (known && (request.target == XA_STRING || request.target == text)) {
        XChangeProperty(display, request.requestor, into, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(content.data()),
                        static_cast<int>(content.size()));
        reply.xselection.property = into;
    }
    XSendEvent(display, request.requestor, False, 0, &reply);
    XFlush(display);
}

bool X11Selection::handle(const XEvent& event) {
    if (event.type == SelectionRequest && event.xselectionrequest.owner == window) {
        serve(event.xselectionrequest);
        return true;
    }
    if (event.type == SelectionClear && event.xselectionclear.window == window) {
        const bool isClipboard = event.xselectionclear.selection == clipboard;
        owned[isClipboard ? 0 : 1].clear();
        return true;
    }
    return false;
}
