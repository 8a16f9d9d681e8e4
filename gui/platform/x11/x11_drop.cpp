// X11DropReceiver: XDND messages, the status answers and the transfer of the dropped data.
#include "gui/platform/x11/x11_drop.h"

#include "gui/platform/common/file_uri.h"
#include "gui/platform/platform.h"
#include "gui/platform/x11/x11_error_trap.h"

#include <X11/Xatom.h>

namespace {

// Types read from a source's XdndTypeList at most; a real drag offers a few dozen.
constexpr long kMaxTypes = 256;

Atom intern(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

} // namespace

X11DropReceiver::X11DropReceiver(Display* display, ::Window window)
    : display(display), window(window) {
    aware = intern(display, "XdndAware");
    enterAtom = intern(display, "XdndEnter");
    positionAtom = intern(display, "XdndPosition");
    statusAtom = intern(display, "XdndStatus");
    leaveAtom = intern(display, "XdndLeave");
    dropAtom = intern(display, "XdndDrop");
    finishedAtom = intern(display, "XdndFinished");
    selection = intern(display, "XdndSelection");
    typeList = intern(display, "XdndTypeList");
    actionCopy = intern(display, "XdndActionCopy");
    actionMove = intern(display, "XdndActionMove");
    incr = intern(display, "INCR");
    property = intern(display, "TOOLKIT_DROP_DATA");
    uriList = intern(display, "text/uri-list");
    utf8String = intern(display, "UTF8_STRING");
    plainUtf8 = intern(display, "text/plain;charset=utf-8");
    plain = intern(display, "text/plain");
    const long version5 = kVersion;
    XChangeProperty(display, window, aware, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&version5), 1);
}

bool X11DropReceiver::handle(const XEvent& event, platform::DropListener* listener) {
    if (event.type == SelectionNotify) {
        if (event.xselection.requestor != window || event.xselection.selection != selection)
            return false;
        selectionArrived(event.xselection, listener);
        return true;
    }
    if (event.type == DestroyNotify) {
        // The source's window went away in the middle of its drag.
        if (!source || event.xdestroywindow.window != source) return false;
        if (delivering) return true; // the drop being handed on ends the drag itself
        if (listener) listener->dragLeave();
        reset();
        return true;
    }
    if (event.type != ClientMessage || event.xclient.window != window || event.xclient.format != 32)
        return false;
    const XClientMessageEvent& message = event.xclient;
    const auto from = static_cast<::Window>(message.data.l[0]);
    const bool known = message.message_type == enterAtom || message.message_type == positionAtom ||
                       message.message_type == leaveAtom || message.message_type == dropAtom;
    if (!known) return false;
    // While a drop's data is being handed on, no drag can start or change.
    if (delivering) return true;
    if (message.message_type == enterAtom) {
        enter(message, listener);
        return true;
    }
    // Messages of anything but the drag that entered last are stale or forged.
    if (!source || from != source) return true;
    if (message.message_type == positionAtom) {
        position(message, listener);
    } else if (message.message_type == leaveAtom) {
        if (listener) listener->dragLeave();
        reset();
    } else {
        dropped(message, listener);
    }
    return true;
}

void X11DropReceiver::enter(const XClientMessageEvent& message, platform::DropListener* listener) {
    if (source && listener) listener->dragLeave();
    reset();
    const long sourceVersion = (message.data.l[1] >> 24) & 0xff;
    // Versions before 3 used other messages; newer sources speak ours to us.
    if (sourceVersion < 3) return;
    source = static_cast<::Window>(message.data.l[0]);
    version = sourceVersion < kVersion ? sourceVersion : kVersion;
    X11ErrorTrap trap(display);
    if (message.data.l[1] & 1) {
        Atom actualType = 0;
        int actualFormat = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, source, typeList, 0, kMaxTypes, False, XA_ATOM, &actualType,
                               &actualFormat, &count, &after, &data) == Success &&
            data) {
            if (actualType == XA_ATOM && actualFormat == 32) {
                const auto* types = reinterpret_cast<const Atom*>(data);
                for (unsigned long i = 0; i < count; ++i)
                    offer(types[i]);
            }
            XFree(data);
        }
    } else {
        for (int i = 2; i <= 4; ++i)
            offer(static_cast<Atom>(message.data.l[i]));
    }
    // Learn when the source's window goes away (a program that ends or crashes mid-drag).
    XSelectInput(display, source, StructureNotifyMask);
    watchingSource = trap.sync();
    if (!watchingSource) {
        // The source is gone already.
        reset();
    }
}

void X11DropReceiver::offer(Atom type) {
    if (type == 0) return;
    if (type == uriList) {
        filesType = type;
        return;
    }
    // The best text type wins: UTF-8 by name, then plain text.
    auto rank = [this](Atom t) {
        if (t == utf8String) return 3;
        if (t == plainUtf8) return 2;
        if (t == plain) return 1;
        return 0;
    };
    if (rank(type) > rank(textType)) textType = type;
}

