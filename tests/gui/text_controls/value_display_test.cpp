// Value displays: the text they show (two decimals, converters with and without user data,
// bounded appends), which setters make them dirty, the box they draw for each style (fill and
// frame, the two 3D frames, shadow text, no text, no drawing).
#include "gui/draw_context.h"
#include "gui/platform/pixel_surface.h"
#include "gui/value_display.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const Rect kBox(10, 10, 50, 30);

uint32_t pixel(const PixelSurface& surface, int32_t x, int32_t y) {
    return surface.row(y)[x];
}

bool hasPixel(const PixelSurface& surface, const Rect& area, uint32_t value) {
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            if (pixel(surface, x, y) == value) return true;
    return false;
}

// Text is smoothed: its pixels are the font colour blended over what lay below.
bool hasBluish(const PixelSurface& surface, const Rect& area) {
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            const Colour c = Colour::fromPixel(pixel(surface, x, y));
            if (c.blue > c.red + 60 && c.blue > c.green + 60) return true;
        }
    return false;
}
bool hasWhitish(const PixelSurface& surface, const Rect& area) {
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            const Colour c = Colour::fromPixel(pixel(surface, x, y));
            if (c.red > 200 && c.green > 200 && c.blue > 200) return true;
        }
    return false;
}

void appendPercent(float value, TextBuffer& text) {
    text.appendFormat("%d%%", int(value * 100));
}
void appendUnit(float value, TextBuffer& text, void* unit) {
    text.appendFormat("%.1f %s", value, static_cast<const char*>(unit));
}
void appendTooMuch(float, TextBuffer& text) {
    for (int i = 0; i < 100; ++i)
        text.append("0123456789");
}

TEST(ValueDisplayText, TwoDecimalsWithoutConverterThenConvertersWithDataPreferred) {
    ValueDisplay display(kBox, nullptr, 0);
    display.setValue(0.5f);
    TextBuffer text;
    display.convertValue(text);
    EXPECT_STREQ(text.c_str(), "0.50");
    display.setValue(-0.125f);
    display.convertValue(text);
    EXPECT_STREQ(text.c_str(), "-0.12"); // point, not the locale's separator; ties to even

    display.setValue(0.25f);
    display.setStringConvert(appendPercent);
    display.convertValue(text);
    EXPECT_STREQ(text.c_str(), "25%");
    static const char unit[] = "dB";
    display.setStringConvert(appendUnit, const_cast<char*>(unit));
    display.convertValue(text);
    EXPECT_STREQ(text.c_str(), "0.2 dB");
    EXPECT_EQ(display.getUserData(), unit);
}

TEST(ValueDisplayText, ConverterOutputIsCutAt255Characters) {
    ValueDisplay display(kBox, nullptr, 0);
    display.setStringConvert(appendTooMuch);
    TextBuffer text;
    display.convertValue(text);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(std::string(text.c_str()).substr(250), "01234");
    text.clear();
    text.appendFormat("%0300d", 7);
    EXPECT_EQ(text.size(), 255u);
}

TEST(ValueDisplayDirty, SettersMarkDirtyOnlyForAVisibleChange) {
    ValueDisplay display(kBox, nullptr, 0);
    display.setDirty(false);
    display.setFontColour(Colour{255, 255, 255, 77}); // white with another fourth byte
    display.setBackColour(Colour{0, 0, 0, 9});
    display.setFrameColour(Colour{0, 0, 0, 1});
    display.setShadowColour(Colour{255, 0, 0, 200});
    display.setFont(3);
    display.setHoriAlign(1);
    display.setStyle(0);
    display.setBackOffset(Point(4, 4)); // stored only
    display.setTextTransparency(false);
    EXPECT_FALSE(display.isDirty());
    EXPECT_EQ(display.getFontColour().alpha, 77); // stored nevertheless

    auto expectDirtyAfter = [&](auto change) {
        display.setDirty(false);
        change();
        EXPECT_TRUE(display.isDirty());
    };
    expectDirtyAfter([&] { display.setFontColour(Colour{255, 255, 254, 0}); });
    expectDirtyAfter([&] { display.setBackColour(GreyColour); });
    expectDirtyAfter([&] { display.setFrameColour(BlueColour); });
    expectDirtyAfter([&] { display.setShadowColour(GreenColour); });
    expectDirtyAfter([&] { display.setFont(2); });
    expectDirtyAfter([&] { display.setHoriAlign(2); });
    expectDirtyAfter([&] { display.setStyle(kDisplayShadowText); });
#if TOOLKIT_NEWER
    expectDirtyAfter([&] { display.setFontStyle(FontStyleBold); });
#endif
}

