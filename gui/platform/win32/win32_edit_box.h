// The text field's edit box as the system's own single-line edit control, placed over the
// field in the frame's window with the field's font (the font table's face and size, regular
// weight) and colours, the whole text selected and the keyboard focus taken. The control
// does the editing, the caret and the clipboard; the edit ends on Return or keypad Enter and
// when the control loses the focus, and the text it holds then (at most 255 characters, in
// Latin-1: other characters become '?') is what the field gets.
//
// Win32EditControl: the control itself, for any parent window. Win32EditBoxPeers: the edit
// box peers of a frame on a Win32 window, each owning one control and reporting its end to
// the toolkit's box. The parent's window procedure hands its WM_CTLCOLOREDIT messages to
// Win32EditControl::colourMessage.
//
// State: the control, its window procedure before ours, the font and brush (owned), the window
// that had the focus before. GUI thread only.
#pragma once

#include "gui/edit_box.h"

#include <windows.h>

#include <memory>
#include <string>

class Win32EditControl {
  public:
    class Listener {
      public:
        // The user changed the text (typed, deleted, pasted, undid): the control's text now.
        virtual void editChanged(const std::string& text) = 0;
        // The edit ends: Return or keypad Enter (byEnter), or the focus went elsewhere. The
        // listener may destroy the control before returning.
        virtual void editEnded(bool byEnter) = 0;

      protected:
        ~Listener() = default;
    };

    // A visible control over `settings.area` of `parent`, or null when it cannot be made.
    static std::unique_ptr<Win32EditControl> open(HWND parent, const EditBoxSettings& settings,
                                                  Listener& listener);
    // Gives the focus back (when the control still has it) and destroys the control.
    ~Win32EditControl();
    Win32EditControl(const Win32EditControl&) = delete;
    Win32EditControl& operator=(const Win32EditControl&) = delete;

    HWND handle() const { return control; }
    // The control's text in Latin-1.
    std::string text() const;

    // For the parent's window procedure: the colours of one of these controls (result: its
    // brush); false for any other control.
    static bool colourMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    Win32EditControl(const EditBoxSettings& settings, Listener& listener);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void reportChange();

    Listener& listener;
    HWND control = nullptr;
    HWND parent = nullptr;
    HWND focusBefore = nullptr;
    WNDPROC previous = nullptr;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    COLORREF textColour = 0;
    COLORREF backColour = 0;
    std::string reported; // the text last reported
    bool ending = false;  // the edit is ending: nothing more is reported
};

class Win32EditBoxPeers final : public EditBoxPeerFactory {
  public:
    std::unique_ptr<EditBoxPeer> attach(EditBox& box, EditorFrame& frame) override;
};
