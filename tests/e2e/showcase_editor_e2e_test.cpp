// The showcase editor in a real X server, in both toolkit variants: `plughost editor` shows it
// in a private Xvfb and xdotool presses the toggle and the momentary button, drags both
// sliders and clicks the step switch and the rocker. Each gesture must reach the host as the
// expected calls on that control's parameter, and change the screen only inside that control.
// The text field is edited in its edit box by typing and by pasting from the clipboard, ended
// with Return and with keypad Enter; the popup menu is chosen from with the keyboard and the
// mouse, and closed by a click outside that must reach nothing else. Pictures of the open edit
// box and the open menu are kept in the build tree (SCREENSHOT_DIR) for a person to look at.
#include "tools/artwork/showcase_layout.h"
#include "tests/support/editor_session.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstring>
#include <sys/stat.h>
#include <thread>

namespace {

using namespace e2e;
using showcase::Area;

// The calls the gesture added to the output since `seen` characters.
std::vector<HostCall> callsSince(const std::string& output, size_t seen) {
    return parseCalls(output.substr(std::min(seen, output.size())));
}

// The mapped override-redirect windows at the top of the display's stack: open menus (no
// window manager runs in the test's server, so nothing else is one).
std::vector<Block> popupWindows() {
    std::vector<Block> found;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return found;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display, children[i], &a) && a.override_redirect &&
                a.map_state == IsViewable)
                found.push_back({a.x, a.y, a.width, a.height});
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return found;
}

// Owns the CLIPBOARD selection with `text` until the object goes, as a desktop application
// does after a copy: a child process that answers TARGETS, UTF8_STRING and STRING requests.
class ClipboardOwner {
  public:
    bool offer(const std::string& text) {
        int ready[2];
        if (pipe(ready) != 0) return false;
        child.pid = fork();
        if (child.pid == 0) {
            close(ready[0]);
            serve(text, ready[1]);
            _exit(1);
        }
        close(ready[1]);
        char owned = 0;
        const bool ok = child.pid > 0 && read(ready[0], &owned, 1) == 1;
        close(ready[0]);
        return ok;
    }

  private:
    static void serve(const std::string& text, int ready) {
        Display* display = XOpenDisplay(nullptr);
        if (!display) return;
        const ::Window window =
            XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        const Atom targets = XInternAtom(display, "TARGETS", False);
        XSetSelectionOwner(display, clipboard, window, CurrentTime);
        if (XGetSelectionOwner(display, clipboard) != window) return;
        if (write(ready, "1", 1) != 1) return;
        for (;;) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != SelectionRequest) continue;
            const XSelectionRequestEvent& request = event.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.display = display;
            reply.requestor = request.requestor;
            reply.selection = request.selection;
            reply.target = request.target;
            reply.time = request.time;
            reply.property = None;
            const Atom property = request.property != None ? request.property : request.target;
            if (request.target == targets) {
                const Atom offered[] = {targets, utf8, XA_STRING};
                XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(offered), 3);
                reply.property = property;
            } else if (request.target == utf8 || request.target == XA_STRING) {
                XChangeProperty(display, request.requestor, property, request.target, 8,
                                PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
                reply.property = property;
            }
            XSendEvent(display, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
            XFlush(display);
        }
    }

    Child child;
};

