// The text field and the popup menu of an editor in a real window under a private Xvfb, driven
// by xdotool as a person would: click the field, type, copy and paste, press Enter; open the
// menu and choose with the keyboard and with the mouse; a click outside closes it without
// reaching the field under it, and no grab is left afterwards.
#include <gtest/gtest.h>

#include "gui/popup_menu.h"
#include "gui/text_field.h"
#include "tests/gui/frame/frame_test_support.h"
#include "tools/xvfb/xvfb_server.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

using namespace frame_test;

namespace {

struct Recorder : ControlListener {
    void valueChanged(DrawContext*, Control* control) override {
        if (auto* field = dynamic_cast<TextField*>(control))
            texts.push_back(field->getText());
        else
            values.push_back(control->getValue());
    }
    std::vector<std::string> texts;
    std::vector<float> values;
};

void pauseMs(int milliseconds) {
    timespec delay{0, static_cast<long>(milliseconds) * 1000000L};
    nanosleep(&delay, nullptr);
}

bool xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// xdotool run in the background, after a pause, while the test is held inside an open menu.
void xdotoolLater(const std::string& arguments) {
    std::system(("(sleep 0.4; xdotool " + arguments + ") >/dev/null 2>&1 &").c_str());
}

class X11TextControls : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!XvfbServer::isInstalled() || !server.start()) GTEST_SKIP() << "no Xvfb";
        if (!xdotool("version")) GTEST_SKIP() << "xdotool is not installed";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 300, 200, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        effect = new TestEffect;
        editor = new TestEditor(effect, Rect(0, 0, 300, 200));
        ASSERT_EQ(editor->open(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))), 1);
        frame = editor->getFrame();
        field = new TextField(Rect(20, 20, 120, 40), &recorder, 7, "old", nullptr, 0);
        menu = new PopupMenu(Rect(150, 20, 250, 36), &recorder, 4, nullptr, nullptr, 0);
        for (const char* entry : {"alpha", "beta", "gamma"})
            menu->addEntry(entry);
        frame->addView(field);
        frame->addView(menu);
        pump(200);
    }
    void TearDown() override {
        delete effect;
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    // The host's idle calls for a while.
    void pump(int milliseconds) {
        for (int i = 0; i < milliseconds / 10; ++i) {
            editor->idle();
            pauseMs(10);
        }
    }
    bool pointerIsFree() {
        const int grabbed = XGrabPointer(display, parent, False, ButtonPressMask, GrabModeAsync,
                                         GrabModeAsync, 0, 0, CurrentTime);
        XUngrabPointer(display, CurrentTime);
        XSync(display, False);
        return grabbed == GrabSuccess;
    }

    XvfbServer server;
    Display* display = nullptr;
    ::Window parent = 0;
    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    EditorFrame* frame = nullptr;
    TextField* field = nullptr;
    PopupMenu* menu = nullptr;
    Recorder recorder;
};

TEST_F(X11TextControls, TypingCopyingAndPastingThenEnter) {
    ASSERT_TRUE(frame->isOpen());
    ASSERT_TRUE(frame->hasWindow());
    ASSERT_TRUE(xdotool("mousemove 30 30 click 1"));
    pump(100);
    ASSERT_TRUE(field->isEditing());
    ASSERT_TRUE(xdotool("type --delay 10 hi"));
    ASSERT_TRUE(xdotool("key ctrl+a ctrl+c End ctrl+v Return"));
    pump(200);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.texts, std::vector<std::string>{"hihi"});
    // The keyboard went back to where it was: keys no longer reach the field.
    ASSERT_TRUE(xdotool("type x"));
    pump(50);
    EXPECT_STREQ(field->getText(), "hihi");
}

TEST_F(X11TextControls, MenusChooseWithKeysAndMouseAndAClickOutsideReachesNothing) {
    ASSERT_TRUE(xdotool("mousemove 160 28 click 1"));
    xdotoolLater("key Down Down Return");
    pump(100); // the press opens the menu and the pump stays in it until Return
    EXPECT_EQ(recorder.values, std::vector<float>{1.0f});
    EXPECT_TRUE(pointerIsFree());

    // Under the display: alpha 36..54, beta 54..72, gamma 72..90.
    ASSERT_TRUE(xdotool("mousemove 160 28 click 1"));
    xdotoolLater("mousemove 170 80 click 1");
    pump(100);
    EXPECT_EQ(recorder.values, (std::vector<float>{1.0f, 2.0f}));

    // A press outside the menu, on the text field: the menu closes and the field stays shut.
    ASSERT_TRUE(xdotool("mousemove 160 28 click 1"));
    xdotoolLater("mousemove 30 30 click 1");
    pump(100);
    pump(100);
    EXPECT_EQ(recorder.values.size(), 2u);
    EXPECT_FALSE(field->isEditing());
    EXPECT_TRUE(pointerIsFree());
}

} // namespace
