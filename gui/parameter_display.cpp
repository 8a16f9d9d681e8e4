#include "gui/parameter_display.h"

#include "frame/effect_base.h"
#include "gui/editor_base.h"
#include "gui/editor_frame.h"

namespace {

// The longest unit label an effect gives, its terminating zero included.
constexpr int32_t kUnitSize = 16;

} // namespace

ParameterDisplay::ParameterDisplay(const Rect& size, int32_t parameter, const DisplayLook& look)
    : ValueDisplay(size, nullptr, 0), withUnit(look.withUnit) {
    setTag(parameter);
    setFont(look.font);
    setHoriAlign(look.horizontalAlign);
    setFontColour(look.text);
    setBackColour(look.back);
    setFrameColour(look.frame);
    setStringConvert(&ParameterDisplay::convert, this);
}

void ParameterDisplay::convert(float, TextBuffer& text, void* data) {
    const auto* self = static_cast<const ParameterDisplay*>(data);
    EditorFrame* owner = self ? self->getFrame() : nullptr;
    EditorBase* editor = owner ? owner->getEditor() : nullptr;
    EffectBase* effect = editor ? editor->getEffect() : nullptr;
    if (!effect) return;
    const int32_t tag = self->getTag();
    if (tag < 0 || tag >= effect->getAeffect()->numParams) return;
    // Both buffers are larger than anything an effect writes, and end in zero whatever it does.
    char value[TextBuffer::kMaxLength + 1] = {};
    effect->getParamDisplay(tag, value);
    value[TextBuffer::kMaxLength] = '\0';
    text.append(value);
    if (!self->withUnit) return;
    char unit[kUnitSize] = {};
    effect->getParamLabel(tag, unit);
    unit[kUnitSize - 1] = '\0';
    text.append(unit);
}
