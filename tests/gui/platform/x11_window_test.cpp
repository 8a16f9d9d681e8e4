// The X11 back end under a private Xvfb: making child windows (and refusing bad parents),
// exposures, presses, pointer polling, presenting pixels, class hints, cursors, and surviving
// a parent that is destroyed or a server that goes away.
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#include "tests/gui/platform/x11_test_fixture.h"

#include "gui/platform/pixel_surface.h"
#include "gui/platform/x11/x11_platform.h"

#include <X11/Xutil.h>

namespace {

using namespace x11_test;

TEST_F(X11WindowTest, BadParentsGiveNoWindow) {
    EXPECT_EQ(makeChild(nullptr), nullptr);
    EXPECT_EQ(makeChild(reinterpret_cast<void*>(uintptr_t{0x7fffffff})), nullptr); // too large
    EXPECT_EQ(makeChild(reinterpret_cast<void*>(uintptr_t{0x1ffffff0})), nullptr); // not a window
    // A window id that was valid once.
    ::Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, gone);
    XSync(display, False);
    EXPECT_EQ(makeChild(reinterpret_cast<void*>(static_cast<uintptr_t>(gone))), nullptr);
    EXPECT_EQ(x11Platform().registry().windowCount(), 0);
    // The platform still works afterwards.
    EXPECT_NE(makeChild(parentHandle()), nullptr);
}

TEST_F(X11WindowTest, UnregisteredClassGivesNoWindow) {
    platform::WindowSpec windowSpec;
    windowSpec.parent = parentHandle();
    windowSpec.width = windowSpec.height = 10;
    windowSpec.className = "NotRegistered";
    EXPECT_EQ(x11Platform().createChildWindow(windowSpec), nullptr);
}

TEST_F(X11WindowTest, NoDisplayGivesNoWindow) {
    const std::string saved = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(makeChild(parentHandle()), nullptr);
    setenv("DISPLAY", ":1999", 1); // nothing listens there
    EXPECT_EQ(makeChild(parentHandle()), nullptr);
    setenv("DISPLAY", saved.c_str(), 1);
}

TEST_F(X11WindowTest, ChildSitsInsideTheParentWithTheClassHint) {
    auto window = makeChild(parentHandle(), 120, 80);
    ASSERT_NE(window, nullptr);
    const ::Window id = static_cast<X11Window&>(*window).nativeId();
    ::Window root = 0, parentOfChild = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(display, id, &root, &parentOfChild, &children, &count));
    if (children) XFree(children);
    EXPECT_EQ(parentOfChild, parent);
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(display, id, &hint));
    EXPECT_STREQ(hint.res_name, kClass);
    EXPECT_STREQ(hint.res_class, kClass);
    XFree(hint.res_name);
    XFree(hint.res_class);
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, id, &attributes));
    EXPECT_EQ(attributes.width, 120);
    EXPECT_EQ(attributes.height, 80);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_EQ(x11Platform().registry().windowCount(), 1);
    window.reset();
    EXPECT_EQ(x11Platform().registry().windowCount(), 0);
}

TEST_F(X11WindowTest, TheFirstExposureBecomesAPaint) {
    auto window = makeChild(parentHandle(), 120, 80);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(pumpUntil(*window, [&] { return !listener.paints.empty(); }));
    EXPECT_EQ(listener.paints[0].left, 0);
    EXPECT_EQ(listener.paints[0].right, 120);
    EXPECT_EQ(listener.paints[0].bottom, 80);
}

TEST_F(X11WindowTest, PresentedPixelsReachTheWindow) {
    auto window = makeChild(parentHandle(), 64, 48);
    ASSERT_NE(window, nullptr);
    pumpUntil(*window, [&] { return !listener.paints.empty(); });
    PixelSurface surface(64, 48, 0x102030);
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < 25; ++x)
            surface.row(y)[x] = 0xff8000;
    window->present(surface, {0, 0, 64, 48});
    // Only this area changes the second time.
    PixelSurface second = surface;
    second.row(40)[60] = 0x00ff00;
    second.row(2)[2] = 0x0000ff;
    window->present(second, {50, 30, 64, 48});
    XSync(display, False);
    const ::Window id = static_cast<X11Window&>(*window).nativeId();
    XImage* image = XGetImage(display, id, 0, 0, 64, 48, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xffffff, 0x102030u);
    EXPECT_EQ(XGetPixel(image, 5, 10) & 0xffffff, 0xff8000u);
    EXPECT_EQ(XGetPixel(image, 24, 19) & 0xffffff, 0xff8000u);
    EXPECT_EQ(XGetPixel(image, 25, 19) & 0xffffff, 0x102030u);
    EXPECT_EQ(XGetPixel(image, 60, 40) & 0xffffff, 0x00ff00u);
    EXPECT_EQ(XGetPixel(image, 2, 2) & 0xffffff, 0x102030u); // outside the second area
    XDestroyImage(image);
    EXPECT_TRUE(static_cast<X11Window&>(*window).usesSharedMemory());
}

