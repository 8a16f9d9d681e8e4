// Pixel rules of the drawing context's shapes: insets, inclusive outlines, half-open lines,
// offset applied once, clip not shifted, pen widths, dotted pens, draw modes, hostile input.
#include "gui/draw_context.h"
#include "tests/gui/draw/surface_probe.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

namespace {

constexpr Colour kInk{200, 100, 50, 0};

struct Canvas {
    PixelSurface surface{64, 64, kBackground};
    DrawContext context{nullptr, &surface, nullptr};
    Canvas() {
        context.setFrameColour(kInk);
        context.setFillColour(kInk);
    }
};

TEST(DrawShapes, FillRectLeavesTopRowAndLeftColumn) {
    Canvas canvas;
    canvas.context.fillRect(Rect(0, 0, 10, 10));
    const Changes changes = changedPixels(canvas.surface);
    EXPECT_EQ(changes.count, 81);
    EXPECT_EQ(changes.box, Rect(1, 1, 9, 9));
    EXPECT_EQ(canvas.surface.at(5, 5), kInk.toPixel());
}

TEST(DrawShapes, DrawRectPassesThroughBothCorners) {
    Canvas canvas;
    canvas.context.drawRect(Rect(0, 0, 10, 10));
    const Changes changes = changedPixels(canvas.surface);
    EXPECT_EQ(changes.count, 40);
    EXPECT_EQ(changes.box, Rect(0, 0, 10, 10));
    for (const Point p : {Point(0, 0), Point(10, 0), Point(10, 10), Point(0, 10)})
        EXPECT_EQ(canvas.surface.at(p.h, p.v), kInk.toPixel()) << p.h << "," << p.v;
    EXPECT_EQ(canvas.surface.at(5, 5), kBackground);
}

TEST(DrawShapes, LinesLeaveOutTheirEndPixel) {
    Canvas canvas;
    canvas.context.moveTo(Point(2, 3));
    canvas.context.lineTo(Point(8, 3));
    EXPECT_EQ(rowPattern(canvas.surface, 3, 0, 10), "..######..");
    // The current position moved to the end: the next line starts there.
    canvas.context.lineTo(Point(8, 6));
    EXPECT_EQ(columnPattern(canvas.surface, 8, 0, 8), "...###..");

    Canvas diagonal;
    diagonal.context.moveTo(Point(0, 0));
    diagonal.context.lineTo(Point(4, 4));
    const Changes changes = changedPixels(diagonal.surface);
    EXPECT_EQ(changes.count, 4);
    EXPECT_EQ(changes.box, Rect(0, 0, 3, 3));
    EXPECT_EQ(diagonal.surface.at(4, 4), kBackground);
}

TEST(DrawShapes, LineToTheSamePointDrawsNothing) {
    Canvas canvas;
    canvas.context.moveTo(Point(5, 5));
    canvas.context.lineTo(Point(5, 5));
    EXPECT_EQ(changedPixels(canvas.surface).count, 0);
}

TEST(DrawShapes, PolylineDrawsEveryJointOnce) {
    // In not-xor mode a pixel drawn twice would return to the background.
    Canvas canvas;
    canvas.context.setDrawMode(DrawModeNotXor);
    const Point path[] = {{1, 1}, {9, 1}, {9, 9}, {1, 9}};
    canvas.context.polyline(path, 4);
    EXPECT_EQ(changedPixels(canvas.surface).count, 8 + 8 + 8);
    EXPECT_NE(canvas.surface.at(9, 1), kBackground);
    EXPECT_NE(canvas.surface.at(9, 9), kBackground);
    EXPECT_EQ(canvas.surface.at(1, 9), kBackground); // the last point itself is left out
}

TEST(DrawShapes, ManyPointShapesUseTheHeapPath) {
    std::vector<Point> zigzag;
    for (int32_t i = 0; i < 40; ++i)
        zigzag.push_back(Point(i + 2, (i % 2) ? 10 : 20));
    Canvas canvas;
    canvas.context.polyline(zigzag.data(), static_cast<int32_t>(zigzag.size()));
    const Changes changes = changedPixels(canvas.surface);
    EXPECT_EQ(changes.box.left, 2);
    EXPECT_EQ(changes.box.right, 41);

    std::vector<Point> polygon;
    for (int32_t i = 0; i < 40; ++i)
        polygon.push_back(Point(10 + i, 10));
    polygon.push_back(Point(50, 30));
    polygon.push_back(Point(10, 30));
    Canvas filled;
    filled.context.fillPolygon(polygon.data(), static_cast<int32_t>(polygon.size()));
    EXPECT_EQ(changedPixels(filled.surface).box, Rect(10, 10, 49, 29));
}

TEST(DrawShapes, DegeneratePointListsDrawNothing) {
    Canvas canvas;
    const Point one[] = {{5, 5}};
    canvas.context.polyline(nullptr, 5);
    canvas.context.polyline(one, 1);
    canvas.context.polyline(one, -3);
    canvas.context.fillPolygon(nullptr, 4);
    canvas.context.fillPolygon(one, 1);
    EXPECT_EQ(changedPixels(canvas.surface).count, 0);
}

TEST(DrawShapes, FillPolygonCoversPixelCentresInside) {
    Canvas canvas;
    const Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    canvas.context.fillPolygon(square, 4);
    const Changes changes = changedPixels(canvas.surface);
    EXPECT_EQ(changes.count, 100);
    EXPECT_EQ(changes.box, Rect(0, 0, 9, 9));

    // Even-odd rule: the inner square of a doubly wound outline stays empty.
    Canvas holed;
    const Point twice[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0},
                           {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
    holed.context.fillPolygon(twice, 10);
    EXPECT_EQ(holed.surface.at(10, 10), kBackground);
    EXPECT_EQ(holed.surface.at(2, 10), kInk.toPixel());
}

TEST(DrawShapes, EllipseOutlineSpansTheRectInclusive) {
    Canvas canvas;
    canvas.context.drawEllipse(Rect(0, 0, 10, 10));
    const Changes changes = changedPixels(canvas.surface);
    EXPECT_EQ(changes.box, Rect(0, 0, 10, 10));
    EXPECT_EQ(canvas.surface.at(5, 5), kBackground);
    EXPECT_EQ(canvas.surface.at(5, 0), kInk.toPixel()); // the top centre, where it starts
    EXPECT_EQ(canvas.surface.at(0, 0), kBackground);    // corners stay outside
    // Mirror symmetry of an 11 x 11 circle.
    for (int32_t y = 0; y <= 10; ++y)
        for (int32_t x = 0; x <= 10; ++x) {
            EXPECT_EQ(canvas.surface.at(x, y), canvas.surface.at(10 - x, y));
            EXPECT_EQ(canvas.surface.at(x, y), canvas.surface.at(y, x));
        }
}

TEST(DrawShapes, FillEllipseIsInsetByOneAtTopLeft) {
    Canvas canvas;
    canvas.context.fillEllipse(Rect(0, 0, 10, 10));
    const Changes changes = changedPixels(canvas.surface);
    EXPECT_EQ(changes.box, Rect(1, 1, 10, 10));
    EXPECT_EQ(canvas.surface.at(5, 5), kInk.toPixel());
}

TEST(DrawShapes, FillArcIsAPieInsideTheInsetBox) {
    // From the ray to the right counter-clockwise to the ray upwards: the upper right quarter.
    Canvas canvas;
    canvas.context.fillArc(Rect(0, 0, 21, 21), Point(30, 10), Point(10, -30));
    const Changes changes = changedPixels(canvas.surface);
    ASSERT_GT(changes.count, 0);
    EXPECT_GE(changes.box.left, 10);
    EXPECT_LE(changes.box.bottom, 10);
    EXPECT_EQ(changes.box.top, 1);
    EXPECT_EQ(changes.box.right, 20);
    EXPECT_EQ(canvas.surface.at(15, 5), kInk.toPixel());

    // The same rays the other way round: everything but that quarter.
    Canvas rest;
    rest.context.fillArc(Rect(0, 0, 21, 21), Point(10, -30), Point(30, 10));
    EXPECT_EQ(rest.surface.at(15, 5), kBackground);
    EXPECT_EQ(rest.surface.at(5, 15), kInk.toPixel());
    EXPECT_EQ(changedPixels(rest.surface).box, Rect(1, 1, 20, 20));

    // Equal rays make the whole ellipse.
    Canvas whole;
    whole.context.fillArc(Rect(0, 0, 21, 21), Point(10, 0), Point(10, 0));
    EXPECT_EQ(changedPixels(whole.surface).box, Rect(1, 1, 20, 20));
}

TEST(DrawShapes, DrawArcRunsCounterClockwiseFromStartToEnd) {
    // From the right ray to the left ray counter-clockwise: the upper half only.
    Canvas canvas;
    canvas.context.drawArc(Rect(0, 0, 20, 20), Point(40, 10), Point(-20, 10));
    const Changes changes = changedPixels(canvas.surface);
    ASSERT_GT(changes.count, 0);
    EXPECT_EQ(changes.box.top, 0);
    EXPECT_LE(changes.box.bottom, 10);
    EXPECT_EQ(changes.box.left, 0);
    EXPECT_EQ(changes.box.right, 20);
}

TEST(DrawShapes, DrawPointIgnoresDrawModeButNotClip) {
    Canvas canvas;
    canvas.context.setDrawMode(DrawModeNotXor);
    canvas.context.drawPoint(Point(3, 4), RedColour);
    EXPECT_EQ(canvas.surface.at(3, 4), RedColour.toPixel());
    canvas.context.setClipRect(Rect(10, 10, 20, 20));
    canvas.context.drawPoint(Point(5, 5), RedColour);
    canvas.context.drawPoint(Point(20, 20), RedColour);
    canvas.context.drawPoint(Point(-1, 70), RedColour);
    EXPECT_EQ(changedPixels(canvas.surface).count, 1);
}

// Every drawing operation, so that offset and clip rules can be checked on all of them.
const std::vector<std::pair<const char*, std::function<void(DrawContext&)>>>& allShapes() {
    static const std::vector<std::pair<const char*, std::function<void(DrawContext&)>>> shapes = {
        {"fillRect", [](DrawContext& c) { c.fillRect(Rect(2, 3, 17, 12)); }},
        {"drawRect", [](DrawContext& c) { c.drawRect(Rect(2, 3, 17, 12)); }},
        {"line",
         [](DrawContext& c) {
             c.moveTo(Point(1, 2));
             c.lineTo(Point(19, 13));
         }},
        {"polyline",
         [](DrawContext& c) {
             const Point p[] = {{1, 1}, {18, 4}, {6, 15}};
             c.polyline(p, 3);
         }},
        {"fillPolygon",
         [](DrawContext& c) {
             const Point p[] = {{1, 1}, {18, 4}, {6, 15}};
             c.fillPolygon(p, 3);
         }},
        {"drawEllipse", [](DrawContext& c) { c.drawEllipse(Rect(2, 2, 18, 13)); }},
        {"fillEllipse", [](DrawContext& c) { c.fillEllipse(Rect(2, 2, 18, 13)); }},
        {"drawArc",
         [](DrawContext& c) { c.drawArc(Rect(2, 2, 18, 13), Point(18, 2), Point(2, 13)); }},
        {"fillArc",
         [](DrawContext& c) { c.fillArc(Rect(2, 2, 18, 13), Point(18, 2), Point(2, 13)); }},
        {"drawPoint", [](DrawContext& c) { c.drawPoint(Point(7, 8), RedColour); }},
        {"wideLine",
         [](DrawContext& c) {
             c.setLineWidth(4);
             c.moveTo(Point(3, 3));
             c.lineTo(Point(15, 10));
         }},
    };
    return shapes;
}

TEST(DrawShapes, OffsetShiftsEveryShapeExactlyOnce) {
    for (const auto& [name, draw] : allShapes()) {
        Canvas plain;
        draw(plain.context);
        Canvas shifted;
        shifted.context.setOffset(Point(13, 21));
        draw(shifted.context);
        EXPECT_GT(changedPixels(plain.surface).count, 0) << name;
        EXPECT_TRUE(shiftedCopyOf(plain.surface, shifted.surface, 13, 21)) << name;
    }
}

TEST(DrawShapes, ClipIsInSurfaceCoordinatesAndNotShifted) {
    for (const auto& [name, draw] : allShapes()) {
        Canvas reference;
        reference.context.setOffset(Point(5, 5));
        draw(reference.context);
        Canvas clipped;
        clipped.context.setOffset(Point(5, 5));
        clipped.context.setClipRect(Rect(0, 0, 14, 14));
        draw(clipped.context);
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                const bool inside = x < 14 && y < 14;
                const uint32_t expected = inside ? reference.surface.at(x, y) : kBackground;
                ASSERT_EQ(clipped.surface.at(x, y), expected) << name << " " << x << "," << y;
            }
    }
    // The example: offset (5, 5), clip (0, 0, 10, 10), fillRect(0, 0, 20, 20).
    Canvas canvas;
    canvas.context.setOffset(Point(5, 5));
    canvas.context.setClipRect(Rect(0, 0, 10, 10));
    canvas.context.fillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(changedPixels(canvas.surface).box, Rect(6, 6, 9, 9));
}

TEST(DrawShapes, ResetClipRectGoesBackToTheDefault) {
    Canvas canvas;
    canvas.context.setClipRect(Rect(0, 0, 5, 5));
    canvas.context.resetClipRect();
    canvas.context.fillRect(Rect(0, 0, 30, 30));
    EXPECT_EQ(changedPixels(canvas.surface).box, Rect(1, 1, 29, 29));
}

TEST(DrawShapes, PenWidthCoversThatManyRowsOrColumns) {
    for (int32_t width : {0, 1, 2, 3, 4, 5, 8}) {
        Canvas canvas;
        canvas.context.setLineWidth(width);
        canvas.context.moveTo(Point(10, 30));
        canvas.context.lineTo(Point(50, 30));
        const int32_t expected = width < 1 ? 1 : width;
        EXPECT_EQ(columnPattern(canvas.surface, 30, 0, 64).find('#'),
                  static_cast<size_t>(30 - expected / 2))
            << width;
        int32_t rows = 0;
        for (int32_t y = 0; y < 64; ++y)
            rows += canvas.surface.at(30, y) != kBackground;
        EXPECT_EQ(rows, expected) << width;

        Canvas vertical;
        vertical.context.setLineWidth(width);
        vertical.context.moveTo(Point(30, 10));
        vertical.context.lineTo(Point(30, 50));
        int32_t columns = 0;
        for (int32_t x = 0; x < 64; ++x)
            columns += vertical.surface.at(x, 30) != kBackground;
        EXPECT_EQ(columns, expected) << width;
    }
}

TEST(DrawShapes, WidePensHaveRoundCapsAndPaintEachPixelOnce) {
    Canvas canvas;
    canvas.context.setLineWidth(6);
    canvas.context.moveTo(Point(20, 20));
    canvas.context.lineTo(Point(40, 20));
    // Round caps reach past both end points by half the width...
    EXPECT_NE(canvas.surface.at(18, 20), kBackground);
    EXPECT_NE(canvas.surface.at(42, 20), kBackground);
    // ...but not into the corners of a square cap.
    EXPECT_EQ(canvas.surface.at(17, 17), kBackground);

    // A sharp zigzag in not-xor mode: overlapping segment pieces still flip each pixel once.
    Canvas zig;
    zig.context.setLineWidth(5);
    zig.context.setDrawMode(DrawModeNotXor);
    const Point path[] = {{10, 10}, {50, 12}, {12, 20}, {50, 40}};
    zig.context.polyline(path, 4);
    const uint32_t flipped = ~(kBackground ^ kInk.toPixel()) & 0xFFFFFF;
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const uint32_t p = zig.surface.at(x, y);
            ASSERT_TRUE(p == kBackground || p == flipped) << x << "," << y;
        }
    zig.context.polyline(path, 4);
    EXPECT_EQ(changedPixels(zig.surface).count, 0);
}

