// X11PopupLayer: panel windows, grabs and their events.
#include "gui/platform/x11/x11_popup.h"

#include "gui/platform/common/popup_panel_list.h"
#include "gui/platform/posix/monotonic_clock.h"
#include "gui/platform/x11/x11_connection.h"
#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_keys.h"

#include <algorithm>

namespace {
// Another program may hold a grab for a moment (a window manager's own menu closing): ask a
// few times before giving up.
constexpr int kGrabTries = 20;
constexpr uint32_t kGrabRetryMs = 10;

// Panels of the layers open now, process-wide (GUI thread).
std::vector<::Window>& openPanels() {
    static std::vector<::Window> windows;
    return windows;
}

struct PanelSet {
    const std::vector<::Window>* windows;
};

Bool isPanelEvent(Display*, XEvent* event, XPointer set) {
    const auto& windows = *reinterpret_cast<PanelSet*>(set)->windows;
    return std::find(windows.begin(), windows.end(), event->xany.window) != windows.end();
}
} // namespace

bool x11_popup::isPanelWindow(unsigned long window) {
    const auto& windows = openPanels();
    return window != 0 && std::find(windows.begin(), windows.end(), window) != windows.end();
}

std::unique_ptr<X11PopupLayer> X11PopupLayer::open(X11Connection& connection) {
    if (!connection.isUsable()) return nullptr;
    Display* display = connection.display();
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    if (!visual || visual->c_class != TrueColor) return nullptr;
    std::unique_ptr<X11PopupLayer> layer(new X11PopupLayer(connection));
    layer->visual = visual;
    layer->depth = DefaultDepth(display, screen);
    return layer;
}

X11PopupLayer::~X11PopupLayer() {
    if (!connection.isUsable()) {
        for (auto& panel : panels) {
            auto& windows = openPanels();
            windows.erase(std::remove(windows.begin(), windows.end(), panel->window),
                          windows.end());
        }
        return;
    }
    Display* display = connection.display();
    X11ErrorTrap trap(display);
    ungrab();
    std::vector<::Window> windows;
    for (auto& panel : panels) {
        windows.push_back(panel->window);
        destroyPanel(*panel);
    }
    panels.clear();
    trap.sync();
    // Nothing addressed to the panels stays queued for the frame window to wade through.
    PanelSet set{&windows};
    XEvent event;
    while (XCheckIfEvent(display, &event, isPanelEvent, reinterpret_cast<XPointer>(&set))) {
    }
}

bool X11PopupLayer::isUsable() const {
    return connection.isUsable() && !lost;
}

