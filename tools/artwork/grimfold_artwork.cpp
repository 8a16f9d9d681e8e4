// Grimfold's editor artwork: the 600 x 100 panel (resource 110), the knob strip of 43 frames
// of 36 x 36 pixels (112) and the Oversample lamp, two states of 12 x 6 (113). The ten knobs
// stand in four groups (the gains, shapers 1 to 4, 5 and 6, 7 and 8) that start at x 25, 136,
// 325 and 436 and step 39 pixels; each display window is 42 x 12 under its knob, from 3
// pixels left of it. Displays draw green text on (9, 92, 81).
#include "tools/artwork/products.h"

#include <cmath>

namespace artwork {

namespace {

constexpr int panelWidth = 600, panelHeight = 100;
constexpr int knobSize = 36, knobFrames = 43;
constexpr int buttonWidth = 12, buttonStateHeight = 6;
constexpr const char* knobNames[10] = {"Pre-Gain", "Post-Gain", "WS1", "WS2", "WS3",
                                       "WS4",      "WS5",       "WS6", "WS7", "WS8"};
constexpr float defaults[11] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f,
                                0.2f, 0.6f, 0.3f,  0.4f,  0.0f};
constexpr const char* defaultTexts[10] = {"0.00dB",  "0.00dB",  "25.00 %", "35.00 %", "45.00 %",
                                          "55.00 %", "20.00 %", "60.00 %", "30.00 %", "40.00 %"};
constexpr const char* fullTexts[10] = {"6.02dB",   "6.02dB",   "100.00 %", "100.00 %", "100.00 %",
                                       "100.00 %", "100.00 %", "100.00 %", "100.00 %", "100.00 %"};
const Rgb displayBack = {9 / 255.0f, 92 / 255.0f, 81 / 255.0f};
const Rgb displayText = {0.0f, 1.0f, 0.0f};
const Box buttonBox{544, 29, 544 + buttonWidth, 29 + buttonStateHeight};

const PanelTheme theme{
    hex(0x2E3230), hex(0x1C1F1E), // chassis, a shade greener than swirlet's
    hex(0x161918), hex(0x1A1D1C), // plates
    hex(0x8EE04A),                // accent: acid green
    hex(0xC5CCC6),                // labels
    hex(0x7DBF4B),                // captions
};

struct Layout {
    std::vector<Box> knobs, displays;
};

Layout layout() {
    Layout result;
    const float groupLefts[4] = {25, 136, 325, 436};
    const int groupSizes[4] = {2, 4, 2, 2};
    for (int group = 0; group < 4; ++group) {
        float left = groupLefts[group];
        for (int i = 0; i < groupSizes[group]; ++i) {
            result.knobs.push_back({left, 29, left + knobSize, 29 + knobSize});
            result.displays.push_back({left - 3, 65, left + 39, 77});
            left += 39;
        }
    }
    return result;
}

// The product mark: one period of a sine folded back on itself at a threshold, drawn as a
// chain of short strokes over a dim copy of the unfolded wave.
void paintFoldedWave(Image& image, float left, float cy, float width, float height) {
    const int steps = 80;
    for (int pass = 0; pass < 2; ++pass) {
        float px = left, py = cy;
        for (int i = 1; i <= steps; ++i) {
            const float t = float(i) / float(steps);
            float v = std::sin(t * 6.2831853f) * 1.6f;
            if (pass == 1) {
                if (v > 1.0f) v = 2.0f - v;
                if (v < -1.0f) v = -2.0f - v;
            }
            const float x = left + t * width, y = cy - v * height * 0.5f;
            fill(image,
                 {std::min(px, x) - 2, std::min(py, y) - 2, std::max(px, x) + 2,
                  std::max(py, y) + 2},
                 segment(px, py, x, y, pass == 0 ? 1.0f : 1.8f),
                 solid(pass == 0 ? hex(0x3E4A3C) : mix(hex(0xD9FFB8), theme.accent, t)));
            px = x;
            py = y;
        }
    }
}

Image paintPanel(Fonts& fonts, const Layout& l) {
    Image panel(panelWidth, panelHeight);
    paintChassis(panel, theme);

    // The mark sits on a small scope-like tile.
    fill(panel, {8, 1, 30, 18}, roundRect(9, 2, 29, 17, 3), solid(hex(0x0E100F)));
    fill(panel, {8, 1, 30, 18}, subtract(roundRect(9, 2, 29, 17, 3), roundRect(10, 3, 28, 16, 2)),
         solid(theme.accent), 0.55f);
    paintFoldedWave(panel, 11.5f, 9.5f, 15.0f, 8.0f);
    paintTitle(panel, fonts.bold, "Grimfold", 32.0f, 14.0f, 14.0f);
    fonts.bold.setPixelSize(7.5f);
    const std::string kind = "STEREO WAVESHAPER";
    const float kindWidth = fonts.bold.measure(kind, 1.6f);
    fonts.bold.draw(panel, kind, std::round(590.0f - kindWidth), 12.0f, hex(0x8C938E), 1.0f, 1.6f);
    paintRule(panel, 8, float(panelWidth) - 8, 17.5f);

    const float plateTop = 20.0f, plateBottom = 95.0f;
    paintPlate(panel, {12, plateTop, 113, plateBottom}, theme);
    paintPlate(panel, {123, plateTop, 302, plateBottom}, theme);
    paintPlate(panel, {312, plateTop, 413, plateBottom}, theme);
    paintPlate(panel, {423, plateTop, 524, plateBottom}, theme);
    paintPlate(panel, {534, plateTop, 592, plateBottom}, theme);

    fonts.bold.setPixelSize(7);
    paintCaption(panel, fonts.bold, "GAIN", 22, 103, 26.5f, theme);
    paintCaption(panel, fonts.bold, "HEAVY", 133, 292, 26.5f, theme);
    paintCaption(panel, fonts.bold, "MEDIUM", 322, 403, 26.5f, theme);
    paintCaption(panel, fonts.bold, "LIGHT", 433, 514, 26.5f, theme);
    paintCaption(panel, fonts.bold, "ALIAS", 539, 587, 26.5f, theme);

    // One window per group: neighbouring displays share their edge columns.
    const int groupEnds[4] = {2, 6, 8, 10};
    int first = 0;
    for (int end : groupEnds) {
        paintDisplayWindow(panel, {l.displays.begin() + first, l.displays.begin() + end},
                           displayBack);
        first = end;
    }

    for (size_t i = 0; i < l.knobs.size(); ++i)
        paintLabel(panel, fonts.bold, knobNames[i], (l.knobs[i].left + l.knobs[i].right) * 0.5f,
                   87.5f, 8.0f, 36.0f, theme.label);

    // Oversample: the lamp, its state words and its name.
    paintButtonSocket(panel, buttonBox);
    fonts.bold.setPixelSize(6.5f);
    fonts.bold.draw(panel, "ON", 561.0f, 35.0f, theme.caption, 1.0f, 0.8f);
    fonts.bold.setPixelSize(15);
    fonts.bold.drawCentred(panel, "8x", 563.0f, 62.0f, hex(0x3A413C), 1.0f, 0.5f);
    fonts.bold.setPixelSize(6.5f);
    fonts.bold.drawCentred(panel, "16-POLE", 563.0f, 74.0f, hex(0x6C736E), 1.0f, 0.9f);
    fonts.bold.setPixelSize(8);
    fonts.bold.drawCentred(panel, "Oversample", 563.0f, 87.5f, theme.label, 1.0f, 0.1f);
    return panel;
}

} // namespace