TEST(DrawShapes, DottedPenRunsThreeOnThreeOffAcrossAPath) {
    Canvas canvas;
    canvas.context.setLineStyle(LineDotted);
    canvas.context.moveTo(Point(0, 5));
    canvas.context.lineTo(Point(15, 5));
    EXPECT_EQ(rowPattern(canvas.surface, 5, 0, 16), "###...###...###.");

    // The pattern continues round the corners of a rectangle instead of restarting.
    Canvas box;
    box.context.setLineStyle(LineDotted);
    box.context.drawRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(rowPattern(box.surface, 0, 0, 5), "###..");
    EXPECT_EQ(columnPattern(box.surface, 4, 0, 5), "..###");

    // Dotted outlines of ellipses leave gaps too.
    Canvas ellipse;
    ellipse.context.drawEllipse(Rect(0, 0, 30, 30));
    const int32_t solid = changedPixels(ellipse.surface).count;
    Canvas dotted;
    dotted.context.setLineStyle(LineDotted);
    dotted.context.drawEllipse(Rect(0, 0, 30, 30));
    const int32_t dots = changedPixels(dotted.surface).count;
    EXPECT_GT(dots, solid * 4 / 10);
    EXPECT_LT(dots, solid * 6 / 10);

    // Back to solid.
    Canvas again;
    again.context.setLineStyle(LineDotted);
    again.context.setLineStyle(LineSolid);
    again.context.moveTo(Point(0, 5));
    again.context.lineTo(Point(8, 5));
    EXPECT_EQ(rowPattern(again.surface, 5, 0, 9), "########.");
}

