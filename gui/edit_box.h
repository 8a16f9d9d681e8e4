// EditBox: the single-line edit box a text field opens over itself while it is edited. The
// toolkit owns the editing rules (EditBoxModel) and draws the box (its owner draws it over
// itself, so the frame's idle redraw shows it); a window system supplies a peer that gives the
// box keyboard focus and the clipboard. Without a factory of its own a box opened on a frame
// with a window gets the window system's native peer where it has one (the system's edit
// control on Windows), else the window peer (focus and selections through the platform
// window); a box without a frame has no peer and is driven through its own calls. The frame routes its
// window's keys, focus loss and presses inside the box to the box.
//
// State: the description it was opened with, the model, the owner and the frame (not owned), the
// peer (owned). GUI thread only.
#pragma once

#include "gui/colour.h"
#include "gui/edit_box_model.h"
#include "gui/font.h"
#include "gui/geometry.h"
#include "gui/platform/platform.h"

#include <cstdint>
#include <memory>

class DrawContext;
class EditorFrame;
class EditBox;

// What a box is opened with.
struct EditBoxSettings {
    Rect area;             // frame window coordinates, one pixel wider and taller than the field
    const char* text = ""; // the starting text
    int32_t alignment = 1; // 0 left, 1 centre, 2 right (while the text fits)
    FontSpec font;
    Colour fontColour;
    Colour backColour;
};

// The text field side: told when the edit ends.
class EditBoxOwner {
  public:
    // Enter (byEnter), or focus lost / a click outside the box.
    virtual void editBoxFinished(bool byEnter) = 0;
    // The text, caret, selection or scroll changed: the box needs drawing again.
    virtual void editBoxChanged() = 0;

  protected:
    ~EditBoxOwner() = default;
};

// The window-system side of a box. Destroying it gives the keyboard focus back and removes
// everything it showed.
class EditBoxPeer {
  public:
    virtual ~EditBoxPeer() = default;
    // The box's look changed; show it again.
    virtual void boxChanged() = 0;
    // A selection's text into `out` (cut to 255 characters); false when there is none.
    virtual bool readSelection(platform::Selection, TextBuffer&) { return false; }
    // Offers `text` as the selection's content.
    virtual void writeSelection(platform::Selection, const char*) {}
};

class EditBoxPeerFactory {
  public:
    // A peer for `box` on the frame's window, or null when none can be made.
    virtual std::unique_ptr<EditBoxPeer> attach(EditBox& box, EditorFrame& frame) = 0;

  protected:
    ~EditBoxPeerFactory() = default;
};

// New boxes use their frame's factory (EditorFrame::getEditBoxPeerFactory: the one set, else
// the window's native one; none: the window peer).

class EditBox {
  public:
    // Selects all of the text, as a box shows on opening; attaches a peer when a factory is set
    // and a frame is given.
    EditBox(const EditBoxSettings& settings, EditBoxOwner& owner, EditorFrame* frame);
    ~EditBox();
    EditBox(const EditBox&) = delete;
    EditBox& operator=(const EditBox&) = delete;

    const EditBoxSettings& getSettings() const { return settings; }
    const EditBoxModel& getModel() const { return model; }
    const char* getText() const { return model.getText(); }
    bool hasPeer() const { return peer != nullptr; }

    // ---- input, from the peer (or a test) ----
    // Enter tells the owner, which may destroy the box before this returns.
    void key(const EditKey& editKey);
    void focusLost();
    void paste(const char* clipboardText);
    // Copy and cut append the selection to `out` for the clipboard.
    void copy(TextBuffer& out) const;
    void cut(TextBuffer& out);
    // A press or drag at x, box coordinates.
    void pointer(int32_t x, bool extend);

    // ---- input, from the frame's window ----
    // Editing keys, Control-A/C/X/V, Shift-Insert, Control-Insert and Shift-Delete; releases
    // are ignored. Enter may destroy the box before this returns.
    void keyEvent(const platform::KeyEvent& event);
    // A press at `where` (frame window coordinates, inside the box) with the Mouse* buttons:
    // the left button places the caret (Shift extends) and selects while dragged, keeping the
    // host serviced; the middle button pastes the primary selection there.
    void press(const Point& where, int32_t buttons);
    bool contains(const Point& where) const { return settings.area.pointInside(where); }
    // Forgets the peer without a word to the window (the window is going away).
    void dropPeer() { peer.reset(); }

    // Draws the box over its area: fill, text scrolled to keep the caret in view, selection,
    // caret.
    void draw(DrawContext& context);

  private:
    void changed();
    // Where the text starts now, frame window coordinates.
    int32_t textLeft() const;
    void claimPrimary();
    void pasteFrom(platform::Selection selection);
    void copyTo(platform::Selection selection, bool andCut);

    EditBoxSettings settings;
    EditBoxModel model;
    EditBoxOwner& owner;
    EditorFrame* frame;
    std::unique_ptr<EditBoxPeer> peer;
};
