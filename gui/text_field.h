// TextField: a value display that holds a string and edits it in an edit box on a click (or,
// with style 0x2000, a double click). The edit ends with Enter, with focus loss or with a
// click elsewhere; a text that changed is then reported to the listener once.
//
// While editing the field draws the box over itself.
//
// State (after ValueDisplay's): the edit box (only while editing) and the context offset it
// was opened with, the text (at most 255
// characters), the text converters with and without user data, the time of the first click of
// a double click (and whether one is pending), (newer) the entered flag: the last edit ended
// with Enter.
//
// Threads: the host's GUI thread.
#pragma once

#include "gui/edit_box.h"
#include "gui/toolkit_variant.h"
#include "gui/value_display.h"

#include <cstdint>
#include <memory>

// Converters from the field's text to the text shown (which starts empty).
using TextToText = void (*)(const char* input, TextBuffer& text);
using TextToTextWithData = void (*)(const char* input, TextBuffer& text, void* userData);

class TextField : public ValueDisplay, private EditBoxOwner {
  public:
    // A null text starts empty.
    TextField(const Rect& size, ControlListener* listener, int32_t tag, const char* text,
              Bitmap* background, int32_t style);
    ~TextField() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    void takeFocus(DrawContext* context) override;
    void looseFocus(DrawContext* context) override;
#if TOOLKIT_NEWER
    // The host's keys while editing go to the box (answered 1); otherwise -1.
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
#endif

    // Copies the text (cut to 255 characters) and marks the field dirty when it differs;
    // null is ignored.
    virtual void setText(const char* text);
    // Copies the text into `buffer`, which holds 256 bytes.
    virtual void getText(char* buffer) const;
    virtual void setTextConvert(TextToTextWithData converter, void* data);
    virtual void setTextConvert(TextToText converter);

    const char* getText() const {
        return text.c_str();
    }
    // The open edit box, or null when not editing.
    EditBox* getEditBox() const {
        return editBox.get();
    }
    bool isEditing() const {
        return editBox != nullptr;
    }
#if TOOLKIT_NEWER
    bool wasEntered() const {
        return entered;
    }
#endif

  private:
    void editBoxFinished(bool byEnter) override;
    void editBoxChanged() override;

    std::unique_ptr<EditBox> editBox;
    Point boxOffset; // the offset of the context the box was opened in
    TextBuffer text;
    TextToText textConverter = nullptr;
    TextToTextWithData textConverterWithData = nullptr;
    uint32_t firstClickTime = 0;
    bool firstClickPending = false;
#if TOOLKIT_NEWER
    bool entered = false;
#endif
};
