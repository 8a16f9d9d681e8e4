// EditBox: input routing and drawing of the toolkit's edit box.
#include "gui/edit_box.h"

#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/pointer_source.h"
#include "gui/text/font_engine.h"

#include <cstring>

namespace {

// Widths in the box's font.
class FontMeasure final : public TextMeasure {
  public:
    explicit FontMeasure(const FontSpec& font) : font(font) {}
    int32_t width(const char* text, int32_t count) override {
        char part[TextBuffer::kMaxLength + 1];
        if (count > static_cast<int32_t>(TextBuffer::kMaxLength))
            count = static_cast<int32_t>(TextBuffer::kMaxLength);
        std::memcpy(part, text, static_cast<size_t>(count));
        part[count] = 0;
        return FontEngine::instance().measure(font, part);
    }

  private:
    FontSpec font;
};

// The peer of a box on a frame's platform window: keyboard focus taken for the edit and given
// back after it, selections through the window.
class WindowPeer final : public EditBoxPeer {
  public:
    explicit WindowPeer(platform::Window& window)
        : window(window), focused(window.takeKeyboardFocus()) {}
    ~WindowPeer() override {
        if (focused) window.giveBackKeyboardFocus();
    }
    void boxChanged() override {}
    bool readSelection(platform::Selection selection, TextBuffer& out) override {
        char text[TextBuffer::kMaxLength + 1];
        if (!window.getSelectionText(selection, text, sizeof(text))) return false;
        out.assign(text);
        return true;
    }
    void writeSelection(platform::Selection selection, const char* text) override {
        window.setSelectionText(selection, text);
    }

  private:
    platform::Window& window;
    bool focused;
};

class WindowPeerFactory final : public EditBoxPeerFactory {
  public:
    std::unique_ptr<EditBoxPeer> attach(EditBox&, EditorFrame& frame) override {
        platform::Window* window = frame.getPlatformWindow();
        if (!window || !window->isUsable()) return nullptr;
        return std::make_unique<WindowPeer>(*window);
    }
};
WindowPeerFactory windowPeers;

// The selection's colours, the usual desktop highlight.
constexpr Colour kSelectionBack{51, 102, 204, 0};
constexpr Colour kSelectionText{255, 255, 255, 0};
} // namespace

EditBox::EditBox(const EditBoxSettings& boxSettings, EditBoxOwner& boxOwner, EditorFrame* boxFrame)
    : settings(boxSettings), owner(boxOwner), frame(boxFrame) {
    model.setText(boxSettings.text);
    settings.text = model.getText();
    if (!frame) return;
    EditBoxPeerFactory* factory =
        frame->getEditBoxPeerFactory() ? frame->getEditBoxPeerFactory() : &windowPeers;
    peer = factory->attach(*this, *frame);
    frame->setActiveEditBox(this);
}

EditBox::~EditBox() {
    peer.reset(); // the focus goes back before anything else happens
    if (frame && frame->getActiveEditBox() == this) frame->setActiveEditBox(nullptr);
}

void EditBox::changed() {
    FontMeasure measure(settings.font);
    model.scrollToCaret(settings.area.getWidth(), measure);
    if (peer) peer->boxChanged();
    owner.editBoxChanged();
}

void EditBox::key(const EditKey& editKey) {
    const EditBoxModel::Result result = model.apply(editKey);
    if (result == EditBoxModel::Result::Finished) {
        owner.editBoxFinished(true);
        return;
    }
    if (result != EditBoxModel::Result::Unchanged) changed();
}

void EditBox::focusLost() {
    owner.editBoxFinished(false);
}

void EditBox::paste(const char* clipboardText) {
    if (model.insert(clipboardText) != EditBoxModel::Result::Unchanged) changed();
}

void EditBox::copy(TextBuffer& out) const {
    model.copySelection(out);
}

void EditBox::cut(TextBuffer& out) {
    if (model.cutSelection(out) != EditBoxModel::Result::Unchanged) changed();
}

void EditBox::pointer(int32_t x, bool extend) {
    FontMeasure measure(settings.font);
    model.placeCaret(x, extend, measure);
    changed();
}

int32_t EditBox::textLeft() const {
    const Rect& area = settings.area;
    FontMeasure measure(settings.font);
    const int32_t total = measure.width(model.getText(), model.getLength());
    const int32_t inner = area.getWidth() - 2;
    // Aligned while the text fits, scrolled to the caret when it does not.
    if (total <= inner) {
        if (settings.alignment == 1) return area.left + 1 + (inner - total) / 2;
        if (settings.alignment == 2) return area.left + 1 + inner - total;
    }
    return area.left + 1 - model.getScroll();
}

void EditBox::claimPrimary() {
    if (!peer || !model.hasSelection()) return;
    TextBuffer selected;
    model.copySelection(selected);
    peer->writeSelection(platform::Selection::Primary, selected.c_str());
}

void EditBox::pasteFrom(platform::Selection selection) {
    TextBuffer text;
    if (peer && peer->readSelection(selection, text)) paste(text.c_str());
}

void EditBox::copyTo(platform::Selection selection, bool andCut) {
    if (!peer || !model.hasSelection()) return;
    TextBuffer selected;
    if (andCut)
        cut(selected);
    else
        copy(selected);
    peer->writeSelection(selection, selected.c_str());
}

