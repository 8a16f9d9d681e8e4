// The fixture of the X11 back end tests: a private Xvfb for the test program, a parent
// window standing in for the host's, the toolkit's window class, xdotool.
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#pragma once

#include <gtest/gtest.h>

#include "gui/platform/platform.h"
#include "gui/platform/x11/x11_platform.h"
#include "gui/platform/x11/x11_window.h"
#include "tests/gui/platform/recording_listener.h"
#include "tests/support/x_server_suite.h"

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

class X11WindowTest : public XServerSuite {
  protected:
    X11WindowTest() : XServerSuite({40, 30, 300, 200, 0x202020}) {}

    void SetUp() override {
        XServerSuite::SetUp();
        if (!ready()) return;
        x11Platform().registerWindowClass(kClass);
    }
    void TearDown() override {
        if (server) x11Platform().unregisterWindowClass(kClass);
        XServerSuite::TearDown();
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

    // Processes events until `done` holds or about two seconds passed.
    template <class Condition> bool pumpUntil(platform::Window& window, Condition done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            window.processEvents(platform::EventFilter::All);
            if (done()) break;
            pauseMs(10);
        }
        return done();
    }

    RecordingListener listener;
};

} // namespace x11_test
