// The controls that only show a value: FrameDisplay (the nearest frame of a strip),
// LoopAnimation (a strip played frame by frame while open, started and stopped by a click),
// DigitDisplay (a number as digit images) and LevelMeter (a bar of lit and unlit LEDs that
// falls back slowly).
//
// State (after Control's): FrameDisplay offset, subBitmapCount, frameHeight; LoopAnimation
// offset, subBitmapCount, frameHeight, totalHeight (count x height), opened (false), its value
// a pixel offset into the strip; DigitDisplay digitCount (at most 7), each digit's x and y,
// digitWidth, digitHeight, bounds 0 and 10^digitCount - 1; LevelMeter the lit and unlit
// bitmaps (one reference each), ledCount, style (bit 1: horizontal), decrease (1.0: the most
// the shown value falls per draw) and the lit and unlit rectangles last drawn.
//
// Strips without frames, meters without LEDs and digit counts beyond seven draw something
// sane (frame 0, every LED unlit, seven digits).
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
#pragma once

#include "gui/control.h"

class FrameDisplay : public Control {
  public:
    FrameDisplay(const Rect& size, ControlListener* listener, int32_t tag, int32_t subBitmapCount,
                 int32_t frameHeight, Bitmap* background, const Point& offset);

    // Values above 1 become 1; the nearest frame, counted from offset.
    void draw(DrawContext* context) override;
    int32_t frameFor(float value) const;

  protected:
    Point offset;
    int32_t subBitmapCount;
    int32_t frameHeight;
};

class LoopAnimation : public Control {
  public:
    LoopAnimation(const Rect& size, ControlListener* listener, int32_t tag, int32_t subBitmapCount,
                  int32_t frameHeight, Bitmap* background, const Point& offset);

    // Nothing unless open; else the strip from the pixel offset the value holds.
    void draw(DrawContext* context) override;
    // Back to the first frame; opens a closed animation, closes an open one.
    void mouse(DrawContext* context, Point& where) override;

    void openAnimation() { opened = true; }
    void closeAnimation() { opened = false; }
    bool isOpen() const { return opened; }
    // One frame on, back to 0 once it reaches totalHeight - frameHeight.
    void nextFrame();
    // One frame back; below 0 it becomes totalHeight - frameHeight - 1.
    void previousFrame();

  protected:
    Point offset;
    int32_t subBitmapCount;
    int32_t frameHeight;
    int32_t totalHeight;
    bool opened = false;
};

class DigitDisplay : public Control {
  public:
    static constexpr int32_t MaxDigits = 7;

    // Digit i is drawn at (xPositions[i], yPositions[i]) in frame coordinates; without
    // positions the digits sit side by side from the control's top-left corner. The bitmap
    // holds the digits 0 to 9 stacked, digitHeight apart.
    DigitDisplay(const Rect& size, ControlListener* listener, int32_t tag, float value,
                 int32_t digitCount, const int32_t* xPositions, const int32_t* yPositions,
                 int32_t digitWidth, int32_t digitHeight, Bitmap* background);

    void draw(DrawContext* context) override;
    // The digits the value shows, most significant first; answers how many.
    int32_t digitsFor(float value, int32_t (&digits)[MaxDigits]) const;
    int32_t getDigitCount() const { return digitCount; }

  protected:
    int32_t digitCount;
    int32_t x[MaxDigits] = {};
    int32_t y[MaxDigits] = {};
    int32_t digitWidth;
    int32_t digitHeight;
};

inline constexpr int32_t MeterHorizontal = 1;

class LevelMeter : public Control {
  public:
    LevelMeter(const Rect& size, Bitmap* onBitmap, Bitmap* offBitmap, int32_t ledCount,
               int32_t style);
    ~LevelMeter() override;

    // Shows max(value, last shown - decrease, minValue): lit from the left (horizontal) or the
    // bottom (vertical) in whole LEDs.
    void draw(DrawContext* context) override;
    // Clean means the shown value caught up; it keeps falling towards the value otherwise.
    void setDirty(bool flag = true) override;

    void setDecreaseStepValue(float step) { decrease = step; }
    float getDecreaseStepValue() const { return decrease; }
    const Rect& getOnRect() const { return onRect; }
    const Rect& getOffRect() const { return offRect; }

  protected:
    Bitmap* onBitmap;
    Bitmap* offBitmap;
    int32_t ledCount;
    int32_t style;
    float decrease = 1.0f;
    Rect onRect;
    Rect offRect;
};
