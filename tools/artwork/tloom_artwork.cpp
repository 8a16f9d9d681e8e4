// Tloom's editor artwork: the 501 x 201 panel (resource 110), the knob strip of 128 frames of
// 32 x 30 pixels (112), the shape lamp, two states of 10 x 5 (113), and the information
// picture of 251 x 64 (114) with its two link lines. The knobs step 55 pixels in four groups
// starting at (67, 34), (67, 118), (324, 34) and (324, 118); each display window is 28 x 12,
// one pixel right of its knob and ten below it. Displays draw black text on (245, 93, 36).
#include "tools/artwork/products.h"

#include <cmath>

namespace artwork {

namespace {

constexpr int panelWidth = 501, panelHeight = 201;
constexpr int knobWidth = 32, knobHeight = 30, knobFrames = 128;
constexpr int buttonWidth = 10, buttonStateHeight = 5;
constexpr int infoWidth = 251, infoHeight = 64;
const Rgb displayBack = {245 / 255.0f, 93 / 255.0f, 36 / 255.0f};
const Box infoHotArea{433, 20, 465, 86};
// Link lines, relative to the picture: the maker's page, then the product's page.
const Box makerLink{7, 17, 143, 26};
const Box productLink{7, 27, 110, 36};

const PanelTheme theme{
    hex(0x33302D), hex(0x211F1D), // chassis, a warm grey
    hex(0x191817), hex(0x1D1B1A), // plates
    hex(0xFF9A3C),                // accent: amber
    hex(0xCFC8C2),                // labels
    hex(0xE08A3E),                // captions
};

struct Knob {
    int tag;
    const char* name;
    float defaultValue;
    const char* defaultText;
    const char* fullText;
    Box box, display;
};

std::vector<Knob> knobLayout() {
    struct Group {
        float left, top;
        std::vector<int> tags;
    };
    const Group groups[4] = {{67, 34, {8, 0, 1, 2}},
                             {67, 118, {9, 3, 4, 5}},
                             {324, 34, {10, 11}},
                             {324, 118, {12, 13, 14}}};
    const char* names[15] = {
        "L Gap Speed", "L Gap Mod", "L Feedback", "R Gap Speed",    "R Gap Mod",
        "R Feedback",  "L Shape",   "R Shape",    "L Speed Adjust", "R Speed Adjust",
        "Cutoff",      "Rez",       "Low",        "Band",           "High"};
    const float defaults[15] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0,   0,
                                1.0f, 1.0f, 0.5f,  0.0f,  1.0f,  0.0f,  0.0f};
    const char* texts[15] = {"50",  "50",  "-50", "35", "45",  "10", "", "",
                             "100", "100", "50",  "0",  "100", "0",  "0"};
    const char* fullTexts[15] = {"100", "100", "99",  "100", "100", "99",  "",   "",
                                 "100", "100", "100", "100", "100", "100", "100"};
    std::vector<Knob> knobs;
    for (const Group& group : groups) {
        float left = group.left;
        for (int tag : group.tags) {
            knobs.push_back({tag,
                             names[tag],
                             defaults[tag],
                             texts[tag],
                             fullTexts[tag],
                             {left, group.top, left + knobWidth, group.top + knobHeight},
                             {left + 1, group.top + 40, left + 29, group.top + 52}});
            left += 55;
        }
    }
    return knobs;
}

std::vector<Box> buttonLayout() {
    std::vector<Box> boxes;
    for (float top0 : {38.0f, 122.0f})
        for (int k = 0; k < 5; ++k)
            boxes.push_back({37, top0 + 13.0f * float(k), 47, top0 + 13.0f * float(k) + 5});
    return boxes;
}

// The product mark: a three by three mosaic of small tiles, one knocked out of line.
void paintMosaic(Image& image, float left, float top, float tile, float gap) {
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            float x = left + float(col) * (tile + gap), y = top + float(row) * (tile + gap);
            if (row == 0 && col == 2) {
                x += 1.0f;
                y -= 1.0f;
            }
            const float t = float(row + col) / 4.0f;
            fill(image, {x - 1, y - 1, x + tile + 2, y + tile + 2},
                 roundRect(x, y, x + tile, y + tile, 1.0f),
                 solid(mix(hex(0xFFD9A8), theme.accent, t)));
        }
    }
}

