// The tloom editor through its library's record, on the headless platform: the size before
// opening, the whole panel at the defaults, host and program changes moving knobs, displays and
// shape buttons at the next idle, the shape buttons' one-lit-per-side rule, tags outside the
// tables, the information picture and its links, and repeated open/close cycles.
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/platform/pixel_surface.h"
#include "gui/text_buffer.h"
#include "plugins/tloom/tloom_editor.h"
#include "tests/support/headless_editor.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kWidth = 501;
constexpr int32_t kHeight = 201;
constexpr int32_t kKnobWidth = 32;
constexpr int32_t kKnobHeight = 30;
constexpr int32_t kParams = 15;

struct Knob {
    int32_t tag, left, top;
};
constexpr Knob kKnobs[13] = {{8, 67, 34},   {0, 122, 34},  {1, 177, 34},   {2, 232, 34},
                             {10, 324, 34}, {11, 379, 34}, {9, 67, 118},   {3, 122, 118},
                             {4, 177, 118}, {5, 232, 118}, {12, 324, 118}, {13, 379, 118},
                             {14, 434, 118}};
constexpr int32_t kButtonLeft = 37;
constexpr int32_t kButtonTops[2] = {38, 122};
const std::string kMakerPage = "https://www.lumenforge.example/";
const std::string kProductPage = "https://www.lumenforge.example/tessera-loom/";

const PixelSurface& background() {
    return panelBitmap("tloom", "110_background.bmp");
}
const PixelSurface& strip() {
    return panelBitmap("tloom", "112_knob_strip.bmp");
}
const PixelSurface& button() {
    return panelBitmap("tloom", "113_button.bmp");
}
const PixelSurface& info() {
    return panelBitmap("tloom", "114_info.bmp");
}

int32_t frameFor(float value) {
    return stripFrameFor(value, 128, kKnobHeight);
}

bool knobShowsFrame(const PixelSurface& screen, const Knob& knob, int32_t frame) {
    return showsBlock(screen, knob.left, knob.top, strip(), frame * kKnobHeight, kKnobWidth,
                      kKnobHeight);
}

// Whether shape button k of a side (0 left, 1 right) shows its lit half.
bool buttonLit(const PixelSurface& screen, int32_t side, int32_t k) {
    const int32_t top = kButtonTops[side] + 13 * k;
    if (showsBlock(screen, kButtonLeft, top, button(), 5, 10, 5)) return true;
    EXPECT_TRUE(showsBlock(screen, kButtonLeft, top, button(), 0, 10, 5)) << side << " " << k;
    return false;
}

int32_t litButtons(const PixelSurface& screen, int32_t side) {
    int32_t mask = 0;
    for (int32_t k = 0; k < 5; ++k)
        if (buttonLit(screen, side, k)) mask |= 1 << k;
    return mask;
}

// A display's box (its right and bottom edges drawn too) under a knob.
bool inDisplay(const Knob& knob, int32_t x, int32_t y) {
    const int32_t left = knob.left + 1, top = knob.top + kKnobHeight + 10;
    return x >= left && x <= left + 28 && y >= top && y <= top + 12;
}

class TloomEditor : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tloom.ready()); }

    intptr_t open() { return tloom.open(); }
    void idle() { tloom.idle(); }
    const PixelSurface& screen() const { return platform->lastWindow()->screen(); }
    std::string displayText(int32_t index) { return tloom.displayText(index); }
    // Every knob at its parameter's frame, both shape rows lit from the parameters, and the
    // panel everywhere outside the knobs, buttons and displays.
    void expectShowsCurrentValues() {
        PixelSurface expected = background();
        for (const Knob& knob : kKnobs) {
            copyBlock(expected, knob.left, knob.top, strip(),
                      frameFor(host->getParameter(knob.tag)) * kKnobHeight, kKnobWidth,
                      kKnobHeight);
        }
        for (int32_t side = 0; side < 2; ++side) {
            const int32_t shape =
                std::min(4, static_cast<int32_t>(host->getParameter(6 + side) * 10.0f));
            for (int32_t k = 0; k < 5; ++k)
                copyBlock(expected, kButtonLeft, kButtonTops[side] + 13 * k, button(),
                          k == shape ? 5 : 0, 10, 5);
        }
        int32_t wrong = 0;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                bool display = false;
                for (const Knob& knob : kKnobs)
                    display = display || inDisplay(knob, x, y);
                if (!display && screen().row(y)[x] != expected.row(y)[x]) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }

    HeadlessLibrary tloom{HEADLESS_TLOOM};
    std::unique_ptr<PluginHost>& host = tloom.host;
    HeadlessPlatform*& platform = tloom.platform;
};

