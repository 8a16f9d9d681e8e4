// swirlet's editor in a real X server: the test starts its own Xvfb, runs `plughost editor`,
// finds the window by the process id, drags a knob with xdotool, and checks that the host saw
// begin-edit, automate and end-edit for that parameter and that the screen shows the knob
// turned (and the other knobs as they were). Every process it starts is ended, also on failure.
#include "tests/support/editor_session.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace e2e;

TEST(SwirletEditorInXServer, DraggingAKnobAutomatesTheHostAndTurnsTheKnob) {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is not installed";

    XvfbServer server;
    ASSERT_TRUE(server.start(1024, 768)) << "Xvfb did not come up";
    const std::string display = server.displayName();
    char folder[] = "/tmp/swirlet-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string outputPath = dir + "/plughost.out";

    Child editor;
    startEditor(editor, display, PLUGIN_DIR "/swirlet.so", outputPath);
    ASSERT_GT(editor.pid, 0);

    // The window appears within some seconds (a slow machine loads and maps it late).
    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    std::string window;
    for (auto deadline = Clock::now() + std::chrono::seconds(20);
         window.empty() && Clock::now() < deadline;) {
        std::istringstream found(capture(xdotool + "search --pid " + std::to_string(editor.pid)));
        found >> window;
        if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_FALSE(window.empty()) << "no window of plughost; output: " << readFile(outputPath);
    EXPECT_NE(capture(xdotool + "search --name '^swirlet$'").find(window), std::string::npos);
    const std::string geometry = capture(xdotool + "getwindowgeometry --shell " + window);
    int x = -1, y = -1;
    std::istringstream lines(geometry);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("X=", 0) == 0) x = std::atoi(line.c_str() + 2);
        if (line.rfind("Y=", 0) == 0) y = std::atoi(line.c_str() + 2);
    }
    ASSERT_GE(x, 0) << geometry;
    ASSERT_GE(y, 0) << geometry;
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paints
    const Screen before = screenshot(display, dir + "/before.rgb");
    ASSERT_EQ(before.rgb.size(), 1024u * 768u * 3u);

    // Depth R (parameter 3) sits at (184, 36)-(216, 66): press at the top of it and drag round
    // to its right side, which turns it clockwise in circular mode.
    std::string drag = xdotool + "mousemove --window " + window + " 200 38 mousedown 1";
    for (const char* step : {"204 39", "208 41", "211 44", "213 48", "214 52", "213 56"})
        drag += " sleep 0.05 mousemove --window " + window + " " + step;
    drag += " sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(drag.c_str()), 0);

    std::string output;
    for (auto deadline = Clock::now() + std::chrono::seconds(10);
         output.find("endEdit") == std::string::npos && Clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        output = readFile(outputPath);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the last redraw reaches X
    const Screen after = screenshot(display, dir + "/after.rgb");

    // One gesture on parameter 3: begin, rising automate values, end.
    std::istringstream calls(output);
    std::vector<std::string> kinds;
    float last = 0.5f;
    for (std::string name; calls >> name;) {
        int index = -1;
        float value = 0.0f;
        calls >> index >> value;
        EXPECT_EQ(index, 3) << output;
        if (name == "automate") {
            EXPECT_GT(value, last) << output;
            last = value;
        }
        if (kinds.empty() || kinds.back() != name) kinds.push_back(name);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"beginEdit", "automate", "endEdit"})) << output;
    EXPECT_GT(last, 0.8f) << output;

    ASSERT_EQ(after.rgb.size(), before.rgb.size());
    EXPECT_FALSE(before.sameBlock(after, x + 184, y + 36, 32, 30)) << "the knob did not turn";
    EXPECT_TRUE(before.sameBlock(after, x + 27, y + 36, 32, 30)) << "another knob changed";
    EXPECT_TRUE(before.sameBlock(after, x, y, 432, 30)) << "the title area changed";

    // SIGTERM ends plughost cleanly.
    EXPECT_EQ(editor.stop(), 0);
    server.stop();
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
