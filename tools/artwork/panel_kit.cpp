// Chassis, plates, captions, knobs and the palette-and-write step for product artwork.
#include "tools/artwork/panel_kit.h"

#include "tools/artwork/bmp_file.h"
#include "tools/artwork/palette.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace artwork {

bool Fonts::open(const std::string& dir, std::string& error) {
    return regular.open(dir + "/LiberationSans-Regular.ttf", error) &&
           bold.open(dir + "/LiberationSans-Bold.ttf", error);
}

void paintChassis(Image& image, const PanelTheme& theme) {
    const float w = float(image.width), h = float(image.height);
    const Box all{0, 0, w, h};
    const Shape everything = [](float, float) { return -1.0f; };
    fill(image, all, everything, verticalGradient(0, h, theme.chassisTop, theme.chassisBottom));
    addBrushedGrain(image, all, everything, 0.028f, 7);
    // Light catches the top edge; the bottom and sides fall into shadow.
    fill(image, {0, 0, w, 1}, roundRect(0, 0, w, 1, 0), solid(hex(0x5A6068)), 0.8f);
    fill(image, {0, h - 1, w, h}, roundRect(0, h - 1, w, h, 0), solid(hex(0x08090B)), 0.9f);
    fill(image, {0, 0, 1, h}, roundRect(0, 0, 1, h, 0), solid(hex(0x3C4047)), 0.6f);
    fill(image, {w - 1, 0, w, h}, roundRect(w - 1, 0, w, h, 0), solid(hex(0x0E0F12)), 0.8f);
}

void paintPlate(Image& image, const Box& box, const PanelTheme& theme) {
    const float r = 4.0f;
    const Shape plate = roundRect(box.left, box.top, box.right, box.bottom, r);
    // Highlight one pixel below: the lower lip of the recess catches the light.
    fill(image, box, roundRect(box.left, box.top + 1, box.right, box.bottom + 1, r),
         solid(hex(0x4A5058)), 0.55f);
    fill(image, box,
         roundRect(box.left - 0.5f, box.top - 0.5f, box.right + 0.5f, box.bottom, r + 0.5f),
         solid(hex(0x0A0B0D)), 0.7f);
    fill(image, box, plate,
         verticalGradient(box.top, box.bottom, theme.plateTop, theme.plateBottom));
    // Inner shadow along the top edge, three rows deep.
    const Shape topShadow =
        subtract(plate, roundRect(box.left, box.top + 2.5f, box.right, box.bottom + 8, r));
    fill(image, {box.left, box.top, box.right, box.top + 4}, topShadow, solid(hex(0x000000)), 0.35f,
         1.0f);
}

void paintDivider(Image& image, float x, float top, float bottom) {
    fill(image, {x - 1, top, x + 2, bottom}, segment(x, top, x, bottom, 1.0f), solid(hex(0x0A0B0D)),
         0.8f);
    fill(image, {x, top, x + 2, bottom}, segment(x + 1, top, x + 1, bottom, 1.0f),
         solid(hex(0x3A3F46)), 0.45f);
}

void paintCaption(Image& image, TextRenderer& font, const std::string& text, float left,
                  float right, float baseline, const PanelTheme& theme) {
    const float tracking = 1.3f;
    const float width = font.measure(text, tracking);
    const float centre = std::round((left + right) * 0.5f);
    const float textLeft = std::round(centre - width * 0.5f);
    const float line = baseline - std::round(font.capHeight() * 0.5f) + 0.5f;
    const float gap = 5.0f;
    fill(image, {left, line - 1, textLeft - gap, line + 1},
         segment(left + 0.5f, line, textLeft - gap, line, 1.0f), solid(theme.caption), 0.35f);
    fill(image, {textLeft + width + gap, line - 1, right, line + 1},
         segment(textLeft + width + gap, line, right - 0.5f, line, 1.0f), solid(theme.caption),
         0.35f);
    font.draw(image, text, textLeft, baseline, theme.caption, 1.0f, tracking);
}