uint32_t X11DropReceiver::modifiers() {
    ::Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    X11ErrorTrap trap(display);
    XQueryPointer(display, window, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
    if (trap.failed()) return 0;
    uint32_t bits = 0;
    if (mask & ShiftMask) bits |= platform::kModShift;
    if (mask & ControlMask) bits |= platform::kModControl;
    if (mask & Mod1Mask) bits |= platform::kModAlt;
    return bits;
}

void X11DropReceiver::position(const XClientMessageEvent& message,
                               platform::DropListener* listener) {
    if (requested) return; // the drop is already under way
    const int rootX = static_cast<int>((message.data.l[2] >> 16) & 0xffff);
    const int rootY = static_cast<int>(message.data.l[2] & 0xffff);
    {
        X11ErrorTrap trap(display);
        ::Window child = 0;
        int windowX = 0, windowY = 0;
        if (XTranslateCoordinates(display, DefaultRootWindow(display), window, rootX, rootY,
                                  &windowX, &windowY, &child) &&
            !trap.failed()) {
            x = windowX;
            y = windowY;
        }
    }
    uint32_t formats = 0;
    if (filesType) formats |= platform::kDropFiles;
    if (textType) formats |= platform::kDropText;
    action =
        listener ? listener->dragOver(formats, modifiers(), x, y) : platform::DropAction::Refused;
    const bool accepted = action != platform::DropAction::Refused;
    const Atom answer = action == platform::DropAction::Copy   ? actionCopy
                        : action == platform::DropAction::Move ? actionMove
                                                               : None;
    // Bit 1: keep sending positions everywhere over the window, so that a change of the
    // control key is answered as the pointer moves.
    send(statusAtom, (accepted ? 1 : 0) | 2, 0, 0, static_cast<long>(answer));
}

void X11DropReceiver::dropped(const XClientMessageEvent& message,
                              platform::DropListener* listener) {
    if (requested) return;
    if (action == platform::DropAction::Refused || !listener) {
        finish(false, listener);
        return;
    }
    dropTime = static_cast<Time>(message.data.l[2]);
    textPending = textType != 0;
    if (!requestNext()) finish(false, listener);
}

bool X11DropReceiver::requestNext() {
    Atom type = 0;
    if (requested == 0 && filesType) {
        type = filesType;
    } else if (textPending) {
        type = textType;
        textPending = false;
    }
    if (!type) return false;
    X11ErrorTrap trap(display);
    XDeleteProperty(display, window, property);
    XConvertSelection(display, selection, type, property, window, dropTime);
    XFlush(display);
    requested = type;
    requestTick = platform::current().ticks();
    return true;
}

void X11DropReceiver::selectionArrived(const XSelectionEvent& event,
                                       platform::DropListener* listener) {
    // The data comes only in the property named in the request; any other is not ours to
    // read or delete (XdndAware lives on this window too).
    const bool delivered = event.property == property;
    // An answer to a request that timed out, or to none, or one that came while the data of
    // the drop is being handed on: nothing to do but tidy up.
    if (!requested || event.target != requested || delivering) {
        if (delivered) {
            X11ErrorTrap trap(display);
            XDeleteProperty(display, window, property);
        }
        return;
    }
    platform::DropOutcome outcome = platform::DropOutcome::Unusable;
    if (delivered) {
        X11ErrorTrap trap(display);
        Atom actualType = 0;
        int actualFormat = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const int status =
            XGetWindowProperty(display, window, event.property, 0, kMaxDropBytes / 4, False,
                               AnyPropertyType, &actualType, &actualFormat, &count, &after, &data);
        // Incremental transfers are not taken: the property is left, so the source, which
        // waits for its deletion before sending more, gives up on its own.
        const bool usable = status == Success && data && actualType != incr && actualFormat == 8 &&
                            after == 0 && !trap.failed();
        if (actualType != incr) XDeleteProperty(display, window, event.property);
        if (usable && listener) {
            const char* bytes = reinterpret_cast<const char*>(data);
            platform::DropData dropped;
            platform::DropFormat format = platform::kDropText;
            if (requested == filesType) {
                format = platform::kDropFiles;
                dropped.paths = file_uri::droppedFiles(bytes, count, platform::current());
            } else {
                dropped.text.assign(bytes, count);
            }
            // A view may run a loop of its own that handles this window's events meanwhile.
            delivering = true;
            outcome = listener->drop(format, dropped, x, y);
            delivering = false;
        }
        if (data) XFree(data);
    }
    if (outcome == platform::DropOutcome::Unusable && listener && requestNext()) return;
    finish(outcome == platform::DropOutcome::Taken, listener);
}

void X11DropReceiver::checkTimeout(platform::DropListener* listener) {
    if (!requested || delivering) return;
    if (platform::current().ticks() - requestTick < kSelectionTimeoutMs) return;
    finish(false, listener);
}

void X11DropReceiver::finish(bool taken, platform::DropListener* listener) {
    const Atom performed = !taken                                 ? None
                           : action == platform::DropAction::Copy ? actionCopy
                                                                  : actionMove;
    send(finishedAtom, taken ? 1 : 0, static_cast<long>(performed), 0, 0);
    if (listener) listener->dragLeave();
    reset();
}

void X11DropReceiver::reset() {
    if (watchingSource && source) {
        X11ErrorTrap trap(display);
        XSelectInput(display, source, NoEventMask);
        XFlush(display);
    }
    watchingSource = false;
    source = 0;
    version = 0;
    filesType = 0;
    textType = 0;
    action = platform::DropAction::Refused;
    requested = 0;
    textPending = false;
    dropTime = CurrentTime;
}

void X11DropReceiver::send(Atom messageType, long data1, long data2, long data3, long data4) {
    if (!source) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = source;
    event.xclient.message_type = messageType;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(window);
    event.xclient.data.l[1] = data1;
    event.xclient.data.l[2] = data2;
    event.xclient.data.l[3] = data3;
    event.xclient.data.l[4] = data4;
    // A source that is gone makes this fail; the trap keeps that from the host.
    X11ErrorTrap trap(display);
    XSendEvent(display, source, False, NoEventMask, &event);
    XFlush(display);
}
