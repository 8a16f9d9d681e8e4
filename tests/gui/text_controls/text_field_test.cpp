// Text fields in a frame on the headless platform: a click opens the edit box with all text
// selected, Enter or a click elsewhere ends the edit and reports a changed text exactly once,
// style 0x2000 needs a double click, another edit view ends the edit, texts are cut at 255
// characters, and closing the editor while editing leaves no box behind.
#include "gui/text_field.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace frame_test;

namespace {

struct Recorder : ControlListener {
    void valueChanged(DrawContext* context, Control* control) override {
        texts.push_back(static_cast<TextField*>(control)->getText());
        withContext += context ? 1 : 0;
    }
    std::vector<std::string> texts;
    int withContext = 0;
};

// Counts the peers a window system would hold: boxes shown now.
struct PeerCounter : EditBoxPeerFactory {
    struct Peer : EditBoxPeer {
        explicit Peer(int& live) : live(live) { ++live; }
        ~Peer() override { --live; }
        void boxChanged() override {}
        int& live;
    };
    std::unique_ptr<EditBoxPeer> attach(EditBox&, EditorFrame&) override {
        return std::make_unique<Peer>(live);
    }
    int live = 0;
};

void type(EditBox* box, const char* text) {
    for (const char* p = text; *p; ++p)
        box->key(EditKey{EditKeyCode::Character, *p, false});
}

class TextFieldEdit : public OpenEditorFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(openEditor(Rect(0, 0, 200, 100))); }

    TextField* addField(int32_t style = 0, const char* text = "old") {
        auto* field = new TextField(Rect(20, 20, 120, 40), &recorder, 7, text, nullptr, style);
        EXPECT_TRUE(frame->addView(field));
        return field;
    }
    void clickAt(int32_t x, int32_t y) {
        platform.click(*window(), x, y);
        frame->idle();
    }

    Recorder recorder;
};

TEST_F(TextFieldEdit, ClickOpensTheBoxOverTheFieldWithEverythingSelected) {
    TextField* field = addField();
    field->setHoriAlign(2);
    clickAt(30, 30);
    ASSERT_TRUE(field->isEditing());
    EXPECT_EQ(frame->getEditView(), field);
    const EditBoxSettings& settings = field->getEditBox()->getSettings();
    EXPECT_EQ(settings.area, Rect(20, 20, 121, 41)); // a pixel wider and taller
    EXPECT_EQ(settings.alignment, 2);
    EXPECT_EQ(settings.font.size, 12);
    EXPECT_STREQ(settings.text, "old");
    const EditBoxModel& model = field->getEditBox()->getModel();
    EXPECT_EQ(model.selectionStart(), 0);
    EXPECT_EQ(model.selectionEnd(), 3);
    // A click inside the open box stays in the box: the edit goes on.
    clickAt(30, 30);
    EXPECT_TRUE(field->isEditing());
    EXPECT_TRUE(recorder.texts.empty());
}

TEST_F(TextFieldEdit, EnterAndClickElsewhereReportAChangedTextOnce) {
    TextField* field = addField();
    clickAt(30, 30);
    type(field->getEditBox(), "new");
    field->getEditBox()->key(EditKey{EditKeyCode::Enter, 0, false});
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(frame->getEditView(), nullptr);
    EXPECT_STREQ(field->getText(), "new");
    ASSERT_EQ(recorder.texts, std::vector<std::string>{"new"});
    EXPECT_EQ(recorder.withContext, 1);
#if TOOLKIT_NEWER
    EXPECT_TRUE(field->wasEntered());
#endif

    clickAt(30, 30);
    type(field->getEditBox(), "newer");
    clickAt(180, 80); // outside every view
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.texts, (std::vector<std::string>{"new", "newer"}));
#if TOOLKIT_NEWER
    EXPECT_FALSE(field->wasEntered());
#endif

    clickAt(30, 30); // opened and closed without a change: nothing to report
    field->getEditBox()->key(EditKey{EditKeyCode::Escape, 0, false});
    EXPECT_TRUE(field->isEditing()); // Escape does not end the edit
    field->getEditBox()->focusLost();
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.texts.size(), 2u);
}

