// plughost's host window on X11: a top-level window of the display named by DISPLAY, read back
// with XGetImage, and the private X server started when there is no display.
#include "tools/plughost/editor_host.h"

#include "tools/xvfb/xvfb_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace {

// Xlib reports protocol errors through a process-wide handler; plughost's own requests are
// simple, and a failing one must not end the process (the default handler exits).
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

unsigned channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    const unsigned long value = (pixel >> shift) & mask;
    return static_cast<unsigned>(value * 255 / mask);
}

} // namespace

namespace {

bool displayAvailable() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

class XvfbSession final : public DisplaySession {
  public:
    XvfbServer server;
};

} // namespace

std::unique_ptr<DisplaySession> openDisplaySession(std::string& error) {
    auto session = std::make_unique<XvfbSession>();
    if (!displayAvailable() && !session->server.start(1024, 768)) {
        error = "no display, and no private X server (Xvfb) could be started";
        return nullptr;
    }
    return session;
}

std::unique_ptr<HostWindow> HostWindow::create(int32_t width, int32_t height,
                                               const std::string& title, std::string& error) {
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        error = "the editor's size " + std::to_string(width) + " x " + std::to_string(height) +
                " cannot be shown";
        return nullptr;
    }
    XSetErrorHandler(ignoreXError);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        error = std::string("cannot open the X display \"") + (name ? name : "") + "\"";
        return nullptr;
    }
    std::unique_ptr<HostWindow> host(new HostWindow);
    host->display = display;
    host->width = width;
    host->height = height;
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, BlackPixel(display, screen), BlackPixel(display, screen));
    host->window = window;

    // The names and properties window managers and desktop tools read.
    XStoreName(display, window, title.c_str());
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title.c_str()),
                    static_cast<int>(title.size()));
    XClassHint classHint;
    char resName[] = "plughost";
    char resClass[] = "Plughost";
    classHint.res_name = resName;
    classHint.res_class = resClass;
    XSetClassHint(display, window, &classHint);
    const long pid = static_cast<long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteAtom, 1);
    host->deleteAtom = deleteAtom;
    // A fixed-size editor: the window keeps its size.
    XSizeHints* hints = XAllocSizeHints();
    if (hints) {
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }

    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    // Wait (bounded) until the window is mapped, so the editor's child is visible at once.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    bool mapped = false;
    while (!mapped && std::chrono::steady_clock::now() < deadline) {
        while (!mapped && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.window == window) mapped = true;
        }
        if (!mapped) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    XSync(display, False);
    if (!mapped) {
        error = "the window was not mapped";
        return nullptr;
    }
    return host;
}

HostWindow::~HostWindow() {
    if (!display) return;
    if (!closed) XDestroyWindow(display, window);
    XCloseDisplay(display);
}

void* HostWindow::parentHandle() const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

bool HostWindow::pump() {
    while (!closed && XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ClientMessage &&
            static_cast<Atom>(event.xclient.data.l[0]) == static_cast<Atom>(deleteAtom))
            closed = true;
        if (event.type == DestroyNotify && event.xdestroywindow.window == window) closed = true;
    }
    return !closed;
}

void HostWindow::exposeAll() {
    // Every child (the editor's window) gets an exposure of its whole area; the editor's own
    // connection reads it at its next idle call.
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return;
    for (unsigned i = 0; i < count; ++i)
        XClearArea(display, children[i], 0, 0, 0, 0, True);
    if (children) XFree(children);
    XSync(display, False);
}

void HostWindow::sync() {
    XSync(display, False);
}

bool HostWindow::capture(std::vector<uint8_t>& rgb, int32_t& outWidth, int32_t& outHeight) {
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return false;
    rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    size_t at = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            rgb[at++] = static_cast<uint8_t>(channel(pixel, image->red_mask));
            rgb[at++] = static_cast<uint8_t>(channel(pixel, image->green_mask));
            rgb[at++] = static_cast<uint8_t>(channel(pixel, image->blue_mask));
        }
    XDestroyImage(image);
    outWidth = width;
    outHeight = height;
    return true;
}
