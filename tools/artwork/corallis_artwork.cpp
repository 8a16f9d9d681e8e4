// Corallis's editor artwork: the 600 x 100 panel (resource 107), the knob strip of 43 frames
// of 36 x 36 pixels (104) and the mode lamp, two states of 12 x 6 (109). Eleven knobs with
// their display windows from 65 to 77 at each knob's own offset and width, and four lamps
// stacked at x 447 (serial, parallel, negative delay, slow). Displays draw right-aligned
// green text on (9, 92, 81).
#include "tools/artwork/products.h"

#include <cmath>

namespace artwork {

namespace {

constexpr int panelWidth = 600, panelHeight = 100;
constexpr int knobSize = 36, knobFrames = 43;
constexpr int buttonWidth = 12, buttonStateHeight = 6;
const Rgb displayBack = {9 / 255.0f, 92 / 255.0f, 81 / 255.0f};
const Rgb displayText = {0.0f, 1.0f, 0.0f};

const PanelTheme theme{
    hex(0x2C3036), hex(0x1B1D22), // chassis, a cool grey
    hex(0x16181C), hex(0x1A1C20), // plates
    hex(0xFF7A5C),                // accent: coral
    hex(0xC8C9CE),                // labels
    hex(0xE8775F),                // captions
};

struct Knob {
    const char* name;
    float left, offset, width;
    float defaultValue;
    const char* defaultText;
    const char* fullText;
    Box box() const { return {left, 29, left + knobSize, 29 + knobSize}; }
    Box display() const { return {left + offset, 65, left + offset + width, 77}; }
};

// In editor order: the left voices, the right voices, the random depth, the mix.
const Knob knobs[11] = {
    {"Delay1", 36, -16, 44, 0.25f, "12.50 ms", "50.00 ms"},
    {"FeedBack1", 77, -6, 34, 0.15f, "-69 %", "100 %"},
    {"Depth1", 118, -9, 44, 0.75f, "37.50 ms", "50.00 ms"},
    {"Speed1", 159, -1, 41, 0.2f, "20 ", "100 "},
    {"Delay2", 229, -16, 44, 0.15f, "7.50 ms", "50.00 ms"},
    {"FeedBack2", 270, -6, 34, 0.25f, "-50 %", "100 %"},
    {"Depth2", 311, -9, 44, 0.55f, "27.50 ms", "50.00 ms"},
    {"Speed2", 352, -1, 41, 0.3f, "30 ", "100 "},
    {"Rand. Amt", 399, 1, 34, 0.0f, "0 %", "100 %"},
    {"Dry Mix", 512, 1, 34, 0.5f, "50 %", "100 %"},
    {"Wet Mix", 553, 1, 34, 0.5f, "50 %", "100 %"},
};

struct Lamp {
    const char* name;
    float top;
    bool litAtDefaults, litAtFull;
    Box box() const { return {447, top, 447 + buttonWidth, top + buttonStateHeight}; }
};
// The second row is SerialMod shown the other way round: lit in parallel mode.
const Lamp lamps[4] = {{"SerialMod", 16, true, true},
                       {"Parallel", 31, false, false},
                       {"Neg.Delay", 46, false, true},
                       {"SlowMod", 61, true, true}};

// The product mark: twelve voices as a ring of dots around a core, warming towards coral.
void paintVoiceRing(Image& image, float cx, float cy) {
    fill(image, {cx - 3, cy - 3, cx + 3, cy + 3}, circle(cx, cy, 1.8f), solid(hex(0xFFD2C4)));
    for (int i = 0; i < 12; ++i) {
        float dx, dy;
        direction(float(i) * 30.0f, dx, dy);
        const float x = cx + dx * 6.2f, y = cy + dy * 6.2f;
        const float radius = 0.9f + 0.07f * float(i);
        fill(image, {x - 3, y - 3, x + 3, y + 3}, circle(x, y, radius),
             solid(mix(hex(0xFFD2C4), theme.accent, float(i) / 11.0f)));
    }
}

Image paintPanel(Fonts& fonts) {
    Image panel(panelWidth, panelHeight);
    paintChassis(panel, theme);

    paintVoiceRing(panel, 17.5f, 9.0f);
    paintTitle(panel, fonts.bold, "Corallis", 31.0f, 14.0f, 14.0f);
    fonts.bold.setPixelSize(7.5f);
    const std::string kind = "12-VOICE STEREO ENSEMBLE";
    const float kindWidth = fonts.bold.measure(kind, 1.6f);
    fonts.bold.draw(panel, kind, std::round(432.0f - kindWidth), 12.0f, hex(0x8C9199), 1.0f, 1.6f);
    paintRule(panel, 8, 434, 17.5f);

    const float plateTop = 20.0f, plateBottom = 95.0f;
    paintPlate(panel, {12, plateTop, 206, plateBottom}, theme);
    paintPlate(panel, {209, plateTop, 439, plateBottom}, theme);
    paintPlate(panel, {442, 8, 508, plateBottom}, theme);
    paintPlate(panel, {511, plateTop, 592, plateBottom}, theme);
    paintDivider(panel, 395.0f, plateTop + 5, plateBottom - 5);

    fonts.bold.setPixelSize(7);
    paintCaption(panel, fonts.bold, "LEFT", 20, 199, 26.5f, theme);
    paintCaption(panel, fonts.bold, "RIGHT", 213, 392, 26.5f, theme);
    paintCaption(panel, fonts.bold, "RANDOM", 399, 435, 26.5f, theme);
    paintCaption(panel, fonts.bold, "MIX", 513, 588, 26.5f, theme);

    for (const Knob& knob : knobs)
        paintDisplayWindow(panel, {knob.display()}, displayBack);
    for (const Knob& knob : knobs)
        paintLabel(panel, fonts.bold, knob.name, knob.left + knobSize * 0.5f, 87.5f, 8.0f, 40.0f,
                   theme.label);

    for (const Lamp& lamp : lamps) {
        paintButtonSocket(panel, lamp.box());
        fitPixelSize(fonts.bold, lamp.name, 7.5f, 42.0f);
        fonts.bold.draw(panel, lamp.name, 463.0f, lamp.top + 6.0f, theme.label, 1.0f, 0.1f);
    }
    fonts.bold.setPixelSize(7);
    paintCaption(panel, fonts.bold, "MODE", 447, 503, 81.5f, theme);
    return panel;
}

} // namespace

bool generateCorallis(const ArtworkOptions& options, std::string& error) {
    Fonts fonts;
    if (!fonts.open(options.fontDir, error)) return false;

    Image panel = paintPanel(fonts);
    std::vector<Box> knobBoxes, lampBoxes;
    for (const Knob& knob : knobs)
        knobBoxes.push_back(knob.box());
    for (const Lamp& lamp : lamps)
        lampBoxes.push_back(lamp.box());
    if (!checkSameBackground(panel, knobBoxes, error) ||
        !checkSameBackground(panel, lampBoxes, error))
        return false;

    const Image strip = knobStrip(panel.crop(int(knobs[0].left), 29, knobSize, knobSize),
                                  largeKnob(theme.accent), knobFrames);
    const Image button =
        lampButton(panel.crop(447, int(lamps[0].top), buttonWidth, buttonStateHeight), theme.accent,
                   buttonWidth, buttonStateHeight);

    std::vector<IndexedImage> indexed;
    if (!writeArtwork(options,
                      {{"107_background.bmp", &panel},
                       {"104_knob_strip.bmp", &strip},
                       {"109_button.bmp", &button}},
                      indexed, error))
        return false;

    for (const bool full : {false, true}) {
        std::vector<PreviewOverlay> overlays;
        std::vector<PreviewText> texts;
        for (const Knob& knob : knobs) {
            overlays.push_back(
                {knob.box(), 1, frameFor(full ? 1.0f : knob.defaultValue, knobFrames) * knobSize});
            texts.push_back(
                {knob.display(), full ? knob.fullText : knob.defaultText, displayText, 2});
        }
        for (const Lamp& lamp : lamps)
            overlays.push_back(
                {lamp.box(), 2,
                 (full ? lamp.litAtFull : lamp.litAtDefaults) ? buttonStateHeight : 0});
        if (!writePreview(options, full ? "corallis_full" : "corallis_panel", indexed, overlays,
                          texts, fonts.regular, error))
            return false;
    }
    return true;
}

} // namespace artwork
