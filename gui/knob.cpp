// Knob and FilmstripKnob: angle geometry, the drag loop, wheel and keys, and drawing.
#include "gui/knob.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/knob_mode.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kDefaultStartAngle = 3.9269908f; // 225 degrees: lower left
constexpr float kDefaultRangeAngle = -4.712389f; // 270 degrees clockwise
constexpr float kLinearPixels = 200.0f;          // pixels of linear drag for the full range

// trunc() into a pixel coordinate; a value that is not finite (a knob whose bounds are equal)
// lands on 0 instead of being an undefined conversion.
int32_t truncatePixel(float x) {
    if (!std::isfinite(x)) return 0;
    if (x >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
    if (x <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

float intoFullTurn(float angle) {
    if (angle < 0.0f)
        angle += kTwoPi;
    else if (angle > kTwoPi)
        angle -= kTwoPi;
    return angle;
}

} // namespace

// ---- Knob ----

Knob::Knob(const Rect& rect, ControlListener* owner, int32_t controlTag, Bitmap* bitmap,
           Bitmap* handle, const Point& sourceOffset)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset) {
    if (handle) {
        handleBitmap = handle;
        handleBitmap->remember();
        inset = static_cast<int32_t>(static_cast<float>(handle->getWidth()) * 0.5f + 2.5f);
    }
    radius = static_cast<float>(size.right - size.left) * 0.5f;
    setStartAngle(kDefaultStartAngle);
    setRangeAngle(kDefaultRangeAngle);
    zoomFactor = 1.5f;
}

Knob::~Knob() {
    if (handleBitmap) handleBitmap->forget();
    handleBitmap = nullptr;
}

void Knob::recompute() {
    aCoef = (maxValue - minValue) / rangeAngle;
    bCoef = minValue - aCoef * startAngle;
    halfAngle = (kTwoPi - std::fabs(rangeAngle)) * 0.5f;
}

void Knob::setStartAngle(float angle) {
    startAngle = angle;
    recompute();
    setDirty(true);
}

void Knob::setRangeAngle(float angle) {
    rangeAngle = angle;
    recompute();
    setDirty(true);
}

void Knob::setShadowColour(const Colour& colour) {
    shadowColour = colour;
    setDirty(true);
}

void Knob::setHandleColour(const Colour& colour) {
    handleColour = colour;
    setDirty(true);
}

void Knob::setHandleBitmap(Bitmap* bitmap) {
    if (bitmap) bitmap->remember(); // first, so the current handle handed in again survives
    if (handleBitmap) handleBitmap->forget();
    handleBitmap = nullptr;
    if (bitmap) {
        handleBitmap = bitmap;
        inset = static_cast<int32_t>(static_cast<float>(bitmap->getWidth()) * 0.5f + 2.5f);
    }
}

void Knob::valueToPoint(Point& point) const {
    const float alpha = (value - bCoef) / aCoef;
    const float reach = radius - static_cast<float>(inset);
    point.h = truncatePixel(radius + std::cos(alpha) * reach + 0.5f);
    point.v = truncatePixel(radius - std::sin(alpha) * reach + 0.5f);
}

float Knob::valueFromPoint(const Point& point) const {
    float alpha =
        std::atan2(radius - static_cast<float>(point.v), static_cast<float>(point.h) - radius);
    if (alpha < 0.0f) alpha += kTwoPi;
    alpha -= startAngle;
    if (rangeAngle >= 0.0f) {
        const float e = intoFullTurn(alpha);
        if (e > rangeAngle + halfAngle) return minValue;
        if (e > rangeAngle) return maxValue;
        return minValue + e * aCoef;
    }
    const float e = intoFullTurn(alpha - rangeAngle);
    if (e > halfAngle - rangeAngle) return maxValue;
    if (e > -rangeAngle) return minValue;
    return maxValue + e * aCoef;
}

void Knob::draw(DrawContext* context) {
    if (background) {
        if (transparent)
            background->drawTransparent(context, size, offset);
        else
            background->draw(context, size, offset);
    }
    drawHandle(context);
    setDirty(false);
}

void Knob::drawHandle(DrawContext* context) {
    if (!context) return;
    Point p;
    valueToPoint(p);
    if (handleBitmap) {
        const int32_t w = handleBitmap->getWidth();
        const int32_t h = handleBitmap->getHeight();
        const Point topLeft(size.left + p.h - w / 2, size.top + p.v - h / 2);
        handleBitmap->drawTransparent(context, Rect(topLeft, w, h));
        return;
    }
    Point a(size.left + p.h - 1, size.top + p.v);
    Point o(size.left + (size.right - size.left) / 2 - 1, size.top + (size.bottom - size.top) / 2);
    context->setFrameColour(shadowColour);
    context->moveTo(a);
    context->lineTo(o);
    a.offset(1, -1);
    o.offset(1, -1);
    context->setFrameColour(handleColour);
    context->moveTo(a);
    context->lineTo(o);
}

void Knob::mouse(DrawContext* context, Point& where) {
    if (!getMouseEnabled()) return;
    const int32_t buttons = buttonsOf(context);
    if (!(buttons & MouseLeft)) return;
    if (buttons == (MouseLeft | MouseControl)) {
        resetToDefault(context);
        return;
    }

    const float range = maxValue - minValue;
    const float rangeHalf = range * 0.5f;
    const bool alt = (buttons & MouseAlt) != 0;
    const bool circular = KnobMode == 2 ? alt : !alt;
    const Point topLeft = size.getTopLeft();
    auto linearCoef = [&](int32_t held) {
        return range / ((held & MouseShift) ? zoomFactor * kLinearPixels : kLinearPixels);
    };

    float startValue = 0.0f;
    Point first;
    float coef = 0.0f;
    float offsetValue = 0.0f;
    int32_t lastButtons = buttons;
    if (circular) {
        startValue = valueFromPoint(where - topLeft);
    } else {
        first = where;
        coef = linearCoef(buttons);
        offsetValue = value;
    }

    // Whether this drag reports to an editor; when the editor goes away during the idle pump
    // (the host closed the effect) the drag ends there.
    const bool reporting = frame && frame->hasEditor();
    beginGesture();
#if TOOLKIT_NEWER
    if (frame) frame->setEditView(this); // the knob takes the keyboard
#endif

    Point current = where;
    Point handled;
    bool firstPass = true;
    int32_t held = 0;
    do {
        held = buttonsOf(context);
        if (firstPass || current != handled) {
            firstPass = false;
            handled = current;
            if (circular) {
                const float v = valueFromPoint(current - topLeft);
                if (startValue - v > rangeHalf) {
                    value = maxValue;
                } else if (v - startValue > rangeHalf) {
                    value = minValue;
                } else {
                    value = v;
                    startValue = v;
                }
            } else {
                const int32_t delta = (current.h - first.h) + (first.v - current.v);
                if (held != lastButtons) {
                    // Keep the value continuous when shift changes the scale mid-drag.
                    const float newCoef = linearCoef(held);
                    offsetValue = (coef - newCoef) * static_cast<float>(delta) + offsetValue;
                    coef = newCoef;
                    lastButtons = held;
                }
                value = static_cast<float>(delta) * coef + offsetValue;
                bounceValue();
            }
            reportChange(context);
        }
        context->getMouseLocation(current);
        doIdleStuff();
        if (reporting && (!frame || !frame->hasEditor())) return;
    } while (held & MouseLeft);

    endGesture();
}

bool Knob::onWheel(DrawContext* context, const Point&, float distance) {
    return applyWheel(context, distance);
}

#if TOOLKIT_NEWER
int32_t Knob::onKeyDown(VstKeyCode& keyCode) {
    // The frame offers keys to every view; a knob has the keyboard only after it was clicked.
    if (!frame || frame->getEditView() != this) return -1;
    float direction = 0.0f;
    switch (keyCode.virt) {
    case 11: // left
    case 14: // down
        direction = -1.0f;
        break;
    case 12: // up
    case 13: // right
        direction = 1.0f;
        break;
    default:
        return -1;
    }
    float step = direction * wheelStep;
    if (keyCode.modifier & 1) step *= 0.1f; // shift
    value += step;
    bounceValue();
    reportChange(nullptr);
    return 1;
}
#endif

// ---- FilmstripKnob ----

FilmstripKnob::FilmstripKnob(const Rect& rect, ControlListener* owner, int32_t controlTag,
                             int32_t frames, int32_t height, Bitmap* bitmap,
                             const Point& sourceOffset)
    : Knob(rect, owner, controlTag, bitmap, nullptr, sourceOffset), frameCount(frames),
      frameHeight(height) {
    inset = 0;
}

int32_t FilmstripKnob::frameOffsetFor(float shown) const {
    if (frameHeight <= 0 || frameCount <= 1) return 0;
#if TOOLKIT_NEWER
    if (!(shown >= 0.0f)) return 0;
    if (inverse) shown = 1.0f - shown;
#else
    if (!(shown > 0.0f)) return 0;
#endif
    const int64_t total = static_cast<int64_t>(frameHeight) * (frameCount - 1);
    const float scaled = static_cast<float>(total) * shown;
    int64_t y = 0;
    if (!(scaled >= 0.0f))
        y = 0; // inverse of a value above 1, or not a number
    else if (scaled >= static_cast<float>(total))
        y = total;
    else
        y = static_cast<int64_t>(scaled);
    y -= y % frameHeight;
    return static_cast<int32_t>(y);
}

void FilmstripKnob::draw(DrawContext* context) {
    if (background) {
        const Point source(0, frameOffsetFor(value));
        if (transparent)
            background->drawTransparent(context, size, source);
        else
            background->draw(context, size, source);
    }
    setDirty(false);
}
