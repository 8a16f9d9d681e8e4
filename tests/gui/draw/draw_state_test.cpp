// The drawing context's state: defaults, which changes touch the device, the frame's clip,
// font selection through the table, and the pointer queries of drag loops.
#include "gui/draw_context.h"
#include "tests/gui/draw/surface_probe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DrawState, DefaultsWithoutFrame) {
    PixelSurface surface(8, 8, kBackground);
    DrawContext context(nullptr, &surface, nullptr);
    EXPECT_EQ(context.getFrameColour(), WhiteColour);
    EXPECT_EQ(context.getFillColour(), BlackColour);
    EXPECT_EQ(context.getFontColour(), WhiteColour);
    EXPECT_EQ(context.getLineWidth(), 1);
    EXPECT_EQ(context.getLineStyle(), LineSolid);
    EXPECT_EQ(context.getDrawMode(), DrawModeCopy);
    EXPECT_EQ(context.getFontSize(), 0);
    EXPECT_EQ(context.getFont(), nullptr);
    EXPECT_EQ(context.getOffset(), Point(0, 0));
    EXPECT_EQ(context.getWindowOffset(), Point(0, 0));
    Rect clip;
    EXPECT_EQ(context.getClipRect(clip), Rect(0, 0, 1000, 1000));
    // The default pen is white and the default brush black.
    context.moveTo(Point(0, 0));
    context.lineTo(Point(3, 0));
    context.fillRect(Rect(0, 2, 4, 6));
    EXPECT_EQ(surface.at(1, 0), WhiteColour.toPixel());
    EXPECT_EQ(surface.at(2, 4), BlackColour.toPixel());
}

TEST(DrawState, ColoursReachTheSurfaceAsRgbOnly) {
    PixelSurface surface(8, 8, kBackground);
    DrawContext context(nullptr, &surface, nullptr);
    context.setFillColour(Colour{1, 2, 3, 200});
    context.fillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(surface.at(2, 2), 0x00010203u);
    EXPECT_EQ(context.getFillColour().alpha, 200); // stored as given
}

TEST(DrawState, OnlyChangedValuesTouchTheDevice) {
    PixelSurface surface(8, 8);
    DrawContext context(nullptr, &surface, nullptr);
    const DeviceChanges before = context.getDeviceChanges();
    context.setDrawMode(DrawModeCopy); // already the mode
    EXPECT_EQ(context.getDeviceChanges().mixMode, before.mixMode);
    context.setDrawMode(DrawModeNotXor);
    context.setDrawMode(DrawModeNotXor);
    EXPECT_EQ(context.getDeviceChanges().mixMode, before.mixMode + 1);

    context.setClipRect(Rect(0, 0, 1000, 1000)); // the recorded clip
    EXPECT_EQ(context.getDeviceChanges().clipRegion, before.clipRegion);
    context.setClipRect(Rect(1, 1, 5, 5));
    context.setClipRect(Rect(1, 1, 5, 5));
    EXPECT_EQ(context.getDeviceChanges().clipRegion, before.clipRegion + 1);

    // Every pen setter rebuilds the pen, even with the value it has.
    context.setLineWidth(1);
    context.setFrameColour(WhiteColour);
    context.setLineStyle(LineSolid);
    EXPECT_EQ(context.getDeviceChanges().pen, before.pen + 3);
}

TEST(DrawState, ConstructionMakesPenAndBrushCurrentOnlyWithASurface) {
    PixelSurface surface(4, 4);
    DrawContext withSurface(nullptr, &surface, nullptr);
    EXPECT_EQ(withSurface.getDeviceChanges().pen, 2);   // frame colour, then line style
    EXPECT_EQ(withSurface.getDeviceChanges().brush, 1); // fill colour
    DrawContext without(nullptr, nullptr, nullptr);
    EXPECT_EQ(without.getDeviceChanges().pen, 0);
    EXPECT_EQ(without.getDeviceChanges().brush, 0);
    without.setFillColour(RedColour); // state is still kept
    EXPECT_EQ(without.getFillColour(), RedColour);
}

// A stand-in for the frame that builds a context: its size and a count of idle pumps.
struct FakeFrame final : ContextHost {
    Rect getHostArea() const override { return {0, 0, 30, 20}; }
    void runIdlePump() override { ++pumps; }
    int32_t pumps = 0;
};

class WithFrame : public ::testing::Test {
  protected:
    ContextHost* frame() { return &fake; }
    FakeFrame fake;
};

