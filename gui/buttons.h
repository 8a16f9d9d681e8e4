// The bitmap buttons: ToggleButton (one click, one toggle between the upper and lower half of
// its bitmap), OverlayImage (a panel shown over a larger area, modal, until the next click),
// TwoFrameButton (a press that flips the value while the pointer stays on the button) and
// MomentaryButton (on while held, always back to 0 and reported at the release).
//
// State (after Control's): ToggleButton none; OverlayImage displayRect (where the panel
// shows), savedSize (the button's own rectangle while the panel is up, zero at construction),
// offset into the bitmap and whether it grew; TwoFrameButton offset, frameHeight and
// buttonState (the value last drawn); MomentaryButton offset and frameHeight.
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
// Presses are handled inside one mouse() call, polling the pointer while the button is held.
#pragma once

#include "gui/control.h"

class ToggleButton : public Control {
  public:
    ToggleButton(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background);

    // Upper half of the bitmap for 0, lower half for any other value.
    void draw(DrawContext* context) override;
    // 0 when the truncated value is not 0, else 1, reported at once.
    void mouse(DrawContext* context, Point& where) override;
};

class OverlayImage : public Control {
  public:
    OverlayImage(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background,
                 const Rect& displayRect, const Point& offset);
    // An overlay that goes away while it is shown gives the frame's modal view back, so the
    // frame is not left sending clicks to a view that no longer exists.
    ~OverlayImage() override;

    // Only while the value is not 0: the bitmap into displayRect.
    void draw(DrawContext* context) override;
    // Shows the panel (the control becomes the frame's modal view and covers displayRect) or
    // hides it again and gives the frame back its own rectangle.
    void mouse(DrawContext* context, Point& where) override;

    const Rect& getDisplayRect() const { return displayRect; }
    bool isShowing() const { return grown; }

  protected:
    Rect displayRect;
    Rect savedSize;
    Point offset;
    // Whether the last opening took the frame's modal view and grew to displayRect: a grab
    // that failed leaves the rectangle alone, and so must the closing click.
    bool grown = false;
};

class TwoFrameButton : public Control {
  public:
    TwoFrameButton(const Rect& size, ControlListener* listener, int32_t tag, int32_t frameHeight,
                   Bitmap* background, const Point& offset);

    // Frame 1 when the (clamped) value is not 0, else frame 0.
    void draw(DrawContext* context) override;
    // While held: the opposite of the value at the press over the button, that value off it.
    void mouse(DrawContext* context, Point& where) override;

    float getButtonState() const { return buttonState; }

  protected:
    Point offset;
    int32_t frameHeight;
    float buttonState = 0.0f;
};

class MomentaryButton : public Control {
  public:
    MomentaryButton(const Rect& size, ControlListener* listener, int32_t tag, int32_t frameHeight,
                    Bitmap* background, const Point& offset);

    // The frame below offset for a value other than 0, the one at offset for 0.
    void draw(DrawContext* context) override;
    // Like TwoFrameButton while held; the release always sets 0 and reports it.
    void mouse(DrawContext* context, Point& where) override;

  protected:
    Point offset;
    int32_t frameHeight;
};