TEST(DrawShapes, DrawModesCombinePenAndBrushWithTheSurface) {
    const uint32_t under = kBackground;
    const uint32_t ink = kInk.toPixel();
    struct Case {
        int32_t mode;
        uint32_t expected;
    } cases[] = {{DrawModeCopy, ink},
                 {DrawModeOr, under | ink},
                 {DrawModeNotXor, ~(under ^ ink) & 0xFFFFFF},
                 {7, ink}}; // unknown modes copy
    for (const Case& c : cases) {
        Canvas canvas;
        canvas.context.setDrawMode(c.mode);
        canvas.context.fillRect(Rect(0, 0, 5, 5));
        canvas.context.moveTo(Point(10, 10));
        canvas.context.lineTo(Point(20, 10));
        canvas.context.fillEllipse(Rect(30, 30, 40, 40));
        EXPECT_EQ(canvas.surface.at(2, 2), c.expected) << c.mode;
        EXPECT_EQ(canvas.surface.at(15, 10), c.expected) << c.mode;
        EXPECT_EQ(canvas.surface.at(35, 35), c.expected) << c.mode;
    }
}

TEST(DrawShapes, NoSurfaceMeansNothingHappens) {
    DrawContext context(nullptr, nullptr, nullptr);
    context.fillRect(Rect(0, 0, 10, 10));
    context.drawEllipse(Rect(0, 0, 10, 10));
    context.lineTo(Point(5, 5));
    context.drawString("text", Rect(0, 0, 10, 10));
    context.drawPoint(Point(1, 1), RedColour);
    EXPECT_EQ(context.getEffectiveClip(), Rect());
}

