// The edit box's rules without a window: caret movement and shift-selection, the editing keys,
// typing over a selection, the 255-character limit, clipboard cut and paste, caret placement
// by the mouse and the horizontal scroll that keeps the caret in view.
#include "gui/edit_box_model.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every character 10 pixels wide.
struct FixedWidth final : TextMeasure {
    int32_t width(const char*, int32_t count) override { return count * 10; }
};

EditKey key(EditKeyCode code, bool shift = false) {
    return EditKey{code, 0, shift};
}
EditKey character(char c) {
    return EditKey{EditKeyCode::Character, c, false};
}

TEST(EditBoxModelKeys, MovementSelectionAndDeletion) {
    EditBoxModel model;
    model.setText("hello");
    EXPECT_EQ(model.selectionStart(), 0);
    EXPECT_EQ(model.selectionEnd(), 5);
    EXPECT_EQ(model.apply(key(EditKeyCode::Left)), EditBoxModel::Result::Moved);
    EXPECT_EQ(model.getCaret(), 0); // the selection collapsed to its start
    EXPECT_FALSE(model.hasSelection());
    EXPECT_EQ(model.apply(key(EditKeyCode::Left)), EditBoxModel::Result::Unchanged);
    model.apply(key(EditKeyCode::End));
    model.apply(key(EditKeyCode::Left, true));
    model.apply(key(EditKeyCode::Left, true));
    EXPECT_EQ(model.selectionStart(), 3);
    EXPECT_EQ(model.selectionEnd(), 5);
    model.apply(character('P'));
    EXPECT_STREQ(model.getText(), "helP");
    model.apply(key(EditKeyCode::Home));
    model.apply(key(EditKeyCode::Delete));
    EXPECT_STREQ(model.getText(), "elP");
    EXPECT_EQ(model.apply(key(EditKeyCode::Backspace)), EditBoxModel::Result::Unchanged);
    model.apply(key(EditKeyCode::Right));
    model.apply(key(EditKeyCode::Backspace));
    EXPECT_STREQ(model.getText(), "lP");
    model.apply(key(EditKeyCode::End, true));
    EXPECT_EQ(model.selectionEnd() - model.selectionStart(), 2);
    model.apply(key(EditKeyCode::Home, true)); // shift-Home from the end selects everything
    EXPECT_EQ(model.getAnchor(), 0);
    model.apply(key(EditKeyCode::SelectAll));
    model.apply(key(EditKeyCode::Delete));
    EXPECT_STREQ(model.getText(), "");
    EXPECT_EQ(model.apply(key(EditKeyCode::Delete)), EditBoxModel::Result::Unchanged);
    EXPECT_EQ(model.apply(key(EditKeyCode::Enter)), EditBoxModel::Result::Finished);
    EXPECT_EQ(model.apply(key(EditKeyCode::Escape)), EditBoxModel::Result::Unchanged);
}

TEST(EditBoxModelText, LimitControlCharactersAndClipboard) {
    EditBoxModel model;
    model.setText(std::string(300, 'a').c_str());
    EXPECT_EQ(model.getLength(), 255);
    EXPECT_EQ(model.apply(character('b')), EditBoxModel::Result::Edited); // replaced all
    EXPECT_EQ(model.insert(std::string(400, 'c').c_str()), EditBoxModel::Result::Edited);
    EXPECT_EQ(model.getLength(), 255);
    EXPECT_EQ(model.apply(character('d')), EditBoxModel::Result::Unchanged);
    EXPECT_EQ(model.getText()[0], 'b');

    model.setText("x");
    model.apply(key(EditKeyCode::End));
    model.insert("1\t2\n3\x7f\xe9"); // 8-bit characters stay, control characters do not
    EXPECT_STREQ(model.getText(), "x123\xe9");

    model.apply(key(EditKeyCode::Home, true));
    TextBuffer clipboard;
    EXPECT_EQ(model.cutSelection(clipboard), EditBoxModel::Result::Edited);
    EXPECT_STREQ(clipboard.c_str(), "x123\xe9");
    EXPECT_STREQ(model.getText(), "");
    model.insert("ab");
    model.insert(clipboard.c_str());
    EXPECT_STREQ(model.getText(), "abx123\xe9");
    TextBuffer copy;
    model.copySelection(copy); // nothing selected
    EXPECT_TRUE(copy.empty());
}

TEST(EditBoxModelPointer, ClicksLandOnTheNearestBoundaryAndDragsSelect) {
    EditBoxModel model;
    FixedWidth measure;
    model.setText("abcdef");
    model.placeCaret(14, false, measure);
    EXPECT_EQ(model.getCaret(), 1);
    model.placeCaret(16, false, measure);
    EXPECT_EQ(model.getCaret(), 2);
    model.placeCaret(-5, false, measure);
    EXPECT_EQ(model.getCaret(), 0);
    model.placeCaret(41, true, measure);
    EXPECT_EQ(model.selectionStart(), 0);
    EXPECT_EQ(model.selectionEnd(), 4);
    model.placeCaret(500, false, measure);
    EXPECT_EQ(model.getCaret(), 6);
}

TEST(EditBoxModelScroll, TheCaretStaysInsideTheBox) {
    EditBoxModel model;
    FixedWidth measure;
    model.setText("0123456789"); // 100 pixels in a 52-pixel box: 50 visible
    model.apply(key(EditKeyCode::End));
    EXPECT_EQ(model.scrollToCaret(52, measure), 50);
    model.placeCaret(0, false, measure); // x 0 is text position 50
    EXPECT_EQ(model.getCaret(), 5);
    model.apply(key(EditKeyCode::Home));
    EXPECT_EQ(model.scrollToCaret(52, measure), 0);
    model.apply(key(EditKeyCode::End));
    model.scrollToCaret(52, measure);
    for (int i = 0; i < 6; ++i)
        model.apply(key(EditKeyCode::Backspace));
    EXPECT_EQ(model.scrollToCaret(52, measure), 0); // the rest fits again
}

} // namespace
