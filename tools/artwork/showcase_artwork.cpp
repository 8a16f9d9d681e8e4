// The showcase editor's artwork: a 594 x 408 panel (resource 110) with eighteen labelled cells
// in a grid of six columns and three rows, one per control, a captioned file strip under them,
// and the control images (resources 111 to 129, the last the strip's OPEN FILE key). Every control
// image is painted over a copy of the panel behind its control, so the controls sit seamlessly in
// their cells. The rectangles here are the ones the showcase editor places its controls at
// (tools/artwork/showcase_layout.h).
#include "tools/artwork/showcase_layout.h"
#include "tools/artwork/products.h"

#include <cmath>
#include <functional>

namespace artwork {

namespace {

const PanelTheme theme{
    hex(0x2E333A), hex(0x1D2025), // chassis
    hex(0x16181C), hex(0x1C1F23), // plates
    hex(0xF2A03D),                // accent
    hex(0xC3C8CF),                // labels
    hex(0xD08A3A),                // captions
};
const Rgb dark = hex(0x0E0F11);
const Rgb face = hex(0x3A3F47);
const Rgb faceLit = hex(0x5A616B);
const Rgb dim = hex(0x4A3A26);

Box toBox(const showcase::Area& a) {
    return {float(a.left), float(a.top), float(a.left + a.width), float(a.top + a.height)};
}

// `count` frames of the panel behind `area`, stacked downwards, frame i painted by `paint`
// with its own top-left corner as the origin.
Image frames(const Image& panel, const showcase::Area& area, int count,
             const std::function<void(Image&, int)>& paint) {
    Image strip(area.width, area.height * count);
    for (int i = 0; i < count; ++i) {
        Image frame = panel.crop(area.left, area.top, area.width, area.height);
        paint(frame, i);
        strip.paste(frame, 0, i * area.height);
    }
    return strip;
}

// A rounded key, lit or not, over the whole image.
void paintKey(Image& image, bool lit, const Box& box) {
    fill(image, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 2},
         roundRect(box.left, box.top + 1, box.right, box.bottom + 1, 3), solid(dark), 0.8f, 1.0f);
    fill(image, box, roundRect(box.left, box.top, box.right, box.bottom, 3),
         verticalGradient(box.top, box.bottom, lit ? faceLit : face, lit ? face : dark));
    const float cx = (box.left + box.right) * 0.5f;
    fill(image, {cx - 8, box.top + 2, cx + 8, box.top + 6},
         roundRect(cx - 7, box.top + 3, cx + 7, box.top + 5, 1), solid(lit ? theme.accent : dim));
}

void paintLed(Image& image, float cx, float cy, float r, bool lit) {
    if (lit)
        fill(image, {cx - r - 3, cy - r - 3, cx + r + 3, cy + r + 3}, circle(cx, cy, r),
             solid(theme.accent), 0.35f, 2.5f);
    fill(image, {cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1}, circle(cx, cy, r),
         radialGradient(cx - r * 0.3f, cy - r * 0.3f, r * 1.3f, lit ? hex(0xFFE0A8) : hex(0x5A4630),
                        lit ? theme.accent : dim));
}

void paintWell(Image& image, const Box& box) {
    fill(image, box, roundRect(box.left, box.top, box.right, box.bottom, 2), solid(dark));
}

Image paintPanel(Fonts& fonts) {
    Image panel(showcase::kPanelWidth, showcase::kPanelHeight);
    paintChassis(panel, theme);
    fonts.bold.setPixelSize(15);
    fonts.bold.draw(panel, "Showcase", 12.0f, 19.0f, hex(0xEEF3F4), 1.0f, 0.2f);
    fonts.bold.setPixelSize(8);
    const std::string kind = "EVERY CONTROL OF THE TOOLKIT";
    const float kindWidth = fonts.bold.measure(kind, 1.4f);
    fonts.bold.draw(panel, kind, std::round(float(showcase::kPanelWidth) - 12.0f - kindWidth),
                    17.0f, hex(0x8C939C), 1.0f, 1.4f);
    for (int i = 0; i < showcase::kParameterCount; ++i) {
        const showcase::Area cell = showcase::cell(i);
        paintPlate(panel, toBox(cell), theme);
        fonts.bold.setPixelSize(7.5f);
        fonts.bold.drawCentred(panel, showcase::kLabels[i], float(cell.left) + cell.width * 0.5f,
                               float(cell.top + cell.height - 8), theme.label, 1.0f, 1.0f);
    }
    // A closed loop animation draws nothing: its well stays on the panel.
    const showcase::Area animation = showcase::controlArea(showcase::kAnimation);
    paintWell(panel, toBox(animation));
    // The overlay's button face is part of the panel: the control draws only while shown.
    const showcase::Area overlay = showcase::controlArea(showcase::kOverlay);
    Box key = toBox(overlay);
    paintKey(panel, false, key);
    fonts.bold.setPixelSize(7);
    fonts.bold.drawCentred(panel, "SHOW", key.left + overlay.width * 0.5f, key.bottom - 4,
                           theme.label);
    // The file strip: one plate across the panel, its caption on the first line.
    const showcase::Area strip = showcase::fileStrip();
    paintPlate(panel, toBox(strip), theme);
    fonts.bold.setPixelSize(7.5f);
    fonts.bold.draw(panel, "FILES  -  OPEN ONE, OR DROP FILES OR TEXT ANYWHERE ON THE PANEL",
                    float(strip.left + 10), float(strip.top + showcase::kFileCaptionHeight - 2),
                    theme.label, 1.0f, 1.0f);
    return panel;
}

} // namespace

