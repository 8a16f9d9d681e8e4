// ValueDisplay: a control that shows its value as text in a framed, filled box (the editors
// put one under each knob). The text comes from a converter (with or without user data) or,
// without one, the value with two decimals. drawText is shared with the text field and the
// popup menu, which show texts of their own in the same box.
//
// State (after Control's): converter, converter with data, text-to-value function (stored
// only), user data, horizontal alignment (1: centre), style bits (below), font id (3),
// (newer) font style, font, back, frame and shadow colours, background offset, and whether
// the text is drawn transparently (true).
//
// Threads: the host's GUI thread; setValue may come from a host parameter thread (Control).
#pragma once

#include "gui/colour.h"
#include "gui/control.h"
#include "gui/text_buffer.h"
#include "gui/toolkit_variant.h"

#include <cstdint>

// Style bits.
inline constexpr int32_t kDisplayShadowText = 0x4;
inline constexpr int32_t kDisplaySunkenFrame = 0x80;
inline constexpr int32_t kDisplayRaisedFrame = 0x100;
inline constexpr int32_t kDisplayNoText = 0x800;
inline constexpr int32_t kDisplayNoDrawing = 0x1000;
inline constexpr int32_t kFieldDoubleClickEdit = 0x2000; // text field
inline constexpr int32_t kMenuMultipleCheck = 0x1;       // popup menu: check flags shown
inline constexpr int32_t kMenuCheckCurrent = 0x400;      // popup menu: current entry checked
inline constexpr int32_t kMenuOpenAtTop = 0x200;         // popup menu: opens at the top edge

// Converters append the text for a value to `text` (which starts empty).
using ValueToText = void (*)(float value, TextBuffer& text);
using ValueToTextWithData = void (*)(float value, TextBuffer& text, void* userData);
using TextToValue = float (*)(const char* text, void* userData);

class ValueDisplay : public Control {
  public:
    ValueDisplay(const Rect& size, Bitmap* background, int32_t style);

    void draw(DrawContext* context) override;

    // Font, colour, alignment and style setters mark the display dirty only when the value
    // changes (colours compare red, green and blue); the others just store.
    virtual void setFont(int32_t id);
    virtual void setFontColour(const Colour& colour);
    virtual void setBackColour(const Colour& colour);
    virtual void setFrameColour(const Colour& colour);
    virtual void setShadowColour(const Colour& colour);
    virtual void setHoriAlign(int32_t alignment);
    virtual void setBackOffset(const Point& point);
    virtual void setStringConvert(ValueToTextWithData converter, void* data);
    virtual void setStringConvert(ValueToText converter);
    virtual void setTextToValue(TextToValue function);
    virtual void setStyle(int32_t newStyle);
#if TOOLKIT_NEWER
    virtual void setFontStyle(int32_t fontStyle);
    virtual void setTextTransparency(bool flag);
#else
    virtual int32_t getStyle() const;
    virtual void setTextTransparency(bool flag);
    virtual bool getTextTransparency() const;
#endif

#if TOOLKIT_NEWER
    int32_t getStyle() const {
        return style;
    }
    bool getTextTransparency() const {
        return textTransparent;
    }
    int32_t getFontStyle() const {
        return fontStyle;
    }
#endif
    int32_t getFontId() const {
        return fontId;
    }
    int32_t getHoriAlign() const {
        return horiAlign;
    }
    Colour getFontColour() const {
        return fontColour;
    }
    Colour getBackColour() const {
        return backColour;
    }
    Colour getFrameColour() const {
        return frameColour;
    }
    Colour getShadowColour() const {
        return shadowColour;
    }
    const Point& getBackOffset() const {
        return backOffset;
    }
    TextToValue getTextToValue() const {
        return textToValue;
    }
    void* getUserData() const {
        return userData;
    }

    // The text draw() would show for the current value.
    void convertValue(TextBuffer& text) const;

  protected:
    // Draws the box (background or fill and frame, 3D lines) and the text, by the style bits.
    // `bitmap` replaces the background when given. Leaves the display clean.
    void drawText(DrawContext* context, const char* text, Bitmap* bitmap = nullptr);

    ValueToText converter = nullptr;
    ValueToTextWithData converterWithData = nullptr;
    TextToValue textToValue = nullptr;
    void* userData = nullptr;
    int32_t horiAlign = 1;
    int32_t style;
    int32_t fontId = 3;
#if TOOLKIT_NEWER
    int32_t fontStyle = 0;
#endif
    Colour fontColour = WhiteColour;
    Colour backColour = BlackColour;
    Colour frameColour = BlackColour;
    Colour shadowColour = RedColour;
    Point backOffset;
    bool textTransparent = true;
};
