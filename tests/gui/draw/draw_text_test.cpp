// Text through the drawing context: widths, the three alignments, vertical centring, opaque
// and transparent modes, clipping, the font table's faces and weights, the Symbol page.
#include "gui/draw_context.h"
#include "gui/text/char_map.h"
#include "gui/text/font_engine.h"
#include "tests/gui/draw/surface_probe.h"

#include <gtest/gtest.h>

namespace {

struct TextCanvas {
    PixelSurface surface{160, 60, kBackground};
    DrawContext context{nullptr, &surface, nullptr};
    explicit TextCanvas(int32_t font = 3, int32_t size = 0) { context.setFont(font, size); }
};

LineMetrics metricsOf(const DrawContext& context) {
    LineMetrics metrics;
    EXPECT_TRUE(FontEngine::instance().lineMetrics(*context.getFont(), metrics));
    return metrics;
}

TEST(DrawText, WidthIsTheSumOfCharacterAdvances) {
    TextCanvas canvas;
    DrawContext& c = canvas.context;
    const int32_t a = c.getStringWidth("Feed");
    const int32_t b = c.getStringWidth("back");
    EXPECT_GT(a, 0);
    EXPECT_EQ(c.getStringWidth("Feedback"), a + b);
    EXPECT_EQ(c.getStringWidth(""), 0);
    EXPECT_EQ(c.getStringWidth(nullptr), 0);
    EXPECT_GT(c.getStringWidth("WWW"), c.getStringWidth("iii"));
}

TEST(DrawText, SizesAndWeightsFollowTheTable) {
    DrawContext c(nullptr, nullptr, nullptr);
    c.setFont(3, 0);
    const int32_t normal12 = c.getStringWidth("Modulation Depth");
    c.setFont(0, 0);
    const int32_t bold12 = c.getStringWidth("Modulation Depth");
    c.setFont(3, 20);
    const int32_t normal20 = c.getStringWidth("Modulation Depth");
    c.setFont(6, 0);
    const int32_t normal9 = c.getStringWidth("Modulation Depth");
    EXPECT_GT(bold12, normal12);
    EXPECT_GT(normal20, normal12 * 3 / 2);
    EXPECT_LT(normal9, normal12);
    // Arial's advance widths: a 12-pixel "Modulation Depth" is about 95 pixels wide.
    EXPECT_GT(normal12, 80);
    EXPECT_LT(normal12, 110);
}

TEST(DrawText, LineHeightMatchesTheFontSize) {
    for (int32_t size : {9, 12, 18, 40}) {
        TextCanvas canvas(3, size);
        const LineMetrics metrics = metricsOf(canvas.context);
        EXPECT_GE(metrics.height, size);
        EXPECT_LE(metrics.height, size * 5 / 4 + 1);
        EXPECT_EQ(metrics.height, metrics.ascent + metrics.descent);
    }
}

TEST(DrawText, LeftAlignmentStartsOnePixelInside) {
    // Left in (10, 0, 150, 30) draws exactly what right alignment draws when the rectangle's
    // right edge is left + 1 + width.
    TextCanvas left;
    left.context.drawString("Rate", Rect(10, 0, 150, 30), false, TextAlignLeft);
    const int32_t width = left.context.getStringWidth("Rate");
    TextCanvas right;
    right.context.drawString("Rate", Rect(0, 0, 11 + width, 30), false, TextAlignRight);
    EXPECT_GT(changedPixels(left.surface).count, 0);
    EXPECT_TRUE(shiftedCopyOf(left.surface, right.surface, 0, 0));
    EXPECT_GE(changedPixels(left.surface).box.left, 11);

    // Unknown alignments are left alignment.
    TextCanvas other;
    other.context.drawString("Rate", Rect(10, 0, 150, 30), false, 9);
    EXPECT_TRUE(shiftedCopyOf(left.surface, other.surface, 0, 0));
}

TEST(DrawText, CentreAndRightUseTheRectangleUnchanged) {
    TextCanvas centred;
    centred.context.drawString("Depth", Rect(20, 0, 121, 30), false, TextAlignCentre);
    const int32_t width = centred.context.getStringWidth("Depth");
    const int32_t x = 20 + (101 - width) / 2;
    TextCanvas right;
    right.context.drawString("Depth", Rect(0, 0, x + width, 30), false, TextAlignRight);
    EXPECT_TRUE(shiftedCopyOf(centred.surface, right.surface, 0, 0));

    // Moving the rectangle moves the text by the same amount.
    TextCanvas moved;
    moved.context.drawString("Depth", Rect(27, 5, 128, 35), false, TextAlignCentre);
    EXPECT_TRUE(shiftedCopyOf(centred.surface, moved.surface, 7, 5));
}

TEST(DrawText, TextIsCentredVertically) {
    TextCanvas tall;
    tall.context.drawString("Mix", Rect(0, 0, 100, 40), false, TextAlignLeft);
    TextCanvas narrow;
    narrow.context.drawString("Mix", Rect(0, 4, 100, 36), false, TextAlignLeft);
    EXPECT_TRUE(shiftedCopyOf(tall.surface, narrow.surface, 0, 0));

    const LineMetrics metrics = metricsOf(tall.context);
    TextCanvas top;
    top.context.drawString("Mix", Rect(0, 0, 100, metrics.height), false, TextAlignLeft);
    EXPECT_TRUE(shiftedCopyOf(top.surface, tall.surface, 0, (40 - metrics.height) / 2));
}

TEST(DrawText, TextIsNotClippedToItsRectangleButToTheClip) {
    TextCanvas canvas;
    canvas.context.drawString("A rather long label", Rect(50, 10, 60, 30), false, TextAlignLeft);
    const Changes spread = changedPixels(canvas.surface);
    EXPECT_GT(spread.box.right, 100);

    TextCanvas clipped;
    clipped.context.setClipRect(Rect(0, 0, 70, 60));
    clipped.context.drawString("A rather long label", Rect(50, 10, 60, 30), false, TextAlignLeft);
    const Changes limited = changedPixels(clipped.surface);
    EXPECT_LE(limited.box.right, 69);
    EXPECT_GT(limited.count, 0);
}

TEST(DrawText, OpaqueTextSitsOnTheFillColour) {
    TextCanvas canvas;
    canvas.context.setFillColour(RedColour);
    canvas.context.setFontColour(WhiteColour);
    canvas.context.drawString("    ", Rect(0, 0, 100, 40), true, TextAlignLeft);
    const LineMetrics metrics = metricsOf(canvas.context);
    const int32_t width = canvas.context.getStringWidth("    ");
    const Changes cell = changedPixels(canvas.surface);
    EXPECT_EQ(cell.count, width * metrics.height);
    const int32_t y = (40 - metrics.height) / 2;
    EXPECT_EQ(cell.box, Rect(1, y, width, y + metrics.height - 1));
    EXPECT_EQ(canvas.surface.at(2, y + 1), RedColour.toPixel());

    // Transparent spaces leave everything alone; transparent text only changes glyph pixels.
    TextCanvas clear;
    clear.context.setFillColour(RedColour);
    clear.context.drawString("    ", Rect(0, 0, 100, 40), false, TextAlignLeft);
    EXPECT_EQ(changedPixels(clear.surface).count, 0);
    clear.context.drawString("Tone", Rect(0, 0, 100, 40), false, TextAlignLeft);
    for (int32_t y2 = 0; y2 < 60; ++y2)
        for (int32_t x = 0; x < 160; ++x)
            ASSERT_NE(clear.surface.at(x, y2), RedColour.toPixel());
}

TEST(DrawText, GlyphsUseTheFontColourAndIgnoreTheDrawMode) {
    TextCanvas canvas(3, 30);
    canvas.context.setFontColour(GreenColour);
    canvas.context.setDrawMode(DrawModeNotXor);
    canvas.context.drawString("IIII", Rect(0, 0, 100, 40), false, TextAlignLeft);
    int32_t solid = 0;
    for (uint32_t p : canvas.surface.pixels)
        solid += p == GreenColour.toPixel();
    EXPECT_GT(solid, 10); // the stems of I are fully covered pixels
}

TEST(DrawText, OffsetShiftsTextOnce) {
    TextCanvas plain;
    plain.context.drawString("Offset", Rect(0, 0, 80, 20), true, TextAlignCentre);
    TextCanvas shifted;
    shifted.context.setOffset(Point(30, 17));
    shifted.context.drawString("Offset", Rect(0, 0, 80, 20), true, TextAlignCentre);
    EXPECT_TRUE(shiftedCopyOf(plain.surface, shifted.surface, 30, 17));
}

TEST(DrawText, WithoutSetFontTheFallbackFontIsUsed) {
    TextCanvas fallback(0);
    PixelSurface surface(160, 60, kBackground);
    DrawContext fresh(nullptr, &surface, nullptr);
    fresh.drawString("Level", Rect(0, 0, 100, 30));
    fallback.context.drawString("Level", Rect(0, 0, 100, 30));
    EXPECT_TRUE(shiftedCopyOf(fallback.surface, surface, 0, 0));
    EXPECT_EQ(fresh.getStringWidth("Level"), fallback.context.getStringWidth("Level"));
}

TEST(DrawText, SymbolFaceMapsLettersToGreek) {
    EXPECT_EQ(symbolToUnicode('a'), 0x03B1u);
    EXPECT_EQ(symbolToUnicode('p'), 0x03C0u);
    EXPECT_EQ(symbolToUnicode('W'), 0x03A9u);
    EXPECT_EQ(symbolToUnicode('D'), 0x0394u);
    EXPECT_EQ(symbolToUnicode('m'), 0x03BCu);
    EXPECT_EQ(symbolToUnicode('1'), static_cast<uint32_t>('1'));
    EXPECT_EQ(symbolToUnicode(0xB0), 0x00B0u); // degree
    EXPECT_EQ(symbolToUnicode(0xA5), 0x221Eu); // infinity
    EXPECT_EQ(ansiToUnicode(0x80), 0x20ACu);   // euro
    EXPECT_EQ(ansiToUnicode(0xE9), 0x00E9u);
    EXPECT_EQ(ansiToUnicode('A'), static_cast<uint32_t>('A'));

    // Greek "p" (pi) is drawn differently from Latin "p" at the same size.
    TextCanvas symbol(7, 13);
    symbol.context.drawString("p", Rect(0, 0, 40, 30), false, TextAlignLeft);
    TextCanvas latin(3, 13);
    latin.context.drawString("p", Rect(0, 0, 40, 30), false, TextAlignLeft);
    EXPECT_GT(changedPixels(symbol.surface).count, 0);
    EXPECT_FALSE(shiftedCopyOf(symbol.surface, latin.surface, 0, 0));
}

TEST(DrawText, HostileFontSizesStayBounded) {
    DrawContext c(nullptr, nullptr, nullptr);
    c.setFont(3, -12); // a negative size is a size
    const int32_t negative = c.getStringWidth("x");
    c.setFont(3, 12);
    EXPECT_EQ(negative, c.getStringWidth("x"));
    c.setFont(3, 1000000000);
    EXPECT_GT(c.getStringWidth("x"), 0);
    c.setFont(3, INT32_MIN);
    EXPECT_EQ(c.getStringWidth("x"), FontEngine::instance().measure(describeFont(3, 512), "x"));
    PixelSurface surface(16, 16, kBackground);
    DrawContext drawing(nullptr, &surface, nullptr);
    drawing.setFont(3, 1000000000);
    drawing.drawString("x", Rect(0, 0, 16, 16));
}

#if TOOLKIT_NEWER
TEST(DrawText, StyleBitsChangeTheGlyphs) {
    auto draw = [](int32_t style, PixelSurface& surface) {
        DrawContext c(nullptr, &surface, nullptr);
        c.setFont(3, 14, style);
        c.drawString("Style", Rect(0, 0, 100, 30), false, TextAlignLeft);
        return c.getStringWidth("Style");
    };
    PixelSurface plain(160, 60, kBackground), bold(160, 60, kBackground),
        italic(160, 60, kBackground), underline(160, 60, kBackground);
    const int32_t plainWidth = draw(0, plain);
    EXPECT_GT(draw(FontStyleBold, bold), plainWidth);
    draw(FontStyleItalic, italic);
    draw(FontStyleUnderline, underline);
    EXPECT_FALSE(shiftedCopyOf(plain, italic, 0, 0));
    // Underlining adds a row of ink below the baseline across the text's width.
    const Changes lined = changedPixels(underline);
    const Changes bare = changedPixels(plain);
    EXPECT_GT(lined.count, bare.count);
    int32_t fullRows = 0;
    for (int32_t y = 0; y < 60; ++y) {
        int32_t inked = 0;
        for (int32_t x = 1; x < 1 + plainWidth; ++x)
            inked += underline.at(x, y) != kBackground;
        fullRows += inked == plainWidth;
    }
    EXPECT_GE(fullRows, 1);
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 160; ++x)
            if (plain.at(x, y) != kBackground) {
                ASSERT_NE(underline.at(x, y), kBackground);
            }
}
#endif

} // namespace
