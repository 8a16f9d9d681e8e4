// Editors on a real X server (a private Xvfb): bad parents and a missing display answer 0 to
// effEditOpen and leave the effect working; a good parent gets a child window that shows the
// frame's picture, follows redraws and takes clicks; two editors work side by side.
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include "tests/gui/frame/frame_test_support.h"
#include "tests/support/x_server_suite.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <ctime>
#include <string>

using namespace frame_test;

namespace {

void pauseMs(int milliseconds) {
    timespec delay{0, static_cast<long>(milliseconds) * 1000000L};
    nanosleep(&delay, nullptr);
}

class X11Editor : public XServerSuite {
  protected:
    void SetUp() override {
        XServerSuite::SetUp();
        if (!ready()) return;
        hostLog().clear();
        effect = new TestEffect;
        editor = new TestEditor(effect, Rect(0, 0, 160, 90));
    }
    void TearDown() override {
        delete effect;
        effect = nullptr;
        XServerSuite::TearDown();
    }

    intptr_t dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
        return effect->dispatcher(opcode, 0, value, ptr, 0.0f);
    }
    // The frame's child window inside `parent`.
    ::Window childWindow() const {
        ::Window root = 0, up = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        ::Window child = count ? children[count - 1] : 0;
        if (children) XFree(children);
        return child;
    }
    uint32_t pixelAt(::Window window, int x, int y) {
        XSync(display, False);
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return 0xffffffffu;
        const auto pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0) & 0xffffff);
        XDestroyImage(image);
        return pixel;
    }
    template <class Condition> bool idleUntil(Condition done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            dispatch(effEditIdle);
            pauseMs(10);
        }
        return done();
    }

    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
};

TEST_F(X11Editor, BadParentsAnswerZeroAndTheEffectKeepsWorking) {
    EXPECT_EQ(dispatch(effEditOpen, 0, nullptr), 0);
    EXPECT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(uintptr_t{0x1ffffff0})), 0);
    EXPECT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(uintptr_t{0xffffffff})), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
    dispatch(effEditIdle);
    dispatch(effEditClose);
    ERect* rect = nullptr;
    EXPECT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_EQ(dispatch(effEditOpen, 0, parentHandle()), 1);
}

TEST_F(X11Editor, NoDisplayAnswersZero) {
    const std::string saved = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(dispatch(effEditOpen, 0, parentHandle()), 0);
    setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(editor->getFrame(), nullptr);
    dispatch(effEditIdle);
}

TEST_F(X11Editor, TheWindowShowsTheFrameAndFollowsRedraws) {
    ASSERT_EQ(dispatch(effEditOpen, 0, parentHandle()), 1);
    EditorFrame* frame = editor->getFrame();
    auto* view = new ProbeView(Rect(20, 20, 60, 50), 0x3399ff);
    frame->addView(view);
    ASSERT_TRUE(idleUntil([&] { return !frame->isFirstDraw(); }));
    const ::Window child = childWindow();
    ASSERT_NE(child, 0u);
    EXPECT_EQ(pixelAt(child, 30, 30), 0x3399ffu);
    view->colour = 0xff3300;
    view->setDirty(true);
    dispatch(effEditIdle);
    EXPECT_EQ(pixelAt(child, 59, 49), 0xff3300u);
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(display, child, &hint));
    EXPECT_STREQ(hint.res_class, EditorFrame::windowClassName());
    XFree(hint.res_name);
    XFree(hint.res_class);
    dispatch(effEditClose);
    EXPECT_EQ(childWindow(), 0u);
}

TEST_F(X11Editor, ClicksReachTheViewUnderThem) {
    if (std::system("xdotool version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
    ASSERT_EQ(dispatch(effEditOpen, 0, parentHandle()), 1);
    auto* view = new ProbeView(Rect(10, 10, 50, 50));
    editor->getFrame()->addView(view);
    idleUntil([&] { return !editor->getFrame()->isFirstDraw(); });
    const std::string command = "xdotool mousemove --window " + std::to_string(childWindow()) +
                                " 25 35 click 1 >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(idleUntil([&] { return !view->clicks.empty(); }));
    EXPECT_EQ(view->clicks[0], Point(25, 35));
}

// The host's shortcuts (the space bar for play) keep working while the pointer is over the
// editor: a key that no view takes goes on to the host's window.
TEST_F(X11Editor, KeysNoViewTakesGoOnToTheHostWindow) {
    if (std::system("xdotool version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
    XSelectInput(display, parent, KeyPressMask);
    ASSERT_EQ(dispatch(effEditOpen, 0, parentHandle()), 1);
    editor->getFrame()->addView(new ProbeView(Rect(0, 0, 160, 90)));
    idleUntil([&] { return !editor->getFrame()->isFirstDraw(); });
    const std::string command = "xdotool mousemove --window " + std::to_string(childWindow()) +
                                " 40 40 key space >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    XEvent event{};
    bool passedOn = false;
    idleUntil([&] {
        XSync(display, False);
        passedOn = passedOn || XCheckTypedWindowEvent(display, parent, KeyPress, &event);
        return passedOn;
    });
    ASSERT_TRUE(passedOn);
    EXPECT_EQ(event.xkey.keycode, XKeysymToKeycode(display, XK_space));
}

TEST_F(X11Editor, TwoEditorsInOneProcessWorkApart) {
    TestEffect otherEffect;
    auto* other = new TestEditor(&otherEffect, Rect(0, 0, 100, 60));
    ASSERT_EQ(dispatch(effEditOpen, 0, parentHandle()), 1);
    ASSERT_EQ(other->open(parentHandle()), 1);
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 2);
    auto* mine = new ProbeView(Rect(0, 0, 10, 10), 0x00ff00);
    auto* theirs = new ProbeView(Rect(0, 0, 10, 10), 0xff00ff);
    editor->getFrame()->addView(mine);
    other->getFrame()->addView(theirs);
    ASSERT_TRUE(idleUntil([&] {
        other->idle();
        return !editor->getFrame()->isFirstDraw() && !other->getFrame()->isFirstDraw();
    }));
    other->close();
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 1);
    mine->setDirty(true);
    dispatch(effEditIdle);
    EXPECT_EQ(pixelAt(childWindow(), 5, 5), 0x00ff00u);
}

TEST_F(X11Editor, RepeatedOpenAndCloseIsClean) {
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(dispatch(effEditOpen, 0, parentHandle()), 1);
        editor->getFrame()->addView(new ProbeView(Rect(0, 0, 10, 10)));
        dispatch(effEditIdle);
        dispatch(effEditClose);
    }
    EXPECT_EQ(EditorFrame::windowClassUseCount(), 0);
    EXPECT_EQ(childWindow(), 0u);
}

} // namespace
