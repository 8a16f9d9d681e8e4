// The grimfold editor through its library's record, on the headless platform: the size before
// opening, the whole window (panel, knob frames, display boxes and texts, the lamp) at the
// defaults and after host and program changes, the lamp lit for any non-zero value, the knob's
// last two frames, a drag and a click reaching the host, failed opens, repeated open/close
// cycles, and two editors of different libraries open side by side.
#include "gui/draw_context.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/platform/pixel_surface.h"
#include "gui/value_display.h"
#include "tests/support/headless_editor.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kWidth = 600;
constexpr int32_t kHeight = 100;
constexpr int32_t kParams = 11;
constexpr int32_t kKnobs = 10;
constexpr int32_t kKnobLefts[kKnobs] = {25, 64, 136, 175, 214, 253, 325, 364, 436, 475};
constexpr int32_t kKnobTop = 29;
constexpr int32_t kKnob = 36;
constexpr int32_t kButtonLeft = 544;
constexpr int32_t kButtonTop = 29;

const PixelSurface& artwork(int which) {
    static const PixelSurface pictures[3] = {loadPanelBitmap("grimfold", "110_background.bmp"),
                                             loadPanelBitmap("grimfold", "112_knob_strip.bmp"),
                                             loadPanelBitmap("grimfold", "113_button.bmp")};
    return pictures[which];
}

int32_t frameFor(float value) {
    return stripFrameFor(value, 43, kKnob);
}

Rect displayRect(int32_t knob) {
    return Rect(kKnobLefts[knob] - 3, kKnobTop + 36, kKnobLefts[knob] + 39, kKnobTop + 48);
}

void fixedText(float, TextBuffer& text, void* data) {
    text.append(static_cast<const char*>(data));
}

// What the window must show: the panel, each knob's frame, each display's box with its text
// (green on the window colour, black frame, centred, font 6), and the lamp's half.
PixelSurface expectedPicture(const float (&values)[kParams], const std::string (&texts)[kKnobs]) {
    PixelSurface picture = artwork(0);
    DrawContext context(nullptr, &picture, nullptr);
    for (int32_t k = 0; k < kKnobs; ++k) {
        copyBlock(picture, kKnobLefts[k], kKnobTop, artwork(1), frameFor(values[k]) * kKnob, kKnob,
                  kKnob);
        ValueDisplay box(displayRect(k), nullptr, 0);
        box.setFont(6);
        box.setHoriAlign(1);
        box.setFontColour({0, 255, 0, 0});
        box.setBackColour({9, 92, 81, 0});
        box.setFrameColour({0, 0, 0, 0});
        box.setStringConvert(fixedText, const_cast<char*>(texts[k].c_str()));
        box.draw(&context);
    }
    const PixelSurface& lamp = artwork(2);
    copyBlock(picture, kButtonLeft, kButtonTop, lamp, values[10] != 0.0f ? lamp.height / 2 : 0,
              lamp.width, lamp.height / 2);
    return picture;
}

bool knobShowsFrame(const PixelSurface& screen, int32_t knob, int32_t frame) {
    for (int32_t r = 0; r < kKnob; ++r)
        for (int32_t c = 0; c < kKnob; ++c)
            if (screen.row(kKnobTop + r)[kKnobLefts[knob] + c] !=
                artwork(1).row(frame * kKnob + r)[c])
                return false;
    return true;
}

bool lampLit(const PixelSurface& screen) {
    const PixelSurface& lamp = artwork(2);
    for (int32_t r = 0; r < lamp.height / 2; ++r)
        for (int32_t c = 0; c < lamp.width; ++c)
            if (screen.row(kButtonTop + r)[kButtonLeft + c] != lamp.row(lamp.height / 2 + r)[c])
                return false;
    return true;
}

// Every presented area lies inside the box around the knob and its display (right and bottom
// edges included): the presenter may join the two changes into one area.
bool presentedOnlyKnobAndDisplay(const std::vector<platform::Area>& areas, int32_t knob) {
    const Rect box = displayRect(knob);
    for (const platform::Area& a : areas)
        if (a.left < box.left || a.top < kKnobTop || a.right > box.right + 1 ||
            a.bottom > box.bottom + 1)
            return false;
    return !areas.empty();
}

class GrimfoldEditor : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(grimfold.ready()); }

    PluginHost& host() { return *grimfold.host; }
    intptr_t open() { return grimfold.open(); }
    void idle() { grimfold.idle(); }
    HeadlessWindow* window() const { return grimfold.window(); }

    // The window against the panel drawn from the effect's values and texts (text and unit).
    bool showsCurrentState() {
        float values[kParams];
        std::string texts[kKnobs];
        for (int32_t i = 0; i < kParams; ++i)
            values[i] = host().getParameter(i);
        for (int32_t i = 0; i < kKnobs; ++i) {
            char text[64] = {}, label[64] = {};
            host().dispatch(effGetParamDisplay, i, 0, text);
            host().dispatch(effGetParamLabel, i, 0, label);
            texts[i] = std::string(text) + label;
        }
        return window()->screen().pixels == expectedPicture(values, texts).pixels;
    }

    HeadlessLibrary grimfold{HEADLESS_GRIMFOLD};
};

TEST_F(GrimfoldEditor, DefaultsShowThePanelWithTheirFramesTextsAndTheLampOff) {
    ASSERT_EQ(open(), 1);
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->getWidth(), kWidth);
    EXPECT_EQ(window()->getHeight(), kHeight);
    idle();
    const float values[kParams] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f,
                                   0.2f, 0.6f, 0.3f,  0.4f,  0.0f};
    const std::string texts[kKnobs] = {"0.00dB",  "0.00dB",  "25.00 %", "35.00 %", "45.00 %",
                                       "55.00 %", "20.00 %", "60.00 %", "30.00 %", "40.00 %"};
    for (int32_t i = 0; i < kParams; ++i)
        ASSERT_EQ(host().getParameter(i), values[i]) << i;
    EXPECT_TRUE(window()->screen().pixels == expectedPicture(values, texts).pixels);
    EXPECT_FALSE(lampLit(window()->screen()));
}