class ShowcaseInXServer : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (const char* tool = missingTool()) GTEST_SKIP() << tool << " is not installed";
        std::string error;
        ASSERT_TRUE(session.start(std::string(SHOWCASE_DIR "/") + GetParam() + ".so", error))
            << error;
        screen = session.screenshot("start");
        ASSERT_TRUE(screen.valid());
    }

    // The control's rectangle on the screen, as a block.
    Block onScreen(const Area& a) const {
        return {session.windowLeft() + a.left, session.windowTop() + a.top, a.width, a.height};
    }
    Block onScreen(int control) const { return onScreen(showcase::controlArea(control)); }
    // A point of the control in window coordinates, `fx` and `fy` across it (0..1).
    static std::pair<int, int> at(int control, float fx, float fy) {
        const Area a = showcase::controlArea(control);
        return {a.left + static_cast<int>(a.width * fx), a.top + static_cast<int>(a.height * fy)};
    }

    // Waits for the gesture's last call and answers the calls it added, all of which must be
    // on `control`'s parameter; the new screen becomes the reference for the next gesture.
    std::vector<HostCall> finishGesture(int control, const std::string& last, ScreenImage& after) {
        const std::string output = session.waitForOutput(last, ++endings[last]);
        std::vector<HostCall> calls = callsSince(output, seen);
        seen = output.size();
        for (const HostCall& call : calls)
            EXPECT_EQ(call.index, control) << output;
        after = session.screenshot("after");
        return calls;
    }

    // Keeps a picture of the screen as SCREENSHOT_DIR/<variant>_<name>.png.
    void keepPicture(const std::string& name) const {
        mkdir(SCREENSHOT_DIR, 0755);
        EXPECT_TRUE(session.savePicture(std::string(SCREENSHOT_DIR "/") + GetParam() + "_" + name +
                                        ".png"));
    }

    // Whether plughost printed nothing more within `ms` milliseconds.
    bool quietFor(int ms) const {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return session.output().size() == seen;
    }

    EditorSession session;
    ScreenImage screen;
    size_t seen = 0;
    std::map<std::string, int> endings;
};

TEST_P(ShowcaseInXServer, ButtonsSwitchesAndSlidersReachTheHostAndRedrawOnlyThemselves) {
    // The toggle: one click turns it on at once. It tracks no drag, so there is no gesture
    // bracket around its one automate call.
    auto [tx, ty] = at(showcase::kToggle, 0.5f, 0.5f);
    ASSERT_TRUE(session.click(tx, ty));
    ScreenImage after;
    std::vector<HostCall> calls = finishGesture(showcase::kToggle, "automate", after);
    EXPECT_EQ(gestureShape(calls), std::vector<std::string>{"automate"});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].value, 1.0f);
    EXPECT_FALSE(screen.sameBlock(after, onScreen(showcase::kToggle).x,
                                  onScreen(showcase::kToggle).y, 40, 20));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kToggle)}));
    screen = after;

    // The momentary button: on while held, and the release is reported as 0.
    auto [mx, my] = at(showcase::kMomentary, 0.5f, 0.5f);
    ASSERT_TRUE(session.xdo("mousemove --window %w " + std::to_string(mx) + " " +
                            std::to_string(my) + " mousedown 1"));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const ScreenImage held = session.screenshot("held");
    ASSERT_TRUE(session.xdo("mouseup 1"));
    calls = finishGesture(showcase::kMomentary, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1].value, 1.0f);
    EXPECT_EQ(calls[calls.size() - 2].value, 0.0f);
    EXPECT_FALSE(screen.sameBlock(held, onScreen(showcase::kMomentary).x,
                                  onScreen(showcase::kMomentary).y, 40, 20))
        << "the held button does not show pressed";
    EXPECT_TRUE(screen.differsOnlyIn(held, {onScreen(showcase::kMomentary)}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {})) << "the released button does not show off";
    screen = after;

    // The vertical slider: from its handle (at the middle) upwards raises the value.
    const Area vs = showcase::controlArea(showcase::kVerticalSlider);
    const int vx = vs.left + vs.width / 2, vy = vs.top + vs.height / 2;
    ASSERT_TRUE(session.drag(vx, vy, {{vx, vy - 5}, {vx, vy - 10}, {vx, vy - 15}, {vx, vy - 20}}));
    calls = finishGesture(showcase::kVerticalSlider, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    // The press puts the handle's centre under the pointer; from there the value only rises.
    float last = 0.45f;
    for (const HostCall& call : calls)
        if (call.name == "automate") {
            EXPECT_GE(call.value, last) << session.output();
            last = call.value;
        }
    EXPECT_GT(last, 0.7f) << session.output();
    EXPECT_FALSE(screen.differsOnlyIn(after, {}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kVerticalSlider)}));
    screen = after;

    // The horizontal slider: to the left lowers the value.
    const Area hs = showcase::controlArea(showcase::kHorizontalSlider);
    const int hx = hs.left + hs.width / 2, hy = hs.top + hs.height / 2;
    ASSERT_TRUE(session.drag(hx, hy, {{hx - 5, hy}, {hx - 10, hy}, {hx - 15, hy}, {hx - 20, hy}}));
    calls = finishGesture(showcase::kHorizontalSlider, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    last = 0.55f;
    for (const HostCall& call : calls)
        if (call.name == "automate") {
            EXPECT_LE(call.value, last) << session.output();
            last = call.value;
        }
    EXPECT_LT(last, 0.3f) << session.output();
    EXPECT_FALSE(screen.differsOnlyIn(after, {}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kHorizontalSlider)}));
    screen = after;

    // The vertical step switch: a click on its lowest position selects it.
    auto [sx, sy] = at(showcase::kVerticalSwitch, 0.5f, 0.85f);
    ASSERT_TRUE(session.click(sx, sy));
    calls = finishGesture(showcase::kVerticalSwitch, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[calls.size() - 2].value, 1.0f);
    EXPECT_FALSE(screen.differsOnlyIn(after, {}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kVerticalSwitch)}));
    screen = after;

    // The rocker: pressed on its upper half it shows -1 (parameter 0), released it rests at 0
    // (parameter 0.5) again.
    auto [rx, ry] = at(showcase::kRocker, 0.5f, 0.25f);
    ASSERT_TRUE(session.xdo("mousemove --window %w " + std::to_string(rx) + " " +
                            std::to_string(ry) + " mousedown 1"));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const ScreenImage rocked = session.screenshot("rocked");
    ASSERT_TRUE(session.xdo("mouseup 1"));
    calls = finishGesture(showcase::kRocker, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1].value, 0.0f);
    EXPECT_EQ(calls[calls.size() - 2].value, 0.5f);
    EXPECT_FALSE(screen.differsOnlyIn(rocked, {})) << "the pressed rocker does not show";
    EXPECT_TRUE(screen.differsOnlyIn(rocked, {onScreen(showcase::kRocker)}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {}));

    EXPECT_EQ(session.stopEditor(), 0);
}

