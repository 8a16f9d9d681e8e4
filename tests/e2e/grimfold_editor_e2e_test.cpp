// grimfold's editor in a real X server: `plughost editor` under a private Xvfb, a knob dragged
// and the Oversample lamp clicked with xdotool; the host sees one gesture on the knob's
// parameter with rising values and the lamp's automate call, and the screen shows the knob
// turned and the lamp lit while the title area stays as it was.
#include "tests/support/editor_session.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace e2e;

TEST(GrimfoldEditorInXServer, DraggingAKnobAndClickingTheLampReachTheHost) {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is not installed";

    XvfbServer server;
    ASSERT_TRUE(server.start(1024, 768)) << "Xvfb did not come up";
    const std::string display = server.displayName();
    char folder[] = "/tmp/grimfold-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    const std::string outputPath = dir + "/plughost.out";

    Child editor;
    startEditor(editor, display, PLUGIN_DIR "/grimfold.so", outputPath);
    ASSERT_GT(editor.pid, 0);
    const std::string window = findWindow(display, editor.pid);
    ASSERT_FALSE(window.empty()) << "no window of plughost; output: " << readFile(outputPath);
    int x = -1, y = -1;
    ASSERT_TRUE(windowOrigin(display, window, x, y));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paints
    const Screen before = screenshot(display, dir + "/before.rgb");
    ASSERT_EQ(before.rgb.size(), 1024u * 768u * 3u);

    // WS1 (parameter 2) sits at (136, 29)-(172, 65): press at the top of it and drag round to
    // its right side, which turns it clockwise in circular mode.
    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    std::string drag = xdotool + "mousemove --window " + window + " 154 31 mousedown 1";
    for (const char* step : {"159 32", "164 34", "167 38", "169 42", "170 47", "169 52"})
        drag += " sleep 0.05 mousemove --window " + window + " " + step;
    drag += " sleep 0.1 mouseup 1";
    ASSERT_EQ(std::system(drag.c_str()), 0);
    std::string output = waitForOutput(outputPath, "endEdit");

    // The lamp (544, 29)-(556, 35).
    ASSERT_EQ(std::system((xdotool + "mousemove --window " + window +
                           " 549 31 mousedown 1 sleep 0.1 mouseup 1")
                              .c_str()),
              0);
    output = waitForOutput(outputPath, "automate 10 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the last redraw reaches X
    const Screen after = screenshot(display, dir + "/after.rgb");

    std::istringstream calls(output);
    std::vector<std::string> kinds;
    float last = 0.25f, lamp = -1.0f;
    for (std::string name; calls >> name;) {
        int index = -1;
        float value = 0.0f;
        calls >> index >> value;
        if (index == 10) {
            if (name == "automate") lamp = value;
            continue;
        }
        EXPECT_EQ(index, 2) << output;
        if (name == "automate") {
            EXPECT_GT(value, last) << output;
            last = value;
        }
        if (kinds.empty() || kinds.back() != name) kinds.push_back(name);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"beginEdit", "automate", "endEdit"})) << output;
    EXPECT_GT(last, 0.5f) << output;
    EXPECT_EQ(lamp, 1.0f) << output;

    ASSERT_EQ(after.rgb.size(), before.rgb.size());
    EXPECT_FALSE(before.sameBlock(after, x + 136, y + 29, 36, 36)) << "the knob did not turn";
    EXPECT_FALSE(before.sameBlock(after, x + 544, y + 29, 12, 6)) << "the lamp did not light";
    EXPECT_TRUE(before.sameBlock(after, x + 25, y + 29, 36, 36)) << "another knob changed";
    EXPECT_TRUE(before.sameBlock(after, x, y, 600, 20)) << "the title area changed";

    EXPECT_EQ(editor.stop(), 0); // SIGTERM ends plughost cleanly
    server.stop();
    std::system(("rm -rf " + dir).c_str());
}

} // namespace
