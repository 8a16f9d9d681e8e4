// Sliders: handle placement, composing in an offscreen, the drag with zoom, wheel.
#include "gui/sliders.h"

#include "gui/control_support.h"
#include "gui/offscreen_context.h"

#include <algorithm>

using control_support::drawRegion;
using control_support::leftHeld;
using control_support::pressButtons;
using control_support::track;
using control_support::truncate;

Slider::Slider(const Rect& rect, ControlListener* owner, int32_t controlTag, int32_t minPos,
               int32_t maxPos, Bitmap* handle, Bitmap* bitmap, const Point& sourceOffset,
               int32_t sliderStyle, bool alongWidth)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset),
      minPosition(minPos - (alongWidth ? rect.left : rect.top)),
      maxPosition(maxPos - (alongWidth ? rect.left : rect.top)), style(sliderStyle),
      controlWidth(rect.getWidth()), controlHeight(rect.getHeight()), horizontal(alongWidth) {
    if (handle) {
        handleBitmap = handle;
        handleBitmap->remember();
        handleWidth = handle->getWidth();
        handleHeight = handle->getHeight();
    }
    updateLimits();
    handleRect = handleRectFor(value);
}

Slider::~Slider() {
    if (handleBitmap) handleBitmap->forget();
}

VerticalSlider::VerticalSlider(const Rect& rect, ControlListener* owner, int32_t controlTag,
                               int32_t minPos, int32_t maxPos, Bitmap* handle, Bitmap* bitmap,
                               const Point& sourceOffset, int32_t sliderStyle)
    : Slider(rect, owner, controlTag, minPos, maxPos, handle, bitmap, sourceOffset, sliderStyle,
             false) {}

HorizontalSlider::HorizontalSlider(const Rect& rect, ControlListener* owner, int32_t controlTag,
                                   int32_t minPos, int32_t maxPos, Bitmap* handle, Bitmap* bitmap,
                                   const Point& sourceOffset, int32_t sliderStyle)
    : Slider(rect, owner, controlTag, minPos, maxPos, handle, bitmap, sourceOffset, sliderStyle,
             true) {}

void Slider::updateLimits() {
    const int32_t shift = along(handleOffset);
    lowerLimit = std::min(minPosition, maxPosition) + shift;
    upperLimit = std::max(minPosition, maxPosition) + shift;
}

void Slider::setHandleOffset(const Point& point) {
    handleOffset = point;
    updateLimits();
    setDirty(true);
}

void Slider::setViewSize(const Rect& rect) {
    Control::setViewSize(rect);
    controlWidth = rect.getWidth();
    controlHeight = rect.getHeight();
    setDirty(true);
}

Rect Slider::handleRectFor(float shown) const {
    const float v = drawsValueAsIs() ? shown : 1.0f - shown;
    const float travel = static_cast<float>(maxPosition - minPosition) * v;
    const int64_t place =
        static_cast<int64_t>(minPosition) + truncate(travel) + along(handleOffset);
    const int32_t at = static_cast<int32_t>(std::clamp<int64_t>(place, lowerLimit, upperLimit));
    const int32_t across = horizontal ? handleOffset.v : handleOffset.h;
    return horizontal ? Rect(Point(size.left + at, size.top + across), handleWidth, handleHeight)
                      : Rect(Point(size.left + across, size.top + at), handleWidth, handleHeight);
}

void Slider::draw(DrawContext* context) {
    if (!context) return;
    handleRect = handleRectFor(value);
    // Compose background and handle off screen, then show them in one block.
#if TOOLKIT_NEWER
    if (!composer || composer->getWidth() != controlWidth ||
        composer->getHeight() != controlHeight) {
        composer =
            std::make_unique<OffscreenContext>(nullptr, controlWidth, controlHeight, BlackColour);
        ++composerBuilds;
    }
    OffscreenContext& offscreen = *composer;
#else
    OffscreenContext offscreen(context->getFrame(), controlWidth, controlHeight, BlackColour);
    ++composerBuilds;
#endif
    const Rect whole(0, 0, controlWidth, controlHeight);
    if (transparent && context->getSurface()) {
        // What shows through the background's key colour is what the window has there.
        const Point& shift = context->getOffset();
        offscreen.copyPixels(*context->getSurface(), Point(size.left + shift.h, size.top + shift.v),
                             whole);
    }
    drawRegion(background, &offscreen, whole, offset, transparent);
    Rect relative = handleRect;
    relative.offset(-size.left, -size.top);
    drawRegion(handleBitmap, &offscreen, relative, Point(), transparentHandle);
    offscreen.copyTo(context, size, Point(0, 0));
    setDirty(false);
}

void Slider::mouse(DrawContext* context, Point& where) {
    const int32_t buttons = pressButtons(*this, context);
    if (!(buttons & MouseLeft)) return;
    if (buttons == (MouseLeft | MouseControl)) {
        resetToDefault(context);
        return;
    }
    // Equal end positions leave no travel to map the pointer onto.
    const float range = static_cast<float>(maxPosition - minPosition);
    if (range == 0.0f) return;

    const int32_t origin = horizontal ? size.left : size.top;
    auto pointer = [&](const Point& at) { return static_cast<float>(along(at) - origin); };
    // The pointer position that means 0: the handle's middle sits under the pointer.
    float grab = 0.0f;
    const float handleShift = static_cast<float>(along(handleOffset));
    if (freeClick) {
        grab = static_cast<float>(handleLength() / 2 + minPosition - 1) + handleShift;
    } else {
        if (!handleRect.pointInsideInclusive(where)) return;
        // Keep the press's distance from the handle's edge: the value does not jump.
        const float edge = static_cast<float>(along(handleRect.getTopLeft()) - origin);
        grab = pointer(where) - (edge - static_cast<float>(minPosition) - handleShift);
    }
    const bool inverted = dragInverted();
    const float zoom = zoomFactor > 0.0f ? zoomFactor : 1.0f;

    // The value follows raw = anchorRaw + (pointer - anchor) / range, slowed by the zoom while
    // shift is held; pressing or releasing shift re-anchors so the value stays continuous.
    float anchor = grab;
    float anchorRaw = 0.0f;
    bool zooming = false;
    auto rawAt = [&](float p) {
        return anchorRaw + (p - anchor) / range / (zooming ? zoom : 1.0f);
    };
    track(
        *this, context, where,
        [&](int32_t held, const Point& at) {
            const float p = pointer(at);
            const bool shift = (held & MouseShift) != 0;
            if (shift != zooming) {
                anchorRaw = std::clamp(rawAt(p), 0.0f, 1.0f);
                anchor = p;
                zooming = shift;
            }
            const float raw = rawAt(p);
            value = inverted ? 1.0f - raw : raw;
            bounceValue();
            reportChange(context);
        },
        leftHeld, [] {});
}

bool Slider::onWheel(DrawContext* context, const Point&, float distance) {
    return applyWheel(context, distance);
}