TEST_F(GrimfoldEditor, HostAndProgramChangesMoveEveryKnobDisplayAndTheLampAtTheNextIdle) {
    ASSERT_EQ(open(), 1);
    idle();
    window()->clearPresented();
    idle(); // nothing changed: nothing drawn, nothing presented
    EXPECT_TRUE(window()->presentedAreas().empty());

    for (int32_t i = 0; i < kParams; ++i)
        host().setParameter(i, 1.0f);
    EXPECT_FALSE(lampLit(window()->screen())); // not yet
    idle();
    EXPECT_TRUE(lampLit(window()->screen()));
    EXPECT_TRUE(showsCurrentState());

    host().dispatch(effSetProgram, 0, 1); // the defaults
    idle();
    EXPECT_EQ(host().getParameter(2), 0.25f);
    EXPECT_FALSE(lampLit(window()->screen()));
    EXPECT_TRUE(showsCurrentState());
}

TEST_F(GrimfoldEditor, OversampleAtPointThreeLightsTheLampWhileTheTextReadsOff) {
    ASSERT_EQ(open(), 1);
    idle();
    host().setParameter(10, 0.3f);
    idle();
    EXPECT_TRUE(lampLit(window()->screen()));
    char text[64] = {};
    host().dispatch(effGetParamDisplay, 10, 0, text);
    EXPECT_STREQ(text, "OFF");
    EXPECT_TRUE(showsCurrentState()); // and no display for it anywhere
}

TEST_F(GrimfoldEditor, KnobShowsTheLastFrameOnlyAtOne) {
    ASSERT_EQ(open(), 1);
    host().setParameter(4, 1.0f);
    host().setParameter(5, 0.999f);
    idle();
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 4, 42));
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 5, 41));
    EXPECT_FALSE(knobShowsFrame(window()->screen(), 5, 42));
}

TEST_F(GrimfoldEditor, DragIsOneGesturePresentingOnlyTheKnobAndItsDisplay) {
    ASSERT_EQ(open(), 1);
    idle(); // the first full paint
    idle(); // the controls' own first draw
    window()->clearPresented();
    host().clearEvents();
    host().dispatch(effSetEditKnobMode, 0, 2);              // linear: 40 pixels up is +0.2
    grimfold.platform->drag(*window(), 190, 47, 190, 7, 8); // WS2 (175, 29)-(211, 65)
    idle();                                                 // runs the drag

    float previous = 0.0f;
    ASSERT_TRUE(isRisingGesture(host().events(), 3, 0.35f, previous));
    EXPECT_NEAR(previous, 0.55f, 1e-5f);
    EXPECT_EQ(host().getParameter(3), previous);
    idle(); // the display, dirty since the last automate call, shows its new text
    EXPECT_TRUE(presentedOnlyKnobAndDisplay(window()->presentedAreas(), 3));
    EXPECT_TRUE(showsCurrentState());
}

TEST_F(GrimfoldEditor, ClickingTheLampTogglesOversampleBetweenZeroAndOne) {
    ASSERT_EQ(open(), 1);
    idle();
    host().clearEvents();
    grimfold.platform->click(*window(), 549, 31);
    idle();
    EXPECT_EQ(host().getParameter(10), 1.0f);
    EXPECT_TRUE(lampLit(window()->screen()));
    ASSERT_FALSE(host().events().empty());
    EXPECT_EQ(host().events().back().index, 10);
    grimfold.platform->click(*window(), 549, 31);
    idle();
    EXPECT_EQ(host().getParameter(10), 0.0f);
    EXPECT_FALSE(lampLit(window()->screen()));
    for (const HostEvent& event : host().events())
        EXPECT_EQ(event.index, 10);
}

// Two libraries in one process each keep their own toolkit, bitmaps and platform.
TEST(TwoDeliverables, GrimfoldAndSwirletEditorsOpenAtOnce) {
    HeadlessLibrary grimfold(HEADLESS_GRIMFOLD);
    HeadlessLibrary swirlet(HEADLESS_SWIRLET);
    ASSERT_TRUE(grimfold.ready());
    ASSERT_TRUE(swirlet.ready());
    ASSERT_EQ(grimfold.open(), 1);
    ASSERT_EQ(swirlet.open(), 1);
    ASSERT_NE(grimfold.platform, swirlet.platform);
    grimfold.idle();
    swirlet.idle();
    EXPECT_EQ(grimfold.window()->getWidth(), kWidth);
    EXPECT_EQ(swirlet.window()->getWidth(), 432);

    grimfold.host->setParameter(0, 1.0f);
    swirlet.host->setParameter(0, 1.0f);
    grimfold.window()->clearPresented();
    swirlet.window()->clearPresented();
    grimfold.idle();
    EXPECT_TRUE(knobShowsFrame(grimfold.window()->screen(), 0, 42));
    EXPECT_FALSE(grimfold.window()->presentedAreas().empty());
    EXPECT_TRUE(swirlet.window()->presentedAreas().empty()); // each idles only its own
    swirlet.idle();
    EXPECT_FALSE(swirlet.window()->presentedAreas().empty());

    swirlet.host->dispatch(effEditClose);
    grimfold.host->setParameter(1, 1.0f);
    grimfold.idle();
    EXPECT_TRUE(knobShowsFrame(grimfold.window()->screen(), 1, 42));
}

} // namespace
