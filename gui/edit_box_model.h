// EditBoxModel: the window-system-free part of a single-line edit box: the text (at most 255
// characters), the caret, the selection (between the anchor and the caret), the editing keys
// and the horizontal scroll that keeps the caret in view. A platform edit box turns its key
// presses, clicks and clipboard into calls here and draws what the model says.
//
// State: text and length, caret and anchor (character positions, 0..length), scroll (pixels
// of text hidden at the left). GUI thread; no allocation.
#pragma once

#include "gui/text_buffer.h"

#include <cstdint>

// The keys an edit box understands; Character carries an 8-bit character.
enum class EditKeyCode : int32_t {
    Character,
    Left,
    Right,
    Home,
    End,
    Backspace,
    Delete,
    Enter, // Return and keypad Enter
    Escape,
    SelectAll,
};

struct EditKey {
    EditKeyCode code = EditKeyCode::Character;
    char character = 0;
    bool shift = false; // extends the selection with the movement keys
};

// Widths of text in the box's font.
class TextMeasure {
  public:
    // Width in pixels of the first `count` characters of `text`.
    virtual int32_t width(const char* text, int32_t count) = 0;

  protected:
    ~TextMeasure() = default;
};

class EditBoxModel {
  public:
    static constexpr int32_t kMaxLength = static_cast<int32_t>(TextBuffer::kMaxLength);

    enum class Result {
        Unchanged, // the key did nothing
        Moved,     // caret or selection moved
        Edited,    // the text changed
        Finished,  // the edit ends (Enter)
    };

    // The text cut to 255 characters, all of it selected (as a box shows on opening).
    void setText(const char* text);
    const char* getText() const { return text; }
    int32_t getLength() const { return length; }

    int32_t getCaret() const { return caret; }
    int32_t getAnchor() const { return anchor; }
    bool hasSelection() const { return caret != anchor; }
    int32_t selectionStart() const { return caret < anchor ? caret : anchor; }
    int32_t selectionEnd() const { return caret < anchor ? anchor : caret; }
    void selectAll();

    Result apply(const EditKey& key);
    // Replaces the selection with `insertion`, as much as fits under 255 characters; control
    // characters are dropped. Edited when anything changed.
    Result insert(const char* insertion);
    // The selected text appended to `out`; cut also deletes it.
    void copySelection(TextBuffer& out) const;
    Result cutSelection(TextBuffer& out);

    // Mouse: the caret to the character boundary nearest to x (box pixels, scroll included);
    // with extend the anchor stays (a drag or a shift-click).
    void placeCaret(int32_t x, bool extend, TextMeasure& measure);
    // Scrolls so that the caret lies inside a box `boxWidth` pixels wide; answers the scroll.
    int32_t scrollToCaret(int32_t boxWidth, TextMeasure& measure);
    int32_t getScroll() const { return scroll; }

  private:
    void moveTo(int32_t position, bool extend);
    void eraseSelection();

    char text[kMaxLength + 1] = {};
    int32_t length = 0;
    int32_t caret = 0;
    int32_t anchor = 0;
    int32_t scroll = 0;
};
