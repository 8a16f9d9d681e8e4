// EditBox: input routing and drawing of the toolkit's edit box.
#include "gui/edit_box.h"

#include "gui/draw_context.h"
#include "gui/text/font_engine.h"

#include <cstring>

namespace {
EditBoxPeerFactory* currentFactory = nullptr;

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

// The selection's colours, the usual desktop highlight.
constexpr Colour kSelectionBack{51, 102, 204, 0};
constexpr Colour kSelectionText{255, 255, 255, 0};
} // namespace

void setEditBoxPeerFactory(EditBoxPeerFactory* factory) {
    currentFactory = factory;
}
EditBoxPeerFactory* editBoxPeerFactory() {
    return currentFactory;
}

EditBox::EditBox(const EditBoxSpec& boxSpec, EditBoxOwner& boxOwner, EditorFrame* frame)
    : spec(boxSpec), owner(boxOwner) {
    model.setText(boxSpec.text);
    spec.text = model.getText();
    if (currentFactory && frame) peer = currentFactory->attach(*this, *frame);
}

EditBox::~EditBox() = default;

void EditBox::changed() {
    FontMeasure measure(spec.font);
    model.scrollToCaret(spec.area.getWidth(), measure);
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
    FontMeasure measure(spec.font);
    model.placeCaret(x, extend, measure);
    changed();
}

void EditBox::draw(DrawContext& context) {
    const Rect& area = spec.area;
    FontMeasure measure(spec.font);
    const char* text = model.getText();
    const int32_t total = measure.width(text, model.getLength());
    const int32_t inner = area.getWidth() - 2;

    // Where the text starts: aligned while it fits, scrolled to the caret when it does not.
    int32_t textLeft = area.left + 1 - model.getScroll();
    if (total <= inner) {
        if (spec.alignment == 1) textLeft = area.left + 1 + (inner - total) / 2;
        if (spec.alignment == 2) textLeft = area.left + 1 + inner - total;
    }

    Rect saved;
    context.getClipRect(saved);
    Rect clip(area.left + context.getOffset().h, area.top + context.getOffset().v,
              area.right + context.getOffset().h, area.bottom + context.getOffset().v);
    context.setClipRect(clip);

    // fillRect leaves the first row and column: start one before the area.
    context.setFillColour(spec.backColour);
    context.fillRect(Rect(area.left - 1, area.top - 1, area.right, area.bottom));
    context.setFont(spec.font.id, spec.font.size);
    // The text is drawn left-aligned; drawString puts it one pixel inside its rectangle.
    const Rect line(textLeft - 1, area.top, area.right, area.bottom);
    context.setFontColour(spec.fontColour);
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
        context.setFrameColour(spec.fontColour);
        context.moveTo(Point(x, area.top + 2));
        context.lineTo(Point(x, area.bottom - 2));
    }
    context.setClipRect(saved);
}
