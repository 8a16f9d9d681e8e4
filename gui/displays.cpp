// Displays: frame display, loop animation, digit display, level meter.
#include "gui/displays.h"

#include "gui/control_support.h"

#include <algorithm>

using control_support::clampIndex;
using control_support::drawRegion;
using control_support::pressButtons;
using control_support::truncate;

// ---- FrameDisplay ----

FrameDisplay::FrameDisplay(const Rect& rect, ControlListener* owner, int32_t controlTag,
                           int32_t frames, int32_t height, Bitmap* bitmap,
                           const Point& sourceOffset)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset), subBitmapCount(frames),
      frameHeight(height) {}

int32_t FrameDisplay::frameFor(float shown) const {
    if (subBitmapCount < 2 || !(shown > 0.0f)) return 0;
    if (shown > 1.0f) shown = 1.0f;
    // The nearest frame (a knob strip rounds down instead).
    const float last = static_cast<float>(subBitmapCount - 1);
    return clampIndex(truncate(last * shown + 0.5f), subBitmapCount - 1);
}

void FrameDisplay::draw(DrawContext* context) {
    if (value > 1.0f) value = 1.0f;
    const int32_t y = offset.v + frameFor(value) * frameHeight;
    drawRegion(background, context, size, Point(offset.h, y), transparent);
    setDirty(false);
}

// ---- LoopAnimation ----

LoopAnimation::LoopAnimation(const Rect& rect, ControlListener* owner, int32_t controlTag,
                             int32_t frames, int32_t height, Bitmap* bitmap,
                             const Point& sourceOffset)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset), subBitmapCount(frames),
      frameHeight(height), totalHeight(static_cast<int32_t>(std::clamp<int64_t>(
                               static_cast<int64_t>(frames) * height, 0, INT32_MAX))) {}

void LoopAnimation::draw(DrawContext* context) {
    if (opened) {
        const Point source(offset.h, offset.v + truncate(value));
        drawRegion(background, context, size, source, transparent);
    }
    setDirty(false);
}

void LoopAnimation::mouse(DrawContext* context, Point&) {
    const int32_t buttons = pressButtons(*this, context);
    if (!(buttons & MouseLeft)) return;
    value = 0.0f;
    if (opened) {
        draw(context);
        opened = false;
        return;
    }
    opened = true;
    setDirty(true);
    reportChange(context);
}

void LoopAnimation::nextFrame() {
    value += static_cast<float>(frameHeight);
    if (value >= static_cast<float>(totalHeight - frameHeight)) value = 0.0f;
}

void LoopAnimation::previousFrame() {
    value -= static_cast<float>(frameHeight);
    if (value < 0.0f) value = static_cast<float>(totalHeight - frameHeight - 1);
}

// ---- DigitDisplay ----

DigitDisplay::DigitDisplay(const Rect& rect, ControlListener* owner, int32_t controlTag,
                           float startValue, int32_t count, const int32_t* xPositions,
                           const int32_t* yPositions, int32_t width, int32_t height, Bitmap* bitmap)
    : Control(rect, owner, controlTag, bitmap), digitCount(std::clamp(count, 0, MaxDigits)),
      digitWidth(width), digitHeight(height) {
    value = startValue;
    for (int32_t i = 0; i < digitCount; ++i) {
        x[i] = xPositions ? xPositions[i] : rect.left + i * width;
        y[i] = yPositions ? yPositions[i] : rect.top;
    }
    minValue = 0.0f;
    float top = 1.0f;
    for (int32_t i = 0; i < digitCount; ++i)
        top *= 10.0f;
    maxValue = top - 1.0f; // at most 9999999, exact in single precision
}

int32_t DigitDisplay::digitsFor(float shown, int32_t (&digits)[MaxDigits]) const {
    if (!(shown >= minValue)) shown = minValue; // below the bounds, or not a number
    if (shown > maxValue) shown = maxValue;
    int32_t number = truncate(shown);
    for (int32_t i = digitCount - 1; i >= 0; --i) {
        digits[i] = std::min(number % 10, 9);
        number /= 10;
    }
    return digitCount;
}

void DigitDisplay::draw(DrawContext* context) {
    int32_t digits[MaxDigits] = {};
    const int32_t count = digitsFor(value, digits);
    for (int32_t i = 0; i < count; ++i) {
        const Rect place(Point(x[i], y[i]), digitWidth, digitHeight);
        drawRegion(background, context, place, Point(0, digits[i] * digitHeight), transparent);
    }
    setDirty(false);
}

// ---- LevelMeter ----

LevelMeter::LevelMeter(const Rect& rect, Bitmap* lit, Bitmap* unlit, int32_t leds,
                       int32_t meterStyle)
    : Control(rect, nullptr, 0, nullptr), onBitmap(lit), offBitmap(unlit), ledCount(leds),
      style(meterStyle) {
    if (onBitmap) onBitmap->remember();
    if (offBitmap) offBitmap->remember();
}

LevelMeter::~LevelMeter() {
    if (onBitmap) onBitmap->forget();
    if (offBitmap) offBitmap->forget();
}

void LevelMeter::setDirty(bool flag) {
    if (flag) {
        Control::setDirty(true);
        return;
    }
    // oldValue keeps the value the meter shows, which may still be above the value.
    View::setDirty(false);
}

void LevelMeter::draw(DrawContext* context) {
    bounceValue();
    const float shown = std::max({value, oldValue - decrease, minValue});
    oldValue = shown;
    const float leds = static_cast<float>(ledCount);
    const bool across = (style & MeterHorizontal) != 0;
    // Without LEDs nothing is lit.
    if (across) {
        const int32_t full = onBitmap ? onBitmap->getWidth() : 0;
        int32_t lit = 0;
        if (ledCount > 0)
            lit = truncate(static_cast<float>(truncate(leds * shown + 0.5f)) / leds *
                           static_cast<float>(full));
        lit = std::clamp(lit, 0, size.getWidth());
        onRect = Rect(size.left, size.top, size.left + lit, size.bottom);
        offRect = Rect(size.left + lit, size.top, size.right, size.bottom);
        drawRegion(offBitmap, context, offRect, Point(lit, 0), transparent);
        drawRegion(onBitmap, context, onRect, Point(0, 0), transparent);
    } else {
        const int32_t full = onBitmap ? onBitmap->getHeight() : 0;
        int32_t unlit = size.getHeight();
        if (ledCount > 0)
            unlit = truncate(static_cast<float>(truncate((maxValue - shown) * leds + 0.5f)) / leds *
                             static_cast<float>(full));
        unlit = std::clamp(unlit, 0, size.getHeight());
        offRect = Rect(size.left, size.top, size.right, size.top + unlit);
        onRect = Rect(size.left, size.top + unlit, size.right, size.bottom);
        drawRegion(offBitmap, context, offRect, Point(0, 0), transparent);
        drawRegion(onBitmap, context, onRect, Point(0, unlit), transparent);
    }
    View::setDirty(false);
}