TEST_F(WithFrame, TheFrameSizeIsTheDefaultClipButIsNotSelected) {
    PixelSurface surface(64, 64, kBackground);
    DrawContext context(frame(), &surface, nullptr);
    Rect clip;
    EXPECT_EQ(context.getClipRect(clip), Rect(0, 0, 30, 20));
    EXPECT_EQ(context.getFrame(), frame());
    // Recorded only: drawing reaches the whole surface until a clip is selected.
    context.setFillColour(RedColour);
    context.fillRect(Rect(0, 0, 50, 50));
    EXPECT_EQ(changedPixels(surface).box, Rect(1, 1, 49, 49));
    context.setClipRect(Rect(0, 0, 10, 10));
    context.resetClipRect();
    context.setFillColour(BlueColour);
    context.fillRect(Rect(0, 0, 50, 50));
    EXPECT_EQ(surface.at(25, 15), BlueColour.toPixel());
    EXPECT_EQ(surface.at(35, 15), RedColour.toPixel());
}

TEST(DrawState, DeviceClipLimitsDrawingWithoutChangingTheClipState) {
    PixelSurface surface(32, 32, kBackground);
    DrawContext context(nullptr, &surface, nullptr);
    context.setFillColour(RedColour);
    context.setDeviceClip(Rect(5, 5, 10, 10));
    context.fillRect(Rect(0, 0, 32, 32));
    EXPECT_EQ(changedPixels(surface).box, Rect(5, 5, 9, 9));
    Rect clip;
    EXPECT_EQ(context.getClipRect(clip), Rect(0, 0, 1000, 1000));
    context.clearDeviceClip();
    context.fillRect(Rect(0, 0, 32, 32));
    EXPECT_EQ(changedPixels(surface).box, Rect(1, 1, 31, 31));
}

TEST(DrawState, SetFontGoesThroughTheTable) {
    DrawContext context(nullptr, nullptr, nullptr);
    context.setFont(9, 0); // outside the table: font 0
    ASSERT_NE(context.getFont(), nullptr);
    EXPECT_EQ(context.getFontSize(), 12);
    EXPECT_EQ(context.getFont()->weight, FontWeightBold);
    EXPECT_EQ(context.getFont()->typeface, Typeface::Sans);
    context.setFont(7, 0);
    EXPECT_EQ(context.getFontSize(), 13);
    EXPECT_EQ(context.getFont()->typeface, Typeface::Symbol);
    EXPECT_EQ(context.getFont()->weight, FontWeightNormal);
    context.setFont(3, 20);
    EXPECT_EQ(context.getFontSize(), 20);
    EXPECT_EQ(context.getFont()->weight, FontWeightNormal);
    context.setFont(-1, 0);
    EXPECT_EQ(context.getFontSize(), 12);
    EXPECT_EQ(context.getFont()->id, 0);
#if TOOLKIT_NEWER
    EXPECT_EQ(context.getFontId(), 0);
    context.setFont(3, 0, FontStyleBold | FontStyleItalic | FontStyleUnderline);
    EXPECT_EQ(context.getFontId(), 3);
    EXPECT_EQ(context.getFont()->weight, FontWeightBold);
    EXPECT_TRUE(context.getFont()->italic);
    EXPECT_TRUE(context.getFont()->underline);
    context.setFont(0, 0, 0); // font 0 is bold regardless of the style
    EXPECT_EQ(context.getFont()->weight, FontWeightBold);
    EXPECT_FALSE(context.getFont()->italic);
#endif
}

// A scripted window: buttons, pointer and a clock that advances a millisecond per reading.
struct ScriptedPointer : PointerSource {
    int32_t buttons = 0;
    Point pointer{100, 100};
    Point window{40, 30};
    uint32_t now = 5000;
    uint32_t doubleClick = 500;
    uint32_t lastPress = 5000;
    int32_t pressAfterPolls = -1; // a second press arrives after this many polls
    int32_t polls = 0;
    std::vector<Point> path; // pointer positions handed out in turn, then the last one stays
    size_t pathIndex = 0;
    int32_t releaseAfterReads = -1;
    int32_t buttonReads = 0;

    int32_t getButtonState() override {
        ++buttonReads;
        if (releaseAfterReads >= 0 && buttonReads > releaseAfterReads) return 0;
        return buttons;
    }
    Point getPointerPosition() override {
        if (pathIndex < path.size()) return pointer = path[pathIndex++];
        return pointer;
    }
    Point getWindowPosition() override { return window; }
    uint32_t getTicks() override { return now++; }
    uint32_t getDoubleClickTime() override { return doubleClick; }
    uint32_t getLastPressTime() override { return lastPress; }
    bool takeLeftButtonPress() override {
        ++polls;
        return pressAfterPolls >= 0 && polls > pressAfterPolls;
    }
};

