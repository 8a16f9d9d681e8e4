// PanelEditor: what the family's editors have in common. The panel is one background bitmap,
// loaded when the editor is made and held for its life; its size is the rectangle the host is
// told. open() loads the bitmaps the controls draw with, makes the frame over the host's
// window with the background and lets the editor add its controls; when any of that cannot be
// done it closes again and answers 0. A control that cannot be made is left out, the others
// still appear. The editor listens to its controls: unless an editor says otherwise, a control
// the user moves automates the parameter its tag names. The editor keeps a table of its
// controls and displays by entry (an entry is the tag, unless the editor files a control
// elsewhere); unless an editor says otherwise, a parameter change moves the control and the
// display of the entry its index names.
//
// State: the background, the control bitmaps (loaded by open, released by close) and their
// resource ids, the control and display tables (references to views the frame owns, filled by
// addControls, emptied when the frame goes).
//
// Threads: the host's GUI thread; setParameter of the derived editors runs inside the effect's
// setParameter on the host's parameter thread and only stores values and raises the update
// flag.
#pragma once

#include "gui/control.h"
#include "gui/editor_base.h"
#include "gui/editor_frame.h"
#include "gui/geometry.h"
#include "gui/parameter_display.h"

#include <cstdint>
#include <initializer_list>

class Bitmap;
class FilmstripKnob;

class PanelEditor : public EditorBase, public ControlListener {
  public:
    static constexpr int32_t kMaxControlBitmaps = 24;
    static constexpr int32_t kMaxEntries = 32;

    // `controlBitmapIds`: the resources open loads for the controls, at most 24.
    PanelEditor(EffectBase* effect, int32_t backgroundId,
                std::initializer_list<int32_t> controlBitmapIds);
    // The same with `count` resources numbered from `firstControlBitmapId` on.
    PanelEditor(EffectBase* effect, int32_t backgroundId, int32_t firstControlBitmapId,
                int32_t count);
    // Also when the host closes the effect with the editor open (even from inside a drag's idle
    // pump): the frame forgets this editor, which ends such a drag, and goes.
    ~PanelEditor() override;

    int32_t open(void* parentWindow) final;
    void close() final;
    void valueChanged(DrawContext* context, Control* control) override;
    void update() override {}
    // Moves the control and the display of entry `index` while the editor is open.
    void setParameter(int32_t index, float value) override;

    // The control and the display in table entry `entry` while the editor is open, else none.
    Control* control(int32_t entry) const;
    ParameterDisplay* display(int32_t entry) const;

  protected:
    // Adds the controls to the frame that open has just made.
    virtual void addControls() = 0;

    // Control bitmap `index` in the order the constructor named them; null while closed.
    Bitmap* controlBitmap(int32_t index) const;
    // The effect's value of parameter `tag`, or 0 when there is no such parameter.
    float parameterValue(int32_t tag) const;
    // Adds `view` to the frame and answers it; answers null, the view forgotten, when it was
    // not made or cannot be added.
    template <class V> V* addToFrame(V* view);
    // addToFrame, and the control filed in table entry `entry` (left out of the table when the
    // entry is outside 0..kMaxEntries - 1).
    template <class C> C* addControl(int32_t entry, C* control);
    // A filmstrip knob on parameter `tag` showing the effect's value, filed under its tag, or
    // null.
    FilmstripKnob* addKnob(const Rect& size, int32_t tag, int32_t frames, int32_t frameHeight,
                           Bitmap* strip);
    // A display of parameter `tag` showing the effect's text, filed under its tag, or null.
    ParameterDisplay* addDisplay(const Rect& size, int32_t tag, const DisplayLook& look);

    Bitmap* background = nullptr;

  private:
    void releaseControlBitmaps();
    void forgetControls();
    static bool isEntry(int32_t entry) { return entry >= 0 && entry < kMaxEntries; }

    int32_t controlBitmapIds[kMaxControlBitmaps] = {};
    int32_t controlBitmapCount = 0;
    Bitmap* controlBitmaps[kMaxControlBitmaps] = {};
    Control* controls[kMaxEntries] = {};
    ParameterDisplay* displays[kMaxEntries] = {};
};

template <class V> V* PanelEditor::addToFrame(V* view) {
    if (!view) return nullptr;
    if (frame && frame->addView(view)) return view;
    view->forget();
    return nullptr;
}

template <class C> C* PanelEditor::addControl(int32_t entry, C* control) {
    C* added = addToFrame(control);
    if (isEntry(entry)) controls[entry] = added;
    return added;
}