TEST(DrawShapes, ExtremeCoordinatesAreClippedNotWalked) {
    // Shapes far larger than the surface cost only what is visible, and offsets that push
    // coordinates past the 32-bit range do not wrap around onto the surface.
    Canvas canvas;
    canvas.context.moveTo(Point(-2000000000, -2000000000));
    canvas.context.lineTo(Point(2000000000, 2000000000));
    for (int32_t i = 0; i < 64; ++i)
        EXPECT_EQ(canvas.surface.at(i, i), kInk.toPixel());
    EXPECT_EQ(changedPixels(canvas.surface).count, 64);

    Canvas huge;
    huge.context.fillEllipse(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    huge.context.drawEllipse(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    huge.context.fillArc(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), Point(0, 0), Point(1, 0));
    huge.context.setLineWidth(INT_MAX);
    huge.context.moveTo(Point(INT_MIN, 0));
    huge.context.lineTo(Point(INT_MAX, 0));
    huge.context.setLineWidth(3);
    huge.context.drawArc(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), Point(0, 0), Point(9, 9));

    Canvas wrapped;
    wrapped.context.setOffset(Point(INT_MAX, INT_MAX));
    wrapped.context.fillRect(Rect(INT_MAX, INT_MAX, INT_MAX, INT_MAX));
    wrapped.context.fillRect(Rect(1, 1, 50, 50));
    const Point far[] = {{INT_MAX, 0}, {0, INT_MAX}, {INT_MAX, INT_MAX}};
    wrapped.context.fillPolygon(far, 3);
    wrapped.context.polyline(far, 3);
    EXPECT_EQ(changedPixels(wrapped.surface).count, 0);
}

TEST(DrawShapes, InvertedRectanglesFillNothing) {
    Canvas canvas;
    canvas.context.fillRect(Rect(10, 10, 5, 5));
    canvas.context.fillEllipse(Rect(10, 10, 5, 5));
    canvas.context.fillRect(Rect(3, 3, 4, 4)); // 1 x 1 minus the inset
    EXPECT_EQ(changedPixels(canvas.surface).count, 0);
}

} // namespace
