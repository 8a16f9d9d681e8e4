// ShowcaseEditor: one of every control of the toolkit on a labelled grid, each wired to its
// own parameter of the showcase effect (parameter i belongs to control i of showcase_layout.h).
// A control the user moves automates its parameter; a parameter the host sets moves its
// control, which the next idle call redraws. Built for both toolkit variants from this source.
//
// Values and parameters meet in one place (toParameter / fromParameter): the rocker's -1..+1
// maps onto 0..1, the popup menu's entry index onto 0..1 over its entries, the digit display
// shows the parameter as 0 to 999, the loop animation's parameter is whether it runs and the
// text field holds the parameter as text with two decimals (typing a number sets it).
//
// Under the grid, the file strip (file_strip.h): its key runs a load file selector (the host's
// or the desktop's) and its display shows the chosen path, or the files or text dropped
// anywhere on the panel. These two controls have no parameters.
//
// State: the controls in the panel's table by index (PanelEditor), the background
// (resource 110, held for the editor's life), the control images (loaded at open, released at
// close), the text a host change left for the next update, the animation's last step and the
// file display's line (kept across close and open).
//
// Threads: the host's GUI thread, except setParameter, which only stores control values (the
// text field's in an atomic for update()) and raises the update flag.
#pragma once

#include "gui/panel_editor.h"
#include "tools/artwork/showcase_layout.h"

#include "tests/showcase/file_strip.h"

#include <atomic>
#include <cstdint>

class Bitmap;

class ShowcaseEditor : public PanelEditor {
  public:
    static constexpr int32_t kBackgroundId = 110;
    static constexpr int32_t kFirstImageId = 111;
    static constexpr int32_t kImageCount = 19; // resources 111 to 129
    static_assert(showcase::kControlCount <= kMaxEntries, "every control has a table entry");

    explicit ShowcaseEditor(EffectBase* effect);

    void idle() override;
    void update() override;
    void setParameter(int32_t index, float value) override;
    void valueChanged(DrawContext* context, Control* control) override;

  private:
    void addControls() override;
    // Runs the load selector for the open key and shows what it chose.
    void openFile();
    // A drop that reached no control: files (type 0) or text (type 1) for the file display.
    bool dropped(void** items, int32_t count, int32_t type);
    void showFiles(const FileLine& line);

    Control* makeControl(int32_t index);
    float toParameter(int32_t index, Control* control) const;
    void fromParameter(int32_t index, float value);

    std::atomic<float> pendingText{-1.0f}; // < 0: nothing pending
    uint32_t lastAnimationStep = 0;
    FileLine fileLine{"", "Click OPEN FILE, or drop files or text anywhere on the panel", false};
};

// The editor factory the showcase entry hands to its effect.
EditorInterface* createShowcaseEditor(EffectBase& effect);
