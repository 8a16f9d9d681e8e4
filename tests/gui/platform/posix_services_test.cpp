// The system services on POSIX (here under the headless back end, which keeps them): only web
// addresses reach the desktop's page opener.
#include "gui/platform/headless/headless_platform.h"
#include "tests/gui/file_selector/stand_in_dialogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(PosixServices, OnlyWebAddressesArePassedToTheBrowser) {
    StandInDialogs stand;
    stand.install("xdg-open", {});
    HeadlessPlatform services;
    for (const char* refused : {"file:///etc/passwd", "/usr/bin/xterm", "javascript:x", ""})
        EXPECT_FALSE(services.openWebPage(refused)) << refused;
    EXPECT_FALSE(services.openWebPage(nullptr));
    EXPECT_FALSE(stand.ran("xdg-open"));
    ASSERT_TRUE(services.openWebPage("https://www.lumenforge.example/"));
    // The opener runs detached; give it a moment to write down what it was asked.
    for (int i = 0; i < 500 && stand.arguments("xdg-open").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(stand.arguments("xdg-open"),
              (std::vector<std::string>{"https://www.lumenforge.example/"}));
}

} // namespace
