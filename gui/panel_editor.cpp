#include "gui/panel_editor.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/knob.h"

#include <new>

PanelEditor::PanelEditor(EffectBase* owner, int32_t backgroundId,
                         std::initializer_list<int32_t> ids)
    : PanelEditor(owner, backgroundId, 0, 0) {
    for (int32_t id : ids)
        if (controlBitmapCount < kMaxControlBitmaps) controlBitmapIds[controlBitmapCount++] = id;
}

PanelEditor::PanelEditor(EffectBase* owner, int32_t backgroundId, int32_t firstId, int32_t count)
    : EditorBase(owner) {
    for (int32_t i = 0; i < count && controlBitmapCount < kMaxControlBitmaps; ++i)
        controlBitmapIds[controlBitmapCount++] = firstId + i;
    background = new (std::nothrow) Bitmap(backgroundId);
    if (background) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = static_cast<int16_t>(background->getHeight());
        rect.right = static_cast<int16_t>(background->getWidth());
    }
}

PanelEditor::~PanelEditor() {
    // Not close(): the derived editor's part is gone, and its tables with it.
    if (frame) frame->clearEditor();
    releaseFrame();
    releaseControlBitmaps();
    if (background) background->forget();
    background = nullptr;
}

int32_t PanelEditor::open(void* parentWindow) {
    EditorBase::open(parentWindow);
    if (frame) return 1; // already open: the host asked twice
    bool ready = parentWindow && background;
    for (int32_t i = 0; ready && i < controlBitmapCount; ++i) {
        if (!controlBitmaps[i]) controlBitmaps[i] = new (std::nothrow) Bitmap(controlBitmapIds[i]);
        ready = controlBitmaps[i] != nullptr;
    }
    if (ready) {
        const Rect size(0, 0, background->getWidth(), background->getHeight());
        frame = new (std::nothrow) EditorFrame(size, parentWindow, this);
        // No memory, no display, or a window id the window system does not know.
        ready = frame && frame->isOpen();
    }
    if (!ready) {
        close();
        systemWindow = nullptr;
        return 0;
    }
    frame->setBackground(background);
    forgetControls();
    addControls();
    return 1;
}

void PanelEditor::close() {
    releaseFrame();
    forgetControls();
    releaseControlBitmaps();
}

void PanelEditor::setParameter(int32_t index, float value) {
    if (!frame) return;
    if (isEntry(index)) {
        if (controls[index]) controls[index]->setValue(value);
        if (displays[index]) displays[index]->setValue(value);
    }
    postUpdate();
}

Control* PanelEditor::control(int32_t entry) const {
    return frame && isEntry(entry) ? controls[entry] : nullptr;
}

ParameterDisplay* PanelEditor::display(int32_t entry) const {
    return frame && isEntry(entry) ? displays[entry] : nullptr;
}

void PanelEditor::forgetControls() {
    for (Control*& entry : controls)
        entry = nullptr;
    for (ParameterDisplay*& entry : displays)
        entry = nullptr;
}

void PanelEditor::valueChanged(DrawContext* context, Control* control) {
    if (!control) return;
    const int32_t tag = control->getTag();
    if (effect && tag >= 0 && tag < effect->getAeffect()->numParams)
        effect->automateParameter(tag, control->getValue());
    if (context) control->update(context);
}

Bitmap* PanelEditor::controlBitmap(int32_t index) const {
    if (index < 0 || index >= controlBitmapCount) return nullptr;
    return controlBitmaps[index];
}

float PanelEditor::parameterValue(int32_t tag) const {
    if (!effect || tag < 0 || tag >= effect->getAeffect()->numParams) return 0.0f;
    return effect->getParameter(tag);
}

FilmstripKnob* PanelEditor::addKnob(const Rect& size, int32_t tag, int32_t frames,
                                    int32_t frameHeight, Bitmap* strip) {
    auto* knob =
        new (std::nothrow) FilmstripKnob(size, this, tag, frames, frameHeight, strip, Point(0, 0));
    if (knob) knob->setValue(parameterValue(tag));
    return addControl(tag, knob);
}

ParameterDisplay* PanelEditor::addDisplay(const Rect& size, int32_t tag, const DisplayLook& look) {
    auto* display = new (std::nothrow) ParameterDisplay(size, tag, look);
    if (display) display->setValue(parameterValue(tag));
    ParameterDisplay* added = addToFrame(display);
    if (isEntry(tag)) displays[tag] = added;
    return added;
}

void PanelEditor::releaseControlBitmaps() {
    for (Bitmap*& bitmap : controlBitmaps) {
        if (bitmap) bitmap->forget();
        bitmap = nullptr;
    }
}