platform::Area X11PopupLayer::screenArea() {
    if (!connection.isUsable()) return {};
    Display* display = connection.display();
    const int screen = DefaultScreen(display);
    return {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

std::unique_ptr<X11PopupLayer::Panel> X11PopupLayer::makePanel(const platform::Area& area) {
    Display* display = connection.display();
    const int width = std::max(1, area.right - area.left);
    const int height = std::max(1, area.bottom - area.top);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True; // no window manager frame, placed where asked
    attributes.save_under = True;
    attributes.background_pixmap = None;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | FocusChangeMask;
    auto panel = std::make_unique<Panel>();
    panel->area = area;
    panel->window = XCreateWindow(
        display, DefaultRootWindow(display), area.left, area.top, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, depth, InputOutput, visual,
        CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWEventMask, &attributes);
    if (!panel->window) return nullptr;
    openPanels().push_back(panel->window);
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom popupType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
    XChangeProperty(display, panel->window, type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&popupType), 1);
    XStoreName(display, panel->window, "Menu");
    XMapRaised(display, panel->window);
    panel->presenter =
        std::make_unique<X11Presenter>(display, panel->window, visual, depth, width, height);
    return panel;
}

void X11PopupLayer::destroyPanel(Panel& panel) {
    auto& windows = openPanels();
    windows.erase(std::remove(windows.begin(), windows.end(), panel.window), windows.end());
    panel.presenter.reset();
    if (panel.window) XDestroyWindow(connection.display(), panel.window);
    panel.window = 0;
}

bool X11PopupLayer::grab() {
    if (panels.empty()) return false;
    Display* display = connection.display();
    const ::Window on = panels.front()->window;
    XSync(display, False); // the panel is viewable before the grab is asked for
    for (int tries = 0; tries < kGrabTries; ++tries) {
        const int pointer = XGrabPointer(display, on, False,
                                         ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                         GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        if (pointer == GrabSuccess) {
            if (XGrabKeyboard(display, on, False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
                GrabSuccess)
                return true;
            XUngrabPointer(display, CurrentTime);
        }
        platform::sleepMilliseconds(kGrabRetryMs);
    }
    return false;
}

void X11PopupLayer::ungrab() {
    if (!grabbed) return;
    grabbed = false;
    Display* display = connection.display();
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XFlush(display);
}

void X11PopupLayer::showPanels(const platform::PopupPanel* shown, size_t count) {
    if (!isUsable()) return;
    Display* display = connection.display();
    X11ErrorTrap trap(display);
    const ::Window grabWindow = panels.empty() ? 0 : panels.front()->window;
    // Panels from the first one whose place changed are made again; the ones before stay.
    const size_t keep = platform::keptPanels(panels, shown, count);
    if (!platform::replacePanelsAfter(
            panels, keep, shown, count, [this](Panel& panel) { destroyPanel(panel); },
            [this](const platform::Area& area) { return makePanel(area); })) {
        lost = true;
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        Panel& panel = *panels[i];
        if (shown[i].pixels) panel.picture = *shown[i].pixels;
        const platform::Area all{
            0, 0, std::min(panel.picture.width, panel.area.right - panel.area.left),
            std::min(panel.picture.height, panel.area.bottom - panel.area.top)};
        if (!all.isEmpty() && panel.presenter && panel.presenter->isReady())
            panel.presenter->put(panel.picture, all);
    }
    if (!panels.empty() && (!grabbed || panels.front()->window != grabWindow)) {
        ungrab();
        grabbed = grab();
        if (!grabbed) lost = true;
    }
    XFlush(display);
    if (!trap.sync()) lost = true;
}

bool X11PopupLayer::owns(::Window window) const {
    for (const auto& panel : panels)
        if (panel->window == window) return true;
    return false;
}

void X11PopupLayer::processEvents(platform::PopupListener& listener) {
    if (!isUsable()) return;
    Display* display = connection.display();
    X11ErrorTrap trap(display);
    std::vector<::Window> windows;
    for (const auto& panel : panels)
        windows.push_back(panel->window);
    PanelSet set{&windows};
    XEvent event;
    while (XCheckTypedEvent(display, MappingNotify, &event))
        XRefreshKeyboardMapping(&event.xmapping);
    while (connection.isUsable() &&
           XCheckIfEvent(display, &event, isPanelEvent, reinterpret_cast<XPointer>(&set))) {
        switch (event.type) {
        case Expose:
            for (auto& panel : panels)
                if (panel->window == event.xexpose.window && panel->presenter &&
                    panel->presenter->isReady() && panel->picture.width > 0)
                    panel->presenter->put(panel->picture,
                                          {0, 0, panel->picture.width, panel->picture.height});
            break;
        case MotionNotify:
            listener.popupPointer(platform::PopupPointer::Move, event.xmotion.x_root,
                                  event.xmotion.y_root, 0);
            break;
        case ButtonPress:
        case ButtonRelease:
            // Wheel steps (buttons 4 and up) are neither.
            if (event.xbutton.button < Button1 || event.xbutton.button > Button3) break;
            listener.popupPointer(event.type == ButtonPress ? platform::PopupPointer::Press
                                                            : platform::PopupPointer::Release,
                                  event.xbutton.x_root, event.xbutton.y_root,
                                  static_cast<int32_t>(event.xbutton.button));
            break;
        case KeyPress:
        case KeyRelease: {
            const platform::KeyEvent key = x11_keys::translate(event.xkey);
            if (key.code != platform::KeyCode::Unknown) listener.popupKey(key);
            break;
        }
        case FocusOut:
            // Another program took the keyboard grab away: the menu cannot go on.
            if (event.xfocus.mode == NotifyUngrab && grabbed && owns(event.xfocus.window))
                lost = true;
            break;
        default:
            break;
        }
        if (lost) break;
    }
    if (!connection.isUsable()) lost = true;
}