TEST_F(TextFieldEdit, TheBoxIsDrawnOverTheFieldAndEachKeyRedrawsOnlyThere) {
    TextField* field = addField();
    field->setBackColour(GreyColour);
    frame->idle();
    window()->clearPresented();
    clickAt(30, 30); // the click and the redraw of the same idle call
    EXPECT_FALSE(field->isDirty());
    const Rect box(20, 20, 121, 41);
    auto onlyInTheBox = [&] {
        ASSERT_FALSE(window()->presentedAreas().empty());
        for (const platform::Area& area : window()->presentedAreas()) {
            EXPECT_GE(area.left, box.left);
            EXPECT_GE(area.top, box.top);
            EXPECT_LE(area.right, box.right);
            EXPECT_LE(area.bottom, box.bottom);
        }
    };
    onlyInTheBox();
    // The selection of the whole text shows in the box.
    EXPECT_EQ(window()->screen().row(22)[70], 0x3366ccu); // in the middle of "old"
    window()->clearPresented();
    field->getEditBox()->key(EditKey{EditKeyCode::End, 0, false});
    frame->idle();
    onlyInTheBox();
    window()->clearPresented();
    frame->idle(); // nothing changed: nothing drawn, nothing shown
    EXPECT_TRUE(window()->presentedAreas().empty());
}

TEST_F(TextFieldEdit, DoubleClickStyleOpensOnlyOnTwoQuickClicks) {
    TextField* field = addField(kFieldDoubleClickEdit);
    platform.setDoubleClickTime(400);
    clickAt(30, 30);
    EXPECT_FALSE(field->isEditing());
    platform.advance(500); // too slow: this counts as a new first click
    clickAt(30, 30);
    EXPECT_FALSE(field->isEditing());
    platform.advance(300);
    clickAt(30, 30);
    EXPECT_TRUE(field->isEditing());
}

TEST_F(TextFieldEdit, AnotherEditViewEndsTheEdit) {
    TextField* first = addField();
    TextField* second = addField(0, "second");
    second->setViewSize(Rect(20, 50, 120, 70));
    clickAt(30, 30);
    type(first->getEditBox(), "typed");
    frame->setEditView(second);
    EXPECT_FALSE(first->isEditing());
    EXPECT_EQ(recorder.texts, std::vector<std::string>{"typed"});
    EXPECT_EQ(frame->getEditView(), second);
}

TEST_F(TextFieldEdit, TextsAreCutAt255Characters) {
    const std::string longText(300, 'x');
    TextField* field = addField(0, longText.c_str());
    EXPECT_EQ(std::string(field->getText()), longText.substr(0, 255));
    field->setText(nullptr); // ignored
    EXPECT_EQ(std::strlen(field->getText()), 255u);
    field->setDirty(false);
    field->setText(longText.c_str()); // the same text once cut: no change
    EXPECT_FALSE(field->isDirty());
    field->setText("short");
    EXPECT_TRUE(field->isDirty());

    clickAt(30, 30);
    field->getEditBox()->paste(longText.c_str());
    field->getEditBox()->paste("more");
    field->getEditBox()->key(EditKey{EditKeyCode::Enter, 0, false});
    EXPECT_EQ(std::string(field->getText()), longText.substr(0, 255));
    char buffer[256];
    field->getText(buffer);
    EXPECT_EQ(std::strlen(buffer), 255u);
}

TEST_F(TextFieldEdit, ShowsItsTextThroughItsConverter) {
    TextField* field = addField(0, "abc");
    field->setTextConvert([](const char* input, TextBuffer& text) {
        text.append("<");
        text.append(input);
        text.append(">");
    });
    PixelSurface plain(200, 100, 0);
    {
        DrawContext context(nullptr, &plain, nullptr);
        TextField other(Rect(20, 20, 120, 40), nullptr, 0, "abc", nullptr, 0);
        other.draw(&context);
    }
    PixelSurface converted(200, 100, 0);
    DrawContext context(nullptr, &converted, nullptr);
    field->draw(&context);
    EXPECT_NE(plain.pixels, converted.pixels);
}

TEST_F(TextFieldEdit, ClosingTheEditorWhileEditingLeavesNoBox) {
    PeerCounter peers;
    frame->setEditBoxPeerFactory(&peers);
    TextField* field = addField();
    clickAt(30, 30);
    EXPECT_TRUE(field->getEditBox()->hasPeer());
    EXPECT_EQ(peers.live, 1);
    editor->close();
    EXPECT_EQ(peers.live, 0);
    EXPECT_TRUE(recorder.texts.empty());
}

} // namespace
