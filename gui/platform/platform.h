// The platform contract: everything the window system and the operating system give the
// toolkit, in roles, behind one private interface, so that no view, control or editor sees a
// system type or calls the system. Roles: input and keys, window, clipboard, popup layers,
// presenting pixels (pixel_surface.h), drops (drop_listener.h) and system services (module
// and its resources, web pages, file dialogs (file_dialog.h), paths, ticks and sleep).
//
// One folder per system implements it: x11/ (the window system), posix/ (the Linux system
// services, desktop dialogs included), headless/ (no display: scripted pointer, keys and clock,
// installed by tests explicitly); common/ holds what back ends share. Exactly one window back
// end is linked into a program, and it defines current().
//
// Everything here is called on the host's GUI thread.
#pragma once

#include "gui/platform/file_dialog.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct PixelSurface;
class EditBoxPeerFactory;
class MenuPresenter;

namespace platform {

class DropListener;

// ---- Input and keys: the pointer, its buttons, the modifiers and keys, cursors ----

// Bits of the polled pointer word: mouse buttons and the modifier keys held now.
enum PointerBits : uint32_t {
    kButtonLeft = 1,
    kButtonMiddle = 2,
    kButtonRight = 4,
    kModShift = 8,
    kModControl = 16,
    kModAlt = 32,
};
constexpr uint32_t kMouseButtonBits = kButtonLeft | kButtonMiddle | kButtonRight;
constexpr uint32_t kModifierBits = kModShift | kModControl | kModAlt;

// Cursor shapes a window can show. kCursorDefault is the shape the window inherits.
enum CursorType : int32_t {
    kCursorDefault = 0,
    kCursorWait = 1,
    kCursorSizeWE = 2,
    kCursorSizeNS = 3,
    kCursorSizeAll = 4,
    kCursorSizeNESW = 5,
    kCursorSizeNWSE = 6,
};

// Where the pointer is now.
struct PointerPosition {
    int32_t screenX = 0; // on the screen
    int32_t screenY = 0;
    int32_t windowX = 0; // relative to the window's top-left corner
    int32_t windowY = 0;
};

// Keys as the toolkit tells them apart; a back end maps its own key codes to these. A key that
// types a character of the keyboard layout comes as Character with its 8-bit character.
enum class KeyCode : int32_t {
    Unknown,
    Character,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    Backspace,
    Delete,
    Insert,
    Enter,
    KeypadEnter,
    Escape,
    Tab,
};

struct KeyEvent {
    KeyCode code = KeyCode::Unknown;
    char character = 0;     // for Character
    uint32_t modifiers = 0; // kModShift, kModControl, kModAlt held with the key
    bool pressed = true;    // false for a release
};

// ---- Window: a child window in the host's window, its events and its pixels ----

// Window pixels, half-open: columns left..right-1, rows top..bottom-1.
struct Area {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool isEmpty() const { return left >= right || top >= bottom; }
};

// What a window reports while its events are processed (the toolkit's window procedure).
class WindowListener {
  public:
    // The window needs these pixels again; exposures are merged while the queue drains.
    virtual void windowPaint(const Area& area) = 0;
    // A mouse button went down at (x, y), window coordinates.
    virtual void windowButtonDown(int32_t x, int32_t y) = 0;
    // The window is gone (destroyed with its parent, or the connection was lost).
    virtual void windowDestroyed() = 0;
    // A key went down or up while the window had the keyboard focus or the pointer. True when
    // the toolkit took it; a key it did not take goes on to the host's window, so that the
    // host's own shortcuts work while the pointer is over the editor.
    virtual bool windowKey(const KeyEvent&) { return false; }
    // The window got or lost the keyboard focus.
    virtual void windowFocus(bool) {}

  protected:
    ~WindowListener() = default;
};

enum class EventFilter {
    All,       // paints, button presses and destruction
    PaintOnly, // only paints (inside a mouse-tracking loop); presses stay queued
};

// ---- Clipboard: text copied, pasted and selected (through the window that owns it) ----

// The two text selections of a desktop: the clipboard (copy and paste) and the primary
// selection (the text last selected, pasted with the middle button).
enum class Selection : int32_t { Clipboard, Primary };

// ---- Popup layers: panels over everything else (open menus), with the input grabbed ----

// How the pointer moved or clicked over an open popup layer.
enum class PopupPointer : int32_t { Move, Press, Release };

// What a popup layer reports while its events are processed. Positions are screen pixels.
class PopupListener {
  public:
    virtual void popupKey(const KeyEvent& key) = 0;
    // `button`: 1 left, 2 middle, 3 right (0 for a move).
    virtual void popupPointer(PopupPointer kind, int32_t screenX, int32_t screenY,
                              int32_t button) = 0;

  protected:
    ~PopupListener() = default;
};

// One panel of a popup layer: where it is on the screen and its pixels (sized as the area).
struct PopupPanel {
    Area area;
    const PixelSurface* pixels = nullptr;
};

// Windows over everything else on the screen (an open menu's panels) with the pointer and the
// keyboard grabbed while it exists: every press, move and key goes to it, wherever it happens.
// Destroying it removes every panel and releases the grabs.
class PopupLayer {
  public:
    virtual ~PopupLayer() = default;
    // False once the grabs are lost or the connection is gone: the popup should close.
    virtual bool isUsable() const = 0;
    // The screen the panels must stay on.
    virtual Area screenArea() = 0;
    // Shows exactly these panels, outermost first; earlier ones not listed again are removed.
    virtual void showPanels(const PopupPanel* panels, size_t count) = 0;
    virtual void processEvents(PopupListener& listener) = 0;
};

// ---- The window itself: events, input polls, presenting, cursor, clipboard, popups ----

// A child window inside a host-provided window. Destroying the object destroys the window.
class Window {
  public:
    virtual ~Window() = default;

