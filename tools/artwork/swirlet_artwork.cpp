// Swirlet's editor artwork: the 432 x 89 panel (resource 110) and the knob strip of 128
// frames of 32 x 30 pixels (resource 112). The seven knobs sit at 27, 36 and every 51 pixels
// to the right, with 4 extra pixels after the third knob and 19 after the sixth, so the panel
// groups them as left channel, right channel and the cross-feed.
#include "tools/artwork/bmp_file.h"
#include "tools/artwork/products.h"

#include <cmath>

namespace artwork {

namespace {

constexpr int panelWidth = 432, panelHeight = 89;
constexpr int knobWidth = 32, knobHeight = 30, knobFrames = 128;
constexpr const char* knobNames[7] = {"Depth L", "Rate L",     "Feedback L", "Depth R",
                                      "Rate R",  "Feedback R", "Cross"};
constexpr float defaults[7] = {0.5f, 0.5f, 0.25f, 0.5f, 0.5f, 0.25f, 0.5f};

std::vector<Box> knobLayout() {
    std::vector<Box> boxes;
    float left = 27.0f;
    for (int i = 0; i < 7; ++i) {
        boxes.push_back({left, 36.0f, left + knobWidth, 36.0f + knobHeight});
        left += 51.0f;
        if (i == 2) left += 4.0f;
        if (i == 5) left += 19.0f;
    }
    return boxes;
}

const PanelTheme theme{
    hex(0x30343B), hex(0x1F2227), // chassis
    hex(0x17191D), hex(0x1B1E22), // plates
    hex(0x3CD3C3),                // accent
    hex(0xC3C8CF),                // labels
    hex(0x48B3A8),                // captions
};

// The product mark: a spiral drawn as a chain of short strokes that thicken outwards.
void paintSwirl(Image& image, float cx, float cy) {
    const int steps = 90;
    float px = cx, py = cy;
    for (int i = 1; i <= steps; ++i) {
        const float t = float(i) / float(steps);
        const float radius = 0.8f + 6.2f * t;
        const float angle = t * 560.0f + 40.0f;
        float dx, dy;
        direction(angle, dx, dy);
        const float x = cx + dx * radius, y = cy + dy * radius;
        fill(image,
             {std::min(px, x) - 2, std::min(py, y) - 2, std::max(px, x) + 2, std::max(py, y) + 2},
             segment(px, py, x, y, 0.9f + 1.1f * t), solid(mix(hex(0x9FF3EA), theme.accent, t)));
        px = x;
        py = y;
    }
}

Image paintPanel(Fonts& fonts, const std::vector<Box>& knobs) {
    Image panel(panelWidth, panelHeight);
    paintChassis(panel, theme);

    // Header: product mark and name on the left, what it is on the right, an engraved rule
    // below.
    paintSwirl(panel, 19.5f, 12.0f);
    fonts.bold.setPixelSize(17);
    fonts.bold.draw(panel, "Swirlet", 31.0f, 18.0f, hex(0x000000), 0.5f, 0.2f);
    fonts.bold.draw(panel, "Swirlet", 31.0f, 17.0f, hex(0xEEF3F4), 1.0f, 0.2f);
    fonts.bold.setPixelSize(8);
    const std::string kind = "STEREO PHASER";
    const float kindWidth = fonts.bold.measure(kind, 1.6f);
    fonts.bold.draw(panel, kind, std::round(404.0f - kindWidth), 15.0f, hex(0x8C939C), 1.0f, 1.6f);
    fill(panel, {6, 22, float(panelWidth) - 6, 25},
         segment(8, 23.5f, float(panelWidth) - 8, 23.5f, 1.0f), solid(hex(0x0B0C0E)), 0.75f);
    fill(panel, {6, 23, float(panelWidth) - 6, 26},
         segment(8, 24.5f, float(panelWidth) - 8, 24.5f, 1.0f), solid(hex(0x4A5058)), 0.35f);

    // Plates: one for both channels with a divider between them, one for the cross-feed.
    const float plateTop = 28.0f, plateBottom = 85.0f;
    paintPlate(panel, {12, plateTop, 334, plateBottom}, theme);
    paintPlate(panel, {340, plateTop, 404, plateBottom}, theme);
    paintDivider(panel, 172.0f, plateTop + 5, plateBottom - 5);

    fonts.bold.setPixelSize(7);
    paintCaption(panel, fonts.bold, "LEFT", knobs[0].left, knobs[2].right, 35.0f, theme);
    paintCaption(panel, fonts.bold, "RIGHT", knobs[3].left, knobs[5].right, 35.0f, theme);
    paintCaption(panel, fonts.bold, "MIX", 348.0f, 396.0f, 35.0f, theme);
    // Down the right edge, the build of the effect: six all-pass stages per side.
    fonts.bold.setPixelSize(6.5f);
    paintVerticalText(panel, fonts.bold, "6-STAGE", 412.5f, (plateTop + plateBottom) * 0.5f,
                      hex(0x6A717A), 2.4f);

    fonts.bold.setPixelSize(8.6f);
    for (size_t i = 0; i < knobs.size(); ++i) {
        const float centre = (knobs[i].left + knobs[i].right) * 0.5f;
        fonts.bold.drawCentred(panel, knobNames[i], centre, 78.0f, theme.label, 1.0f, 0.15f);
    }
    return panel;
}

} // namespace

bool generateSwirlet(const ArtworkOptions& options, std::string& error) {
    Fonts fonts;
    if (!fonts.open(options.fontDir, error)) return false;
    const std::vector<Box> knobs = knobLayout();

    Image panel = paintPanel(fonts, knobs);
    if (!checkSameBackground(panel, knobs, error)) return false;

    KnobStyle style;
    style.accent = theme.accent;
    const Image background =
        panel.crop(int(knobs[0].left), int(knobs[0].top), knobWidth, knobHeight);
    const Image strip = knobStrip(background, style, knobFrames);

    std::vector<IndexedImage> indexed;
    if (!writeArtwork(options, {{"110_background.bmp", &panel}, {"112_knob_strip.bmp", &strip}},
                      indexed, error))
        return false;

    // The panel as a host shows it, at the default values and with every value at 1.0.
    for (const bool full : {false, true}) {
        std::vector<PreviewOverlay> overlays;
        for (size_t i = 0; i < knobs.size(); ++i) {
            const int frame = frameFor(full ? 1.0f : defaults[i], knobFrames);
            overlays.push_back({knobs[i], 1, frame * knobHeight});
        }
        if (!writePreview(options, full ? "swirlet_full" : "swirlet_panel", indexed, overlays, {},
                          fonts.regular, error))
            return false;
    }
    return true;
}

} // namespace artwork