void EditBox::keyEvent(const platform::KeyEvent& event) {
    using platform::KeyCode;
    if (!event.pressed) return;
    const bool shift = (event.modifiers & platform::kModShift) != 0;
    const bool control = (event.modifiers & platform::kModControl) != 0;
    EditKey editKey;
    editKey.shift = shift;
    switch (event.code) {
    case KeyCode::Character:
        if (control) {
            switch (event.character | 0x20) { // either case
            case 'a':
                editKey.code = EditKeyCode::SelectAll;
                key(editKey);
                claimPrimary();
                break;
            case 'c':
                copyTo(platform::Selection::Clipboard, false);
                break;
            case 'x':
                copyTo(platform::Selection::Clipboard, true);
                break;
            case 'v':
                pasteFrom(platform::Selection::Clipboard);
                break;
            default:
                break;
            }
            return;
        }
        if (event.modifiers & platform::kModAlt) return; // menu accelerators, not text
        editKey.code = EditKeyCode::Character;
        editKey.character = event.character;
        key(editKey);
        return;
    case KeyCode::Left:
    case KeyCode::Right:
    case KeyCode::Home:
    case KeyCode::End:
        editKey.code = event.code == KeyCode::Left    ? EditKeyCode::Left
                       : event.code == KeyCode::Right ? EditKeyCode::Right
                       : event.code == KeyCode::Home  ? EditKeyCode::Home
                                                      : EditKeyCode::End;
        key(editKey);
        if (shift) claimPrimary();
        return;
    case KeyCode::Backspace:
        editKey.code = EditKeyCode::Backspace;
        key(editKey);
        return;
    case KeyCode::Delete:
        if (shift) {
            copyTo(platform::Selection::Clipboard, true);
            return;
        }
        editKey.code = EditKeyCode::Delete;
        key(editKey);
        return;
    case KeyCode::Insert:
        if (shift)
            pasteFrom(platform::Selection::Clipboard);
        else if (control)
            copyTo(platform::Selection::Clipboard, false);
        return;
    case KeyCode::Enter:
    case KeyCode::KeypadEnter:
        editKey.code = EditKeyCode::Enter;
        key(editKey); // the box may be gone now
        return;
    case KeyCode::Escape:
        editKey.code = EditKeyCode::Escape;
        key(editKey);
        return;
    default:
        return;
    }
}

void EditBox::press(const Point& where, int32_t buttons) {
    const int32_t x = where.h - textLeft() - model.getScroll();
    if (buttons & MouseMiddle) {
        pointer(x, false);
        pasteFrom(platform::Selection::Primary);
        return;
    }
    if (!(buttons & MouseLeft)) return;
    pointer(x, (buttons & MouseShift) != 0);
    if (frame) {
        // Select while the button is held, keeping the host and the frame's views going.
        PointerSource* source = frame->getPointerSource();
        int32_t last = where.h;
        while (source->getButtonState() & MouseLeft) {
            const int32_t now = source->getPointerPosition().h - source->getWindowPosition().h;
            if (now != last) {
                last = now;
                pointer(now - textLeft() - model.getScroll(), true);
            }
            frame->runIdlePump();
            if (!frame->hasEditor()) platform::current().sleep(1);
        }
    }
    claimPrimary();
}

void EditBox::draw(DrawContext& context) {
    const Rect& area = settings.area;
    FontMeasure measure(settings.font);
    const char* text = model.getText();
    const int32_t textLeft = this->textLeft();

    Rect saved;
    context.getClipRect(saved);
    Rect clip(area.left + context.getOffset().h, area.top + context.getOffset().v,
              area.right + context.getOffset().h, area.bottom + context.getOffset().v);
    context.setClipRect(clip);

    // fillRect leaves the first row and column: start one before the area.
    context.setFillColour(settings.backColour);
    context.fillRect(Rect(area.left - 1, area.top - 1, area.right, area.bottom));
    context.setFont(settings.font.id, settings.font.size);
    // The text is drawn left-aligned; drawString puts it one pixel inside its rectangle.
    const Rect line(textLeft - 1, area.top, area.right, area.bottom);
    context.setFontColour(settings.fontColour);
    context.drawString(text, line, false, 0);

    if (model.hasSelection()) {
        const int32_t from = textLeft + measure.width(text, model.selectionStart());
        const int32_t to = textLeft + measure.width(text, model.selectionEnd());
        context.setFillColour(kSelectionBack);
        context.fillRect(Rect(from - 1, area.top, to, area.bottom - 1));
        char selected[TextBuffer::kMaxLength + 1];
        const int32_t count = model.selectionEnd() - model.selectionStart();
        std::memcpy(selected, text + model.selectionStart(), static_cast<size_t>(count));
        selected[count] = 0;
        context.setFontColour(kSelectionText);
        context.drawString(selected, Rect(from - 1, area.top, area.right, area.bottom), false, 0);
    } else {
        const int32_t x = textLeft + measure.width(text, model.getCaret());
        context.setFrameColour(settings.fontColour);
        context.moveTo(Point(x, area.top + 2));
        context.lineTo(Point(x, area.bottom - 2));
    }
    context.setClipRect(saved);
}