TEST_F(TloomEditor, DefaultsShowThePanelWithTheirFramesAndDisplays) {
    ASSERT_EQ(open(), 1);
    ASSERT_NE(platform->lastWindow(), nullptr);
    EXPECT_EQ(platform->lastWindow()->getWidth(), kWidth);
    EXPECT_EQ(platform->lastWindow()->getHeight(), kHeight);
    idle();
    expectShowsCurrentValues();
    EXPECT_EQ(litButtons(screen(), 0), 1);
    EXPECT_EQ(litButtons(screen(), 1), 1);
    // The displays: the frame colour round the box, the fill colour inside it.
    for (const Knob& knob : kKnobs) {
        const int32_t left = knob.left + 1, top = knob.top + kKnobHeight + 10;
        EXPECT_EQ(screen().row(top)[left], 0x000000u) << knob.tag;
        EXPECT_EQ(screen().row(top + 1)[left + 1], 0xF55D24u) << knob.tag;
    }
}

TEST_F(TloomEditor, HostAndProgramChangesMoveEverythingAtTheNextIdle) {
    ASSERT_EQ(open(), 1);
    idle();
    idle();
    platform->lastWindow()->clearPresented();
    idle(); // nothing changed: nothing presented
    EXPECT_TRUE(platform->lastWindow()->presentedAreas().empty());

    host->setParameter(10, 1.0f);
    EXPECT_FALSE(knobShowsFrame(screen(), kKnobs[4], 127)); // not yet
    idle();
    EXPECT_TRUE(knobShowsFrame(screen(), kKnobs[4], 127));
    // Only the knob and its display were presented.
    for (const platform::Area& a : platform->lastWindow()->presentedAreas()) {
        EXPECT_GE(a.left, 324);
        EXPECT_LE(a.right, 357);
        EXPECT_GE(a.top, 34);
        EXPECT_LE(a.bottom, 87);
    }

    for (int32_t i = 0; i < kParams; ++i)
        host->setParameter(i, 1.0f);
    idle();
    expectShowsCurrentValues();
    EXPECT_EQ(litButtons(screen(), 0), 1 << 4);
    host->dispatch(effSetProgram, 0, 1);
    idle();
    EXPECT_NE(host->getParameter(6), 1.0f);
    expectShowsCurrentValues();
}

TEST_F(TloomEditor, ChangeWhileClosedShowsAtTheNextOpen) {
    ASSERT_EQ(open(), 1);
    host->dispatch(effEditClose);
    host->setParameter(0, 1.0f);
    host->setParameter(7, 0.34f);
    idle();
    ASSERT_EQ(open(), 1);
    idle();
    EXPECT_TRUE(knobShowsFrame(screen(), kKnobs[1], 127));
    EXPECT_EQ(litButtons(screen(), 1), 1 << 3);
}

TEST_F(TloomEditor, ShapeButtonsLightExactlyOnePerSide) {
    ASSERT_EQ(open(), 1);
    idle();
    host->clearEvents();
    platform->click(*platform->lastWindow(), kButtonLeft + 4, kButtonTops[0] + 26 + 2);
    idle();
    EXPECT_FLOAT_EQ(host->getParameter(6), 0.24f);
    EXPECT_EQ(litButtons(screen(), 0), 1 << 2);
    EXPECT_EQ(litButtons(screen(), 1), 1); // the other side is untouched
    ASSERT_FALSE(host->events().empty());
    EXPECT_EQ(host->events().back().index, 6);

    // The lit one again: shape 0, and the first button lights.
    platform->click(*platform->lastWindow(), kButtonLeft + 4, kButtonTops[0] + 26 + 2);
    idle();
    EXPECT_EQ(host->getParameter(6), 0.0f);
    EXPECT_EQ(litButtons(screen(), 0), 1);

    platform->click(*platform->lastWindow(), kButtonLeft + 4, kButtonTops[1] + 52 + 2);
    idle();
    EXPECT_FLOAT_EQ(host->getParameter(7), 0.44f);
    EXPECT_EQ(litButtons(screen(), 1), 1 << 4);
    EXPECT_EQ(litButtons(screen(), 0), 1);
}

