// ValueDisplay: conversion, the box and its text.
#include "gui/value_display.h"

#include "frame/value_text.h"
#include "gui/bitmap.h"
#include "gui/draw_context.h"

ValueDisplay::ValueDisplay(const Rect& size, Bitmap* background, int32_t style)
    : Control(size, nullptr, 0, background), style(style) {
#if TOOLKIT_NEWER
    if (style & kDisplayNoDrawing) setDirty(false);
#endif
}

void ValueDisplay::convertValue(TextBuffer& text) const {
    text.clear();
    if (converterWithData) {
        converterWithData(value, text, userData);
    } else if (converter) {
        converter(value, text);
    } else {
        char number[64];
        formatTwoDecimals(value, number);
        text.append(number);
    }
}

void ValueDisplay::draw(DrawContext* context) {
    TextBuffer text;
    convertValue(text);
    drawText(context, text.c_str());
}

void ValueDisplay::drawText(DrawContext* context, const char* text, Bitmap* bitmap) {
#if TOOLKIT_NEWER
    setDirty(false);
#else
    // Every way out leaves the display clean, so a display that draws nothing is not
    // redrawn on every idle.
    struct CleanOnExit {
        ValueDisplay* display;
        ~CleanOnExit() { display->setDirty(false); }
    } clean{this};
#endif
    if ((style & kDisplayNoDrawing) || !context) return;

    if (!bitmap) bitmap = background;
    if (bitmap) {
        if (getTransparency())
            bitmap->drawTransparent(context, size, backOffset);
        else
            bitmap->draw(context, size, backOffset);
    } else if (!getTransparency()) {
        context->setFillColour(backColour);
        context->fillRect(size);
        if (!(style & (kDisplaySunkenFrame | kDisplayRaisedFrame))) {
            context->setFrameColour(frameColour);
            context->drawRect(size);
        }
    }

    if (style & (kDisplaySunkenFrame | kDisplayRaisedFrame)) {
        const bool sunken = (style & kDisplaySunkenFrame) != 0;
        // Top and left in one colour, bottom and right in the other: light from the top left
        // for a raised box, from the bottom right for a sunken one.
        context->setFrameColour(sunken ? backColour : frameColour);
        context->moveTo(Point(size.left, size.bottom));
        context->lineTo(Point(size.left, size.top));
        context->lineTo(Point(size.right + 1, size.top));
        context->setFrameColour(sunken ? frameColour : backColour);
        context->moveTo(Point(size.right, size.top + 1));
        context->lineTo(Point(size.right, size.bottom));
        context->lineTo(Point(size.left, size.bottom));
    }

    if (style & kDisplayNoText) return;
#if TOOLKIT_NEWER
    context->setFont(fontId, 0, fontStyle);
#else
    context->setFont(fontId, 0);
#endif
    if (style & kDisplayShadowText) {
        Rect shadow = size;
        shadow.offset(1, 1);
        context->setFontColour(shadowColour);
        context->drawString(text, shadow, !textTransparent, horiAlign);
    }
    context->setFontColour(fontColour);
    context->drawString(text, size, !textTransparent, horiAlign);
}

// ---- setters ----

void ValueDisplay::setFont(int32_t id) {
    if (id == fontId) return;
    fontId = id;
    setDirty(true);
}

namespace {
// Stores `colour` and answers whether it shows differently.
bool storeColour(Colour& field, const Colour& colour) {
    const bool changed = !field.sameRgb(colour);
    field = colour;
    return changed;
}
} // namespace

void ValueDisplay::setFontColour(const Colour& colour) {
    if (storeColour(fontColour, colour)) setDirty(true);
}
void ValueDisplay::setBackColour(const Colour& colour) {
    if (storeColour(backColour, colour)) setDirty(true);
}
void ValueDisplay::setFrameColour(const Colour& colour) {
    if (storeColour(frameColour, colour)) setDirty(true);
}
void ValueDisplay::setShadowColour(const Colour& colour) {
    if (storeColour(shadowColour, colour)) setDirty(true);
}

void ValueDisplay::setHoriAlign(int32_t alignment) {
    if (alignment == horiAlign) return;
    horiAlign = alignment;
    setDirty(true);
}

void ValueDisplay::setBackOffset(const Point& point) {
    backOffset = point;
}

void ValueDisplay::setStringConvert(ValueToTextWithData function, void* data) {
    converterWithData = function;
    userData = data;
}

void ValueDisplay::setStringConvert(ValueToText function) {
    converter = function;
}

void ValueDisplay::setTextToValue(TextToValue function) {
    textToValue = function;
}

void ValueDisplay::setStyle(int32_t newStyle) {
    if (newStyle == style) return;
    style = newStyle;
    setDirty(true);
}

#if TOOLKIT_NEWER
void ValueDisplay::setFontStyle(int32_t newStyle) {
    if (newStyle == fontStyle) return;
    fontStyle = newStyle;
    setDirty(true);
}
#else
int32_t ValueDisplay::getStyle() const {
    return style;
}
bool ValueDisplay::getTextTransparency() const {
    return textTransparent;
}
#endif

void ValueDisplay::setTextTransparency(bool flag) {
    textTransparent = flag;
}
