// corallis's editor in a real X server: `plughost editor` shows it in the test's own Xvfb;
// xdotool drags the Dry Mix knob and clicks the SlowMod button, and the host must see one
// begin/automate/end gesture on parameter 8, then one automate of parameter 13 to 0, with the
// knob and the button redrawn and the other knobs as they were.
#include "tests/support/editor_driver.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(CorallisEditorInXServer, KnobDragAndButtonClickReachTheHost) {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!toolOnPath(tool)) GTEST_SKIP() << tool << " is not installed";

    XvfbServer server;
    ASSERT_TRUE(server.start(1024, 768)) << "Xvfb did not come up";
    const std::string display = server.displayName();
    char folder[] = "/tmp/corallis-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string outputPath = dir + "/plughost.out";

    ChildProcess editor;
    startPluginEditor(editor, PLUGHOST_PATH, PLUGIN_DIR "/corallis.so", display, outputPath);
    ASSERT_GT(editor.pid, 0);
    const std::string window = findWindowOf(editor.pid, display, 20);
    ASSERT_FALSE(window.empty()) << "no window of plughost; output: " << readWholeFile(outputPath);
    int x = -1, y = -1;
    ASSERT_TRUE(windowOrigin(window, display, x, y));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paints
    const Screen before = captureScreen(display, dir + "/before.rgb", 1024);
    ASSERT_EQ(before.rgb.size(), 1024u * 768u * 3u);

    // Dry Mix (parameter 8, at 0.5) sits at (512, 29)-(548, 65): press at the top of it and
    // drag round to its right side, clockwise in circular mode.
    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    std::string drag = xdotool + "mousemove --window " + window + " 530 31 mousedown 1";
    for (const char* step : {"534 32", "538 34", "541 37", "544 41", "546 47", "545 53"})
        drag += " sleep 0.05 mousemove --window " + window + " " + step;
    drag += " sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(drag.c_str()), 0);
    waitForOutput(outputPath, "endEdit", 10);

    // The SlowMod button (parameter 13, on by default) at (447, 61)-(459, 67).
    const std::string click = xdotool + "mousemove --window " + window +
                              " 452 63 sleep 0.6 mousedown 1 sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(click.c_str()), 0);
    const std::string output = waitForOutput(outputPath, "automate 13", 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the last redraw reaches X
    const Screen after = captureScreen(display, dir + "/after.rgb", 1024);

    std::vector<std::string> kinds;
    float last = 0.5f;
    bool slowOff = false;
    for (const HostCall& call : parseHostCalls(output)) {
        if (call.index == 13) {
            EXPECT_EQ(call.name, "automate") << output;
            slowOff = call.value == 0.0f;
            continue;
        }
        EXPECT_EQ(call.index, 8) << output;
        if (call.name == "automate") {
            EXPECT_GT(call.value, last) << output;
            last = call.value;
        }
        if (kinds.empty() || kinds.back() != call.name) kinds.push_back(call.name);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"beginEdit", "automate", "endEdit"})) << output;
    EXPECT_GT(last, 0.6f) << output;
    EXPECT_TRUE(slowOff) << output;

    ASSERT_EQ(after.rgb.size(), before.rgb.size());
    EXPECT_FALSE(before.sameBlock(after, x + 512, y + 29, 36, 36)) << "the knob did not turn";
    EXPECT_FALSE(before.sameBlock(after, x + 447, y + 61, 12, 6)) << "the button is unchanged";
    EXPECT_TRUE(before.sameBlock(after, x + 36, y + 29, 36, 36)) << "another knob changed";

    EXPECT_EQ(editor.stop(), 0);
    server.stop();
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