TEST_F(TloomEditor, IndicesOutsideTheTablesAreIgnored) {
    ASSERT_EQ(open(), 1);
    idle();
    const std::vector<uint32_t> before = screen().pixels;
    for (int32_t index : {-1, 15, 25, 26, 1000, -100000})
        host->setParameter(index, 1.0f);
    idle();
    EXPECT_EQ(screen().pixels, before);
}

// Creates a stand-in xdg-open on PATH that writes its argument into a file, for as long as the
// object lives.
struct StandInOpener {
    std::filesystem::path dir;
    std::string savedPath;
    StandInOpener() {
        dir = std::filesystem::temp_directory_path() / ("tloom-opener-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::ofstream script(dir / "xdg-open");
        script << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << (dir / "opened").string()
               << ".part\" && mv \"" << (dir / "opened").string() << ".part\" \""
               << (dir / "opened").string() << "\"\n";
        script.close();
        std::filesystem::permissions(dir / "xdg-open", std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
        setenv("PATH", (dir.string() + ":" + savedPath).c_str(), 1);
    }
    ~StandInOpener() {
        setenv("PATH", savedPath.c_str(), 1);
        std::filesystem::remove_all(dir);
    }
    // The argument the stand-in received, waiting up to five seconds; empty when none came.
    std::string opened() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream file(dir / "opened");
            if (file) {
                std::stringstream text;
                text << file.rdbuf();
                return text.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "";
    }
};

TEST_F(TloomEditor, InformationPictureShowsHidesAndOpensItsLinks) {
    StandInOpener opener;
    ASSERT_EQ(open(), 1);
    idle();
    HeadlessWindow& window = *platform->lastWindow();
    const std::vector<uint32_t> panel = screen().pixels;

    platform->click(window, 449, 50); // the hot area
    idle();
    EXPECT_TRUE(showsBlock(screen(), 125, 68, info(), 0, 251, 64));
    // Modal while shown: a knob outside the picture does not move.
    const float speedAdjust = host->getParameter(8);
    platform->drag(window, 83, 49, 83, 0, 5);
    idle();
    EXPECT_EQ(host->getParameter(8), speedAdjust);
    EXPECT_TRUE(showsBlock(screen(), 125, 68, info(), 0, 251, 64));

    // A click inside, on no link: hidden, nothing opened.
    platform->click(window, 125 + 200, 68 + 50);
    idle();
    EXPECT_EQ(screen().pixels, panel);

    // The maker's link, at its top-left corner (in) and its right edge (out, the product's line
    // starts a row lower).
    platform->click(window, 449, 50);
    idle();
    platform->click(window, 125 + 7, 68 + 17);
    idle();
    EXPECT_EQ(screen().pixels, panel);
    EXPECT_EQ(opener.opened(), kMakerPage);
    std::filesystem::remove(opener.dir / "opened");

    platform->click(window, 449, 50);
    idle();
    platform->click(window, 125 + 109, 68 + 35);
    idle();
    EXPECT_EQ(opener.opened(), kProductPage);
}

TEST_F(TloomEditor, MissingOpenerIsHarmless) {
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", "/nonexistent", 1);
    ASSERT_EQ(open(), 1);
    idle();
    platform->click(*platform->lastWindow(), 449, 50);
    idle();
    platform->click(*platform->lastWindow(), 125 + 10, 68 + 20);
    idle();
    setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(open(), 1); // still open and answering
}

} // namespace
