// The X11 back end's text input under a private Xvfb: keys and focus reach the window that took
// the keyboard and the focus goes back afterwards; the two selections travel between
// connections (UTF8_STRING and STRING, Latin-1 kept); a popup layer's panels are
// override-redirect windows holding the pointer and keyboard grabs, and nothing of it is left
// once it is gone.
#include "tests/gui/platform/x11_test_fixture.h"

#include "gui/platform/common/utf8.h"
#include "gui/platform/x11/x11_popup.h"
#include "gui/platform/x11/x11_selection.h"

#include <X11/Xatom.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace x11_test;

struct RecordingPopup final : platform::PopupListener {
    struct Pointer {
        platform::PopupPointer kind;
        int32_t x, y, button;
    };
    void popupKey(const platform::KeyEvent& key) override { keys.push_back(key); }
    void popupPointer(platform::PopupPointer kind, int32_t x, int32_t y, int32_t button) override {
        pointer.push_back({kind, x, y, button});
    }
    std::vector<platform::KeyEvent> keys;
    std::vector<Pointer> pointer;
};

::Window focusHolder(Display* display) {
    ::Window holder = 0;
    int revert = 0;
    XGetInputFocus(display, &holder, &revert);
    return holder;
}

TEST_F(X11WindowTest, KeysAndFocusReachTheWindowThatTookTheKeyboard) {
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
    XSetInputFocus(display, parent, RevertToParent, CurrentTime);
    XSync(display, False);
    auto window = makeChild(parentHandle(), 100, 100);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->takeKeyboardFocus());
    const auto id = static_cast<::Window>(static_cast<X11Window&>(*window).nativeId());
    EXPECT_EQ(focusHolder(display), id);

    // Only the layout's own characters: a character xdotool maps onto a spare key for a moment
    // is gone from the map again before the key is read.
    ASSERT_TRUE(xdotool("type --delay 5 'aB'"));
    ASSERT_TRUE(xdotool("key Left KP_Enter ctrl+v"));
    pumpUntil(*window, [&] { return listener.keys.size() >= 10; });
    std::vector<platform::KeyEvent> pressed;
    for (const platform::KeyEvent& key : listener.keys)
        if (key.pressed && key.code != platform::KeyCode::Unknown) pressed.push_back(key);
    ASSERT_EQ(pressed.size(), 5u);
    EXPECT_EQ(pressed[0].character, 'a');
    EXPECT_EQ(pressed[1].character, 'B');
    EXPECT_EQ(pressed[1].modifiers, platform::kModShift);
    EXPECT_EQ(pressed[2].code, platform::KeyCode::Left);
    EXPECT_EQ(pressed[3].code, platform::KeyCode::KeypadEnter);
    EXPECT_EQ(pressed[4].code, platform::KeyCode::Character); // the letter, not a control code
    EXPECT_EQ(pressed[4].character, 'v');
    EXPECT_EQ(pressed[4].modifiers, platform::kModControl);
    ASSERT_FALSE(listener.focusChanges.empty());
    EXPECT_TRUE(listener.focusChanges.front());

    window->giveBackKeyboardFocus();
    XSync(display, False);
    EXPECT_EQ(focusHolder(display), parent);
}

TEST_F(X11WindowTest, SelectionsTravelBetweenConnectionsInTheirEncodings) {
    auto reader = makeChild(parentHandle());
    ASSERT_NE(reader, nullptr);
    const char latin1[] = "Gr\xfc\xdf"
                          "e";
    std::atomic<bool> owned{false}, done{false};
    // The owner answers from a thread of its own, as another program would.
    std::thread owner([&] {
        RecordingListener ownerListener;
        platform::WindowSpec windowSpec;
        windowSpec.parent = parentHandle();
        windowSpec.width = windowSpec.height = 10;
        windowSpec.className = kClass;
        windowSpec.listener = &ownerListener;
        auto window = x11Platform().createChildWindow(windowSpec);
        if (window) {
            window->setSelectionText(platform::Selection::Clipboard, latin1);
            window->setSelectionText(platform::Selection::Primary, "primary");
        }
        owned = true;
        while (!done && window) {
            window->processEvents(platform::EventFilter::All);
            pauseMs(2);
        }
    });
    while (!owned)
        pauseMs(2);

    char text[256];
    ASSERT_TRUE(reader->getSelectionText(platform::Selection::Clipboard, text, sizeof(text)));
    EXPECT_STREQ(text, latin1);
    ASSERT_TRUE(reader->getSelectionText(platform::Selection::Primary, text, 5));
    EXPECT_STREQ(text, "prim"); // cut to the buffer

    // What other programs are offered: the target list and UTF-8.
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom property = XInternAtom(display, "TEST_PROPERTY", False);
    XSelectInput(display, parent, PropertyChangeMask);
    XConvertSelection(display, clipboard, utf8, property, parent, CurrentTime);
    XEvent event;
    bool answered = false;
    for (int i = 0; i < 200 && !answered; ++i) {
        answered = XCheckTypedWindowEvent(display, parent, SelectionNotify, &event);
        if (!answered) pauseMs(5);
    }
    ASSERT_TRUE(answered);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, parent, property, 0, 64, True, AnyPropertyType, &type, &format,
                       &count, &after, &data);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(type, utf8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), count), "Gr\xc3\xbc\xc3\x9f"
                                                                 "e");
    XFree(data);
    done = true;
    owner.join();

    // With its owner gone the selection is empty.
    EXPECT_FALSE(reader->getSelectionText(platform::Selection::Clipboard, text, sizeof(text)));
    // Text the window owns itself is read without a round trip.
    ASSERT_TRUE(reader->setSelectionText(platform::Selection::Clipboard, "own"));
    ASSERT_TRUE(reader->getSelectionText(platform::Selection::Clipboard, text, sizeof(text)));
    EXPECT_STREQ(text, "own");
    EXPECT_EQ(utf8::toLatin1("a\xe2\x82\xac"
                             "b"),
              "a?b"); // outside Latin-1
}

