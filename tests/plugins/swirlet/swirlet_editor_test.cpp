// The swirlet editor through its library's record, on the headless platform: the size before
// opening, the layout of the seven knobs over the panel, host and program changes moving knobs
// at the next idle, a drag reaching the host as begin-edit, automate calls and end-edit, only
// the knob presented, failed opens, odd call orders and repeated open/close cycles.
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/platform/pixel_surface.h"
#include "tests/support/headless_editor.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kWidth = 432;
constexpr int32_t kHeight = 89;
constexpr int32_t kKnobLefts[7] = {27, 78, 129, 184, 235, 286, 356};
constexpr int32_t kKnobTop = 36;
constexpr int32_t kKnobWidth = 32;
constexpr int32_t kKnobHeight = 30;

const PixelSurface& background() {
    return panelBitmap("swirlet", "110_background.bmp");
}
const PixelSurface& strip() {
    return panelBitmap("swirlet", "112_knob_strip.bmp");
}

int32_t frameFor(float value) {
    return stripFrameFor(value, 128, kKnobHeight);
}

// What the window must show: the panel with each knob's frame over it.
PixelSurface expectedPicture(const float (&values)[7]) {
    PixelSurface picture = background();
    for (int32_t k = 0; k < 7; ++k) {
        copyBlock(picture, kKnobLefts[k], kKnobTop, strip(), frameFor(values[k]) * kKnobHeight,
                  kKnobWidth, kKnobHeight);
    }
    return picture;
}

bool knobShowsFrame(const PixelSurface& screen, int32_t knob, int32_t frame) {
    return showsBlock(screen, kKnobLefts[knob], kKnobTop, strip(), frame * kKnobHeight, kKnobWidth,
                      kKnobHeight);
}

// Every presented area lies inside knob `knob` (its right and bottom edge included).
bool presentedOnlyKnob(const std::vector<platform::Area>& areas, int32_t knob) {
    for (const platform::Area& a : areas)
        if (a.left < kKnobLefts[knob] || a.top < kKnobTop ||
            a.right > kKnobLefts[knob] + kKnobWidth + 1 || a.bottom > kKnobTop + kKnobHeight + 1)
            return false;
    return true;
}

class SwirletEditor : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(swirlet.ready()); }

    intptr_t open() { return swirlet.open(); }
    void idle() { swirlet.idle(); }
    HeadlessWindow* window() const { return swirlet.window(); }
    void values(float (&out)[7]) {
        for (int32_t i = 0; i < 7; ++i)
            out[i] = host->getParameter(i);
    }
    bool showsCurrentValues() {
        float now[7];
        values(now);
        return window()->screen().pixels == expectedPicture(now).pixels;
    }

    HeadlessLibrary swirlet{HEADLESS_SWIRLET};
    std::unique_ptr<PluginHost>& host = swirlet.host;
    HeadlessPlatform*& platform = swirlet.platform;
};

TEST_F(SwirletEditor, OpenShowsSevenKnobsAtTheirPlacesAndValues) {
    host->setParameter(0, 0.0f);
    host->setParameter(4, 1.0f);
    host->setParameter(6, 0.3f);
    ASSERT_EQ(open(), 1);
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->getWidth(), kWidth);
    EXPECT_EQ(window()->getHeight(), kHeight);
    EXPECT_EQ(window()->parent, fakeParent());
    idle();
    EXPECT_TRUE(showsCurrentValues());
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 0, 0));
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 4, 127));
    // The first and last frames differ, so the checks above can tell them apart.
    EXPECT_FALSE(knobShowsFrame(window()->screen(), 0, 127));
}

