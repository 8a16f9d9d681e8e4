// X11Window: creation inside the host's window, event delivery, pointer polling, cursors and
// presenting.
#include "gui/platform/x11/x11_window.h"

#include "gui/platform/pixel_surface.h"
#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_keys.h"
#include "gui/platform/x11/x11_platform.h"
#include "gui/platform/x11/x11_popup.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

// X resource ids use 29 bits; anything larger cannot name a window.
constexpr uintptr_t kLargestResourceId = 0x1fffffffu;

// Cursor-font shapes for the CursorType values 1 to 6.
constexpr unsigned kCursorShapes[7] = {0,
                                       XC_watch,
                                       XC_sb_h_double_arrow,
                                       XC_sb_v_double_arrow,
                                       XC_fleur,
                                       XC_bottom_left_corner,
                                       XC_bottom_right_corner};

uint32_t pointerBits(unsigned int mask) {
    uint32_t bits = 0;
    if (mask & Button1Mask) bits |= platform::kButtonLeft;
    if (mask & Button2Mask) bits |= platform::kButtonMiddle;
    if (mask & Button3Mask) bits |= platform::kButtonRight;
    if (mask & ShiftMask) bits |= platform::kModShift;
    if (mask & ControlMask) bits |= platform::kModControl;
    if (mask & Mod1Mask) bits |= platform::kModAlt;
    return bits;
}

void merge(platform::Area& into, bool& any, const platform::Area& area) {
    if (area.isEmpty()) return;
    if (!any) {
        into = area;
        any = true;
        return;
    }
    into.left = std::min(into.left, area.left);
    into.top = std::min(into.top, area.top);
    into.right = std::max(into.right, area.right);
    into.bottom = std::max(into.bottom, area.bottom);
}

} // namespace

std::unique_ptr<X11Window> X11Window::create(const platform::WindowSpec& windowSpec) {
    const auto parentId = reinterpret_cast<uintptr_t>(windowSpec.parent);
    if (parentId == 0 || parentId > kLargestResourceId) return nullptr;
    std::unique_ptr<X11Connection> connection = X11Connection::open();
    if (!connection) return nullptr;
    Display* display = connection->display();
    const auto parent = static_cast<::Window>(parentId);
    const int width = std::max(1, windowSpec.width);
    const int height = std::max(1, windowSpec.height);

    X11ErrorTrap trap(display);
    XWindowAttributes parentAttributes{};
    if (!XGetWindowAttributes(display, parent, &parentAttributes) || !trap.sync()) {
        return nullptr;
    }
    // The child takes the parent's visual; its pixels are only ever true colour.
    if (!parentAttributes.visual || parentAttributes.visual->c_class != TrueColor ||
        parentAttributes.c_class != InputOutput) {
        return nullptr;
    }
    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | ButtonPressMask | StructureNotifyMask | KeyPressMask |
                            KeyReleaseMask | FocusChangeMask;
    attributes.background_pixmap = None; // no flash of a background colour before painting
    attributes.bit_gravity = NorthWestGravity;
    const ::Window window =
        XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWEventMask | CWBackPixmap | CWBitGravity, &attributes);
    if (!trap.sync() || window == 0) return nullptr;

    XClassHint hint{};
    hint.res_name = const_cast<char*>(windowSpec.className ? windowSpec.className : "");
    hint.res_class = hint.res_name;
    XSetClassHint(display, window, &hint);
    XStoreName(display, window, windowSpec.title ? windowSpec.title : "");
    XMapWindow(display, window);
    if (!trap.sync()) {
        XDestroyWindow(display, window);
        trap.sync();
        return nullptr;
    }

    std::unique_ptr<X11Presenter> presenter(new (std::nothrow) X11Presenter(
        display, window, parentAttributes.visual, parentAttributes.depth, width, height));
    X11Window* made = presenter ? new (std::nothrow) X11Window : nullptr;
    if (!made) {
        presenter.reset();
        XDestroyWindow(display, window);
        trap.sync();
        return nullptr;
    }
    std::unique_ptr<X11Window> result(made);
    result->connection = std::move(connection);
    result->window = window;
    result->width = width;
    result->height = height;
    result->listener = windowSpec.listener;
    if (windowSpec.dropListener) {
        result->dropListener = windowSpec.dropListener;
        result->drops.reset(new (std::nothrow) X11DropReceiver(display, window));
        if (!result->drops || !trap.sync()) result->drops.reset();
    }
    result->presenter = std::move(presenter);
    result->visual = parentAttributes.visual;
    result->depth = parentAttributes.depth;
    result->parent = parent;
    result->selection = std::make_unique<X11Selection>(display, window);
    x11Platform().registry().addWindow(result.get());
    return result;
}

