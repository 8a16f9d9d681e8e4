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
// One knob frame for `value` (0..1) drawn over `image` (the panel behind the knob).
void paintKnob(Image& image, const KnobStyle& style, float value);
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

} // namespace artwork
