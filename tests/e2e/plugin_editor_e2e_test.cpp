// The deliverables' editors in a real X server: `plughost editor` shows each in a private Xvfb
// and xdotool drives it with real input events. Every editor: a knob dragged clockwise sends
// one begin/automate/end gesture with rising values on its parameter, and the screen shows the
// knob turned while another knob (and the title, where given) stays as it was; the window is
// named after it. A two-state button clicked sends its new state (grimfold's Oversample lamp,
// corallis's SlowMod). Then tloom's shape button and information picture with its link, and
// the arrow keys typed into corallis's window stepping the knob clicked last.
#include "tests/support/editor_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace e2e;

struct KnobCase {
    const char* plugin;
    int parameter;
    float initial;   // the parameter's value when the editor opens
    float atLeast;   // where the drag must take it; below any when it starts at the bottom
    Block knob;      // in window coordinates
    Block otherKnob; // must stay as it was
    Block title;     // must stay as it was; empty where not checked
    const char* windowName;
};

void PrintTo(const KnobCase& c, std::ostream* out) {
    *out << c.plugin;
}

std::string pluginPath(const char* plugin) {
    return std::string(PLUGIN_DIR "/") + plugin + ".so";
}

// Skips unless the tools are there and the plug-in was built; then starts its editor.
#define START_EDITOR(session, plugin, ...)                                                         \
    do {                                                                                           \
        if (const char* tool = missingTool()) GTEST_SKIP() << tool << " is not installed";         \
        if (access(pluginPath(plugin).c_str(), R_OK) != 0) GTEST_SKIP() << plugin << " not built"; \
        std::string error;                                                                         \
        ASSERT_TRUE(session.start(pluginPath(plugin), ##__VA_ARGS__, error)) << error;             \
    } while (false)

class EditorInXServer : public ::testing::TestWithParam<KnobCase> {};

TEST_P(EditorInXServer, DraggingAKnobAutomatesItsParameterAndTurnsOnlyThatKnob) {
    const KnobCase& c = GetParam();
    EditorSession session;
    START_EDITOR(session, c.plugin);
    EXPECT_EQ(session.query("getwindowname %w"), std::string(c.windowName) + "\n");
    const ScreenImage before = session.screenshot("before");
    ASSERT_TRUE(before.valid());

    ASSERT_TRUE(session.turnKnob(c.knob.x, c.knob.y, c.knob.w, c.knob.h));
    const std::string output = session.waitForOutput("endEdit");
    const ScreenImage after = session.screenshot("after");

    const std::vector<HostCall> calls = parseCalls(output);
    const std::vector<HostCall> knob = callsOn(calls, c.parameter);
    EXPECT_EQ(knob.size(), calls.size()) << output;
    EXPECT_EQ(gestureShape(knob), kGesture) << output;
    EXPECT_TRUE(automateRises(knob, c.initial)) << output;
    EXPECT_GT(lastAutomate(knob), c.atLeast) << output;

    auto onScreen = [&](const Block& b) { return session.onScreen(b.x, b.y, b.w, b.h); };
    EXPECT_FALSE(before.sameBlock(after, onScreen(c.knob))) << "the knob did not turn";
    EXPECT_TRUE(before.sameBlock(after, onScreen(c.otherKnob))) << "another knob changed";
    if (c.title.w > 0) {
        EXPECT_TRUE(before.sameBlock(after, onScreen(c.title))) << "the title area changed";
    }
    EXPECT_EQ(session.stopEditor(), 0); // SIGTERM ends plughost cleanly
}

// swirlet's Depth R, grimfold's WS1, tloom's Cutoff, corallis's Dry Mix.
// clang-format off
const KnobCase kKnobCases[] = {
    {"swirlet",  3, 0.5f,  0.8f,  {184, 36, 32, 30}, {27, 36, 32, 30}, {0, 0, 432, 30}, "swirlet"},
    {"grimfold", 2, 0.25f, 0.5f,  {136, 29, 36, 36}, {25, 29, 36, 36}, {0, 0, 600, 20}, "grimfold"},
    {"tloom",   10, -1.0f, -1.0f, {324, 34, 32, 30}, {67, 34, 32, 30}, {}, "Tessera Loom"},
    {"corallis", 8, 0.5f,  0.6f,  {512, 29, 36, 36}, {36, 29, 36, 36}, {}, "corallis"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EveryPlugin, EditorInXServer, ::testing::ValuesIn(kKnobCases),
                         [](const ::testing::TestParamInfo<KnobCase>& info) {
                             return std::string(info.param.plugin);
                         });

// A click on a two-state button sends the one automate call of its new state and redraws it.
struct ButtonCase {
    const char* plugin;
    int parameter;
    float value;     // after the click
    Block button;    // in window coordinates; clicked at its centre
    Block unchanged; // must stay as it was
};

void PrintTo(const ButtonCase& c, std::ostream* out) {
    *out << c.plugin;
}

class ButtonInXServer : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonInXServer, AClickAutomatesItsParameterOnceAndRedrawsIt) {
    const ButtonCase& c = GetParam();
    EditorSession session;
    START_EDITOR(session, c.plugin);
    const ScreenImage before = session.screenshot("before");
    ASSERT_TRUE(session.click(c.button.x + c.button.w / 2, c.button.y + c.button.h / 2));
    const std::string output = session.waitForOutput("automate " + std::to_string(c.parameter));
    const ScreenImage after = session.screenshot("after");
    const std::vector<HostCall> calls = parseCalls(output);
    EXPECT_EQ(gestureShape(calls), std::vector<std::string>{"automate"}) << output;
    EXPECT_EQ(callsOn(calls, c.parameter).size(), calls.size()) << output;
    EXPECT_EQ(lastAutomate(calls), c.value) << output;
    auto onScreen = [&](const Block& b) { return session.onScreen(b.x, b.y, b.w, b.h); };
    EXPECT_FALSE(before.sameBlock(after, onScreen(c.button))) << "the button did not change";
    EXPECT_TRUE(before.sameBlock(after, onScreen(c.unchanged))) << "elsewhere changed";
}

INSTANTIATE_TEST_SUITE_P(TwoPlugins, ButtonInXServer,
                         ::testing::Values(
                             // grimfold's Oversample lamp (off by default) above its title area;
                             // corallis's SlowMod (on by default) beside its first knob.
                             ButtonCase{"grimfold", 10, 1.0f, {544, 29, 12, 6}, {0, 0, 600, 20}},
                             ButtonCase{"corallis", 13, 0.0f, {447, 61, 12, 6}, {36, 29, 36, 36}}),
                         [](const ::testing::TestParamInfo<ButtonCase>& info) {
                             return std::string(info.param.plugin);
                         });

TEST(TloomEditorInXServer, AShapeButtonAutomatesAndTheInformationLinkOpensItsPage) {
    EditorSession session;
    // A stand-in page opener, first on plughost's PATH, records what it is asked to open.
    const std::string opener = session.folder() + "/xdg-open";
    const std::string openedPath = session.folder() + "/opened";
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << openedPath << "'\n";
    }
    chmod(opener.c_str(), 0755);
    EditorSession::Options options;
    options.folderFirstOnPath = true;
    START_EDITOR(session, "tloom", options);

    // The third left shape button: L Shape (6) becomes 0.24.
    ASSERT_TRUE(session.click(41, 66));
    const std::string shape = session.waitForOutput("automate 6 ");
    EXPECT_NE(shape.find("automate 6 0.24"), std::string::npos) << shape;

    // The information control's hot area shows the picture; its maker's line opens that page.
    ASSERT_TRUE(session.click(449, 50));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(session.click(140, 89));
    std::string opened;
    for (auto deadline = Clock::now() + std::chrono::seconds(10);
         opened.find('\n') == std::string::npos && Clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        opened = readFile(openedPath);
    EXPECT_EQ(opened, "https://www.lumenforge.example/\n");
}

} // namespace

TEST(CorallisEditorInXServer, ArrowKeysStepTheKnobLastClicked) {
    EditorSession session;
    START_EDITOR(session, "corallis");
    // Dry Mix (parameter 8, at 0.5) at (512, 29)-(548, 65): a click at the top of its rim, where
    // the value already points, makes it the knob the keys go to.
    const Block knob{512, 29, 36, 36};
    ASSERT_TRUE(session.click(knob.x + knob.w / 2, knob.y + 2));
    std::string output = session.waitForOutput("endEdit");
    const float clicked = [&] {
        const float last = lastAutomate(parseCalls(output));
        return std::isnan(last) ? 0.5f : last;
    }();
    EXPECT_NEAR(clicked, 0.5f, 0.02f) << output;
    size_t seen = output.size();
    const ScreenImage before = session.screenshot("before");

    // An arrow key steps by the wheel step (0.1), a tenth of it with Shift.
    struct Step {
        const char* key;
        float change;
    };
    const Step steps[] = {
        {"Up", 0.1f}, {"shift+Up", 0.01f}, {"Down", -0.1f}, {"shift+Down", -0.01f}};
    float expected = clicked;
    int automates = 0; // so far: the click's, if it moved the knob
    for (const HostCall& call : parseCalls(output))
        automates += call.name == "automate";
    for (const Step& step : steps) {
        SCOPED_TRACE(step.key);
        expected += step.change;
        ASSERT_TRUE(session.xdo(std::string("key ") + step.key));
        output = session.waitForOutput("automate", ++automates);
        const std::vector<HostCall> calls = parseCalls(output.substr(seen));
        seen = output.size();
        ASSERT_EQ(calls.size(), 1u) << output;
        EXPECT_EQ(calls[0].name, "automate");
        EXPECT_EQ(calls[0].index, 8);
        EXPECT_NEAR(calls[0].value, expected, 1e-5f);
        expected = calls[0].value;
        if (step.change == 0.1f) {
            const ScreenImage after = session.screenshot("after");
            EXPECT_FALSE(before.sameBlock(after, session.onScreen(knob.x, knob.y, knob.w, knob.h)))
                << "the knob did not turn";
            EXPECT_TRUE(before.sameBlock(after, session.onScreen(36, 29, 36, 36)))
                << "another knob changed";
        }
    }
}
