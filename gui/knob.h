// Knob and FilmstripKnob: the rotary controls. Knob draws its background and a handle (a
// two-coloured line from the centre, or a small handle bitmap) at the angle of its value and
// turns with the mouse by angle (circular mode) or by straight dragging (linear mode: KnobMode
// 2, or alt held); shift slows linear dragging by the zoom factor, control-click restores the
// default, the wheel steps the value, and in the newer variant the arrow keys do once the knob
// was clicked. FilmstripKnob draws only the frame of a vertical strip that the value selects.
//
// Knob state (after Control's): offset into the background, handle and shadow colours, handle
// bitmap (one reference held), inset of the handle from the rim, startAngle (angle of
// minValue, 225 degrees), rangeAngle (-270 degrees: clockwise), and derived from them
// halfAngle (half the dead zone), aCoef and bCoef (value = aCoef * angle + bCoef), radius,
// zoomFactor (1.5). FilmstripKnob adds frameCount, frameHeight and (newer) inverse.
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
// A drag runs inside one mouse() call, polling the pointer and keeping the host serviced
// through doIdleStuff().
#pragma once

#include "gui/colour.h"
#include "gui/control.h"
#include "gui/toolkit_variant.h"

class Knob : public Control {
  public:
    Knob(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background,
         Bitmap* handleBitmap, const Point& offset);
    ~Knob() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
#if TOOLKIT_NEWER
    // Left/down lower and up/right raise the value by wheelStep (a tenth with shift).
    int32_t onKeyDown(VstKeyCode& keyCode) override;
#endif

    virtual void drawHandle(DrawContext* context);
    virtual void setStartAngle(float angle);
    virtual float getStartAngle() const {
        return startAngle;
    }
    virtual void setRangeAngle(float angle);
    virtual float getRangeAngle() const {
        return rangeAngle;
    }
    // Handle position for the current value, relative to the knob's top-left corner.
    virtual void valueToPoint(Point& point) const;
    // Value for a point relative to the knob's top-left corner; the dead zone below the knob
    // snaps to the end each half of it is next to.
    virtual float valueFromPoint(const Point& point) const;
    virtual void setInsetValue(int32_t n) {
        inset = n;
    }
    virtual void setShadowColour(const Colour& colour);
    virtual void setHandleColour(const Colour& colour);
    virtual void setHandleBitmap(Bitmap* bitmap);
    virtual void setZoomFactor(float factor) {
        zoomFactor = factor;
    }
    virtual float getZoomFactor() const {
        return zoomFactor;
    }

    int32_t getInsetValue() const {
        return inset;
    }
    Bitmap* getHandleBitmap() const {
        return handleBitmap;
    }

  protected:
    void recompute();

    Point offset;
    Colour handleColour = WhiteColour;
    Colour shadowColour = GreyColour;
    Bitmap* handleBitmap = nullptr;
    int32_t inset = 3;
    float startAngle = 0.0f;
    float rangeAngle = 1.0f; // provisional until the constructor sets the real range
    float halfAngle = 0.0f;
    float aCoef = 0.0f;
    float bCoef = 0.0f;
    float radius = 0.0f;
    float zoomFactor = 1.5f;
};

class FilmstripKnob : public Knob {
  public:
    FilmstripKnob(const Rect& size, ControlListener* listener, int32_t tag, int32_t frameCount,
                  int32_t frameHeight, Bitmap* background, const Point& offset);

    void draw(DrawContext* context) override;

    // Top row in the strip of the frame that `value` shows.
    int32_t frameOffsetFor(float value) const;
    int32_t getFrameCount() const { return frameCount; }
    int32_t getFrameHeight() const { return frameHeight; }
#if TOOLKIT_NEWER
    // Frame 0 for the maximum and the last frame for the minimum.
    void setInverseBitmap(bool flag) {
        inverse = flag;
        setDirty(true);
    }
    bool getInverseBitmap() const {
        return inverse;
    }
#endif

  protected:
    int32_t frameCount;
    int32_t frameHeight;
#if TOOLKIT_NEWER
    bool inverse = false;
#endif
};