TEST(DrawInput, ButtonsAndLocationComeFromTheWindow) {
    ScriptedPointer pointer;
    pointer.buttons = MouseLeft | MouseShift;
    DrawContext context(nullptr, nullptr, &pointer);
    EXPECT_EQ(context.getWindowOffset(), Point(40, 30));
    EXPECT_EQ(context.getMouseButtons(), MouseLeft | MouseShift);
    Point where;
    EXPECT_EQ(context.getMouseLocation(where), Point(60, 70));
    // A container moves the window origin to its own corner.
    context.setWindowOffset(Point(50, 50));
    EXPECT_EQ(context.getMouseLocation(where), Point(50, 50));

    DrawContext windowless(nullptr, nullptr, nullptr);
    EXPECT_EQ(windowless.getMouseButtons(), 0);
    EXPECT_EQ(windowless.getMouseLocation(where), Point(0, 0));
    EXPECT_FALSE(windowless.waitDoubleClick());
}

TEST(DrawInput, WaitDoubleClickAfterTheIntervalAnswersAtOnce) {
    ScriptedPointer pointer;
    pointer.lastPress = 1000; // 4 s ago
    pointer.pressAfterPolls = 0;
    DrawContext context(nullptr, nullptr, &pointer);
    EXPECT_FALSE(context.waitDoubleClick());
    EXPECT_EQ(pointer.polls, 0);
}

TEST(DrawInput, WaitDoubleClickSeesASecondPress) {
    ScriptedPointer pointer;
    pointer.pressAfterPolls = 20;
    DrawContext context(nullptr, nullptr, &pointer);
    EXPECT_TRUE(context.waitDoubleClick());
    EXPECT_EQ(pointer.polls, 21);
}

TEST(DrawInput, WaitDoubleClickGivesUpAtTheLimit) {
    ScriptedPointer pointer;
    DrawContext context(nullptr, nullptr, &pointer);
    EXPECT_FALSE(context.waitDoubleClick());
    EXPECT_GE(pointer.now, pointer.lastPress + pointer.doubleClick);
    EXPECT_LT(pointer.now, pointer.lastPress + pointer.doubleClick + 10);
}

TEST(DrawInput, WaitDoubleClickHandlesTheTickWrap) {
    ScriptedPointer pointer;
    pointer.now = 0xFFFFFF00u;
    pointer.lastPress = 0xFFFFFF00u; // the limit lies past the wrap
    DrawContext context(nullptr, nullptr, &pointer);
    EXPECT_FALSE(context.waitDoubleClick());
    EXPECT_GT(pointer.polls, 400);
}

TEST(DrawInput, WaitDoubleClickAndPointerMovement) {
    ScriptedPointer pointer;
    pointer.path = {{100, 100}, {101, 102}, {102, 98}, {103, 100}};
    DrawContext context(nullptr, nullptr, &pointer);
#if TOOLKIT_NEWER
    // Leaving the box of +-2 pixels ends the wait at once.
    EXPECT_FALSE(context.waitDoubleClick());
    EXPECT_EQ(pointer.polls, 3);
#else
    // The older variant only watches the clock.
    EXPECT_FALSE(context.waitDoubleClick());
    EXPECT_GT(pointer.polls, 400);
#endif
}

#if TOOLKIT_NEWER
TEST_F(WithFrame, WaitDragAnswersTrueWhenThePointerLeavesTheBox) {
    ScriptedPointer pointer;
    pointer.buttons = MouseLeft;
    pointer.path = {{100, 100}, {102, 98}, {98, 102}, {100, 103}};
    DrawContext context(frame(), nullptr, &pointer);
    EXPECT_TRUE(context.waitDrag());
    EXPECT_EQ(fake.pumps, 3);
}

TEST_F(WithFrame, WaitDragAnswersFalseWhenTheButtonsChange) {
    ScriptedPointer pointer;
    pointer.buttons = MouseLeft;
    pointer.releaseAfterReads = 5;
    DrawContext context(frame(), nullptr, &pointer);
    EXPECT_FALSE(context.waitDrag());
    EXPECT_EQ(fake.pumps, 5);

    ScriptedPointer shifted; // left plus shift is not the left button alone
    shifted.buttons = MouseLeft | MouseShift;
    DrawContext other(frame(), nullptr, &shifted);
    EXPECT_FALSE(other.waitDrag());
}

TEST(DrawInput, WaitDragWithoutAFrameIsFalse) {
    ScriptedPointer pointer;
    pointer.buttons = MouseLeft;
    pointer.path = {{100, 100}, {150, 150}};
    DrawContext context(nullptr, nullptr, &pointer);
    EXPECT_FALSE(context.waitDrag());
    EXPECT_EQ(pointer.buttonReads, 0);
}
#endif

} // namespace
