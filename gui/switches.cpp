// Switches: the step switches in both directions and the three-way rocker.
#include "gui/switches.h"

#include "gui/control_support.h"

using control_support::clampIndex;
using control_support::drawRegion;
using control_support::leftHeld;
using control_support::pressButtons;
using control_support::tell;
using control_support::track;
using control_support::truncate;

// ---- StepSwitch ----

StepSwitch::StepSwitch(const Rect& rect, ControlListener* owner, int32_t controlTag, int32_t frames,
                       int32_t height, int32_t positions, Bitmap* bitmap, const Point& sourceOffset,
                       bool alongWidth)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset), subBitmapCount(frames),
      frameHeight(height), positionCount(positions), horizontal(alongWidth) {
    defaultValue = 0.0f;
}

VerticalStepSwitch::VerticalStepSwitch(const Rect& rect, ControlListener* owner, int32_t controlTag,
                                       int32_t frames, int32_t height, int32_t positions,
                                       Bitmap* bitmap, const Point& sourceOffset)
    : StepSwitch(rect, owner, controlTag, frames, height, positions, bitmap, sourceOffset, false) {}

HorizontalStepSwitch::HorizontalStepSwitch(const Rect& rect, ControlListener* owner,
                                           int32_t controlTag, int32_t frames, int32_t height,
                                           int32_t positions, Bitmap* bitmap,
                                           const Point& sourceOffset)
    : StepSwitch(rect, owner, controlTag, frames, height, positions, bitmap, sourceOffset, true) {}

int32_t StepSwitch::positionFor(float shown) const {
    const int32_t n = positionCount;
    if (n < 2) return 0;
    const float last = static_cast<float>(n - 1);
#if TOOLKIT_NEWER
    // The nearest position.
    if (!(shown == shown)) return 0;
    return clampIndex(truncate(last * shown + 0.5f), n - 1);
#else
    // The largest position at or below the value.
    for (int32_t k = 1; k < n; ++k)
        if (static_cast<float>(k) / last > shown) return k - 1;
    return n - 1;
#endif
}

void StepSwitch::draw(DrawContext* context) {
    const int32_t k = positionFor(value);
    drawRegion(background, context, size, Point(0, k * frameHeight), transparent);
    setDirty(false);
}

float StepSwitch::valueAt(const Point& where) const {
    const int32_t n = positionCount;
    if (n < 2) return 0.0f;
    const int32_t along = horizontal ? where.h - size.left : where.v - size.top;
    const int32_t extent = horizontal ? (background ? background->getWidth() : 0) : frameHeight;
#if TOOLKIT_NEWER
    if (extent <= 0) return 0.0f;
    const float v = static_cast<float>(truncate(static_cast<float>(along) * static_cast<float>(n) /
                                                static_cast<float>(extent))) /
                    static_cast<float>(n - 1);
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
#else
    const float step = static_cast<float>(extent) / static_cast<float>(n);
    for (int32_t i = 1; i < n; ++i) {
        const int32_t edge = truncate(step * static_cast<float>(i));
        const bool before = horizontal ? along <= edge : along < edge;
        if (before) return static_cast<float>(i - 1) / static_cast<float>(n - 1);
    }
    return 1.0f;
#endif
}

void StepSwitch::mouse(DrawContext* context, Point& where) {
    const int32_t buttons = pressButtons(*this, context);
    if (!(buttons & MouseLeft)) return;
    const int32_t atPress = buttons;
    if (atPress == (MouseLeft | MouseControl)) {
        resetToDefault(context);
        return;
    }
    track(
        *this, context, where,
        [&](int32_t, const Point& at) {
            value = valueAt(at);
            reportChange(context);
        },
        [atPress](int32_t buttons) { return buttons == atPress; }, [] {});
}

// ---- ThreeWayRocker ----

ThreeWayRocker::ThreeWayRocker(const Rect& rect, ControlListener* owner, int32_t controlTag,
                               int32_t height, Bitmap* bitmap, const Point& sourceOffset,
                               int32_t rockerStyle)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset), frameHeight(height),
      style(rockerStyle) {}

void ThreeWayRocker::draw(DrawContext* context) {
    const int32_t frameIndex = value < 0.0f ? 0 : (value > 0.0f ? 2 : 1);
    drawRegion(background, context, size, Point(offset.h, offset.v + frameIndex * frameHeight),
               transparent);
    setDirty(false);
}

void ThreeWayRocker::mouse(DrawContext* context, Point& where) {
    const int32_t buttons = pressButtons(*this, context);
    if (!(buttons & MouseLeft)) return;
    const float atPress = value;
    track(
        *this, context, where,
        [&](int32_t, const Point& at) {
            if (!size.pointInsideInclusive(at)) {
                value = atPress;
            } else {
                const bool first = (style & RockerHorizontal)
                                       ? at.h - size.left < size.getWidth() / 2
                                       : at.v - size.top < size.getHeight() / 2;
                value = first ? -1.0f : 1.0f;
            }
            reportChange(context);
        },
        leftHeld,
        [&] {
            value = 0.0f;
            tell(*this, context);
        });
}

bool ThreeWayRocker::onWheel(DrawContext* context, const Point&, float distance) {
    if (!getMouseEnabled() || distance == 0.0f || !(distance == distance)) return false;
    value = distance > 0.0f ? -1.0f : 1.0f;
    tell(*this, context);
    value = 0.0f;
    tell(*this, context);
    return true;
}
