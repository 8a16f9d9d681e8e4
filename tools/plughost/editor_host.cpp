// plughost editor commands: the top-level window, the private X server, PNG output, and the
// title and size of a plug-in's editor.
#include "tools/plughost/editor_host.h"

#include "tools/plughost/plugin_host.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

std::string editorTitle(PluginHost& host, const std::string& path) {
    std::string title = host.effectName();
    if (title.empty()) title = host.productString();
    if (title.empty()) {
        const size_t slash = path.find_last_of('/');
        title = slash == std::string::npos ? path : path.substr(slash + 1);
        const size_t dot = title.find_last_of('.');
        if (dot != std::string::npos && dot > 0) title.resize(dot);
    }
    return title;
}

bool editorSize(PluginHost& host, int32_t& width, int32_t& height) {
    ERect* rect = nullptr;
    if (!host.dispatch(effEditGetRect, 0, 0, &rect) || !rect) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0;
}

std::unique_ptr<PluginHost> loadWithEditor(const std::string& path, int32_t& width, int32_t& height,
                                           std::string& error) {
    auto host = PluginHost::load(path, error);
    if (!host) return nullptr;
    if (!(host->effect()->flags & effFlagsHasEditor)) {
        error = path + " has no editor";
        return nullptr;
    }
    if (!editorSize(*host, width, height)) {
        error = path + " does not tell its editor's size";
        return nullptr;
    }
    return host;
}

bool displayAvailable() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
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

bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int32_t width,
              int32_t height, std::string& error) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3) {
        error = "nothing to write";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        error = "out of memory writing " + path;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