void paintVerticalText(Image& image, TextRenderer& font, const std::string& text, float centreX,
                       float centreY, Rgb colour, float tracking) {
    // Render white on black to get the coverage, then place it turned.
    const int length = int(std::ceil(font.measure(text, tracking))) + 2;
    const int thickness = int(std::ceil(font.capHeight())) + 4;
    Image coverage(length, thickness);
    font.draw(coverage, text, 1.0f, float(thickness - 2), hex(0xFFFFFF), 1.0f, tracking);
    const int left = int(std::round(centreX - float(thickness) * 0.5f));
    const int top = int(std::round(centreY - float(length) * 0.5f));
    for (int ty = 0; ty < thickness; ++ty) {
        for (int tx = 0; tx < length; ++tx) {
            const int x = left + ty, y = top + (length - 1 - tx);
            if (!image.contains(x, y)) continue;
            image.at(x, y) = mix(image.at(x, y), colour, coverage.at(tx, ty).r);
        }
    }
}

void paintTitle(Image& image, TextRenderer& font, const std::string& text, float left,
                float baseline, float size) {
    font.setPixelSize(size);
    font.draw(image, text, left, baseline + 1, hex(0x000000), 0.5f, 0.2f);
    font.draw(image, text, left, baseline, hex(0xEEF3F4), 1.0f, 0.2f);
}

void fitPixelSize(TextRenderer& font, const std::string& text, float size, float maxWidth) {
    font.setPixelSize(size);
    while (size > 5.0f && font.measure(text, 0.1f) > maxWidth) {
        size -= 0.25f;
        font.setPixelSize(size);
    }
}

void paintLabel(Image& image, TextRenderer& bold, const std::string& text, float centre,
                float baseline, float size, float maxWidth, Rgb colour) {
    fitPixelSize(bold, text, size, maxWidth);
    bold.drawCentred(image, text, centre, baseline, colour, 1.0f, 0.1f);
}

void paintRule(Image& image, float left, float right, float y) {
    fill(image, {left - 2, y - 1.5f, right + 2, y + 1.5f}, segment(left, y, right, y, 1.0f),
         solid(hex(0x0B0C0E)), 0.75f);
    fill(image, {left - 2, y - 0.5f, right + 2, y + 2.5f}, segment(left, y + 1, right, y + 1, 1.0f),
         solid(hex(0x4A5058)), 0.35f);
}

void paintDisplayWindow(Image& image, const std::vector<Box>& displays, Rgb back) {
    // A display's rectangle covers its right column and bottom row too: it fills inside its
    // edges and outlines through all four corners.
    Box box{displays.front().left, displays.front().top, displays.front().right + 1,
            displays.front().bottom + 1};
    for (const Box& d : displays)
        box = {std::min(box.left, d.left), std::min(box.top, d.top),
               std::max(box.right, d.right + 1), std::max(box.bottom, d.bottom + 1)};
    // The bezel stays below the window's top edge: knobs sit directly above displays, and
    // the panel behind every knob must stay the same.
    const Box outer{box.left - 2, box.top, box.right + 2, box.bottom + 2};
    // The lower lip catches the light; the sides fall into shadow.
    fill(image, outer, roundRect(box.left - 1, box.top, box.right + 1, box.bottom + 1.5f, 1.5f),
         solid(hex(0x50565E)), 0.6f);
    fill(image, outer,
         roundRect(box.left - 1.2f, box.top, box.right + 1.2f, box.bottom + 0.6f, 1.5f),
         solid(hex(0x050506)), 0.9f);
    // Inside, exactly what the displays paint, in the order they are drawn: the back colour
    // framed in black, a later display covering an earlier one where they overlap.
    for (const Box& d : displays) {
        const int left = int(d.left), top = int(d.top), right = int(d.right),
                  bottom = int(d.bottom);
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (!image.contains(x, y)) continue;
                const bool edge = x == left || x == right || y == top || y == bottom;
                image.at(x, y) = edge ? hex(0x000000) : back;
            }
        }
    }
}

void paintButtonSocket(Image& image, const Box& box) {
    const Box outer{box.left - 3, box.top - 3, box.right + 3, box.bottom + 3};
    fill(image, outer,
         roundRect(box.left - 1.5f, box.top - 0.5f, box.right + 1.5f, box.bottom + 2, 2.5f),
         solid(hex(0x50565E)), 0.5f);
    fill(image, outer,
         roundRect(box.left - 1.5f, box.top - 1.5f, box.right + 1.5f, box.bottom + 1, 2.5f),
         solid(hex(0x050506)), 0.9f);
    fill(image, box, roundRect(box.left, box.top, box.right, box.bottom, 0), solid(hex(0x0C0D0F)));
}

