// Text control costs on the newer toolkit through the X11 back end on a private Xvfb: a popup
// menu of 100 entries opened (real panel windows and grabs) and one keystroke in an open edit
// box (a key event sent to the frame's window), as bench_text_controls measures them headless.
#include "gui/editor_frame.h"
#include "gui/menu_look.h"
#include "gui/menu_navigation.h"
#include "gui/menu_painter.h"
#include "gui/platform/pixel_surface.h"
#include "gui/platform/x11/x11_window.h"
#include "gui/popup_menu.h"
#include "gui/text_field.h"
#include "tools/xvfb/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct X11Panel {
    X11Panel() {
        if (!server.start(1280, 1024)) return;
        display = XOpenDisplay(nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 400, 120, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        frame = new EditorFrame(Rect(0, 0, 400, 120),
                                reinterpret_cast<void*>(static_cast<uintptr_t>(parent)), nullptr);
        menu =
            new PopupMenu(Rect(10, 10, 150, 28), nullptr, 1, nullptr, nullptr, kMenuCheckCurrent);
        for (int i = 0; i < 100; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, i % 10 == 9 ? "-" : "Entry %d\tCtrl+%d", i, i % 10);
            menu->addEntry(text);
        }
        field =
            new TextField(Rect(10, 50, 250, 70), nullptr, 2, "A text of some length", nullptr, 0);
        frame->addView(menu);
        frame->addView(field);
        for (int i = 0; i < 20; ++i)
            frame->idle();
    }
    ~X11Panel() {
        if (frame) frame->forget();
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    bool ready() const { return frame && frame->hasWindow(); }

    XvfbServer server;
    Display* display = nullptr;
    ::Window parent = 0;
    EditorFrame* frame = nullptr;
    PopupMenu* menu = nullptr;
    TextField* field = nullptr;
};

// Opening the menu window on X11 as the window presenter does before it waits for input: the
// menu built and laid out, the popup layer made, the panel painted, its window made, mapped and
// filled, the grabs taken; then all of it taken down again, to the server's answer.
void BM_X11PopupMenuOpen100(benchmark::State& state) {
    X11Panel panel;
    if (!panel.ready()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    platform::Window* window = panel.frame->getPlatformWindow();
    MenuLook look;
    LookMeasure measure(look);
    PixelSurface picture;
    for (auto _ : state) {
        MenuTree tree;
        panel.menu->buildTree(tree);
        std::unique_ptr<platform::PopupLayer> layer = window->openPopupLayer();
        const platform::Area screen = layer->screenArea();
        MenuNavigator navigator(tree, measure,
                                Rect(screen.left, screen.top, screen.right, screen.bottom),
                                Point(10, 28));
        const MenuNavigator::OpenPanel& open = navigator.getOpenPanels()[0];
        paintMenuPanel(tree, open, look, picture);
        const platform::PopupPanel shown{
            {open.bounds.left, open.bounds.top, open.bounds.right, open.bounds.bottom}, &picture};
        layer->showPanels(&shown, 1);
        layer.reset();
        XSync(panel.display, False);
    }
    state.counters["menu_height"] = picture.height;
}
BENCHMARK(BM_X11PopupMenuOpen100);

void BM_X11EditBoxKeystroke(benchmark::State& state) {
    X11Panel panel;
    if (!panel.ready()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    panel.field->takeFocus(nullptr);
    auto* window = static_cast<X11Window*>(panel.frame->getPlatformWindow());
    Display* display = panel.display;
    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.display = display;
    key.xkey.window = window->nativeId();
    key.xkey.root = DefaultRootWindow(display);
    key.xkey.same_screen = True;
    const unsigned x = XKeysymToKeycode(display, XK_x);
    const unsigned backspace = XKeysymToKeycode(display, XK_BackSpace);
    int typed = 0;
    for (auto _ : state) {
        key.xkey.keycode = typed++ % 2 == 0 ? x : backspace;
        XSendEvent(display, window->nativeId(), False, KeyPressMask, &key);
        XSync(display, False);
        panel.frame->idle(); // read, routed to the box, redrawn and put
    }
    panel.field->looseFocus(nullptr);
}
BENCHMARK(BM_X11EditBoxKeystroke);

} // namespace

BENCHMARK_MAIN();