// The information control's face: a raised tile carrying the mark and the maker's name.
void paintInfoBadge(Image& image, TextRenderer& font) {
    const Box b = infoHotArea;
    fill(image, {b.left - 3, b.top - 2, b.right + 3, b.bottom + 4},
         roundRect(b.left, b.top + 1.5f, b.right, b.bottom + 1.5f, 4), solid(hex(0x000000)), 0.6f,
         1.2f);
    fill(image, b, roundRect(b.left, b.top, b.right, b.bottom, 4),
         verticalGradient(b.top, b.bottom, hex(0x4A4642), hex(0x2C2927)));
    fill(image, b,
         subtract(roundRect(b.left, b.top, b.right, b.bottom, 4),
                  roundRect(b.left + 1, b.top + 1, b.right - 1, b.bottom - 1, 3)),
         solid(hex(0x6A655F)), 0.6f);
    paintMosaic(image, b.left + 8.5f, b.top + 7, 4.0f, 1.5f);
    font.setPixelSize(6.5f);
    paintVerticalText(image, font, "INFO", (b.left + b.right) * 0.5f, b.top + 39, hex(0xB8B0A8),
                      1.8f);
    // A small "i" in a ring at the foot says the tile opens something.
    const float cx = (b.left + b.right) * 0.5f, cy = b.bottom - 8;
    fill(image, {cx - 6, cy - 6, cx + 6, cy + 6},
         subtract(circle(cx, cy, 4.75f), circle(cx, cy, 3.65f)), solid(theme.accent));
    fill(image, {cx - 2, cy - 4, cx + 2, cy + 4}, segment(cx, cy - 0.5f, cx, cy + 2, 1.3f),
         solid(theme.accent));
    fill(image, {cx - 2, cy - 4, cx + 2, cy}, circle(cx, cy - 2.4f, 0.8f), solid(theme.accent));
}

Image paintPanel(Fonts& fonts, const std::vector<Knob>& knobs, const std::vector<Box>& buttons) {
    Image panel(panelWidth, panelHeight);
    paintChassis(panel, theme);

    paintMosaic(panel, 11.0f, 5.0f, 3.5f, 1.2f);
    paintTitle(panel, fonts.bold, "Tessera Loom", 30.0f, 16.0f, 15.0f);
    fonts.bold.setPixelSize(7.5f);
    const std::string kind = "STEREO GAP MODULATOR";
    const float kindWidth = fonts.bold.measure(kind, 1.6f);
    fonts.bold.draw(panel, kind, std::round(489.0f - kindWidth), 14.0f, hex(0x948C85), 1.0f, 1.6f);
    paintRule(panel, 8, 493, 20.5f);

    const float rowTops[2] = {25.0f, 109.0f};
    const float plateHeight = 78.0f;
    for (int row = 0; row < 2; ++row) {
        const float top = rowTops[row], bottom = top + plateHeight;
        paintPlate(panel, {12, top, 280, bottom}, theme);
        paintPlate(panel, {296, top, row == 0 ? 421.0f : 489.0f, bottom}, theme);
        paintDivider(panel, 61.0f, top + 6, bottom - 6);
        fonts.bold.setPixelSize(7);
        paintCaption(panel, fonts.bold, row == 0 ? "LEFT" : "RIGHT", 67, 264, top + 6.5f, theme);
        paintCaption(panel, fonts.bold, row == 0 ? "FILTER" : "MIX", 324,
                     row == 0 ? 411.0f : 466.0f, top + 6.5f, theme);
        paintCaption(panel, fonts.bold, "SHAPE", 17, 57, top + 6.5f, theme);
        fonts.bold.setPixelSize(7.5f);
        paintVerticalText(panel, fonts.bold, row == 0 ? "L Shape" : "R Shape", 27.0f, top + 42.0f,
                          theme.label, 0.6f);
        // The five shapes are the oscillator raised to the powers 1 to 5.
        fonts.bold.setPixelSize(7);
        for (int k = 0; k < 5; ++k) {
            const Box& b = buttons[size_t(row * 5 + k)];
            fonts.bold.draw(panel, std::to_string(k + 1), 51.0f, b.bottom + 0.5f, hex(0x8A837D));
        }
    }
    for (const Box& b : buttons)
        paintButtonSocket(panel, b);

    for (const Knob& knob : knobs)
        paintDisplayWindow(panel, {knob.display}, displayBack);
    for (const Knob& knob : knobs)
        paintLabel(panel, fonts.bold, knob.name, (knob.box.left + knob.box.right) * 0.5f,
                   knob.display.bottom + 10.5f, 8.0f, 50.0f, theme.label);

    paintInfoBadge(panel, fonts.bold);
    fonts.bold.setPixelSize(6.5f);
    paintVerticalText(panel, fonts.bold, "LUMEN FORGE", 481.5f, 60.0f, hex(0x6F6862), 2.0f);
    return panel;
}

