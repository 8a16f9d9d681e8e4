// TextField: opening and closing the edit box, double clicks, reporting the new text.
#include "gui/text_field.h"

#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/host_keys.h"
#include "gui/platform/platform.h"

#include <cstring>

TextField::TextField(const Rect& size, ControlListener* fieldListener, int32_t fieldTag,
                     const char* initial, Bitmap* background, int32_t style)
    : ValueDisplay(size, background, style) {
    listener = fieldListener;
    tag = fieldTag;
    text.assign(initial);
}

TextField::~TextField() = default;

void TextField::draw(DrawContext* context) {
    TextBuffer shown;
    if (textConverterWithData)
        textConverterWithData(text.c_str(), shown, userData);
    else if (textConverter)
        textConverter(text.c_str(), shown);
    else
        shown.assign(text.c_str());
    drawText(context, shown.c_str());
    if (editBox && context) {
        // The box lies in window coordinates of the context it was opened in.
        const Point offset = context->getOffset();
        context->setOffset(offset - boxOffset);
        editBox->draw(*context);
        context->setOffset(offset);
    }
}

void TextField::editBoxChanged() {
    setDirty(true);
}

void TextField::mouse(DrawContext* context, Point&) {
    if (!getMouseEnabled() || !(buttonsOf(context) & MouseLeft)) return;
    if (frame && frame->getEditView() == this) return;
    if (style & kFieldDoubleClickEdit) {
        platform::Platform& system = platform::current();
        const uint32_t now = system.ticks();
        if (!firstClickPending || now - firstClickTime > system.doubleClickTime()) {
            // A first click, or one too late to pair with the last: wait for the second.
            firstClickPending = true;
            firstClickTime = now;
            return;
        }
        firstClickPending = false;
    }
    if (frame) frame->setEditView(this);
    takeFocus(context);
}

void TextField::takeFocus(DrawContext* context) {
    if (editBox) return;
#if TOOLKIT_NEWER
    entered = false;
#endif
    EditBoxSettings settings;
    settings.area = size;
    boxOffset = context ? context->getOffset() : Point();
    settings.area.offset(boxOffset.h, boxOffset.v);
    ++settings.area.right;
    ++settings.area.bottom;
    settings.text = text.c_str();
    settings.alignment = horiAlign;
    settings.font = describeFont(fontId, 0);
    settings.fontColour = fontColour;
    settings.backColour = backColour;
    editBox = std::make_unique<EditBox>(settings, static_cast<EditBoxOwner&>(*this), frame);
    setDirty(true); // the box shows at the next redraw
}

void TextField::editBoxFinished(bool byEnter) {
#if TOOLKIT_NEWER
    if (byEnter) entered = true;
#else
    (void)byEnter;
#endif
    looseFocus(nullptr);
}

void TextField::looseFocus(DrawContext* context) {
    // The edit ends whenever a box is open: also when another view became the frame's edit
    // view first (setEditView then tells the previous one only afterwards).
    if (!editBox) return;
    std::unique_ptr<EditBox> box = std::move(editBox);
    if (frame && frame->getEditView() == this) frame->setEditView(nullptr);

    TextBuffer old(text.c_str());
    text.assign(box->getText());
    box.reset(); // the box goes before anything is drawn or reported

    const bool changed = std::strcmp(old.c_str(), text.c_str()) != 0;
    setDirty(true); // drawn again without the box

    remember(); // the listener may remove this field from its frame
    if (changed && listener) {
        if (context || !frame) {
            listener->valueChanged(context, this);
        } else {
            DrawContext own(frame, &frame->getSurface(), frame->getPointerSource());
            listener->valueChanged(&own, this);
        }
    }
#if TOOLKIT_NEWER
    if (parentView)
        parentView->notify(this, "LooseFocus");
    else if (frame)
        frame->notify(this, "LooseFocus");
#else
    // The older variant shows the field at once as the box goes away.
    if (context)
        draw(context);
    else if (frame)
        frame->drawView(this);
#endif
    forget();
}

#if TOOLKIT_NEWER
int32_t TextField::onKeyDown(VstKeyCode& keyCode) {
    if (!editBox) return -1;
    remember(); // Enter ends the edit, and the listener may remove the field
    editBox->keyEvent(fromHostKey(keyCode));
    forget();
    return 1;
}

int32_t TextField::onKeyUp(VstKeyCode&) {
    return editBox ? 1 : -1;
}
#endif

void TextField::setText(const char* newText) {
    if (!newText) return;
    TextBuffer cut(newText);
    if (std::strcmp(cut.c_str(), text.c_str()) == 0) return;
    text = cut;
    setDirty(true);
}

void TextField::getText(char* buffer) const {
    if (buffer) std::memcpy(buffer, text.c_str(), text.size() + 1);
}

void TextField::setTextConvert(TextToTextWithData converter, void* data) {
    textConverterWithData = converter;
    userData = data;
}

void TextField::setTextConvert(TextToText converter) {
    textConverter = converter;
}
