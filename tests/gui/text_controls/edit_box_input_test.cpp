// The text field's edit box driven through its frame's window on the headless platform: the
// focus taken and given back, typed characters and caret keys, selections with Shift and the
// mouse, the clipboard and primary selection, the 255-character limit, every way an edit ends,
// and (newer) the host's keys.
#include "gui/text_field.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace frame_test;
using platform::KeyCode;
using platform::Selection;

namespace {

// Records each reported text and, as editors do, draws the control through the context.
struct Recorder : ControlListener {
    void valueChanged(DrawContext* context, Control* control) override {
        texts.push_back(static_cast<TextField*>(control)->getText());
        if (context) control->update(context);
    }
    std::vector<std::string> texts;
};

class EditBoxInput : public OpenEditorFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(openEditor(Rect(0, 0, 200, 100)));
        field = new TextField(Rect(20, 20, 120, 40), &recorder, 7, "old", nullptr, 0);
        field->setHoriAlign(0);
        ASSERT_TRUE(frame->addView(field));
    }

    void open() {
        platform.click(*window(), 30, 30);
        frame->idle();
        ASSERT_TRUE(field->isEditing());
    }
    void key(KeyCode code, uint32_t modifiers = 0, char character = 0) {
        window()->queueKey(code, character, modifiers, true);
        frame->idle();
    }
    void type(const char* text) {
        window()->queueText(text);
        frame->idle();
    }
    std::string boxText() const { return field->getEditBox()->getText(); }
    const EditBoxModel& model() const { return field->getEditBox()->getModel(); }

    TextField* field = nullptr;
    Recorder recorder;
};

TEST_F(EditBoxInput, TypingReplacesTheSelectionAndCaretKeysEdit) {
    open();
    EXPECT_TRUE(window()->hasKeyboardFocus());
    type("abcd"); // everything was selected on opening
    EXPECT_EQ(boxText(), "abcd");
    key(KeyCode::Left);
    key(KeyCode::Backspace);
    EXPECT_EQ(boxText(), "abd");
    key(KeyCode::Home);
    key(KeyCode::Delete);
    EXPECT_EQ(boxText(), "bd");
    key(KeyCode::End);
    key(KeyCode::Left, platform::kModShift);
    EXPECT_EQ(model().selectionStart(), 1);
    EXPECT_EQ(model().selectionEnd(), 2);
    EXPECT_EQ(platform.selection(Selection::Primary), "d"); // a selection made is offered
    key(KeyCode::Character, platform::kModAlt, 'x');        // an accelerator, not text
    key(KeyCode::Tab);
    key(KeyCode::Escape); // nothing, as the box has always done
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(boxText(), "bd");
    EXPECT_TRUE(recorder.texts.empty());
}

TEST_F(EditBoxInput, ClipboardKeysCutCopyAndPasteWithin255Characters) {
    open();
    key(KeyCode::Character, platform::kModControl, 'c'); // all of "old" is selected
    EXPECT_EQ(platform.selection(Selection::Clipboard), "old");
    EXPECT_TRUE(platform.selectionOwnedByToolkit(Selection::Clipboard));
    key(KeyCode::Character, platform::kModControl, 'X');
    EXPECT_EQ(boxText(), "");
    platform.setSelection(Selection::Clipboard, "pasted");
    key(KeyCode::Character, platform::kModControl, 'v');
    key(KeyCode::Insert, platform::kModShift);
    EXPECT_EQ(boxText(), "pastedpasted");
    key(KeyCode::Character, platform::kModControl, 'a');
    key(KeyCode::Insert, platform::kModControl); // copy
    key(KeyCode::Delete, platform::kModShift);   // cut
    EXPECT_EQ(boxText(), "");
    EXPECT_EQ(platform.selection(Selection::Clipboard), "pastedpasted");

    platform.setSelection(Selection::Clipboard, std::string(300, 'y'));
    key(KeyCode::Character, platform::kModControl, 'v');
    type("z");
    EXPECT_EQ(boxText(), std::string(255, 'y'));
}

