// The corallis editor through its library's record on the headless platform (the panel's
// pixels, host and program changes at the next idle, the gestures the host sees, the mode
// buttons, keys, repeated open/close cycles), and the editor's own rules in-process (display
// texts, indices outside its tables, a converter with no frame).
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/platform/pixel_surface.h"
#include "plugins/corallis/corallis_editor.h"
#include "plugins/corallis/corallis_effect.h"
#include "tests/support/headless_editor.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kWidth = 600;
constexpr int32_t kHeight = 100;
constexpr int32_t kKnobSize = 36;
constexpr int32_t kKnobTop = 29;
constexpr int32_t kFrames = 43;
// Parameter of each knob from left to right, its left edge, and its display's left and right.
struct Place {
    int32_t parameter, left, displayLeft, displayRight;
};
constexpr Place kPlaces[11] = {
    {0, 36, 20, 64},     {3, 77, 71, 105},   {1, 118, 109, 153}, {2, 159, 158, 199},
    {4, 229, 213, 257},  {7, 270, 264, 298}, {5, 311, 302, 346}, {6, 352, 351, 392},
    {12, 399, 400, 434}, {8, 512, 513, 547}, {9, 553, 554, 588},
};
constexpr int32_t kDisplayTop = 65;
constexpr int32_t kDisplayBottom = 77;
constexpr int32_t kButtonLeft = 447;
constexpr int32_t kButtonTops[4] = {16, 31, 46, 61}; // SerialMod, parallel, Neg.Delay, SlowMod

const PixelSurface& background() {
    return panelBitmap("corallis", "107_background.bmp");
}
const PixelSurface& strip() {
    return panelBitmap("corallis", "104_knob_strip.bmp");
}
const PixelSurface& buttonArt() {
    return panelBitmap("corallis", "109_button.bmp");
}

int32_t frameFor(float value) {
    return stripFrameFor(value, kFrames, kKnobSize);
}

bool inDisplay(int32_t x, int32_t y) {
    if (y < kDisplayTop || y >= kDisplayBottom) return false;
    for (const Place& p : kPlaces)
        if (x >= p.displayLeft && x < p.displayRight) return true;
    return false;
}

// Pixels outside the displays that differ between the window and the panel with each knob's
// frame and each button's half drawn over it (the displays draw text of their own).
int32_t differingPixels(const PixelSurface& screen, const float (&values)[14]) {
    PixelSurface picture = background();
    for (const Place& p : kPlaces)
        copyBlock(picture, p.left, kKnobTop, strip(), frameFor(values[p.parameter]) * kKnobSize,
                  kKnobSize, kKnobSize);
    const float lit[4] = {values[10], 1.0f - values[10], values[11], values[13]};
    for (int32_t row = 0; row < 4; ++row)
        copyBlock(picture, kButtonLeft, kButtonTops[row], buttonArt(),
                  static_cast<int32_t>(lit[row]) != 0 ? 6 : 0, 12, 6);
    int32_t differing = 0;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x)
            if (!inDisplay(x, y) && screen.row(y)[x] != picture.row(y)[x]) ++differing;
    return differing;
}

bool knobShowsFrame(const PixelSurface& screen, int32_t order, int32_t frame) {
    return showsBlock(screen, kPlaces[order].left, kKnobTop, strip(), frame * kKnobSize, kKnobSize,
                      kKnobSize);
}

bool buttonLit(const PixelSurface& screen, int32_t row) {
    return showsBlock(screen, kButtonLeft, kButtonTops[row], buttonArt(), 6, 12, 6);
}

// Every presented area lies inside the union of the given rectangles (right, bottom included).
bool presentedOnlyInside(const std::vector<platform::Area>& areas,
                         const std::vector<platform::Area>& allowed) {
    for (const platform::Area& a : areas) {
        bool inside = false;
        for (const platform::Area& b : allowed)
            inside = inside || (a.left >= b.left && a.top >= b.top && a.right <= b.right + 1 &&
                                a.bottom <= b.bottom + 1);
        if (!inside) return false;
    }
    return true;
}

class CorallisEditorLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(corallis.ready());
        host->dispatch(effSetEditKnobMode, 0, 2); // linear: 40 pixels up is +0.2
    }

    intptr_t open() { return corallis.open(); }
    void idle() { corallis.idle(); }
    // Opens and lets the first full paint and the controls' own first draw happen.
    void openAndSettle() {
        ASSERT_EQ(open(), 1);
        idle();
        idle();
        window()->clearPresented();
        host->clearEvents();
    }
    HeadlessWindow* window() const { return corallis.window(); }
    int32_t differingFromCurrentValues() {
        float now[14];
        for (int32_t i = 0; i < 14; ++i)
            now[i] = host->getParameter(i);
        return differingPixels(window()->screen(), now);
    }

    HeadlessLibrary corallis{HEADLESS_CORALLIS};
    std::unique_ptr<PluginHost>& host = corallis.host;
    HeadlessPlatform*& platform = corallis.platform;
};