    // True while the window exists and its connection works.
    virtual bool isUsable() const = 0;
    // Delivers the pending events to the listener (none after detach()).
    virtual void processEvents(EventFilter filter) = 0;
    // Stops all delivery: events that arrive later get default handling.
    virtual void detach() = 0;
    // Removes one pending left-button press without delivering it; true when there was one.
    virtual bool takeLeftButtonPress() = 0;
    // Tick (ms, the platform's clock) at which the last press delivered or taken arrived.
    virtual uint32_t lastPressTime() const = 0;
    // Presenting pixels: shows the pixels of `area` (clipped to surface and window) at the
    // same place. The toolkit draws everything itself; the window only shows finished pixels.
    virtual void present(const PixelSurface& surface, const Area& area) = 0;
    // Polls the mouse buttons and modifier keys held now (PointerBits); 0 when impossible.
    virtual uint32_t pointerButtons() = 0;
    // Polls the pointer position; false (position zeroed) when impossible.
    virtual bool pointerPosition(PointerPosition& position) = 0;
    // Screen position of the window's top-left corner; false when unknown.
    virtual bool screenOrigin(int32_t& x, int32_t& y) = 0;
    // Changes the window's size; false when the window system refused.
    virtual bool resize(int32_t width, int32_t height) = 0;
    virtual int32_t getCursor() const = 0;
    // Shows one of the CursorType shapes; other values are ignored.
    virtual void setCursor(int32_t type) = 0;

    // Text entry: takes the keyboard focus (keys then reach the listener) and later gives it
    // back to whoever had it before. False when the window system refused.
    virtual bool takeKeyboardFocus() { return false; }
    virtual void giveBackKeyboardFocus() {}
    // Makes this window the owner of the selection with `text` (8-bit, copied).
    virtual bool setSelectionText(Selection, const char*) { return false; }
    // The selection's text (8-bit, cut to capacity - 1 with a terminating zero), waiting a
    // bounded time for its owner; false when there is none.
    virtual bool getSelectionText(Selection, char*, size_t) { return false; }
    // A popup layer on this window's screen, or null when none can be made.
    virtual std::unique_ptr<PopupLayer> openPopupLayer() { return nullptr; }
    // The window system's id of the window, for a host that embeds it by that id; 0: none.
    virtual uintptr_t nativeHandle() const { return 0; }
    // The system's own option menus and edit boxes for this window, where the window system
    // has them; null: the toolkit draws its own (through the popup layer and the keys above).
    virtual MenuPresenter* nativeMenuPresenter() { return nullptr; }
    virtual EditBoxPeerFactory* nativeEditBoxPeers() { return nullptr; }
};

// What a child window is made from.
struct WindowSpec {
    void* parent = nullptr; // the host's native window
    int32_t width = 0;
    int32_t height = 0;
    const char* className = ""; // the module's window class
    const char* title = "";
    WindowListener* listener = nullptr;
    DropListener* dropListener = nullptr; // drops are taken only when given (drop_listener.h)
};

// ---- System services ----

class System {
  public:
    virtual ~System() = default;

    // The handle of the library the toolkit is linked into (window classes are named after
    // it); 0 when unknown.
    virtual uintptr_t moduleHandle() = 0;
    // Resource `id` (its low 16 bits) of that library's embedded resources; false when the
    // library has none of that number. The bytes live as long as the library.
    virtual bool findResource(int32_t id, const unsigned char*& data, size_t& size) = 0;
    // Monotonic milliseconds (wrapping at 2^32) and a pause of the calling thread.
    virtual uint32_t ticks() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
    // Asks the desktop to show `url` in the user's browser and returns at once; false when it
    // could not even be asked. Only http and https addresses are passed on.
    virtual bool openWebPage(const char* url) = 0;
    // Runs the system's file dialog for `request`, calling `idle` all the while (dialog
    // rules: file_dialog.h).
    virtual DialogOutcome runFileDialog(const DialogRequest& request, const IdlePump& idle) = 0;
    // Whether `path` is absolute and names an existing folder (links followed).
    virtual bool isDirectory(const std::string& path) = 0;
    // A dropped or chosen file as the toolkit hands it on: `path` with a link as its last part
    // replaced by its target; a link that cannot be resolved (dangling, a loop) stays as given.
    virtual std::string resolveLink(const std::string& path) = 0;
};

// ---- The whole contract ----

class Platform : public System {
  public:
    // The module's window class: registered when the first frame window of the module is
    // made, unregistered when the last is gone.
    virtual bool registerWindowClass(const char* name) = 0;
    virtual void unregisterWindowClass(const char* name) = 0;
    // A visible child window, or null when it cannot be made (no display, bad parent).
    virtual std::unique_ptr<Window> createChildWindow(const WindowSpec& windowSpec) = 0;

    // Longest gap between the two presses of a double click, ms.
    virtual uint32_t doubleClickTime() = 0;
};

// The platform of this program: defined by the one window back end it links (x11/ in the
// plug-ins; headless/ in tests, where it is the headless platform a test installed).
Platform& current();

} // namespace platform