// The picture the information control shows: name, the two links and the credits.
Image paintInfo(Fonts& fonts) {
    Image info(infoWidth, infoHeight);
    const float w = float(infoWidth), h = float(infoHeight);
    fill(info, {0, 0, w, h}, roundRect(0, 0, w, h, 0),
         verticalGradient(0, h, hex(0x2E2B28), hex(0x1A1817)));
    addBrushedGrain(info, {0, 0, w, h}, roundRect(0, 0, w, h, 0), 0.02f, 11);
    fill(info, {0, 0, w, h}, subtract(roundRect(0, 0, w, h, 0), roundRect(1, 1, w - 1, h - 1, 0)),
         solid(theme.accent));
    fill(info, {0, 0, w, h},
         subtract(roundRect(1, 1, w - 1, h - 1, 0), roundRect(2, 2, w - 2, h - 2, 0)),
         solid(hex(0x000000)), 0.6f);

    paintTitle(info, fonts.bold, "Tessera Loom", 7.0f, 13.0f, 11.0f);
    fonts.bold.setPixelSize(6.5f);
    fonts.bold.draw(info, "VERSION 1.0", 95.0f, 12.5f, hex(0x948C85), 1.0f, 1.2f);
    // Link lines: text in the accent colour, underlined, inside their click areas.
    fonts.regular.setPixelSize(9);
    for (const auto& [box, text] : {std::pair{makerLink, "www.lumenforge.example"},
                                    std::pair{productLink, "Tessera Loom page"}}) {
        fonts.regular.draw(info, text, box.left + 1, box.top + 7, theme.accent);
        const float width = fonts.regular.measure(text);
        fill(info, {box.left, box.top + 7, box.left + width + 3, box.top + 10},
             segment(box.left + 1, box.top + 8.5f, box.left + 1 + width, box.top + 8.5f, 0.8f),
             solid(theme.accent), 0.7f);
    }
    fonts.regular.setPixelSize(8);
    fonts.regular.draw(info, "Stereo gap-line modulator with state-variable filter.", 7, 47,
                       hex(0xB8B0A8));
    fonts.regular.draw(info, "Lumen Forge. Click a link, or anywhere to close.", 7, 58,
                       hex(0x8A837D));
    paintMosaic(info, 206, 14, 8, 2.5f);
    return info;
}

} // namespace

bool generateTloom(const ArtworkOptions& options, std::string& error) {
    Fonts fonts;
    if (!fonts.open(options.fontDir, error)) return false;
    const std::vector<Knob> knobs = knobLayout();
    const std::vector<Box> buttons = buttonLayout();

    Image panel = paintPanel(fonts, knobs, buttons);
    std::vector<Box> knobBoxes;
    for (const Knob& knob : knobs)
        knobBoxes.push_back(knob.box);
    if (!checkSameBackground(panel, knobBoxes, error) ||
        !checkSameBackground(panel, buttons, error))
        return false;

    KnobStyle style;
    style.accent = theme.accent;
    const Image strip =
        knobStrip(panel.crop(int(knobBoxes[0].left), int(knobBoxes[0].top), knobWidth, knobHeight),
                  style, knobFrames);
    const Image button = lampButton(
        panel.crop(int(buttons[0].left), int(buttons[0].top), buttonWidth, buttonStateHeight),
        theme.accent, buttonWidth, buttonStateHeight);
    const Image info = paintInfo(fonts);

    std::vector<IndexedImage> indexed;
    if (!writeArtwork(options,
                      {{"110_background.bmp", &panel},
                       {"112_knob_strip.bmp", &strip},
                       {"113_button.bmp", &button},
                       {"114_info.bmp", &info}},
                      indexed, error))
        return false;

    // Defaults (shape 0 lit on both sides), every value at 1.0 (shape 4 lit), and the
    // information picture shown over the defaults.
    for (int view = 0; view < 3; ++view) {
        const bool full = view == 1;
        std::vector<PreviewOverlay> overlays;
        std::vector<PreviewText> texts;
        for (const Knob& knob : knobs) {
            overlays.push_back(
                {knob.box, 1, frameFor(full ? 1.0f : knob.defaultValue, knobFrames) * knobHeight});
            texts.push_back(
                {knob.display, full ? knob.fullText : knob.defaultText, hex(0x000000), 1});
        }
        for (size_t i = 0; i < buttons.size(); ++i) {
            const bool lit = int(i % 5) == (full ? 4 : 0);
            overlays.push_back({buttons[i], 2, lit ? buttonStateHeight : 0});
        }
        if (view == 2) overlays.push_back({{125, 68, 376, 132}, 3, 0});
        const char* names[3] = {"tloom_panel", "tloom_full", "tloom_info"};
        if (!writePreview(options, names[view], indexed, overlays,
                          view == 2 ? std::vector<PreviewText>{} : texts, fonts.regular, error))
            return false;
    }
    return true;
}

} // namespace artwork
