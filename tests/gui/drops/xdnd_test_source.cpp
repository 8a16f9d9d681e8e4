// XdndTestSource: enter/position/drop/leave messages and the drag selection's answers.
#include "tests/gui/drops/xdnd_test_source.h"

#include <X11/Xatom.h>

#include <ctime>

XdndTestSource::XdndTestSource(std::function<void()> pumpTarget) : pump(std::move(pumpTarget)) {
    display = XOpenDisplay(nullptr);
    if (!display) return;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSync(display, False);
}

XdndTestSource::~XdndTestSource() {
    vanish();
}

void XdndTestSource::vanish() {
    if (!display) return;
    XCloseDisplay(display);
    display = nullptr;
    window = 0;
}

void XdndTestSource::offer(const std::string& type, const std::string& data) {
    offered.emplace_back(type, data);
}

std::string XdndTestSource::atomName(Atom atom) {
    if (atom == None) return "";
    char* name = XGetAtomName(display, atom);
    std::string result = name ? name : "";
    if (name) XFree(name);
    return result;
}

void XdndTestSource::sendMessage(::Window target, const char* type, long l1, long l2, long l3,
                                 long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(window);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

void XdndTestSource::enter(::Window target) {
    std::vector<Atom> types;
    for (const auto& entry : offered)
        types.push_back(XInternAtom(display, entry.first.c_str(), False));
    long flags = 5L << 24;
    if (types.size() > 3) {
        flags |= 1;
        XChangeProperty(display, window, XInternAtom(display, "XdndTypeList", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(types.data()),
                        static_cast<int>(types.size()));
    }
    types.resize(3, None);
    XSetSelectionOwner(display, XInternAtom(display, "XdndSelection", False), window, CurrentTime);
    sendMessage(target, "XdndEnter", flags, static_cast<long>(types[0]),
                static_cast<long>(types[1]), static_cast<long>(types[2]));
}

XdndTestSource::StatusReply XdndTestSource::position(::Window target, int rootX, int rootY) {
    lastStatus = StatusReply{};
    sendMessage(target, "XdndPosition", 0, (static_cast<long>(rootX) << 16) | rootY, CurrentTime,
                static_cast<long>(XInternAtom(display, "XdndActionCopy", False)));
    serveUntil([&] { return lastStatus.received; });
    return lastStatus;
}

void XdndTestSource::leave(::Window target) {
    sendMessage(target, "XdndLeave", 0, 0, 0, 0);
}

XdndTestSource::FinishedReply XdndTestSource::drop(::Window target) {
    lastFinished = FinishedReply{};
    requests.clear();
    sendMessage(target, "XdndDrop", 0, CurrentTime, 0, 0);
    serveUntil([&] { return lastFinished.received; });
    return lastFinished;
}

void XdndTestSource::dropAndVanish(::Window target) {
    sendMessage(target, "XdndDrop", 0, CurrentTime, 0, 0);
    vanish();
}

void XdndTestSource::answerRequest(const XSelectionRequestEvent& request) {
    const std::string type = atomName(request.target);
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    for (const auto& entry : offered) {
        if (entry.first != type) continue;
        XChangeProperty(display, request.requestor, request.property, request.target, 8,
                        PropModeReplace,
                        reinterpret_cast<const unsigned char*>(entry.second.data()),
                        static_cast<int>(entry.second.size()));
        reply.xselection.property = request.property;
        break;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

bool XdndTestSource::serveUntil(const std::function<bool()>& done) {
    if (!display) return false;
    const Atom status = XInternAtom(display, "XdndStatus", False);
    const Atom finished = XInternAtom(display, "XdndFinished", False);
    for (int round = 0; round < 800 && !done(); ++round) {
        if (pump) pump();
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == SelectionRequest) {
                requests.push_back(atomName(event.xselectionrequest.target));
                if (answering) answerRequest(event.xselectionrequest);
            } else if (event.type == ClientMessage && event.xclient.message_type == status) {
                lastStatus.received = true;
                lastStatus.accepted = (event.xclient.data.l[1] & 1) != 0;
                lastStatus.action = atomName(static_cast<Atom>(event.xclient.data.l[4]));
            } else if (event.type == ClientMessage && event.xclient.message_type == finished) {
                lastFinished.received = true;
                lastFinished.accepted = (event.xclient.data.l[1] & 1) != 0;
                lastFinished.action = atomName(static_cast<Atom>(event.xclient.data.l[2]));
            }
        }
        timespec delay{0, 5 * 1000000L};
        nanosleep(&delay, nullptr);
    }
    return done();
}