TEST_F(X11WindowTest, PixelsReachTheWindowWithoutSharedMemoryToo) {
    X11Presenter::allowSharedMemory(false);
    auto window = makeChild(parentHandle(), 40, 30);
    X11Presenter::allowSharedMemory(true);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(static_cast<X11Window&>(*window).usesSharedMemory());
    PixelSurface surface(40, 30, 0x0a0b0c);
    surface.row(29)[39] = 0xfedcba;
    window->present(surface, {0, 0, 40, 30});
    surface.row(0)[0] = 0x111111; // outside the next area: must not show
    surface.row(20)[20] = 0x222222;
    window->present(surface, {10, 10, 30, 30});
    XSync(display, False);
    const ::Window id = static_cast<X11Window&>(*window).nativeId();
    XImage* image = XGetImage(display, id, 0, 0, 40, 30, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xffffff, 0x0a0b0cu);
    EXPECT_EQ(XGetPixel(image, 39, 29) & 0xffffff, 0xfedcbau);
    EXPECT_EQ(XGetPixel(image, 20, 20) & 0xffffff, 0x222222u);
    XDestroyImage(image);
}

TEST_F(X11WindowTest, PointerPositionIsPolledRelativeToTheWindow) {
    auto window = makeChild(parentHandle(), 100, 100);
    ASSERT_NE(window, nullptr);
    XWarpPointer(display, None, parent, 0, 0, 0, 0, 25, 35);
    XSync(display, False);
    platform::PointerPosition position;
    ASSERT_TRUE(window->pointerPosition(position));
    EXPECT_EQ(position.windowX, 25);
    EXPECT_EQ(position.windowY, 35);
    int32_t originX = 0, originY = 0;
    ASSERT_TRUE(window->screenOrigin(originX, originY));
    EXPECT_EQ(position.screenX - originX, 25);
    EXPECT_EQ(position.screenY - originY, 35);
    EXPECT_EQ(window->pointerButtons(), 0u);
}

TEST_F(X11WindowTest, HeldButtonsAndModifiersAreReported) {
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
    auto window = makeChild(parentHandle(), 100, 100);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(xdotool("keydown shift keydown ctrl keydown alt"));
    XSync(display, False);
    const uint32_t modifiers = window->pointerButtons();
    xdotool("keyup alt keyup ctrl keyup shift");
    EXPECT_EQ(modifiers, platform::kModShift | platform::kModControl | platform::kModAlt);

    ASSERT_TRUE(xdotool("mousemove --window " +
                        std::to_string(static_cast<X11Window&>(*window).nativeId()) +
                        " 10 10 mousedown 1 mousedown 3"));
    const uint32_t buttons = window->pointerButtons();
    xdotool("mouseup 3 mouseup 1");
    EXPECT_EQ(buttons, platform::kButtonLeft | platform::kButtonRight);
    EXPECT_EQ(window->pointerButtons(), 0u);
}

TEST_F(X11WindowTest, ButtonPressesBecomeMousePressesAndWheelStepsDoNot) {
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
    auto window = makeChild(parentHandle(), 100, 100);
    ASSERT_NE(window, nullptr);
    pumpUntil(*window, [&] { return !listener.paints.empty(); });
    const std::string id = std::to_string(static_cast<X11Window&>(*window).nativeId());
    ASSERT_TRUE(xdotool("mousemove --window " + id + " 30 40 click 4 click 1"));
    ASSERT_TRUE(pumpUntil(*window, [&] { return !listener.presses.empty(); }));
    pauseMs(50);
    window->processEvents(platform::EventFilter::All);
    ASSERT_EQ(listener.presses.size(), 1u);
    EXPECT_EQ(listener.presses[0].x, 30);
    EXPECT_EQ(listener.presses[0].y, 40);
}

TEST_F(X11WindowTest, PaintOnlyPassesKeepPressesForLater) {
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
    auto window = makeChild(parentHandle(), 100, 100);
    ASSERT_NE(window, nullptr);
    pumpUntil(*window, [&] { return !listener.paints.empty(); });
    const std::string id = std::to_string(static_cast<X11Window&>(*window).nativeId());
    ASSERT_TRUE(xdotool("mousemove --window " + id + " 5 6 click 1"));
    XSync(display, False);
    pauseMs(50);
    window->processEvents(platform::EventFilter::PaintOnly);
    EXPECT_TRUE(listener.presses.empty());
    EXPECT_TRUE(window->takeLeftButtonPress());
    EXPECT_FALSE(window->takeLeftButtonPress());
    window->processEvents(platform::EventFilter::All);
    EXPECT_TRUE(listener.presses.empty()); // taken, so not delivered
}