Image lampButton(const Image& background, Rgb lit, int width, int stateHeight) {
    Image button(width, stateHeight * 2);
    const float w = float(width), h = float(stateHeight);
    const float radius = std::min(w, h) * 0.5f - 0.5f;
    for (int state = 0; state < 2; ++state) {
        Image lamp = background;
        const Box all{0, 0, w, h};
        const Shape lens = roundRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, radius);
        // A dark rim around the lens keeps its shape readable when it is off.
        fill(lamp, all, lens, solid(hex(0x000000)), 0.8f);
        const Shape inner =
            roundRect(1.0f, 1.0f, w - 1.0f, h - 1.0f, std::max(0.5f, radius - 0.5f));
        if (state == 0) {
            fill(lamp, all, inner,
                 verticalGradient(0, h, mix(lit, hex(0x000000), 0.82f),
                                  mix(lit, hex(0x000000), 0.68f)));
        } else {
            fill(lamp, all, inner,
                 radialGradient(w * 0.5f, h * 0.45f, w * 0.55f, mix(lit, hex(0xFFFFFF), 0.35f),
                                mix(lit, hex(0x000000), 0.08f)));
        }
        // A glint along the top of the lens.
        fill(lamp, all, roundRect(2.0f, 1.0f, w - 2.0f, std::max(1.8f, h * 0.36f), radius * 0.5f),
             solid(hex(0xFFFFFF)), state == 0 ? 0.08f : 0.25f);
        button.paste(lamp, 0, state * stateHeight);
    }
    return button;
}

KnobStyle largeKnob(Rgb accent) {
    KnobStyle style;
    style.width = 36;
    style.height = 36;
    style.centreX = 18.0f;
    style.centreY = 18.0f;
    style.ringRadius = 14.6f;
    style.ringWidth = 2.3f;
    style.bodyRadius = 11.2f;
    style.capRadius = 9.5f;
    style.pointerInner = 3.4f;
    style.pointerOuter = 8.5f;
    style.pointerWidth = 1.9f;
    style.accent = accent;
    return style;
}

void paintKnob(Image& image, const KnobStyle& s, float value) {
    const float cx = s.centreX, cy = s.centreY;
    const float start = -s.sweep * 0.5f;
    const float angle = start + s.sweep * value;
    const Box all{0, 0, float(s.width), float(s.height)};

    // Track: the unlit ring over the whole sweep, set into a darker groove.
    fill(image, all, arc(cx, cy, s.ringRadius, s.ringWidth + 1.2f, start, -start),
         solid(hex(0x08090B)), 0.6f);
    fill(image, all, arc(cx, cy, s.ringRadius, s.ringWidth - 0.3f, start, -start), solid(s.track));
    // Lit part of the ring, with a soft glow around it.
    if (angle > start + 0.01f) {
        fill(image, all, arc(cx, cy, s.ringRadius, s.ringWidth + 0.6f, start, angle),
             solid(s.accent), 0.30f, 1.2f);
        fill(image, all, arc(cx, cy, s.ringRadius, s.ringWidth - 0.3f, start, angle),
             solid(s.accent));
    }

    // Cap: drop shadow, bevelled rim, slightly concave top.
    fill(image, all, circle(cx, cy + 1.3f, s.bodyRadius), solid(hex(0x000000)), 0.65f, 1.4f);
    fill(image, all, circle(cx, cy, s.bodyRadius),
         verticalGradient(cy - s.bodyRadius, cy + s.bodyRadius, s.rimTop, s.rimBottom));
    fill(image, all, circle(cx, cy, s.capRadius),
         verticalGradient(cy - s.capRadius, cy + s.capRadius, s.capTop, s.capBottom));
    fill(image, all, circle(cx, cy, s.capRadius),
         radialGradient(cx - 2.5f, cy - 3.5f, s.capRadius * 1.3f, hex(0x646A73), s.capBottom),
         0.45f);
    // A thin bright edge where the rim meets the cap.
    fill(image, all,
         intersect(arc(cx, cy, s.capRadius + 0.4f, 0.8f, -80.0f, 80.0f),
                   circle(cx, cy, s.bodyRadius)),
         solid(hex(0x9AA0A8)), 0.35f);

    // Pointer line with a dark edge so it reads on the grey cap.
    float dx, dy;
    direction(angle, dx, dy);
    const Shape pointerShape =
        segment(cx + dx * s.pointerInner, cy + dy * s.pointerInner, cx + dx * s.pointerOuter,
                cy + dy * s.pointerOuter, s.pointerWidth);
    const Shape pointerEdge =
        segment(cx + dx * s.pointerInner, cy + dy * s.pointerInner, cx + dx * s.pointerOuter,
                cy + dy * s.pointerOuter, s.pointerWidth + 1.4f);
    fill(image, all, pointerEdge, solid(hex(0x101114)), 0.55f);
    fill(image, all, pointerShape, solid(s.pointer));
}

