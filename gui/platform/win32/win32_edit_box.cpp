// Win32EditControl: the system's edit control over a text field, subclassed to end the edit;
// Win32EditBoxPeers: the toolkit's edit boxes on it.
#include "gui/platform/win32/win32_edit_box.h"

#include "gui/editor_frame.h"
#include "gui/platform/win32/win32_frame_window.h"
#include "gui/platform/win32/win32_native_pieces.h"
#include "gui/platform/win32/win32_text.h"

namespace {

// Where a control finds its object (edit controls keep their own data in the window's bytes).
constexpr wchar_t kProperty[] = L"ToolkitEditControl";

COLORREF colourRef(const Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// Messages after which the control's text may differ.
bool mayChangeText(UINT message) {
    switch (message) {
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case WM_SETTEXT:
    case WM_IME_COMPOSITION:
    case WM_LBUTTONUP: // the end of a drag of selected text
        return true;
    default:
        return false;
    }
}

} // namespace

Win32EditControl::Win32EditControl(const EditBoxSettings& settings, Listener& editListener)
    : listener(editListener), textColour(colourRef(settings.fontColour)),
      backColour(colourRef(settings.backColour)) {}

std::unique_ptr<Win32EditControl>
Win32EditControl::open(HWND parent, const EditBoxSettings& settings, Listener& listener) {
    if (!parent || !IsWindow(parent)) return nullptr;
    std::unique_ptr<Win32EditControl> edit(new Win32EditControl(settings, listener));
    const DWORD alignment = settings.alignment == 1   ? ES_CENTER
                            : settings.alignment == 2 ? ES_RIGHT
                                                      : ES_LEFT;
    const Rect& area = settings.area;
    const std::wstring text = win32_text::fromLatin1(settings.text ? settings.text : "");
    edit->control = CreateWindowExW(0, L"EDIT", text.c_str(),
                                    WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | alignment, area.left,
                                    area.top, area.getWidth(), area.getHeight(), parent, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    if (!edit->control) return nullptr;
    edit->parent = parent;
    edit->reported = settings.text ? settings.text : "";

    // The field's font: the table's face at the field's size, regular weight.
    const FontTableEntry& entry = fontTableEntry(settings.font.id);
    const std::wstring face = win32_text::fromLatin1(entry.face);
    edit->font = CreateFontW(-settings.font.size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, face.c_str());
    edit->brush = CreateSolidBrush(edit->backColour);
    if (edit->font)
        SendMessageW(edit->control, WM_SETFONT, reinterpret_cast<WPARAM>(edit->font), 0);
    SendMessageW(edit->control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageW(edit->control, EM_SETLIMITTEXT, TextBuffer::kMaxLength, 0);
    SendMessageW(edit->control, EM_SETSEL, 0, -1);

    SetPropW(edit->control, kProperty, edit.get());
    edit->previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        edit->control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32EditControl::procedure)));
    edit->focusBefore = SetFocus(edit->control);
    return edit;
}

Win32EditControl::~Win32EditControl() {
    ending = true;
    if (control) {
        if (GetFocus() == control) {
            // Back to whoever had the keys before; the frame's window when that is gone.
            HWND back = focusBefore && IsWindow(focusBefore) ? focusBefore : parent;
            SetFocus(back && IsWindow(back) ? back : nullptr);
        }
        // Our procedure leaves first: destruction must not report anything.
        if (previous)
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(control, kProperty);
        DestroyWindow(control);
    }
    if (font) DeleteObject(font);
    if (brush) DeleteObject(brush);
}

std::string Win32EditControl::text() const {
    if (!control) return reported;
    wchar_t buffer[TextBuffer::kMaxLength + 1] = {};
    const int length = GetWindowTextW(control, buffer, TextBuffer::kMaxLength + 1);
    return win32_text::toLatin1(std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0));
}

bool Win32EditControl::colourMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_CTLCOLOREDIT) return false;
    auto* edit =
        static_cast<Win32EditControl*>(GetPropW(reinterpret_cast<HWND>(lParam), kProperty));
    if (!edit || !edit->brush) return false;
    auto device = reinterpret_cast<HDC>(wParam);
    SetTextColor(device, edit->textColour);
    SetBkColor(device, edit->backColour);
    result = reinterpret_cast<LRESULT>(edit->brush);
    return true;
}

LRESULT CALLBACK Win32EditControl::procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* edit = static_cast<Win32EditControl*>(GetPropW(window, kProperty));
    if (!edit) return DefWindowProcW(window, message, wParam, lParam);
    return edit->handle(message, wParam, lParam);
}

void Win32EditControl::reportChange() {
    const std::string now = text();
    if (now == reported) return;
    reported = now;
    listener.editChanged(now);
}

LRESULT Win32EditControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC chained = previous;
    const HWND window = control;
    switch (message) {
    case WM_GETDLGCODE:
        // A host's dialog navigation must leave Return (and every other key) to the control.
        return CallWindowProcW(chained, window, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) { // Return and keypad Enter
            if (ending) return 0;
            ending = true;
            listener.editEnded(true); // this object may be gone now
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\n') return 0; // no beep for the key that ended it
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProcW(chained, window, message, wParam, lParam);
        if (!ending) {
            ending = true;
            listener.editEnded(false); // this object may be gone now
        }
        return result;
    }
    case WM_NCDESTROY:
        // Destroyed with its parent: nothing is left to restore.
        RemovePropW(window, kProperty);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chained));
        control = nullptr;
        return CallWindowProcW(chained, window, message, wParam, lParam);
    default:
        break;
    }
    const LRESULT result = CallWindowProcW(chained, window, message, wParam, lParam);
    if (!ending && mayChangeText(message)) reportChange();
    return result;
}

// ---- the toolkit's edit boxes ----

namespace {

class Win32EditPeer final : public EditBoxPeer, private Win32EditControl::Listener {
  public:
    explicit Win32EditPeer(EditBox& box) : box(box) {}
    bool open(HWND parent) {
        control = Win32EditControl::open(parent, box.getSettings(), *this);
        return control != nullptr;
    }
    // The control shows the text itself.
    void boxChanged() override {}

  private:
    void editChanged(const std::string& text) override {
        // The box holds what the control shows, so an end the frame decides (a click
        // elsewhere in the editor) reports the same text as one the control decides.
        EditKey all;
        all.code = EditKeyCode::SelectAll;
        box.key(all);
        box.paste(text.c_str());
    }
    void editEnded(bool byEnter) override {
        editChanged(control->text());
        if (byEnter) {
            EditKey enter;
            enter.code = EditKeyCode::Enter;
            box.key(enter); // destroys this peer
        } else {
            box.focusLost(); // destroys this peer
        }
    }

    EditBox& box;
    std::unique_ptr<Win32EditControl> control;
};

} // namespace

std::unique_ptr<EditBoxPeer> Win32EditBoxPeers::attach(EditBox& box, EditorFrame& frame) {
    HWND parent = win32WindowHandle(frame.getPlatformWindow());
    auto peer = std::make_unique<Win32EditPeer>(box);
    if (!peer->open(parent)) return nullptr;
    return peer;
}

namespace {
// Linked into a program, the factory offers itself to the program's Win32 windows.
Win32EditBoxPeers peers;
const bool registered = [] {
    win32NativePieces().editBoxes = &peers;
    win32NativePieces().editMessages = &Win32EditControl::colourMessage;
    return true;
}();
} // namespace
