// swirlet's editor in a real X server: the test starts its own Xvfb, runs `plughost editor`,
// finds the window by the process id, drags a knob with xdotool, and checks that the host saw
// begin-edit, automate and end-edit for that parameter and that the screen shows the knob
// turned (and the other knobs as they were). Every process it starts is ended, also on failure.
#include "tests/support/editor_process.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(SwirletEditorInXServer, DraggingAKnobAutomatesTheHostAndTurnsTheKnob) {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed";

    XvfbServer server;
    ASSERT_TRUE(server.start(1024, 768)) << "Xvfb did not come up";
    const std::string display = server.displayName();
    char folder[] = "/tmp/swirlet-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string outputPath = dir + "/plughost.out";

    ChildProcess editor;
    startPluginEditor(editor, PLUGHOST_PATH, PLUGIN_DIR "/swirlet.so", display, outputPath);
    ASSERT_GT(editor.pid, 0);

    // The window appears within some seconds (a slow machine loads and maps it late).
    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    const std::string window = findWindowOf(editor.pid, display, 20);
    ASSERT_FALSE(window.empty()) << "no window of plughost; output: " << readWholeFile(outputPath);
    EXPECT_NE(captureOutput(xdotool + "search --name '^swirlet$'").find(window), std::string::npos);
    int x = -1, y = -1;
    ASSERT_TRUE(windowOrigin(window, display, x, y));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paints
    const Screen before = captureScreen(display, dir + "/before.rgb", 1024);
    ASSERT_EQ(before.rgb.size(), 1024u * 768u * 3u);

    // Depth R (parameter 3) sits at (184, 36)-(216, 66): press at the top of it and drag round
    // to its right side, which turns it clockwise in circular mode.
    std::string drag = xdotool + "mousemove --window " + window + " 200 38 mousedown 1";
    for (const char* step : {"204 39", "208 41", "211 44", "213 48", "214 52", "213 56"})
        drag += " sleep 0.05 mousemove --window " + window + " " + step;
    drag += " sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(drag.c_str()), 0);

    const std::string output = waitForOutput(outputPath, "endEdit", 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the last redraw reaches X
    const Screen after = captureScreen(display, dir + "/after.rgb", 1024);

    // One gesture on parameter 3: begin, rising automate values, end.
    std::vector<std::string> kinds;
    float last = 0.5f;
    for (const HostCall& call : parseHostCalls(output)) {
        EXPECT_EQ(call.index, 3) << output;
        if (call.name == "automate") {
            EXPECT_GT(call.value, last) << output;
            last = call.value;
        }
        if (kinds.empty() || kinds.back() != call.name) kinds.push_back(call.name);
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
