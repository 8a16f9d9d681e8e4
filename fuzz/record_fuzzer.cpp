// The record of one plug-in as a hostile host drives it: the effect made through the entry's
// own path (runHostEntry with the plug-in's editor factory), then a sequence of record calls
// decoded from the fuzzer's bytes: dispatcher requests of every opcode with chosen index,
// value, opt and ptr (null, or a zeroed scratch block, or one holding fuzzer bytes), parameter
// writes and reads, and processing blocks of chosen sizes (0, odd, up to kMaxFrames) and sample
// values (NaN, infinities, denormals among them) through both processing entries. The editor
// runs on the headless platform: opening it with a stand-in parent works there, so the editor
// opcodes (open, idle, keys, knob mode, close) are exercised too. The sequence ends with
// effClose (or earlier, when the bytes ask for it), so leaks count.
//
// Built once per plug-in: FUZZ_EFFECT_HEADER, FUZZ_EFFECT_CLASS and FUZZ_EDITOR_FACTORY name it.
#include "frame/aeffect.h"
#include "frame/editor_interface.h"
#include "frame/host_entry.h"
#include "fuzz/fuzz_input.h"
#include "gui/platform/headless/headless_platform.h"

#include FUZZ_EFFECT_HEADER

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

EditorInterface* FUZZ_EDITOR_FACTORY(EffectBase& effect);

namespace {

constexpr int32_t kMaxFrames = 4100;
constexpr int32_t kLastOpcode = effEndSetProgram;
// Room for what any request writes: the longest text a request documents is far shorter;
// effEditGetRect and effGetChunk write one pointer.
constexpr size_t kScratchBytes = 4096;

// A host that knows version 2.4 and nothing else; automation and edit gestures are taken.
intptr_t VST_CALL fuzzHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Buffers {
    std::vector<float> channels[4];
    float* in[2];
    float* out[2];
    Buffers() {
        for (auto& c : channels)
            c.assign(kMaxFrames, 0.0f);
        in[0] = channels[0].data();
        in[1] = channels[1].data();
        out[0] = channels[2].data();
        out[1] = channels[3].data();
    }
};

// The ptr of one request: null, a zeroed scratch block, or the block filled with fuzzer bytes
// (kept zero-terminated, as the texts a host passes are). effEditOpen gets a stand-in parent.
void* pointerFor(int32_t opcode, FuzzInput& input, std::vector<char>& scratch) {
    static char parent; // any non-null address names a parent window on the headless platform
    const uint8_t kind = input.byte() % 4;
    if (kind == 0) return nullptr;
    if (opcode == effEditOpen) return &parent;
    std::fill(scratch.begin(), scratch.end(), 0);
    if (kind >= 2) {
        const std::string bytes = input.text(kScratchBytes - 1);
        std::memcpy(scratch.data(), bytes.data(), bytes.size());
    }
    return scratch.data();
}

void processBlock(AEffect* record, FuzzInput& input, Buffers& buffers) {
    int32_t frames;
    switch (input.byte() % 6) {
    case 0:
        frames = 0;
        break;
    case 1:
        frames = 1;
        break;
    case 2:
        frames = -static_cast<int32_t>(input.byte());
        break;
    case 3:
        frames = static_cast<int32_t>(input.below(kMaxFrames + 1));
        break;
    default:
        frames = static_cast<int32_t>(input.byte()) * 2 + 1;
        break;
    }
    // The frames the block covers: a repeated pattern of fuzzer samples with a few chosen
    // values at chosen places; outputs start from one chosen value (process adds to them).
    const size_t used = static_cast<size_t>(std::clamp(frames, 0, kMaxFrames));
    float pattern[8];
    for (float& p : pattern)
        p = input.sample();
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 0; i < used; ++i)
            buffers.channels[c][i] = pattern[(i + c) % 8];
    for (int n = input.byte() % 8; n > 0 && used > 0; --n) {
        const int channel = input.flag();
        const uint32_t frame = input.below(static_cast<uint32_t>(used));
        buffers.channels[channel][frame] = input.value();
    }
    const float start = input.sample();
    for (size_t c = 2; c < 4; ++c)
        std::fill_n(buffers.channels[c].begin(), used, start);
    if (input.flag())
        record->processReplacing(record, buffers.in, buffers.out, frames);
    else
        record->process(record, buffers.in, buffers.out, frames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HeadlessPlatform platform;
    static HeadlessPlatform::Scope scope(platform);

    FuzzInput input(data, size);
    AEffect* record = runHostEntry<FUZZ_EFFECT_CLASS>(fuzzHost, FUZZ_EDITOR_FACTORY);
    if (!record) return 0;
    std::vector<char> scratch(kScratchBytes, 0);
    Buffers buffers;
    bool closed = false;
    for (int calls = 0; !input.empty() && calls < 2000 && !closed; ++calls) {
        switch (input.byte() % 8) {
        case 0:
        case 1:
        case 2: {
            int32_t opcode = static_cast<int32_t>(input.byte());
            if (opcode > kLastOpcode + 8) opcode = static_cast<int32_t>(input.word());
            const int32_t index = input.integer();
            intptr_t value = input.integer();
            const float opt = input.value();
            void* ptr = pointerFor(opcode, input, scratch);
            // A chunk handed in is never longer than the block that holds it.
            if (opcode == effSetChunk && ptr)
                value = static_cast<intptr_t>(static_cast<uint32_t>(value) % kScratchBytes);
            if (opcode == effClose) closed = true;
            record->dispatcher(record, opcode, index, value, ptr, opt);
            break;
        }
        case 3: {
            const int32_t index = input.integer() % (record->numParams + 2);
            record->setParameter(record, index, input.value());
            break;
        }
        case 4:
            record->getParameter(record, input.integer() % (record->numParams + 2));
            break;
        case 5:
            // A host thread's common mix: a program change or a parameter then its text.
            if (input.flag()) {
                record->dispatcher(record, effSetProgram, 0, input.integer() % 18, nullptr, 0.0f);
            } else {
                const int32_t index = static_cast<int32_t>(input.byte()) % record->numParams;
                record->setParameter(record, index, input.value());
                char text[64] = {};
                record->dispatcher(record, effGetParamDisplay, index, 0, text, 0.0f);
            }
            break;
        default:
            processBlock(record, input, buffers);
            break;
        }
    }
    if (!closed) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    return 0;
}