Image knobStrip(const Image& background, const KnobStyle& style, int frames) {
    Image strip(style.width, style.height * frames);
    for (int frame = 0; frame < frames; ++frame) {
        Image knob = background;
        paintKnob(knob, style, frames > 1 ? float(frame) / float(frames - 1) : 0.0f);
        strip.paste(knob, 0, frame * style.height);
    }
    return strip;
}

bool checkSameBackground(const Image& panel, const std::vector<Box>& knobs, std::string& error) {
    if (knobs.empty()) return true;
    const Box& first = knobs.front();
    const int w = int(first.right - first.left), h = int(first.bottom - first.top);
    for (const Box& knob : knobs) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb& a = panel.at(int(first.left) + x, int(first.top) + y);
                const Rgb& b = panel.at(int(knob.left) + x, int(knob.top) + y);
                if (toRgb8(a) != toRgb8(b)) {
                    error = "panel differs behind the knob at x " + std::to_string(int(knob.left)) +
                            " (pixel " + std::to_string(x) + ", " + std::to_string(y) + ")";
                    return false;
                }
            }
        }
    }
    return true;
}

bool writeArtwork(const ArtworkOptions& options, const std::vector<ArtworkFile>& files,
                  std::vector<IndexedImage>& indexed, std::string& error) {
    std::vector<const Image*> images;
    for (const ArtworkFile& file : files)
        images.push_back(file.image);
    // A product's resources folder may not exist yet before its editor does.
    std::error_code ignored;
    std::filesystem::create_directories(options.outputDir, ignored);
    const Palette palette = buildPalette(images);
    indexed.clear();
    for (const ArtworkFile& file : files) {
        indexed.push_back(quantise(*file.image, palette));
        const std::string path = options.outputDir + "/" + file.name;
        if (!writeBmp8(path, indexed.back(), error)) return false;
        BmpImage readBack;
        if (!readBmp(path, readBack, error)) return false;
        if (readBack.pixels != expand(indexed.back()).pixels) {
            error = path + " does not read back as written";
            return false;
        }
    }
    return true;
}

bool writePreview(const ArtworkOptions& options, const std::string& name,
                  const std::vector<IndexedImage>& indexed,
                  const std::vector<PreviewOverlay>& overlays,
                  const std::vector<PreviewText>& texts, TextRenderer& font, std::string& error) {
    if (options.previewDir.empty()) return true;
    std::vector<BmpImage> images;
    for (const IndexedImage& image : indexed)
        images.push_back(expand(image));
    BmpImage preview = images[0];
    for (const PreviewOverlay& overlay : overlays) {
        const BmpImage& source = images[size_t(overlay.image)];
        for (int y = int(overlay.box.top); y < int(overlay.box.bottom); ++y)
            for (int x = int(overlay.box.left); x < int(overlay.box.right); ++x)
                preview.row(y)[x] = source.at(x - int(overlay.box.left),
                                              overlay.sourceTop + y - int(overlay.box.top));
    }
    // Texts are drawn as the displays draw them: the toolkit's 9-pixel face.
    Image canvas(preview.width, preview.height);
    for (size_t i = 0; i < preview.pixels.size(); ++i) {
        const uint32_t p = preview.pixels[i];
        canvas.pixels[i] = hex(p & 0xFFFFFF);
    }
    font.setPixelSize(9);
    for (const PreviewText& text : texts) {
        const float baseline = std::round((text.box.top + text.box.bottom) * 0.5f + 3.5f);
        if (text.alignment == 2) {
            font.draw(canvas, text.text, text.box.right - 2 - font.measure(text.text), baseline,
                      text.colour);
        } else {
            font.drawCentred(canvas, text.text, (text.box.left + text.box.right) * 0.5f, baseline,
                             text.colour);
        }
    }
    for (size_t i = 0; i < preview.pixels.size(); ++i)
        preview.pixels[i] = toRgb8(canvas.pixels[i]);
    return writePpm(options.previewDir + "/" + name + ".ppm", preview, error);
}

} // namespace artwork
