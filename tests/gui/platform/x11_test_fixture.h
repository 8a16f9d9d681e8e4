// The fixture of the X11 back end tests: a private Xvfb for the test program, a parent
// window standing in for the host's, the toolkit's window class, xdotool.
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#pragma once

#include <gtest/gtest.h>

#include "gui/platform/platform.h"
#include "gui/platform/x11/x11_platform.h"
#include "gui/platform/x11/x11_window.h"
#include "tests/gui/platform/recording_listener.h"
#include "tests/support/xvfb_server.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace x11_test {

constexpr const char* kClass = "Plugin0000abcd";

inline void pauseMs(int milliseconds) {
    timespec delay{0, static_cast<long>(milliseconds) * 1000000L};
    nanosleep(&delay, nullptr);
}

// Runs xdotool against the test server; true when it succeeded.
inline bool xdotool(const std::string& arguments) {
    const std::string command = "xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

class X11WindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server = new XvfbServer;
        if (!server->start()) {
            delete server;
            server = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        if (!server) GTEST_SKIP() << "Xvfb is not available";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 30, 300, 200, 0, 0,
                                     0x202020);
        XMapWindow(display, parent);
        XSync(display, False);
        x11Platform().registerWindowClass(kClass);
    }
    void TearDown() override {
        if (!server) return;
        x11Platform().unregisterWindowClass(kClass);
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    std::unique_ptr<platform::Window> makeChild(void* parentWindow, int32_t width = 120,
                                                int32_t height = 80) {
        platform::WindowSpec windowSpec;
        windowSpec.parent = parentWindow;
        windowSpec.width = width;
        windowSpec.height = height;
        windowSpec.className = kClass;
        windowSpec.title = "Window";
        windowSpec.listener = &listener;
        return x11Platform().createChildWindow(windowSpec);
    }
    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }

    // Processes events until `done` holds or about two seconds passed.
    template <class Condition> bool pumpUntil(platform::Window& window, Condition done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            window.processEvents(platform::EventFilter::All);
            if (done()) break;
            pauseMs(10);
        }
        return done();
    }

    static inline XvfbServer* server = nullptr;
    Display* display = nullptr;
    ::Window parent = 0;
    RecordingListener listener;
};

} // namespace x11_test