TEST_F(SwirletEditor, HostChangeMovesTheKnobAtTheNextIdleOnly) {
    ASSERT_EQ(open(), 1);
    idle();
    window()->clearPresented();
    idle(); // nothing changed: nothing drawn, nothing presented
    EXPECT_TRUE(window()->presentedAreas().empty());

    host->setParameter(2, 1.0f);
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 2, frameFor(0.25f))); // not yet
    idle();
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 2, 127));
    EXPECT_FALSE(window()->presentedAreas().empty());
    EXPECT_TRUE(presentedOnlyKnob(window()->presentedAreas(), 2));
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(SwirletEditor, ProgramChangeMovesAllSevenKnobs) {
    ASSERT_EQ(open(), 1);
    for (int32_t i = 0; i < 7; ++i)
        host->setParameter(i, 1.0f);
    idle();
    EXPECT_TRUE(showsCurrentValues());
    host->dispatch(effSetProgram, 0, 1); // the defaults
    idle();
    EXPECT_EQ(host->getParameter(0), 0.5f);
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(SwirletEditor, ChangeWhileClosedShowsAtTheNextOpen) {
    ASSERT_EQ(open(), 1);
    host->dispatch(effEditClose);
    host->setParameter(6, 0.0f);
    idle(); // closed: only the pending update runs
    ASSERT_EQ(open(), 1);
    idle();
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 6, 0));
}

TEST_F(SwirletEditor, DragReachesTheHostAsOneAutomationGesture) {
    ASSERT_EQ(open(), 1);
    idle(); // the first full paint
    idle(); // the knobs' own first draw
    window()->clearPresented();
    host->clearEvents();
    host->dispatch(effSetEditKnobMode, 0, 2); // linear: 40 pixels up is +0.2
    platform->drag(*window(), 200, 51, 200, 11, 8);
    idle();

    float previous = 0.0f;
    ASSERT_TRUE(isRisingGesture(host->events(), 3, 0.5f, previous));
    EXPECT_NEAR(previous, 0.7f, 1e-5f);
    EXPECT_EQ(host->getParameter(3), previous);
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 3, frameFor(previous)));
    EXPECT_TRUE(presentedOnlyKnob(window()->presentedAreas(), 3));
    EXPECT_TRUE(showsCurrentValues());
}

TEST_F(SwirletEditor, TurningToBothEndsGivesZeroAndOne) {
    ASSERT_EQ(open(), 1);
    idle();
    host->dispatch(effSetEditKnobMode, 0, 2);
    platform->drag(*window(), 95, 51, 95, 300, 10);
    idle();
    EXPECT_EQ(host->getParameter(1), 0.0f);
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 1, 0));
    platform->drag(*window(), 95, 51, 400, 51, 10);
    idle();
    EXPECT_EQ(host->getParameter(1), 1.0f);
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 1, 127));
}

// The effect's output for the built-in sine, for comparing an effect with and without editor.
std::vector<float> render(PluginHost& host) {
    std::vector<float> inL(256), inR(256), outL(256), outR(256);
    for (size_t i = 0; i < inL.size(); ++i)
        inL[i] = inR[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    host.processReplacing(in, out, 256);
    outL.insert(outL.end(), outR.begin(), outR.end());
    return outL;
}

TEST_F(SwirletEditor, FailedOpensAnswerZeroAndTheEffectKeepsWorking) {
    std::string error;
    auto reference = PluginHost::load(HEADLESS_SWIRLET, error);
    ASSERT_TRUE(reference) << error;
    reference->start(44100.0f, 256);

    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, nullptr), 0);
    platform->setRefuseWindows(true); // a window id the window system does not know
    EXPECT_EQ(open(), 0);
    EXPECT_TRUE(platform->windows().empty());
    idle();
    host->dispatch(effEditClose);
    EXPECT_EQ(render(*host), render(*reference));
    platform->setRefuseWindows(false);
    EXPECT_EQ(open(), 1); // and a later open works
}

// The shipped library without a display: open fails, nothing else does.
TEST(SwirletEditorNoDisplay, OpenAnswersZeroAndAudioRuns) {
    const char* saved = std::getenv("DISPLAY");
    const std::string previous = saved ? saved : "";
    unsetenv("DISPLAY");
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/swirlet.so", error);
    ASSERT_TRUE(host) << error;
    host->start(44100.0f, 256);
    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, fakeParent()), 0);
    host->dispatch(effEditIdle);
    host->dispatch(effEditClose);
    const std::vector<float> out = render(*host);
    bool finite = true;
    for (float v : out)
        finite = finite && std::isfinite(v);
    EXPECT_TRUE(finite);
    EXPECT_NE(out[100], 0.0f);
    host->close();
    if (saved) setenv("DISPLAY", previous.c_str(), 1);
}

} // namespace
