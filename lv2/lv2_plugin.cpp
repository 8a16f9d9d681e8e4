// The plug-in side of a bundle: the LV2 descriptor over the effect's record. Each run hands the
// control ports that changed to the record's setParameter (which holds values to 0..1 and makes
// NaN harmless, as for any host) and then runs processReplacing, so the sound is the VST 2.x
// library's sample for sample.
//
// State: the record, the port pointers the host connected and the last value seen on each
// control port. Threads: instantiate, activate, deactivate and cleanup on the host's
// instantiation thread; connect_port and run on the audio thread, which never allocates.
#include "lv2/lv2_entry.h"
#include "lv2/lv2_ports.h"

#include <lv2/core/lv2.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// The effect asks only the host's version; every other request is answered "no".
intptr_t VST_CALL pluginHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The block size the effect is told: the effects keep no per-block storage, so any size the
// host runs is taken as it comes.
constexpr int32_t kNominalBlockSize = 4096;

struct Lv2Effect {
    AEffect* record = nullptr;
    float* audio[4] = {};
    size_t controlCount = 0;
    std::unique_ptr<const float*[]> controls;
    // Bit patterns of the values last handed on; a port whose bits differ has changed (so a
    // NaN left on a port is handed on once, not in every run).
    std::unique_ptr<uint32_t[]> lastBits;

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, nullptr, opt);
    }
};

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const*) {
    AEffect* record = createLv2Effect(pluginHostCallback);
    if (!record) return nullptr;
    const size_t count = record->numParams > 0 ? static_cast<size_t>(record->numParams) : 0;
    auto* effect = new (std::nothrow) Lv2Effect;
    if (effect) {
        effect->record = record;
        effect->controlCount = count;
        effect->controls.reset(new (std::nothrow) const float*[count]());
        effect->lastBits.reset(new (std::nothrow) uint32_t[count]());
        if (!effect->controls || !effect->lastBits) {
            delete effect;
            effect = nullptr;
        }
    }
    if (!effect) {
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        return nullptr;
    }
    // The start-up sequence of a VST 2.x host; resume follows with activate.
    effect->dispatch(effOpen);
    effect->dispatch(effSetSampleRate, 0, 0, static_cast<float>(sampleRate));
    effect->dispatch(effSetBlockSize, 0, kNominalBlockSize);
    for (size_t i = 0; i < count; ++i)
        effect->lastBits[i] = bitsOf(record->getParameter(record, static_cast<int32_t>(i)));
    return effect;
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    auto* effect = static_cast<Lv2Effect*>(handle);
    if (port <= lv2ports::kOutputRight) {
        effect->audio[port] = static_cast<float*>(data);
        return;
    }
    const auto index = static_cast<size_t>(lv2ports::parameterOf(port));
    if (index < effect->controlCount) effect->controls[index] = static_cast<const float*>(data);
}

void activate(LV2_Handle handle) {
    static_cast<Lv2Effect*>(handle)->dispatch(effMainsChanged, 0, 1);
}

void deactivate(LV2_Handle handle) {
    static_cast<Lv2Effect*>(handle)->dispatch(effMainsChanged, 0, 0);
}

void run(LV2_Handle handle, uint32_t frames) {
    auto* effect = static_cast<Lv2Effect*>(handle);
    AEffect* record = effect->record;
    for (size_t i = 0; i < effect->controlCount; ++i) {
        if (!effect->controls[i]) continue;
        const float value = *effect->controls[i];
        const uint32_t bits = bitsOf(value);
        if (bits == effect->lastBits[i]) continue;
        effect->lastBits[i] = bits;
        record->setParameter(record, static_cast<int32_t>(i), value);
    }
    if (frames == 0 || frames > static_cast<uint32_t>(INT32_MAX)) return;
    float** audio = effect->audio;
    if (audio[0] && audio[1] && audio[2] && audio[3]) {
        float* inputs[2] = {audio[lv2ports::kInputLeft], audio[lv2ports::kInputRight]};
        float* outputs[2] = {audio[lv2ports::kOutputLeft], audio[lv2ports::kOutputRight]};
        record->processReplacing(record, inputs, outputs, static_cast<int32_t>(frames));
        return;
    }
    // A host that left an audio port unconnected hears silence on the outputs it did connect.
    for (uint32_t port : {lv2ports::kOutputLeft, lv2ports::kOutputRight})
        if (audio[port]) std::memset(audio[port], 0, sizeof(float) * frames);
}

void cleanup(LV2_Handle handle) {
    auto* effect = static_cast<Lv2Effect*>(handle);
    effect->dispatch(effClose); // the record's dispatcher destroys the effect
    delete effect;
}

const void* extensionData(const char*) {
    return nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor*
lv2_descriptor(uint32_t index) {
    static const LV2_Descriptor descriptor = {
        kLv2PluginUri, instantiate, connectPort, activate, run, deactivate, cleanup, extensionData};
    return index == 0 ? &descriptor : nullptr;
}
