// The panel side of a bundle: an X11 UI that embeds the plug-in's own editor in the host's
// window. The UI keeps an effect object of its own, made through the plug-in's entry, as the
// editor's parameter model, and drives the editor through that effect's record as a VST 2.x
// host does: effEditGetRect and effEditOpen with the host's window (ui:parent), effEditIdle
// from the host's idle calls (ui:idleInterface), effEditClose at cleanup. The editor's requests
// to its host become the LV2 host's: automate writes the parameter's port through the write
// function, begin and end edit open and close the host's touch gesture (ui:touch); the size
// goes to ui:resize. Port values from the host (port_event) go to the effect's setParameter,
// which moves the editor's controls. The plug-in instance itself is never touched.
//
// State: the record, the host's write function and controller, its touch and resize
// features. Threads: everything on the host's UI thread.
#include "gui/editor_base.h"
#include "gui/editor_frame.h"
#include "gui/platform/platform.h"
#include "lv2/lv2_entry.h"
#include "lv2/lv2_ports.h"

#include "frame/effect_base.h"

#include <lv2/ui/ui.h>

#include <cstring>
#include <new>

namespace {

struct Lv2Ui {
    AEffect* record = nullptr;
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller controller = nullptr;
    const LV2UI_Touch* touch = nullptr;
    const LV2UI_Resize* resize = nullptr;

    bool isParameter(int32_t index) const { return index >= 0 && index < record->numParams; }
    intptr_t dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
        return record->dispatcher(record, opcode, 0, value, ptr, 0.0f);
    }
    EditorBase* editor() const {
        EffectBase* effect = EffectBase::fromRecord(record);
        return effect ? static_cast<EditorBase*>(effect->getEditor()) : nullptr;
    }
    platform::Window* window() const {
        EditorBase* base = editor();
        EditorFrame* frame = base ? base->getFrame() : nullptr;
        return frame ? frame->getPlatformWindow() : nullptr;
    }
};

// The editor's requests to its host. The record's user field, which belongs to the host,
// leads back to the UI; before it is set (inside the entry) only the version is asked.
intptr_t VST_CALL uiHostCallback(AEffect* record, int32_t opcode, int32_t index, intptr_t value,
                                 void*, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    auto* ui = record ? static_cast<Lv2Ui*>(record->user) : nullptr;
    if (!ui) return 0;
    switch (opcode) {
    case audioMasterAutomate:
        if (!ui->isParameter(index)) return 0;
        ui->write(ui->controller, lv2ports::controlPort(index), sizeof(float), 0, &opt);
        return 1;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        if (!ui->touch || !ui->isParameter(index)) return 0;
        ui->touch->touch(ui->touch->handle, lv2ports::controlPort(index),
                         opcode == audioMasterBeginEdit);
        return 1;
    case audioMasterSizeWindow:
        return ui->resize &&
               ui->resize->ui_resize(ui->resize->handle, index, static_cast<int>(value)) == 0;
    default:
        return 0;
    }
}

const void* findFeature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

void cleanup(LV2UI_Handle handle) {
    auto* ui = static_cast<Lv2Ui*>(handle);
    ui->dispatch(effEditClose);
    ui->dispatch(effClose); // the record's dispatcher destroys the effect and its editor
    delete ui;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char*, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    void* parent = const_cast<void*>(findFeature(features, LV2_UI__parent));
    if (!parent || !write || !widget) return nullptr;
    AEffect* record = createLv2EditorEffect(uiHostCallback);
    if (!record) return nullptr;
    auto* ui = new (std::nothrow) Lv2Ui;
    if (!ui) {
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        return nullptr;
    }
    ui->record = record;
    ui->write = write;
    ui->controller = controller;
    ui->touch = static_cast<const LV2UI_Touch*>(findFeature(features, LV2_UI__touch));
    ui->resize = static_cast<const LV2UI_Resize*>(findFeature(features, LV2_UI__resize));
    record->user = ui;

    ui->dispatch(effOpen);
    ERect* rect = nullptr;
    ui->dispatch(effEditGetRect, 0, &rect);
    ui->dispatch(effEditOpen, 0, parent);
    platform::Window* window = ui->window();
    if (!rect || !window || !window->nativeHandle()) {
        cleanup(ui);
        return nullptr;
    }
    *widget = reinterpret_cast<LV2UI_Widget>(window->nativeHandle());
    if (ui->resize)
        ui->resize->ui_resize(ui->resize->handle, rect->right - rect->left,
                              rect->bottom - rect->top);
    return ui;
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
    auto* ui = static_cast<Lv2Ui*>(handle);
    const int32_t index = lv2ports::parameterOf(port);
    if (format != 0 || size != sizeof(float) || !buffer || !ui->isParameter(index)) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    ui->record->setParameter(ui->record, index, value);
}

// Non-zero tells the host the panel is gone (its window was destroyed or the X connection
// lost), so the host stops calling and destroys the UI.
int idle(LV2UI_Handle handle) {
    auto* ui = static_cast<Lv2Ui*>(handle);
    ui->dispatch(effEditIdle);
    platform::Window* window = ui->window();
    return window && window->isUsable() ? 0 : 1;
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface = {idle};
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor*
lv2ui_descriptor(uint32_t index) {
    static const LV2UI_Descriptor descriptor = {kLv2UiUri, instantiate, cleanup, portEvent,
                                                extensionData};
    return index == 0 ? &descriptor : nullptr;
}
