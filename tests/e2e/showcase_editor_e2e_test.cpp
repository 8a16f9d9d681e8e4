// The showcase editor in a real X server, in both toolkit variants: `plughost editor` shows it
// in a private Xvfb and xdotool presses the toggle and the momentary button, drags both
// sliders and clicks the step switch and the rocker. Each gesture must reach the host as the
// expected calls on that control's parameter, and change the screen only inside that control.
#include "tests/showcase/showcase_layout.h"
#include "tests/support/editor_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace e2e;
using showcase::Area;

// The calls the gesture added to the output since `seen` characters.
std::vector<HostCall> callsSince(const std::string& output, size_t seen) {
    return parseCalls(output.substr(std::min(seen, output.size())));
}

class ShowcaseInXServer : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (const char* tool = missingTool()) GTEST_SKIP() << tool << " is not installed";
        std::string error;
        ASSERT_TRUE(session.start(std::string(SHOWCASE_DIR "/") + GetParam() + ".so", error))
            << error;
        screen = session.screenshot("start");
        ASSERT_TRUE(screen.valid());
    }

    // The control's rectangle on the screen, as a block.
    Block onScreen(const Area& a) const {
        return {session.windowLeft() + a.left, session.windowTop() + a.top, a.width, a.height};
    }
    Block onScreen(int control) const { return onScreen(showcase::controlArea(control)); }
    // A point of the control in window coordinates, `fx` and `fy` across it (0..1).
    static std::pair<int, int> at(int control, float fx, float fy) {
        const Area a = showcase::controlArea(control);
        return {a.left + static_cast<int>(a.width * fx), a.top + static_cast<int>(a.height * fy)};
    }

    // Waits for the gesture's last call and answers the calls it added, all of which must be
    // on `control`'s parameter; the new screen becomes the reference for the next gesture.
    std::vector<HostCall> finishGesture(int control, const std::string& last, Screen& after) {
        const std::string output = session.waitForOutput(last, ++endings[last]);
        std::vector<HostCall> calls = callsSince(output, seen);
        seen = output.size();
        for (const HostCall& call : calls)
            EXPECT_EQ(call.index, control) << output;
        after = session.screenshot("after");
        return calls;
    }

    EditorSession session;
    Screen screen;
    size_t seen = 0;
    std::map<std::string, int> endings;
};

TEST_P(ShowcaseInXServer, ButtonsSwitchesAndSlidersReachTheHostAndRedrawOnlyThemselves) {
    // The toggle: one click turns it on at once. It tracks no drag, so there is no gesture
    // bracket around its one automate call.
    auto [tx, ty] = at(showcase::kToggle, 0.5f, 0.5f);
    ASSERT_TRUE(session.click(tx, ty));
    Screen after;
    std::vector<HostCall> calls = finishGesture(showcase::kToggle, "automate", after);
    EXPECT_EQ(gestureShape(calls), std::vector<std::string>{"automate"});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].value, 1.0f);
    EXPECT_FALSE(screen.sameBlock(after, onScreen(showcase::kToggle).x,
                                  onScreen(showcase::kToggle).y, 40, 20));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kToggle)}));
    screen = after;

    // The momentary button: on while held, and the release is reported as 0.
    auto [mx, my] = at(showcase::kMomentary, 0.5f, 0.5f);
    ASSERT_TRUE(session.xdo("mousemove --window %w " + std::to_string(mx) + " " +
                            std::to_string(my) + " mousedown 1"));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const Screen held = session.screenshot("held");
    ASSERT_TRUE(session.xdo("mouseup 1"));
    calls = finishGesture(showcase::kMomentary, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1].value, 1.0f);
    EXPECT_EQ(calls[calls.size() - 2].value, 0.0f);
    EXPECT_FALSE(screen.sameBlock(held, onScreen(showcase::kMomentary).x,
                                  onScreen(showcase::kMomentary).y, 40, 20))
        << "the held button does not show pressed";
    EXPECT_TRUE(screen.differsOnlyIn(held, {onScreen(showcase::kMomentary)}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {})) << "the released button does not show off";
    screen = after;

    // The vertical slider: from its handle (at the middle) upwards raises the value.
    const Area vs = showcase::controlArea(showcase::kVerticalSlider);
    const int vx = vs.left + vs.width / 2, vy = vs.top + vs.height / 2;
    ASSERT_TRUE(session.drag(vx, vy, {{vx, vy - 5}, {vx, vy - 10}, {vx, vy - 15}, {vx, vy - 20}}));
    calls = finishGesture(showcase::kVerticalSlider, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    // The press puts the handle's centre under the pointer; from there the value only rises.
    float last = 0.45f;
    for (const HostCall& call : calls)
        if (call.name == "automate") {
            EXPECT_GE(call.value, last) << session.output();
            last = call.value;
        }
    EXPECT_GT(last, 0.7f) << session.output();
    EXPECT_FALSE(screen.differsOnlyIn(after, {}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kVerticalSlider)}));
    screen = after;

    // The horizontal slider: to the left lowers the value.
    const Area hs = showcase::controlArea(showcase::kHorizontalSlider);
    const int hx = hs.left + hs.width / 2, hy = hs.top + hs.height / 2;
    ASSERT_TRUE(session.drag(hx, hy, {{hx - 5, hy}, {hx - 10, hy}, {hx - 15, hy}, {hx - 20, hy}}));
    calls = finishGesture(showcase::kHorizontalSlider, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    last = 0.55f;
    for (const HostCall& call : calls)
        if (call.name == "automate") {
            EXPECT_LE(call.value, last) << session.output();
            last = call.value;
        }
    EXPECT_LT(last, 0.3f) << session.output();
    EXPECT_FALSE(screen.differsOnlyIn(after, {}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kHorizontalSlider)}));
    screen = after;

    // The vertical step switch: a click on its lowest position selects it.
    auto [sx, sy] = at(showcase::kVerticalSwitch, 0.5f, 0.85f);
    ASSERT_TRUE(session.click(sx, sy));
    calls = finishGesture(showcase::kVerticalSwitch, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[calls.size() - 2].value, 1.0f);
    EXPECT_FALSE(screen.differsOnlyIn(after, {}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {onScreen(showcase::kVerticalSwitch)}));
    screen = after;

    // The rocker: pressed on its upper half it shows -1 (parameter 0), released it rests at 0
    // (parameter 0.5) again.
    auto [rx, ry] = at(showcase::kRocker, 0.5f, 0.25f);
    ASSERT_TRUE(session.xdo("mousemove --window %w " + std::to_string(rx) + " " +
                            std::to_string(ry) + " mousedown 1"));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const Screen rocked = session.screenshot("rocked");
    ASSERT_TRUE(session.xdo("mouseup 1"));
    calls = finishGesture(showcase::kRocker, "endEdit", after);
    EXPECT_EQ(gestureShape(calls), kGesture);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1].value, 0.0f);
    EXPECT_EQ(calls[calls.size() - 2].value, 0.5f);
    EXPECT_FALSE(screen.differsOnlyIn(rocked, {})) << "the pressed rocker does not show";
    EXPECT_TRUE(screen.differsOnlyIn(rocked, {onScreen(showcase::kRocker)}));
    EXPECT_TRUE(screen.differsOnlyIn(after, {}));

    EXPECT_EQ(session.stopEditor(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothToolkits, ShowcaseInXServer,
                         ::testing::Values("showcase_older", "showcase_newer"));

} // namespace
