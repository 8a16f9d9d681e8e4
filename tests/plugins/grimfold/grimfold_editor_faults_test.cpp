// The grimfold editor in-process, for inputs a host cannot send through the record: indices
// and tags outside its tables, and display texts asked for with no frame or editor behind them.
#include "gui/editor_frame.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "plugins/grimfold/grimfold_editor.h"
#include "plugins/grimfold/grimfold_effect.h"

#include <gtest/gtest.h>

namespace {

int automateCalls = 0;

intptr_t countingHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterAutomate) ++automateCalls;
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct OpenEditor : ::testing::Test {
    void SetUp() override {
        editor = static_cast<GrimfoldEditor*>(effect.getEditor());
        ASSERT_NE(editor, nullptr);
        ASSERT_EQ(editor->open(reinterpret_cast<void*>(uintptr_t{0x4200001})), 1);
        window = platform.lastWindow();
        editor->idle();
        editor->idle();
        window->clearPresented();
        automateCalls = 0;
    }
    void TearDown() override { editor->close(); }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope{platform};
    GrimfoldEffect effect{countingHost, createGrimfoldEditor};
    GrimfoldEditor* editor = nullptr;
    HeadlessWindow* window = nullptr;
};

TEST_F(OpenEditor, IndicesAndTagsOutsideTheTablesAreIgnored) {
    for (int32_t index : {-1, 11, 12, 1 << 20})
        editor->setParameter(index, 1.0f);
    editor->idle();
    EXPECT_TRUE(window->presentedAreas().empty());
    EXPECT_EQ(editor->control(11), nullptr);
    EXPECT_EQ(editor->display(-1), nullptr);
    EXPECT_EQ(editor->display(10), nullptr); // Oversample has no display

    Control* knob = editor->control(0);
    ASSERT_NE(knob, nullptr);
    for (int32_t tag : {-5, 11}) {
        knob->setTag(tag);
        editor->valueChanged(nullptr, knob);
    }
    EXPECT_EQ(automateCalls, 0);
    knob->setTag(0);
    editor->valueChanged(nullptr, knob);
    EXPECT_EQ(automateCalls, 1);
}

TEST_F(OpenEditor, ConverterWithoutFrameOrEditorWritesAnEmptyText) {
    TextBuffer text;
    ParameterDisplay::convert(0.5f, text, editor->display(0));
    EXPECT_STREQ(text.c_str(), "0.00dB");
    text.clear();
    ParameterDisplay::convert(0.5f, text, editor->display(2));
    EXPECT_STREQ(text.c_str(), "25.00 %");

    ParameterDisplay loose(Rect(0, 0, 42, 12), 0, DisplayLook{}); // never added to a frame
    text.clear();
    ParameterDisplay::convert(0.5f, text, &loose);
    EXPECT_TRUE(text.empty());
    ParameterDisplay::convert(0.5f, text, nullptr);
    EXPECT_TRUE(text.empty());

    // A frame whose editor has gone (the effect closing with the editor open).
    ParameterDisplay* shown = editor->display(3);
    ASSERT_NE(shown, nullptr);
    editor->getFrame()->clearEditor();
    ParameterDisplay::convert(0.5f, text, shown);
    EXPECT_TRUE(text.empty());
}

} // namespace
