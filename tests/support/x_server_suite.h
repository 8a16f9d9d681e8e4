// XServerSuite: a GoogleTest fixture with one private Xvfb for the whole suite and, in each
// test, a connection to it and a mapped top-level window standing in for the host's window.
// Tests skip when Xvfb is not available. A derived fixture calls XServerSuite::SetUp first and
// returns when the test was skipped, and calls XServerSuite::TearDown last.
// GoogleTest first: Xlib's macros (None, Bool) would clash with its names.
#pragma once

#include <gtest/gtest.h>

#include "tools/xvfb/xvfb_server.h"

#include <X11/Xlib.h>

#include <cstdint>

class XServerSuite : public ::testing::Test {
  protected:
    // Where the stand-in parent sits on the screen, its size and background.
    struct ParentPlace {
        int x = 10, y = 10;
        unsigned width = 400, height = 300;
        unsigned long background = 0x000000;
    };
    XServerSuite() = default;
    explicit XServerSuite(ParentPlace where) : place(where) {}

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
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), place.x, place.y,
                                     place.width, place.height, 0, 0, place.background);
        XMapWindow(display, parent);
        XSync(display, False);
    }
    void TearDown() override {
        if (!display) return;
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
        display = nullptr;
    }
    // True when the test goes on: not skipped, nothing fatal so far.
    bool ready() const { return !IsSkipped() && !HasFatalFailure(); }

    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }

    static inline XvfbServer* server = nullptr;
    Display* display = nullptr;
    ::Window parent = 0;

  private:
    ParentPlace place{};
};