TEST_P(ShowcaseInXServer, TheTextFieldTakesTypedAndPastedTextEndedByEitherEnterKey) {
    const Block field = onScreen(showcase::kTextField);
    // The edit box covers the field and one pixel more to the right and below.
    const Block withBox{field.x, field.y, field.w + 1, field.h + 1};
    const Block boxEdges[] = {{field.x + field.w, field.y, 1, field.h + 1},
                              {field.x, field.y + field.h, field.w + 1, 1}};
    auto [fx, fy] = at(showcase::kTextField, 0.5f, 0.5f);
    ClipboardOwner clipboard;
    ASSERT_TRUE(clipboard.offer("0.25"));

    struct Edit {
        const char* keys; // xdotool arguments that replace the selected text
        const char* end;  // the key that ends the edit
        float value;      // what the host must see
    };
    const Edit edits[] = {{"type --delay 40 0.75", "Return", 0.75f},
                          {"type --delay 40 0.3", "KP_Enter", 0.3f},
                          {"key ctrl+v", "Return", 0.25f}};
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.keys);
        ASSERT_TRUE(session.click(fx, fy));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        const ScreenImage open = session.screenshot("box");
        if (edit.value == 0.75f) keepPicture("edit_box");
        EXPECT_FALSE(screen.differsOnlyIn(open, {})) << "no edit box";
        EXPECT_TRUE(screen.differsOnlyIn(open, {withBox}));
        EXPECT_TRUE(quietFor(0)) << "opening the box told the host something";

        // The whole text is selected on opening: what is typed or pasted replaces it.
        ASSERT_TRUE(session.xdo(edit.keys));
        ASSERT_TRUE(session.xdo("key " + std::string(edit.end)));
        ScreenImage after;
        const std::vector<HostCall> calls = finishGesture(showcase::kTextField, "automate", after);
        ASSERT_EQ(calls.size(), 1u) << session.output();
        EXPECT_EQ(calls[0].name, "automate");
        EXPECT_FLOAT_EQ(calls[0].value, edit.value);
        // The box is gone (its extra pixels show the panel again) and the field the new text.
        EXPECT_FALSE(screen.sameBlock(after, field)) << "the field shows the old text";
        EXPECT_TRUE(screen.differsOnlyIn(after, {field}));
        for (const Block& edge : boxEdges)
            EXPECT_TRUE(screen.sameBlock(after, edge)) << "the edit box is still shown";
        screen = after;
    }
}

