// TloomEditor: the editor of the gap-line effect. One background picture carries thirteen
// filmstrip knobs, each with a value display under it, two columns of five shape buttons (one
// column per side, exactly one lit in each) and an information control: a click on its hot area
// shows a picture with two web links; a click on a link hides it and opens that page, any other
// click only hides it. The editor is the listener of all its controls.
//
// State: the controls and displays in the panel's tables under their tags (PanelEditor), the
// background (resource 110, held for the editor's life) and the
// knob strip, button and information bitmaps (112, 113, 114, loaded by open, released at close).
//
// Threads: the host's GUI thread, except setParameter, which runs inside the effect's
// setParameter on the host's parameter thread and only stores control values and raises the
// update flag.
#pragma once

#include "gui/buttons.h"
#include "gui/panel_editor.h"

#include <cstdint>

// The information picture with its two web links. A click that hides the picture and lies on a
// link opens that link's page.
class InfoOverlay : public OverlayImage {
  public:
    InfoOverlay(const Rect& hotArea, ControlListener* listener, int32_t tag, Bitmap* picture,
                const Rect& pictureRect);
    void mouse(DrawContext* context, Point& where) override;
    // Which link (0 the maker's page, 1 the product's) a point relative to the picture's top-left
    // corner lies on, or -1.
    static int32_t linkAt(const Point& relative);
};

class TloomEditor : public PanelEditor {
  public:
    static constexpr int32_t kTagCount = 26;
    static constexpr int32_t kFirstLeftShapeTag = 15;
    static constexpr int32_t kFirstRightShapeTag = 20;
    static constexpr int32_t kInfoTag = 25;
    static constexpr int32_t kBackgroundId = 110;
    static constexpr int32_t kKnobStripId = 112;
    static constexpr int32_t kButtonId = 113;
    static constexpr int32_t kInfoId = 114;
    static constexpr int32_t kStripFrames = 128;
    static_assert(kTagCount <= kMaxEntries, "every tag has an entry in the panel's tables");

    explicit TloomEditor(EffectBase* effect);

    void setParameter(int32_t tag, float value) override;
    void valueChanged(DrawContext* context, Control* control) override;
    int32_t onKeyDown(VstKeyCode&) override { return -1; }
    int32_t onKeyUp(VstKeyCode&) override { return -1; }

    // The web pages the information picture's links open.
    static const char* const kLinks[2];

  private:
    void addControls() override;
    void addKnobWithDisplay(int32_t tag, const Rect& knobSize);
    void addShapeButtons();
    void lightShape(int32_t firstTag, int32_t shape);
};

// Asks the system to show `url` in the user's browser and returns at once. A missing browser
// is harmless.
void openWebPage(const char* url);

// The editor factory tloom's entry hands to its effect: a TloomEditor attached to `effect`, or
// null when it cannot be made.
EditorInterface* createTloomEditor(EffectBase& effect);