TEST_F(EditBoxInput, ThePointerPlacesTheCaretSelectsAndPastesInsideTheBox) {
    field->setText("abcdef");
    open();
    // A press inside the open box keeps the edit going and moves the caret.
    platform.click(*window(), 22, 30);
    frame->idle();
    ASSERT_TRUE(field->isEditing());
    EXPECT_EQ(model().getCaret(), 0);
    EXPECT_FALSE(model().hasSelection());
    // A drag selects and offers the selection.
    platform.drag(*window(), 22, 30, 118, 30, 4);
    frame->idle();
    EXPECT_EQ(model().selectionStart(), 0);
    EXPECT_EQ(model().selectionEnd(), 6);
    EXPECT_EQ(platform.selection(Selection::Primary), "abcdef");
    // The middle button pastes the primary selection where it is pressed.
    platform.setSelection(Selection::Primary, "+");
    platform.addStep({22, 30, platform::kButtonMiddle, 1});
    window()->queuePress(22, 30);
    frame->idle();
    EXPECT_EQ(boxText(), "+abcdef");
    EXPECT_TRUE(recorder.texts.empty());
}

// Each way an edit ends reports the new text once and gives the focus back.
enum class Ending { Enter, KeypadEnter, FocusLost, ClickOutside };

class EditBoxEnding : public EditBoxInput, public ::testing::WithParamInterface<Ending> {};

TEST_P(EditBoxEnding, ReportsTheTextOnceAndGivesTheFocusBack) {
    open();
    type("new");
    switch (GetParam()) {
    case Ending::Enter:
        key(KeyCode::Enter);
        break;
    case Ending::KeypadEnter:
        key(KeyCode::KeypadEnter);
        break;
    case Ending::FocusLost:
        window()->queueFocus(false);
        frame->idle();
        break;
    case Ending::ClickOutside:
        platform.click(*window(), 180, 80);
        frame->idle();
        break;
    }
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.texts, std::vector<std::string>{"new"});
    EXPECT_FALSE(window()->hasKeyboardFocus());
    EXPECT_EQ(window()->focusReturns(), 1);
    EXPECT_EQ(frame->getActiveEditBox(), nullptr);
    // What was drawn without the box is shown: the window holds the frame's picture.
    frame->idle();
    for (int32_t y = 20; y <= 40; ++y)
        for (int32_t x = 20; x <= 120; ++x)
            ASSERT_EQ(window()->screen().row(y)[x], frame->getSurface().row(y)[x]) << x << "," << y;
    type("late"); // keys after the edit reach nothing
    EXPECT_STREQ(field->getText(), "new");
}

INSTANTIATE_TEST_SUITE_P(Endings, EditBoxEnding,
                         ::testing::Values(Ending::Enter, Ending::KeypadEnter, Ending::FocusLost,
                                           Ending::ClickOutside));

TEST_F(EditBoxInput, ClosingTheEditorWhileEditingGivesTheFocusBack) {
    open();
    EXPECT_TRUE(window()->hasKeyboardFocus());
    editor->close();
    EXPECT_TRUE(platform.windows().empty());
    EXPECT_EQ(platform.focusesLeftBehind(), 0);
}

#if TOOLKIT_NEWER
TEST_F(EditBoxInput, TheHostsKeysReachTheOpenBox) {
    VstKeyCode character{'q', 0, 0};
    EXPECT_EQ(frame->onKeyDown(character), -1); // not editing: nobody takes it
    open();
    EXPECT_EQ(frame->onKeyDown(character), 1);
    VstKeyCode digit{0, 25, 0}; // keypad 1
    frame->onKeyDown(digit);
    VstKeyCode left{0, 11, 1}; // Shift-Left
    frame->onKeyDown(left);
    EXPECT_EQ(model().selectionStart(), 1);
    VstKeyCode enter{0, 19, 0}; // keypad Enter
    EXPECT_EQ(frame->onKeyDown(enter), 1);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.texts, std::vector<std::string>{"q1"});
    EXPECT_TRUE(field->wasEntered());
}
#endif

} // namespace
