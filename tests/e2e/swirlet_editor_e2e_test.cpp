// swirlet's editor in a real X server: `plughost editor` shows it in a private Xvfb, xdotool
// drags a knob, and the test checks that the host saw begin-edit, automate and end-edit for
// that parameter and that the screen shows the knob turned (and the other knobs as they were).
#include "tests/support/editor_session.h"

#include <gtest/gtest.h>

namespace {

using namespace editor_session;

TEST(SwirletEditorInXServer, DraggingAKnobAutomatesTheHostAndTurnsTheKnob) {
    if (const char* tool = missingTool()) GTEST_SKIP() << tool << " is not installed";

    EditorSession session;
    std::string error;
    ASSERT_TRUE(session.start(PLUGIN_DIR "/swirlet.so", error)) << error;
    EXPECT_NE(
        capture(session.xdotoolCommand() + "search --name '^swirlet$'").find(session.windowId()),
        std::string::npos);
    const Screen before = session.screenshot("before");
    ASSERT_TRUE(before.valid());

    // Depth R (parameter 3) sits at (184, 36)-(216, 66): press at the top of it and drag round
    // to its right side, which turns it clockwise in circular mode.
    ASSERT_TRUE(
        session.drag(200, 38, {{204, 39}, {208, 41}, {211, 44}, {213, 48}, {214, 52}, {213, 56}}));
    const std::string output = session.waitForOutput("endEdit");
    const Screen after = session.screenshot("after");

    // One gesture on parameter 3: begin, rising automate values, end.
    const std::vector<HostCall> calls = parseCalls(output);
    float last = 0.5f;
    for (const HostCall& call : calls) {
        EXPECT_EQ(call.index, 3) << output;
        if (call.name == "automate") {
            EXPECT_GT(call.value, last) << output;
            last = call.value;
        }
    }
    EXPECT_EQ(gestureShape(calls), (std::vector<std::string>{"beginEdit", "automate", "endEdit"}))
        << output;
    EXPECT_GT(last, 0.8f) << output;

    const int x = session.windowLeft(), y = session.windowTop();
    ASSERT_TRUE(after.valid());
    EXPECT_FALSE(before.sameBlock(after, x + 184, y + 36, 32, 30)) << "the knob did not turn";
    EXPECT_TRUE(before.sameBlock(after, x + 27, y + 36, 32, 30)) << "another knob changed";
    EXPECT_TRUE(before.sameBlock(after, x, y, 432, 30)) << "the title area changed";

    // SIGTERM ends plughost cleanly.
    EXPECT_EQ(session.stopEditor(), 0);
}

} // namespace