void X11Window::passKeyToParent(const XEvent& event) {
    // As if the key had gone past this window: the host's window, or the nearest of its
    // ancestors that asks for keys, gets it (the child sits at the parent's origin).
    Display* display = connection->display();
    XEvent passed = event;
    passed.xkey.window = parent;
    passed.xkey.subwindow = window;
    X11ErrorTrap trap(display);
    XSendEvent(display, parent, True, event.type == KeyPress ? KeyPressMask : KeyReleaseMask,
               &passed);
    trap.sync();
}

bool X11Window::isListed() const {
    return x11Platform().registry().hasWindow(this);
}

X11Window::~X11Window() {
    x11Platform().registry().removeWindow(this);
    if (!connection) return;
    Display* display = connection->display();
    {
        X11ErrorTrap trap(display);
        presenter.reset();
        if (connection->isUsable()) {
            giveBackKeyboardFocus();
            for (Cursor cursor : cursors)
                if (cursor) XFreeCursor(display, cursor);
            // After a DestroyNotify the id is stale; the trap swallows the BadWindow.
            XDestroyWindow(display, window);
            trap.sync();
        }
    }
    connection.reset();
}

bool X11Window::isUsable() const {
    return !gone && connection && connection->isUsable();
}

namespace {
Bool isNotPanelEvent(Display*, XEvent* event, XPointer) {
    return !x11_popup::isPanelWindow(event->xany.window);
}
} // namespace

bool X11Window::nextEvent(platform::EventFilter filter, XEvent& event) {
    if (!isUsable()) return false;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    if (filter == platform::EventFilter::PaintOnly) {
        if (XCheckTypedWindowEvent(display, window, Expose, &event)) return true;
        if (XCheckTypedWindowEvent(display, window, SelectionRequest, &event)) return true;
        return XCheckTypedWindowEvent(display, window, DestroyNotify, &event);
    }
    if (XPending(display) <= 0 || !connection->isUsable()) return false;
    // Everything in queue order except what an open menu's panels read themselves.
    if (!XCheckIfEvent(display, &event, isNotPanelEvent, nullptr)) return false;
    return connection->isUsable();
}

