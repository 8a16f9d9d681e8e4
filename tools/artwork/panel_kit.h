// Building blocks shared by every product's artwork: the fonts, the brushed chassis, recessed
// control plates, engraved captions, the knob with its value ring, and the step that reduces a
// product's images to one palette, writes them as 8-bit BMP files and reads them back.
#pragma once

#include "tools/artwork/image.h"
#include "tools/artwork/painter.h"
#include "tools/artwork/text_renderer.h"

#include <string>
#include <vector>

namespace artwork {

// Where the generator reads fonts and writes files.
struct ArtworkOptions {
    std::string fontDir = "/usr/share/fonts/truetype/liberation2";
    std::string outputDir;
    std::string previewDir; // empty: no preview
};

struct Fonts {
    TextRenderer regular;
    TextRenderer bold;
    bool open(const std::string& dir, std::string& error);
};

// Colours of one product's panel.
struct PanelTheme {
    Rgb chassisTop, chassisBottom;
    Rgb plateTop, plateBottom;
    Rgb accent;
    Rgb label;
    Rgb caption;
};

// Knob drawing: a dark track ring over the full sweep, the lit part of the ring from the
// start to the value, a shaded cap and a pointer line.
struct KnobStyle {
    int width = 32, height = 30;
    float centreX = 16.0f, centreY = 15.0f;
    float ringRadius = 12.9f, ringWidth = 2.1f;
    float bodyRadius = 9.8f, capRadius = 8.3f;
    float pointerInner = 3.0f, pointerOuter = 7.4f, pointerWidth = 1.7f;
    float sweep = 270.0f; // degrees, centred on twelve o'clock
    Rgb accent = hex(0x3CD3C3);
    Rgb track = hex(0x33373F);
    Rgb rimTop = hex(0x70757E), rimBottom = hex(0x1E2125);
    Rgb capTop = hex(0x30343A), capBottom = hex(0x3E434A);
    Rgb pointer = hex(0xF4F6F7);
};

void paintChassis(Image& image, const PanelTheme& theme);
// A recessed plate with an inner shadow along its top and a highlight along its bottom edge.
void paintPlate(Image& image, const Box& box, const PanelTheme& theme);
// A vertical engraved divider line at x from top to bottom.
void paintDivider(Image& image, float x, float top, float bottom);
// A small spaced caption centred over [left, right] with hairlines running out to both ends.
void paintCaption(Image& image, TextRenderer& font, const std::string& text, float left,
                  float right, float baseline, const PanelTheme& theme);
// Text turned a quarter turn to read from bottom to top, centred on (centreX, centreY).
void paintVerticalText(Image& image, TextRenderer& font, const std::string& text, float centreX,
                       float centreY, Rgb colour, float tracking);
// The product name in large bold type with a drop shadow, baseline at `baseline`.
void paintTitle(Image& image, TextRenderer& font, const std::string& text, float left,
                float baseline, float size);
// Sets `font` to `size`, or smaller until `text` fits `maxWidth`.
void fitPixelSize(TextRenderer& font, const std::string& text, float size, float maxWidth);
// A control's name centred on `centre`, in bold at `size` or smaller until it fits `maxWidth`.
void paintLabel(Image& image, TextRenderer& bold, const std::string& text, float centre,
                float baseline, float size, float maxWidth, Rgb colour);
// A horizontal engraved rule (dark line with a highlight below) at y from left to right.
void paintRule(Image& image, float left, float right, float y);
// A display window: a recessed bezel around the displays in `displays` (toolkit rectangles,
// right column and bottom row included; neighbours that overlap share one window), each
// filled with `back` and outlined in black in the order the editor draws them, so the panel
// shows exactly what the displays paint before any text arrives.
void paintDisplayWindow(Image& image, const std::vector<Box>& displays, Rgb back);
// A button socket: a dark recess around `box` for a lamp button to sit in.
void paintButtonSocket(Image& image, const Box& box);
// A lamp button of `width` x `stateHeight` drawn twice over `background` (the panel behind the
// button): off on top, lit in `lit` below.
Image lampButton(const Image& background, Rgb lit, int width, int stateHeight);
// The knob style for the 36 x 36 frames (the 32 x 30 one is the default).
KnobStyle largeKnob(Rgb accent);

// One knob frame for `value` (0..1) drawn over `image` (the panel behind the knob).
void paintKnob(Image& image, const KnobStyle& style, float value);
// The strip frame a knob shows for `value`: the value scaled to the last frame, truncated.
inline int frameFor(float value, int frames) {
    return int(value * float(frames - 1));
}
// A strip of `frames` knob frames stacked vertically over copies of `background`.
Image knobStrip(const Image& background, const KnobStyle& style, int frames);

// Fails with a message when the panel differs anywhere between the given knob rectangles:
// one strip serves every knob, so the panel behind each must be the same.
bool checkSameBackground(const Image& panel, const std::vector<Box>& knobs, std::string& error);

// One output file of a product.
struct ArtworkFile {
    std::string name; // e.g. "110_background.bmp"
    const Image* image;
};

// Reduces all files to one shared palette, writes them to options.outputDir, reads each back
// and compares. `indexed` receives the palettised images in the order given.
bool writeArtwork(const ArtworkOptions& options, const std::vector<ArtworkFile>& files,
                  std::vector<IndexedImage>& indexed, std::string& error);

// A review picture of the panel as the editor shows it: each overlay copies rows of one of the
// written images over the panel; each text is drawn centred or right-aligned in its box.
struct PreviewOverlay {
    Box box;       // where on the panel
    int image;     // index into the written images
    int sourceTop; // first row in that image
};
struct PreviewText {
    Box box;
    std::string text;
    Rgb colour;
    int alignment; // 1 centred, 2 right
};
bool writePreview(const ArtworkOptions& options, const std::string& name,
                  const std::vector<IndexedImage>& indexed,
                  const std::vector<PreviewOverlay>& overlays,
                  const std::vector<PreviewText>& texts, TextRenderer& font, std::string& error);

} // namespace artwork