TEST_P(ShowcaseInXServer, ThePopupMenuChoosesByKeysAndMouseAndAClickOutsideReachesNothing) {
    const Block control = onScreen(showcase::kPopupMenu);
    auto [mx, my] = at(showcase::kPopupMenu, 0.5f, 0.5f);
    constexpr int kEntries = 4; // Sine, Triangle, Square, Saw: 0, 1/3, 2/3, 1
    // Opens the menu with a click on the control; the menu's window, or an empty block.
    auto open = [&]() -> Block {
        if (!session.click(mx, my)) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        const std::vector<Block> menus = popupWindows();
        EXPECT_EQ(menus.size(), 1u) << "no menu window, or more than one";
        return menus.empty() ? Block{} : menus[0];
    };

    // The menu opens under the control, left-aligned with it, and shows nothing else changed.
    Block menu = open();
    ASSERT_GT(menu.h, 0);
    const ScreenImage shown = session.screenshot("menu");
    keepPicture("popup_menu");
    EXPECT_EQ(menu.x, control.x);
    EXPECT_GE(menu.y, control.y);
    EXPECT_LE(menu.y, control.y + control.h + 1);
    EXPECT_GE(menu.h, kEntries * 8);
    EXPECT_FALSE(screen.differsOnlyIn(shown, {}));
    EXPECT_TRUE(screen.differsOnlyIn(shown, {menu, control}));
    EXPECT_TRUE(quietFor(0));

    // Down twice from no highlight is the second entry; Return chooses it.
    ASSERT_TRUE(session.xdo("key --delay 80 Down Down Return"));
    ScreenImage after;
    std::vector<HostCall> calls = finishGesture(showcase::kPopupMenu, "automate", after);
    ASSERT_EQ(calls.size(), 1u) << session.output();
    EXPECT_NEAR(calls[0].value, 1.0f / 3.0f, 1e-5f);
    EXPECT_TRUE(popupWindows().empty()) << "the menu stayed open";
    EXPECT_FALSE(screen.sameBlock(after, control)) << "the control shows the old entry";
    EXPECT_TRUE(screen.differsOnlyIn(after, {control}));
    screen = after;

    // A click on the last entry chooses it.
    menu = open();
    ASSERT_GT(menu.h, 0);
    ASSERT_TRUE(session.xdo("mousemove " + std::to_string(menu.x + menu.w / 2) + " " +
                            std::to_string(menu.y + menu.h * (2 * kEntries - 1) / (2 * kEntries)) +
                            " sleep 0.2 click 1"));
    calls = finishGesture(showcase::kPopupMenu, "automate", after);
    ASSERT_EQ(calls.size(), 1u) << session.output();
    EXPECT_EQ(calls[0].value, 1.0f);
    EXPECT_TRUE(popupWindows().empty()) << "the menu stayed open";
    EXPECT_TRUE(screen.differsOnlyIn(after, {control}));
    screen = after;

    // A click outside, on the toggle, closes the menu with no choice and toggles nothing.
    menu = open();
    ASSERT_GT(menu.h, 0);
    auto [tx, ty] = at(showcase::kToggle, 0.5f, 0.5f);
    ASSERT_TRUE(session.click(tx, ty));
    EXPECT_TRUE(quietFor(800)) << session.output();
    EXPECT_TRUE(popupWindows().empty()) << "the menu stayed open";
    EXPECT_TRUE(screen.differsOnlyIn(session.screenshot("closed"), {}));
}

INSTANTIATE_TEST_SUITE_P(BothToolkits, ShowcaseInXServer,
                         ::testing::Values("showcase_older", "showcase_newer"));

} // namespace