void X11Window::processEvents(platform::EventFilter filter) {
    platform::Area paint;
    bool paintPending = false;
    XEvent event;
    while (nextEvent(filter, event)) {
        // Keyboard layout changes (xdotool and input tools remap keys for the characters they
        // type) must reach Xlib's key tables before the keys that follow are looked up.
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            continue;
        }
        // Drag messages, the dropped data and the end of a drag's source window.
        if (drops && drops->handle(event, isListed() ? dropListener : nullptr)) continue;
        if (event.xany.window != window) continue;
        switch (event.type) {
        case Expose:
            merge(paint, paintPending,
                  {event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                   event.xexpose.y + event.xexpose.height});
            break;
        case ButtonPress:
            // Buttons 4 to 7 are wheel and tilt steps, not presses.
            if (event.xbutton.button < Button1 || event.xbutton.button > Button3) break;
            // A press may start a long tracking loop: show what is exposed before it.
            if (paintPending && listener && isListed()) {
                paintPending = false;
                listener->windowPaint(paint);
            }
            pressTime = platform::current().ticks();
            latchedButtons = event.xbutton.button == Button1   ? platform::kButtonLeft
                             : event.xbutton.button == Button2 ? platform::kButtonMiddle
                                                               : platform::kButtonRight;
            if (listener && isListed())
                listener->windowButtonDown(event.xbutton.x, event.xbutton.y);
            latchedButtons = 0;
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window) gone = true;
            break;
        case KeyPress:
        case KeyRelease: {
            const platform::KeyEvent key = x11_keys::translate(event.xkey);
            const bool taken = key.code != platform::KeyCode::Unknown && listener && isListed() &&
                               listener->windowKey(key);
            if (!taken && !gone) passKeyToParent(event);
            break;
        }
        case FocusIn:
        case FocusOut:
            // Grabs (an open menu's, a window manager's) move the focus only for a while;
            // moves inside the window are no change either.
            if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab ||
                event.xfocus.detail == NotifyInferior || event.xfocus.detail == NotifyPointer)
                break;
            if (event.type == FocusOut) focusTaken = false;
            if (listener && isListed()) listener->windowFocus(event.type == FocusIn);
            break;
        case SelectionRequest:
        case SelectionClear:
            if (selection) selection->handle(event);
            break;
        default:
            break;
        }
    }
    if (paintPending && !gone && listener && isListed()) listener->windowPaint(paint);
    if (drops && isUsable()) drops->checkTimeout(isListed() ? dropListener : nullptr);
    reportIfGone();
}

void X11Window::reportIfGone() {
    if (isUsable() || goneReported) return;
    gone = true;
    goneReported = true;
    if (listener) listener->windowDestroyed();
}

namespace {
Bool isLeftPress(Display*, XEvent* event, XPointer window) {
    return event->type == ButtonPress && event->xbutton.button == Button1 &&
           event->xbutton.window == *reinterpret_cast<::Window*>(window);
}
} // namespace

bool X11Window::takeLeftButtonPress() {
    if (!isUsable()) return false;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    XEvent event;
    // Other events, presses of other buttons included, stay queued in their order.
    if (!XCheckIfEvent(display, &event, isLeftPress, reinterpret_cast<XPointer>(&window)))
        return false;
    pressTime = platform::current().ticks();
    latchedButtons = platform::kButtonLeft;
    return true;
}

void X11Window::present(const PixelSurface& surface, const platform::Area& area) {
    if (!isUsable() || !presenter) return;
    platform::Area clipped{std::max(area.left, 0), std::max(area.top, 0),
                           std::min({area.right, surface.width, width}),
                           std::min({area.bottom, surface.height, height})};
    if (clipped.isEmpty()) return;
    X11ErrorTrap trap(connection->display());
    presenter->put(surface, clipped);
}

