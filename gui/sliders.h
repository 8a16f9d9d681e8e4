// VerticalSlider and HorizontalSlider: a handle bitmap that travels along a background between
// two positions. Each draw composes background and handle in an offscreen of the control's
// size and copies it out in one block (no flicker); the newer variant keeps that offscreen
// between draws. A press grabs the handle (anywhere on the slider with free click, else only
// on the handle), the drag maps the pointer to the value, shift slows it by the zoom factor,
// control-click restores the default and the wheel steps the value.
//
// Style bits: each slider takes exactly one orientation bit, which sets both the direction
// the handle is drawn in and the direction the drag moves it, so that the two agree.
//   vertical:   SliderValueDown (0x20) the value grows downwards, SliderValueUp (0x40) upwards;
//   horizontal: SliderValueRight (0x04) rightwards, SliderValueLeft (0x10) leftwards.
// Drawing uses the value as it is for SliderValueDown / SliderValueRight and 1 - value
// otherwise; dragging is inverted by SliderValueUp / SliderValueLeft.
//
// State (after Control's): offset into the background, handleOffset (0, 0: added to the
// handle's place), the handle bitmap (one reference held) and its width and height (1 x 1
// without one), minPosition and maxPosition (where the handle's leading edge sits at the two
// ends of its travel, relative to the control), style, the handle rectangle last drawn (frame
// coordinates, for hit testing), the position limits, the control's width and height,
// zoomFactor (10), transparentHandle (true), freeClick (true); newer: the kept offscreen.
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
// A drag runs inside one mouse() call, polling the pointer and keeping the host serviced.
#pragma once

#include "gui/control.h"
#include "gui/toolkit_variant.h"

#include <memory>

class OffscreenContext;

inline constexpr int32_t SliderValueRight = 0x04;
inline constexpr int32_t SliderValueLeft = 0x10;
inline constexpr int32_t SliderValueDown = 0x20;
inline constexpr int32_t SliderValueUp = 0x40;

class Slider : public Control {
  public:
    ~Slider() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
    void setViewSize(const Rect& rect) override;

    // The handle's rectangle (frame coordinates) for a value: along the slider at
    // minPosition + trunc((maxPosition - minPosition) * v) + handleOffset, kept within the
    // position limits, across at handleOffset.
    Rect handleRectFor(float value) const;
    const Rect& getHandleRect() const { return handleRect; }

    void setHandleOffset(const Point& point);
    const Point& getHandleOffset() const { return handleOffset; }
    void setZoomFactor(float factor) { zoomFactor = factor; }
    float getZoomFactor() const { return zoomFactor; }
    void setTransparentHandle(bool flag) {
        transparentHandle = flag;
        setDirty(true);
    }
    bool getTransparentHandle() const { return transparentHandle; }
    void setFreeClick(bool flag) { freeClick = flag; }
    bool getFreeClick() const { return freeClick; }
    int32_t getStyle() const { return style; }
    Bitmap* getHandleBitmap() const { return handleBitmap; }
    // Composing surfaces built so far (the newer variant builds one and keeps it).
    int32_t getComposerBuilds() const { return composerBuilds; }

  protected:
    // minPosition and maxPosition are given in frame coordinates along the slider (the top
    // of the handle for a vertical slider, its left for a horizontal one).
    Slider(const Rect& size, ControlListener* listener, int32_t tag, int32_t minPosition,
           int32_t maxPosition, Bitmap* handleBitmap, Bitmap* background, const Point& offset,
           int32_t style, bool horizontal);

    int32_t along(const Point& where) const { return horizontal ? where.h : where.v; }
    int32_t handleLength() const { return horizontal ? handleWidth : handleHeight; }
    bool drawsValueAsIs() const {
        return (style & (horizontal ? SliderValueRight : SliderValueDown)) != 0;
    }
    bool dragInverted() const {
        return (style & (horizontal ? SliderValueLeft : SliderValueUp)) != 0;
    }
    void updateLimits();

    Point offset;
    Point handleOffset;
    Bitmap* handleBitmap = nullptr;
    int32_t handleWidth = 1;
    int32_t handleHeight = 1;
    int32_t minPosition;
    int32_t maxPosition;
    int32_t style;
    Rect handleRect;
    int32_t lowerLimit = 0;
    int32_t upperLimit = 0;
    int32_t controlWidth;
    int32_t controlHeight;
    float zoomFactor = 10.0f;
    bool transparentHandle = true;
    bool freeClick = true;
    bool horizontal;
    int32_t composerBuilds = 0;
#if TOOLKIT_NEWER
    std::unique_ptr<OffscreenContext> composer;
#endif
};

class VerticalSlider : public Slider {
  public:
    VerticalSlider(const Rect& size, ControlListener* listener, int32_t tag, int32_t minPosition,
                   int32_t maxPosition, Bitmap* handleBitmap, Bitmap* background,
                   const Point& offset, int32_t style = SliderValueUp);
};

class HorizontalSlider : public Slider {
  public:
    HorizontalSlider(const Rect& size, ControlListener* listener, int32_t tag, int32_t minPosition,
                     int32_t maxPosition, Bitmap* handleBitmap, Bitmap* background,
                     const Point& offset, int32_t style = SliderValueRight);
};
