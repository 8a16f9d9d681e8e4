// The multi-position switches: VerticalStepSwitch and HorizontalStepSwitch (n positions, each
// a frame of a vertical strip, chosen by the value and set by where the pointer is along the
// switch) and ThreeWayRocker (-1, 0 or +1 while held, back to 0 at the release).
//
// State (after Control's): step switches offset, subBitmapCount, frameHeight and
// positionCount, defaultValue 0; the rocker offset, frameHeight and style (bit 1: the halves
// are left and right instead of top and bottom).
//
// Fewer than two positions leave a switch with one position, 0: it shows frame 0 and a press
// sets 0, with no division by the missing step.
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
// A press is handled inside one mouse() call, polling the pointer while the button is held.
#pragma once

#include "gui/control.h"

class StepSwitch : public Control {
  public:
    // The frame that `value` shows.
    int32_t positionFor(float value) const;
    int32_t getPositionCount() const { return positionCount; }

    void draw(DrawContext* context) override;
    // Control-click restores the default; otherwise the position under the pointer while the
    // buttons stay as they were at the press.
    void mouse(DrawContext* context, Point& where) override;

  protected:
    StepSwitch(const Rect& size, ControlListener* listener, int32_t tag, int32_t subBitmapCount,
               int32_t frameHeight, int32_t positionCount, Bitmap* background, const Point& offset,
               bool horizontal);
    // The value of the position at `where` (frame coordinates).
    float valueAt(const Point& where) const;

    Point offset;
    int32_t subBitmapCount;
    int32_t frameHeight;
    int32_t positionCount;
    bool horizontal;
};

class VerticalStepSwitch : public StepSwitch {
  public:
    VerticalStepSwitch(const Rect& size, ControlListener* listener, int32_t tag,
                       int32_t subBitmapCount, int32_t frameHeight, int32_t positionCount,
                       Bitmap* background, const Point& offset);
};

class HorizontalStepSwitch : public StepSwitch {
  public:
    HorizontalStepSwitch(const Rect& size, ControlListener* listener, int32_t tag,
                         int32_t subBitmapCount, int32_t frameHeight, int32_t positionCount,
                         Bitmap* background, const Point& offset);
};

inline constexpr int32_t RockerHorizontal = 1;

class ThreeWayRocker : public Control {
  public:
    ThreeWayRocker(const Rect& size, ControlListener* listener, int32_t tag, int32_t frameHeight,
                   Bitmap* background, const Point& offset, int32_t style);

    // -1 at offset, 0 one frame below, +1 two frames below.
    void draw(DrawContext* context) override;
    // While held: -1 over the upper (left) half, +1 over the other, the press's value off the
    // rocker; 0 after the release.
    void mouse(DrawContext* context, Point& where) override;
    // One notch: -1 for a positive distance, +1 for a negative one, then 0, each reported.
    bool onWheel(DrawContext* context, const Point& where, float distance) override;

    int32_t getStyle() const { return style; }

  protected:
    Point offset;
    int32_t frameHeight;
    int32_t style;
};