bool X11Window::queryPointer(int& rootX, int& rootY, int& windowX, int& windowY, unsigned& mask,
                             bool& sameScreen) {
    rootX = rootY = windowX = windowY = 0;
    mask = 0;
    sameScreen = false;
    if (!isUsable()) return false;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    ::Window root = 0;
    ::Window child = 0;
    sameScreen =
        XQueryPointer(display, window, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
    if (trap.failed() || !connection->isUsable()) {
        rootX = rootY = windowX = windowY = 0;
        mask = 0;
        return false;
    }
    return true;
}

uint32_t X11Window::pointerButtons() {
    int rootX, rootY, windowX, windowY;
    unsigned mask;
    bool sameScreen;
    if (!queryPointer(rootX, rootY, windowX, windowY, mask, sameScreen)) return 0;
    const uint32_t latched = latchedButtons;
    latchedButtons = 0;
    return pointerBits(mask) | latched;
}

bool X11Window::pointerPosition(platform::PointerPosition& position) {
    position = platform::PointerPosition{};
    int rootX, rootY, windowX, windowY;
    unsigned mask;
    bool sameScreen;
    if (!queryPointer(rootX, rootY, windowX, windowY, mask, sameScreen)) return false;
    position.screenX = rootX;
    position.screenY = rootY;
    if (sameScreen) {
        position.windowX = windowX;
        position.windowY = windowY;
    } else {
        int32_t originX = 0, originY = 0;
        screenOrigin(originX, originY);
        position.windowX = rootX - originX;
        position.windowY = rootY - originY;
    }
    return true;
}

bool X11Window::screenOrigin(int32_t& x, int32_t& y) {
    x = y = 0;
    if (!isUsable()) return false;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    ::Window child = 0;
    int originX = 0, originY = 0;
    const Bool ok = XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0,
                                          &originX, &originY, &child);
    if (!ok || trap.failed()) return false;
    x = originX;
    y = originY;
    return true;
}

bool X11Window::resize(int32_t newWidth, int32_t newHeight) {
    if (!isUsable() || newWidth <= 0 || newHeight <= 0) return false;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    XResizeWindow(display, window, static_cast<unsigned>(newWidth),
                  static_cast<unsigned>(newHeight));
    if (!trap.sync()) return false;
    // The shared image is window-sized: make a new one.
    presenter.reset();
    presenter.reset(new (std::nothrow)
                        X11Presenter(display, window, visual, depth, newWidth, newHeight));
    width = newWidth;
    height = newHeight;
    return true;
}

void X11Window::setCursor(int32_t type) {
    if (type < platform::kCursorDefault || type > platform::kCursorSizeNWSE) return;
    cursorType = type;
    if (!isUsable()) return;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    if (type == platform::kCursorDefault) {
        XUndefineCursor(display, window);
    } else {
        if (!cursors[type]) cursors[type] = XCreateFontCursor(display, kCursorShapes[type]);
        if (cursors[type]) XDefineCursor(display, window, cursors[type]);
    }
    XFlush(display);
}

// ---- keyboard focus, selections, popups ----

bool X11Window::takeKeyboardFocus() {
    if (!isUsable()) return false;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    int revert = 0;
    ::Window holder = 0;
    XGetInputFocus(display, &holder, &revert);
    if (holder != window) focusBefore = holder;
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    focusTaken = trap.sync();
    return focusTaken;
}

void X11Window::giveBackKeyboardFocus() {
    if (!focusTaken) return;
    focusTaken = false;
    if (!isUsable()) return;
    Display* display = connection->display();
    X11ErrorTrap trap(display);
    int revert = 0;
    ::Window holder = 0;
    XGetInputFocus(display, &holder, &revert);
    if (holder != window) return; // someone moved it meanwhile: leave it there
    // Back to the window that had it (the host's), or to the host's window when that is gone
    // or was no window (None, PointerRoot).
    ::Window target = focusBefore > PointerRoot ? focusBefore : parent;
    XSetInputFocus(display, target, RevertToParent, CurrentTime);
    if (!trap.sync()) {
        X11ErrorTrap retry(display);
        XSetInputFocus(display, parent, RevertToParent, CurrentTime);
        retry.sync();
    }
}

bool X11Window::setSelectionText(platform::Selection which, const char* text) {
    if (!isUsable() || !selection) return false;
    X11ErrorTrap trap(connection->display());
    const bool owned = selection->own(which, text);
    return trap.sync() && owned;
}

bool X11Window::getSelectionText(platform::Selection which, char* buffer, size_t capacity) {
    if (!isUsable() || !selection) return false;
    return selection->read(which, buffer, capacity);
}

std::unique_ptr<platform::PopupLayer> X11Window::openPopupLayer() {
    if (!isUsable()) return nullptr;
    return X11PopupLayer::open(*connection);
}