TEST_F(CorallisEditorLibrary, ThePanelAtTheDefaults) {
    ASSERT_EQ(open(), 1);
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->getWidth(), kWidth);
    EXPECT_EQ(window()->getHeight(), kHeight);
    idle();
    EXPECT_EQ(differingFromCurrentValues(), 0);
    // The defaults are serial mode: row 0 lit, row 1 dark.
    EXPECT_TRUE(buttonLit(window()->screen(), 0));
    EXPECT_FALSE(buttonLit(window()->screen(), 1));
    // Every display is filled with its own colour where its text leaves room.
    const uint32_t fill = window()->screen().row(kDisplayTop + 2)[kPlaces[0].displayLeft + 2];
    EXPECT_EQ(fill, 0x095c51u & 0xffffffu) << std::hex << fill;
}

TEST_F(CorallisEditorLibrary, KnobFramesAtTheTopOfTheRange) {
    host->setParameter(0, 1.0f);
    host->setParameter(9, 0.999f);
    openAndSettle();
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 0, 42));
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 10, 41));
    EXPECT_FALSE(knobShowsFrame(window()->screen(), 10, 42));
}

TEST_F(CorallisEditorLibrary, HostChangeRedrawsOnlyTheKnobAndItsDisplayAtTheNextIdle) {
    openAndSettle();
    idle(); // nothing changed: nothing presented
    EXPECT_TRUE(window()->presentedAreas().empty());

    host->setParameter(3, 1.0f);                             // FeedBack1, the second knob
    EXPECT_FALSE(knobShowsFrame(window()->screen(), 1, 42)); // not yet
    idle();
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 1, 42));
    EXPECT_FALSE(window()->presentedAreas().empty());
    EXPECT_TRUE(presentedOnlyInside(window()->presentedAreas(),
                                    {{77, kKnobTop, 77 + kKnobSize, kKnobTop + kKnobSize},
                                     {71, kDisplayTop, 105, kDisplayBottom}}));
    EXPECT_EQ(differingFromCurrentValues(), 0);
}

TEST_F(CorallisEditorLibrary, ProgramChangeMovesKnobsAndButtons) {
    openAndSettle();
    for (int32_t i = 0; i < 14; ++i)
        host->setParameter(i, 1.0f);
    idle();
    EXPECT_EQ(differingFromCurrentValues(), 0);
    EXPECT_TRUE(buttonLit(window()->screen(), 0));
    EXPECT_TRUE(buttonLit(window()->screen(), 2));
    EXPECT_TRUE(buttonLit(window()->screen(), 3));
    host->dispatch(effSetProgram, 0, 0);
    idle();
    EXPECT_EQ(differingFromCurrentValues(), 0);
}

TEST_F(CorallisEditorLibrary, KnobDragIsOneAutomationGesture) {
    openAndSettle();
    const float start = host->getParameter(1);
    platform->drag(*window(), 136, 47, 136, 7, 8); // Depth1 up by 40 pixels
    idle();
    const auto& events = host->events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().kind, HostEvent::BeginEdit);
    EXPECT_EQ(events.back().kind, HostEvent::EndEdit);
    for (const HostEvent& e : events)
        EXPECT_EQ(e.index, 1);
    EXPECT_NEAR(host->getParameter(1), start + 0.2f, 1e-5f);
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 2, frameFor(host->getParameter(1))));
}

TEST_F(CorallisEditorLibrary, SerialModeRowsStayOpposite) {
    openAndSettle();
    ASSERT_EQ(host->getParameter(10), 1.0f);
    platform->click(*window(), kButtonLeft + 5, kButtonTops[1] + 3); // parallel
    idle();
    EXPECT_EQ(host->getParameter(10), 0.0f);
    ASSERT_FALSE(host->events().empty());
    EXPECT_EQ(host->events().back().kind, HostEvent::Automate);
    EXPECT_EQ(host->events().back().index, 10);
    EXPECT_EQ(host->events().back().value, 0.0f);
    EXPECT_FALSE(buttonLit(window()->screen(), 0));
    EXPECT_TRUE(buttonLit(window()->screen(), 1));

    host->setParameter(10, 1.0f); // the host sets serial mode again
    idle();
    EXPECT_TRUE(buttonLit(window()->screen(), 0));
    EXPECT_FALSE(buttonLit(window()->screen(), 1));
    platform->click(*window(), kButtonLeft + 5, kButtonTops[0] + 3); // serial off
    idle();
    EXPECT_EQ(host->getParameter(10), 0.0f);
    EXPECT_TRUE(buttonLit(window()->screen(), 1));
}