TEST(ValueDisplayDraw, NoDrawingStyleDrawsNothingAndStartsClean) {
    ValueDisplay display(kBox, nullptr, kDisplayNoDrawing);
#if TOOLKIT_NEWER
    EXPECT_FALSE(display.isDirty());
#else
    EXPECT_TRUE(display.isDirty());
#endif
    PixelSurface surface(60, 40, 0x123456);
    DrawContext context(nullptr, &surface, nullptr);
    display.draw(&context);
    EXPECT_FALSE(hasPixel(surface, Rect(0, 0, 60, 40), 0x000000));
    EXPECT_FALSE(display.isDirty());
}

// Frame colour green, back colour red; where each style puts which.
struct FrameCase {
    int32_t style;
    uint32_t left, top, right, bottom; // colours at the middle of each edge
};

class ValueDisplayFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(ValueDisplayFrames, EdgesTakeTheirColours) {
    const FrameCase& c = GetParam();
    ValueDisplay display(kBox, nullptr, c.style | kDisplayNoText);
    display.setFrameColour(GreenColour);
    display.setBackColour(RedColour);
    PixelSurface surface(60, 40, 0x123456);
    DrawContext context(nullptr, &surface, nullptr);
    display.draw(&context);
    EXPECT_EQ(pixel(surface, 10, 20), c.left);
    EXPECT_EQ(pixel(surface, 30, 10), c.top);
    EXPECT_EQ(pixel(surface, 50, 20), c.right);
    EXPECT_EQ(pixel(surface, 30, 30), c.bottom);
    EXPECT_EQ(pixel(surface, 30, 20), 0xff0000u); // filled inside
    EXPECT_EQ(pixel(surface, 51, 20), 0x123456u); // nothing outside
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ValueDisplayFrames,
    ::testing::Values(FrameCase{0, 0x00ff00, 0x00ff00, 0x00ff00, 0x00ff00},
                      FrameCase{kDisplaySunkenFrame, 0xff0000, 0xff0000, 0x00ff00, 0x00ff00},
                      FrameCase{kDisplayRaisedFrame, 0x00ff00, 0x00ff00, 0xff0000, 0xff0000}));

TEST(ValueDisplayDraw, ShadowTextUnderTheTextAndNoTextStyleLeavesOnlyTheBox) {
    const Rect inside(11, 11, 50, 30);
    PixelSurface surface(60, 40, 0);
    {
        ValueDisplay display(kBox, nullptr, kDisplayShadowText);
        display.setValue(0.88f);
        display.setBackColour(GreyColour);
        display.setShadowColour(BlueColour);
        DrawContext context(nullptr, &surface, nullptr);
        display.draw(&context);
        EXPECT_TRUE(hasBluish(surface, inside));
        EXPECT_TRUE(hasWhitish(surface, inside));
    }
    {
        ValueDisplay display(kBox, nullptr, kDisplayNoText);
        display.setBackColour(GreyColour);
        DrawContext context(nullptr, &surface, nullptr);
        display.draw(&context);
        EXPECT_FALSE(hasWhitish(surface, inside));
    }
}

TEST(ValueDisplayDraw, TransparentViewWithoutBackgroundDrawsOnlyText) {
    ValueDisplay display(kBox, nullptr, 0);
    display.setTransparency(true);
    display.setBackColour(RedColour);
    PixelSurface surface(60, 40, 0x123456);
    DrawContext context(nullptr, &surface, nullptr);
    display.draw(&context);
    EXPECT_FALSE(hasPixel(surface, Rect(0, 0, 60, 40), 0xff0000));
    EXPECT_TRUE(hasWhitish(surface, kBox));
}

} // namespace
