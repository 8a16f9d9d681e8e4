// tloom's editor in a real X server: `plughost editor` shows it in the test's own Xvfb, xdotool
// turns a knob, presses a shape button, opens the information picture and clicks its maker's
// link; the host must see the knob's gesture and the shape value, and a stand-in `xdg-open` on
// PATH must receive the maker's page. Every process the test starts is ended, also on failure.
#include "tests/support/editor_process.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

TEST(TloomEditorInXServer, KnobButtonAndLinkReachTheHostAndTheSystem) {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is not installed";

    XvfbServer server;
    ASSERT_TRUE(server.start(1024, 768)) << "Xvfb did not come up";
    const std::string display = server.displayName();
    char folder[] = "/tmp/tloom-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string outputPath = dir + "/plughost.out";
    const std::string openedPath = dir + "/opened";

    // The stand-in page opener, first on the editor's PATH.
    {
        std::ofstream script(dir + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << openedPath << "'\n";
    }
    chmod((dir + "/xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    const std::string savedPath = path ? path : "";
    setenv("PATH", (dir + ":" + savedPath).c_str(), 1);

    Child editor;
    startEditor(editor, PLUGHOST_PATH, PLUGIN_DIR "/tloom.so", display, outputPath);
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_GT(editor.pid, 0);

    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    const ShownWindow shown = findWindow(display, editor.pid);
    const std::string& window = shown.id;
    ASSERT_FALSE(window.empty()) << "no window of plughost; output: " << readFile(outputPath);
    ASSERT_GE(shown.x, 0);
    ASSERT_GE(shown.y, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paints
    const Screen before = screenshot(display, dir + "/before.rgb");
    ASSERT_EQ(before.rgb.size(), 1024u * 768u * 3u);

    // Cutoff (parameter 10) sits at (324, 34)-(356, 64): press at its top and drag round to its
    // right side, which turns it clockwise in circular mode.
    std::string drag = xdotool + "mousemove --window " + window + " 340 36 mousedown 1";
    for (const char* step : {"344 37", "348 39", "351 42", "353 46", "354 50", "353 54"})
        drag += " sleep 0.05 mousemove --window " + window + " " + step;
    drag += " sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(drag.c_str()), 0);
    const std::string gesture = waitForText(outputPath, "endEdit", 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the last redraw reaches X
    const Screen after = screenshot(display, dir + "/after.rgb");

    std::istringstream calls(gesture);
    std::vector<std::string> kinds;
    float last = -1.0f;
    for (std::string name; calls >> name;) {
        int index = -1;
        float value = 0.0f;
        calls >> index >> value;
        EXPECT_EQ(index, 10) << gesture;
        if (name == "automate") {
            EXPECT_GT(value, last) << gesture;
            last = value;
        }
        if (kinds.empty() || kinds.back() != name) kinds.push_back(name);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"beginEdit", "automate", "endEdit"})) << gesture;
    EXPECT_FALSE(before.sameBlock(after, shown.x + 324, shown.y + 34, 32, 30)) << "no turn";
    EXPECT_TRUE(before.sameBlock(after, shown.x + 67, shown.y + 34, 32, 30)) << "other knob";

    // The third left shape button: L Shape (6) becomes 0.24.
    const std::string click = xdotool + "mousemove --window " + window + " ";
    ASSERT_EQ(std::system((click + "41 66 mousedown 1 sleep 0.1 mouseup 1").c_str()), 0);
    const std::string shape = waitForText(outputPath, "automate 6 ", 10);
    EXPECT_NE(shape.find("automate 6 0.24"), std::string::npos) << shape;

    // The information control's hot area shows the picture; its maker's line opens that page.
    ASSERT_EQ(std::system((click + "449 50 mousedown 1 sleep 0.1 mouseup 1").c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(std::system((click + "140 89 mousedown 1 sleep 0.1 mouseup 1").c_str()), 0);
    const std::string opened = waitForText(openedPath, "\n", 10);
    EXPECT_EQ(opened, "https://www.lumenforge.example/\n");

    EXPECT_EQ(editor.stop(), 0);
    server.stop();
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