TEST_F(CorallisEditorLibrary, ArrowKeysStepTheClickedKnob) {
    openAndSettle();
    EXPECT_EQ(host->dispatch(effEditKeyDown, 0, 12), 0); // no knob has the keyboard yet
    platform->click(*window(), 570, 47);                 // Wet Mix takes the keyboard
    idle();
    const float start = host->getParameter(9);
    host->clearEvents();
    EXPECT_EQ(host->dispatch(effEditKeyDown, 0, 12), 1); // up
    const float up = host->getParameter(9);
    EXPECT_GT(up, start);
    EXPECT_EQ(host->dispatch(effEditKeyDown, 0, 11, nullptr, 1.0f), 1); // shift + left
    const float back = host->getParameter(9);
    EXPECT_LT(back, up);
    EXPECT_NEAR(up - back, (up - start) * 0.1f, 1e-5f);
    ASSERT_FALSE(host->events().empty());
    EXPECT_EQ(host->events().back().index, 9);
    idle();
    EXPECT_TRUE(knobShowsFrame(window()->screen(), 10, frameFor(back)));
    EXPECT_EQ(host->dispatch(effEditKeyUp, 0, 12), 0); // a knob takes no key releases
}

// ---- the editor's own rules, in this process ----

intptr_t quietHost(AEffect*, int32_t, int32_t, intptr_t, void*, float) {
    return 0;
}

class CorallisEditorRules : public ::testing::Test {
  protected:
    void SetUp() override {
        effect = std::make_unique<CorallisEffect>(&quietHost, &createCorallisEditor);
    }
    CorallisEditor& editor() { return *static_cast<CorallisEditor*>(effect->getEditor()); }
    std::string text(int32_t parameter) {
        TextBuffer out;
        editor().display(parameter)->convertValue(out);
        return out.c_str();
    }
    std::string effectText(int32_t parameter) {
        char value[64] = {}, label[64] = {};
        effect->getParamDisplay(parameter, value);
        effect->getParamLabel(parameter, label);
        return std::string(value) + label;
    }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope{platform};
    std::unique_ptr<CorallisEffect> effect;
};

TEST_F(CorallisEditorRules, DisplaysShowTheEffectsTextAndLabel) {
    ASSERT_FALSE(effect->failed);
    ASSERT_EQ(editor().open(fakeParent()), 1);
    EXPECT_EQ(text(0), effectText(0));
    EXPECT_NE(text(0).find("12.50 ms"), std::string::npos) << text(0);
    EXPECT_EQ(text(2), effectText(2));
    EXPECT_NE(text(2).find("20"), std::string::npos);
    EXPECT_EQ(text(2).back(), ' ');
    EXPECT_NE(text(3).find("-69"), std::string::npos);
    EXPECT_EQ(text(3).substr(text(3).size() - 2), " %");
    // Neg.Delay has no display; its button is lit while the effect's text reads "off".
    EXPECT_EQ(editor().display(11), nullptr);
    effect->setParameter(11, 1.0f);
    EXPECT_EQ(editor().control(11)->getValue(), 1.0f);
    char negDelay[64] = {};
    effect->getParamDisplay(11, negDelay);
    EXPECT_NE(std::string(negDelay).find("off"), std::string::npos) << negDelay;
    editor().close();
}

TEST_F(CorallisEditorRules, IndicesOutsideTheTablesChangeNothing) {
    ASSERT_EQ(editor().open(fakeParent()), 1);
    Control* parallel = editor().control(CorallisEditor::kInvertedSerialEntry);
    ASSERT_NE(parallel, nullptr);
    const float lit = parallel->getValue();
    effect->setParameter(14, 1.0f - lit); // forwarded to the editor, which ignores it
    editor().setParameter(14, 1.0f - lit);
    editor().setParameter(-1, 1.0f);
    editor().setParameter(1000, 1.0f);
    EXPECT_EQ(parallel->getValue(), lit);
    EXPECT_EQ(editor().control(15), nullptr);
    EXPECT_EQ(editor().display(14), nullptr);
    editor().close();
    editor().setParameter(0, 1.0f); // closed: dropped
    EXPECT_EQ(editor().control(0), nullptr);
}

TEST_F(CorallisEditorRules, SlowModeRedrawsBothSpeedDisplaysAlone) {
    ASSERT_EQ(editor().open(fakeParent()), 1);
    editor().idle();
    editor().idle();
    ASSERT_FALSE(editor().display(2)->isDirty());
    const float speed = editor().display(2)->getValue();
    effect->setParameter(13, 0.0f);
    EXPECT_TRUE(editor().display(2)->isDirty());
    EXPECT_TRUE(editor().display(6)->isDirty());
    EXPECT_FALSE(editor().display(0)->isDirty());
    EXPECT_EQ(editor().display(2)->getValue(), speed);
    editor().idle();
    EXPECT_FALSE(editor().display(2)->isDirty());
    EXPECT_FALSE(editor().display(6)->isDirty());
    editor().close();
}

} // namespace