bool generateGrimfold(const ArtworkOptions& options, std::string& error) {
    Fonts fonts;
    if (!fonts.open(options.fontDir, error)) return false;
    const Layout l = layout();

    Image panel = paintPanel(fonts, l);
    if (!checkSameBackground(panel, l.knobs, error)) return false;

    const Image knobBackground =
        panel.crop(int(l.knobs[0].left), int(l.knobs[0].top), knobSize, knobSize);
    const Image strip = knobStrip(knobBackground, largeKnob(theme.accent), knobFrames);
    const Image button = lampButton(
        panel.crop(int(buttonBox.left), int(buttonBox.top), buttonWidth, buttonStateHeight),
        theme.accent, buttonWidth, buttonStateHeight);

    std::vector<IndexedImage> indexed;
    if (!writeArtwork(options,
                      {{"110_background.bmp", &panel},
                       {"112_knob_strip.bmp", &strip},
                       {"113_button.bmp", &button}},
                      indexed, error))
        return false;

    for (const bool full : {false, true}) {
        std::vector<PreviewOverlay> overlays;
        std::vector<PreviewText> texts;
        for (size_t i = 0; i < l.knobs.size(); ++i) {
            overlays.push_back(
                {l.knobs[i], 1, frameFor(full ? 1.0f : defaults[i], knobFrames) * knobSize});
            texts.push_back({l.displays[i], full ? fullTexts[i] : defaultTexts[i], displayText, 1});
        }
        overlays.push_back({buttonBox, 2, full ? buttonStateHeight : 0});
        if (!writePreview(options, full ? "grimfold_full" : "grimfold_panel", indexed, overlays,
                          texts, fonts.regular, error))
            return false;
    }
    return true;
}

} // namespace artwork