TEST_F(X11WindowTest, APopupLayerGrabsWhileItLivesAndLeavesNothingBehind) {
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
    auto window = makeChild(parentHandle(), 100, 100);
    ASSERT_NE(window, nullptr);
    std::unique_ptr<platform::PopupLayer> layer = window->openPopupLayer();
    ASSERT_NE(layer, nullptr);
    const platform::Area screen = layer->screenArea();
    EXPECT_EQ(screen.right, 800);
    EXPECT_EQ(screen.bottom, 600);

    PixelSurface main(60, 40, 0x336699), sub(50, 30, 0x993366);
    platform::PopupPanel panels[2] = {{{100, 100, 160, 140}, &main}, {{160, 110, 210, 140}, &sub}};
    layer->showPanels(panels, 2);
    auto& x11Layer = static_cast<X11PopupLayer&>(*layer);
    ASSERT_EQ(x11Layer.panelCount(), 2u);
    EXPECT_TRUE(x11Layer.hasGrabs());
    std::vector<::Window> windows{x11Layer.panelWindow(0), x11Layer.panelWindow(1)};
    for (size_t i = 0; i < 2; ++i) {
        XWindowAttributes attributes{};
        ASSERT_TRUE(XGetWindowAttributes(display, windows[i], &attributes));
        EXPECT_TRUE(attributes.override_redirect);
        EXPECT_EQ(attributes.map_state, IsViewable);
        EXPECT_EQ(attributes.x, panels[i].area.left);
        EXPECT_EQ(attributes.width, panels[i].area.right - panels[i].area.left);
    }
    // Nobody else gets the pointer meanwhile.
    EXPECT_EQ(XGrabPointer(display, parent, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                           None, None, CurrentTime),
              AlreadyGrabbed);

    // Presses anywhere, moves and keys all come to the layer, in screen coordinates.
    ASSERT_TRUE(xdotool("mousemove 120 115 mousemove 700 500 click 1 key Down Escape"));
    RecordingPopup events;
    for (int i = 0; i < 100 && events.keys.size() < 4; ++i) {
        layer->processEvents(events);
        pauseMs(10);
    }
    ASSERT_GE(events.pointer.size(), 4u);
    EXPECT_EQ(events.pointer[0].kind, platform::PopupPointer::Move);
    EXPECT_EQ(events.pointer[0].x, 120);
    EXPECT_EQ(events.pointer[0].y, 115);
    const RecordingPopup::Pointer& press = events.pointer[events.pointer.size() - 2];
    EXPECT_EQ(press.kind, platform::PopupPointer::Press);
    EXPECT_EQ(press.x, 700);
    EXPECT_EQ(press.button, 1);
    ASSERT_EQ(events.keys.size(), 4u); // Down and Escape, each down and up
    EXPECT_EQ(events.keys[0].code, platform::KeyCode::Down);
    EXPECT_EQ(events.keys[2].code, platform::KeyCode::Escape);

    // Showing one panel removes the second one.
    layer->showPanels(panels, 1);
    XSync(display, False);
    EXPECT_EQ(x11Layer.panelCount(), 1u);

    layer.reset();
    XSync(display, False);
    XWindowAttributes attributes{};
    for (::Window panel : windows) {
        XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        EXPECT_FALSE(XGetWindowAttributes(display, panel, &attributes));
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    EXPECT_EQ(XGrabPointer(display, parent, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                           None, None, CurrentTime),
              GrabSuccess);
    XUngrabPointer(display, CurrentTime);
    EXPECT_EQ(XGrabKeyboard(display, parent, False, GrabModeAsync, GrabModeAsync, CurrentTime),
              GrabSuccess);
    XUngrabKeyboard(display, CurrentTime);
    XSync(display, False);
}

} // namespace