bool generateShowcase(const ArtworkOptions& options, std::string& error) {
    using namespace showcase;
    Fonts fonts;
    if (!fonts.open(options.fontDir, error)) return false;
    const Image panel = paintPanel(fonts);
    auto area = [](int control) { return controlArea(control); };

    // Knob: a dial face the toolkit draws its pointer line over.
    const Image knob = frames(panel, area(kKnob), 1, [](Image& im, int) {
        const float c = im.width * 0.5f;
        fill(im, {0, 0, float(im.width), float(im.height)}, circle(c, c, c - 1.5f),
             verticalGradient(0, float(im.height), faceLit, dark));
        fill(im, {0, 0, float(im.width), float(im.height)}, circle(c, c, c - 5.0f),
             verticalGradient(0, float(im.height), face, hex(0x24282D)));
    });
    KnobStyle style;
    style.accent = theme.accent;
    const Image strip = knobStrip(
        panel.crop(area(kFilmstripKnob).left, area(kFilmstripKnob).top, kStripWidth, kStripHeight),
        style, kStripFrames);
    auto keys = [&](int control) {
        return frames(panel, area(control), 2, [](Image& im, int i) {
            paintKey(im, i == 1, {1, 1, float(im.width) - 1, float(im.height) - 2});
        });
    };
    const Image toggle = keys(kToggle);
    const Image twoFrame = keys(kTwoFrame);
    const Image momentary = keys(kMomentary);
    const showcase::Area shown = overlayDisplay();
    const Image overlayPanel = frames(panel, shown, 1, [&](Image& im, int) {
        fill(im, {0, 0, float(im.width), float(im.height)},
             roundRect(1, 1, float(im.width) - 1, float(im.height) - 1, 4),
             verticalGradient(0, float(im.height), hex(0x4A4036), hex(0x2A241E)));
        fonts.bold.setPixelSize(10);
        fonts.bold.drawCentred(im, "OVERLAY SHOWN", im.width * 0.5f, im.height * 0.5f - 2,
                               theme.accent, 1.0f, 1.0f);
        fonts.bold.setPixelSize(7);
        fonts.bold.drawCentred(im, "CLICK TO HIDE", im.width * 0.5f, im.height * 0.5f + 12,
                               theme.label, 1.0f, 1.0f);
    });
    auto positions = [&](int control, bool horizontal) {
        return frames(panel, area(control), kSwitchPositions, [horizontal](Image& im, int i) {
            paintWell(im, {2, 2, float(im.width) - 2, float(im.height) - 2});
            for (int p = 0; p < kSwitchPositions; ++p) {
                const float t = (p + 0.5f) / kSwitchPositions;
                const float x = horizontal ? im.width * t : im.width * 0.5f;
                const float y = horizontal ? im.height * 0.5f : im.height * t;
                paintLed(im, x, y, 4.5f, p == i);
            }
        });
    };
    const Image verticalSwitch = positions(kVerticalSwitch, false);
    const Image horizontalSwitch = positions(kHorizontalSwitch, true);
    const Image rocker = frames(panel, area(kRocker), 3, [](Image& im, int i) {
        const float h = float(im.height);
        paintWell(im, {1, 1, float(im.width) - 1, h - 1});
        // -1 presses the upper half, +1 the lower one.
        const Box upper{3, 3, float(im.width) - 3, h * 0.5f - 1};
        const Box lower{3, h * 0.5f + 1, float(im.width) - 3, h - 3};
        paintKey(im, i == 0, upper);
        paintKey(im, i == 2, lower);
    });
    const Image frameDisplay =
        frames(panel, area(kFrameDisplay), kDisplayFrames, [](Image& im, int i) {
            paintWell(im, {0, 0, float(im.width), float(im.height)});
            const int bars = kDisplayFrames - 1;
            const float w = (im.width - 4.0f) / bars;
            for (int b = 0; b < bars; ++b)
                fill(im, {0, 0, float(im.width), float(im.height)},
                     roundRect(3 + b * w, 4, 2 + (b + 1) * w, float(im.height) - 4, 1),
                     solid(b < i ? theme.accent : dim));
        });
    const Image animation = frames(panel, area(kAnimation), kAnimationFrames, [](Image& im, int i) {
        const float c = im.width * 0.5f;
        paintWell(im, {0, 0, float(im.width), float(im.height)});
        for (int d = 0; d < kAnimationFrames; ++d) {
            float dx, dy;
            direction(360.0f * d / kAnimationFrames, dx, dy);
            const int age = (i - d + kAnimationFrames) % kAnimationFrames;
            fill(im, {0, 0, float(im.width), float(im.height)}, circle(c + dx * 10, c + dy * 10, 3),
                 solid(mix(theme.accent, dim, std::min(1.0f, age / 4.0f))));
        }
    });
    auto track = [&](int control, bool horizontal) {
        return frames(panel, area(control), 1, [horizontal](Image& im, int) {
            const float w = float(im.width), h = float(im.height);
            const Box slot = horizontal ? Box{4, h * 0.5f - 2, w - 4, h * 0.5f + 2}
                                        : Box{w * 0.5f - 2, 4, w * 0.5f + 2, h - 4};
            fill(im, {0, 0, w, h}, roundRect(slot.left, slot.top, slot.right, slot.bottom, 2),
                 solid(dark));
        });
    };
    const Image verticalTrack = track(kVerticalSlider, false);
    const Image horizontalTrack = track(kHorizontalSlider, true);
    auto handle = [](int w, int h, bool horizontal) {
        Image im(w, h, face);
        fill(im, {0, 0, float(w), float(h)}, roundRect(0, 0, float(w), float(h), 2),
             verticalGradient(0, float(h), faceLit, hex(0x2A2E34)));
        const Box line = horizontal ? Box{w * 0.5f - 1, 2, w * 0.5f + 1, h - 2.0f}
                                    : Box{2, h * 0.5f - 1, w - 2.0f, h * 0.5f + 1};
        fill(im, {0, 0, float(w), float(h)},
             roundRect(line.left, line.top, line.right, line.bottom, 0.5f), solid(theme.accent));
        return im;
    };
    const Image verticalHandle = handle(area(kVerticalSlider).width, kHandleThickness, false);
    const Image horizontalHandle = handle(kHandleThickness, area(kHorizontalSlider).height, true);
    Image digits(kDigitWidth, kDigitHeight * 10, dark);
    fonts.bold.setPixelSize(kDigitHeight - 3.0f);
    for (int d = 0; d < 10; ++d)
        fonts.bold.drawCentred(digits, std::string(1, char('0' + d)), kDigitWidth * 0.5f,
                               float(d * kDigitHeight + kDigitHeight - 3), theme.accent);
    auto meter = [&](bool lit) {
        return frames(panel, area(kMeter), 1, [lit](Image& im, int) {
            paintWell(im, {0, 0, float(im.width), float(im.height)});
            const float w = (im.width - 2.0f) / kMeterLeds;
            for (int b = 0; b < kMeterLeds; ++b) {
                const Rgb on = b < kMeterLeds - 3 ? hex(0x6BD36B) : theme.accent;
                fill(im, {0, 0, float(im.width), float(im.height)},
                     roundRect(2 + b * w, 2, 1 + (b + 1) * w - 1, float(im.height) - 2, 1),
                     solid(lit ? on : mix(on, dark, 0.75f)));
            }
        });
    };
    const Image meterOn = meter(true);
    const Image meterOff = meter(false);
    // The OPEN FILE key: released over pressed, its caption lit while pressed.
    const Image openKey = frames(panel, area(kOpenFile), 2, [&](Image& im, int i) {
        const Box box{1, 1, float(im.width) - 1, float(im.height) - 2};
        paintKey(im, i == 1, box);
        fonts.bold.setPixelSize(8);
        fonts.bold.drawCentred(im, "OPEN FILE", im.width * 0.5f, box.bottom - 5,
                               i == 1 ? theme.accent : theme.label, 1.0f, 1.0f);
    });

    std::vector<IndexedImage> indexed;
    return writeArtwork(options,
                        {{"110_background.bmp", &panel},
                         {"111_knob.bmp", &knob},
                         {"112_knob_strip.bmp", &strip},
                         {"113_toggle.bmp", &toggle},
                         {"114_overlay.bmp", &overlayPanel},
                         {"115_vertical_switch.bmp", &verticalSwitch},
                         {"116_horizontal_switch.bmp", &horizontalSwitch},
                         {"117_rocker.bmp", &rocker},
                         {"118_frame_display.bmp", &frameDisplay},
                         {"119_two_frame.bmp", &twoFrame},
                         {"120_momentary.bmp", &momentary},
                         {"121_animation.bmp", &animation},
                         {"122_vertical_track.bmp", &verticalTrack},
                         {"123_vertical_handle.bmp", &verticalHandle},
                         {"124_horizontal_track.bmp", &horizontalTrack},
                         {"125_horizontal_handle.bmp", &horizontalHandle},
                         {"126_digits.bmp", &digits},
                         {"127_meter_on.bmp", &meterOn},
                         {"128_meter_off.bmp", &meterOff},
                         {"129_open_key.bmp", &openKey}},
                        indexed, error);
}

} // namespace artwork