TEST_F(X11WindowTest, ADestroyedParentIsReportedAndLeavesASafeWindow) {
    auto window = makeChild(parentHandle(), 50, 50);
    ASSERT_NE(window, nullptr);
    XDestroyWindow(display, parent);
    XSync(display, False);
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    ASSERT_TRUE(pumpUntil(*window, [&] { return listener.destroyed > 0; }));
    EXPECT_FALSE(window->isUsable());
    PixelSurface surface(50, 50);
    window->present(surface, {0, 0, 50, 50});
    platform::PointerPosition position;
    EXPECT_FALSE(window->pointerPosition(position));
    EXPECT_EQ(window->pointerButtons(), 0u);
    window->setCursor(platform::kCursorWait);
    EXPECT_EQ(listener.destroyed, 1);
}

TEST_F(X11WindowTest, CursorsChangeAndComeBack) {
    auto window = makeChild(parentHandle(), 50, 50);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->getCursor(), platform::kCursorDefault);
    for (int32_t type = platform::kCursorWait; type <= platform::kCursorSizeNWSE; ++type) {
        window->setCursor(type);
        EXPECT_EQ(window->getCursor(), type);
    }
    window->setCursor(99);
    EXPECT_EQ(window->getCursor(), platform::kCursorSizeNWSE);
    window->setCursor(platform::kCursorDefault);
    EXPECT_EQ(window->getCursor(), platform::kCursorDefault);
    XSync(display, False);
}

TEST_F(X11WindowTest, ResizeChangesTheWindowAndItsPresenting) {
    auto window = makeChild(parentHandle(), 50, 50);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->resize(90, 70));
    EXPECT_FALSE(window->resize(0, 10));
    const ::Window id = static_cast<X11Window&>(*window).nativeId();
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, id, &attributes));
    EXPECT_EQ(attributes.width, 90);
    PixelSurface surface(90, 70, 0x445566);
    window->present(surface, {0, 0, 90, 70});
    XSync(display, False);
    XImage* image = XGetImage(display, id, 85, 65, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xffffff, 0x445566u);
    XDestroyImage(image);
}

TEST_F(X11WindowTest, TwoWindowsHaveTheirOwnEvents) {
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
    RecordingListener other;
    auto first = makeChild(parentHandle(), 100, 100);
    platform::WindowSpec windowSpec;
    windowSpec.parent = parentHandle();
    windowSpec.width = windowSpec.height = 100;
    windowSpec.className = kClass;
    windowSpec.listener = &other;
    auto second = x11Platform().createChildWindow(windowSpec);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(x11Platform().registry().windowCount(), 2);
    // The second lies on top of the first; a click reaches only the second.
    const std::string id = std::to_string(static_cast<X11Window&>(*second).nativeId());
    ASSERT_TRUE(xdotool("mousemove --window " + id + " 50 50 click 1"));
    ASSERT_TRUE(pumpUntil(*second, [&] { return !other.presses.empty(); }));
    first->processEvents(platform::EventFilter::All);
    EXPECT_TRUE(listener.presses.empty());
    second.reset();
    EXPECT_EQ(x11Platform().registry().windowCount(), 1);
    EXPECT_TRUE(first->isUsable());
}

// Runs last in its own server: the server goes away under a live window.
TEST(X11LostConnection, AServerThatGoesAwayIsReportedAndNothingCrashes) {
    XvfbServer own;
    if (!own.start()) GTEST_SKIP() << "Xvfb is not available";
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    ::Window parent =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    x11Platform().registerWindowClass(kClass);
    RecordingListener listener;
    platform::WindowSpec windowSpec;
    windowSpec.parent = reinterpret_cast<void*>(static_cast<uintptr_t>(parent));
    windowSpec.width = windowSpec.height = 40;
    windowSpec.className = kClass;
    windowSpec.listener = &listener;
    auto window = x11Platform().createChildWindow(windowSpec);
    ASSERT_NE(window, nullptr);
    // The test's own connection would end the process when the server dies: drop it first.
    XCloseDisplay(display);
    own.stop();
    pauseMs(50);
    window->processEvents(platform::EventFilter::All);
    EXPECT_EQ(listener.destroyed, 1);
    EXPECT_FALSE(window->isUsable());
    PixelSurface surface(40, 40);
    window->present(surface, {0, 0, 40, 40});
    EXPECT_EQ(window->pointerButtons(), 0u);
    window->processEvents(platform::EventFilter::All);
    EXPECT_EQ(listener.destroyed, 1);
    window.reset();
    x11Platform().unregisterWindowClass(kClass);
    SUCCEED();
}

} // namespace
