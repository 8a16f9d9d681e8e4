// The sound probe behind ParameterSteps.
#include "lv2/parameter_steps.h"

#include <cstring>

namespace {

constexpr int kGridPoints = 101;
constexpr int kMaxSteps = 8;
// Long enough for the slowest of the effects' delay lines (a tenth of a second at most) to
// reach the output several times over.
constexpr int32_t kProbeFrames = 16384;
constexpr int32_t kBlock = 512;
constexpr float kProbeRate = 44100.0f;

intptr_t VST_CALL probeHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// What one value of the parameter does: a hash of the output and the effect's text.
struct Outcome {
    uint64_t hash = 0;
    std::string text;
};

std::string trimmed(const char* text) {
    std::string s(text);
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool playProbe(EffectFactory create, int32_t index, float value, Outcome& outcome) {
    AEffect* record = create(probeHost);
    if (!record) return false;
    record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, kProbeRate);
    record->dispatcher(record, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    record->setParameter(record, index, value);
    char text[256] = {};
    record->dispatcher(record, effGetParamDisplay, index, 0, text, 0.0f);
    outcome.text = trimmed(text);

    static float in[2][kBlock], out[2][kBlock];
    float* inputs[2] = {in[0], in[1]};
    float* outputs[2] = {out[0], out[1]};
    uint32_t noise = 22222;
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (int32_t done = 0; done < kProbeFrames; done += kBlock) {
        for (int32_t f = 0; f < kBlock; ++f)
            for (int c = 0; c < 2; ++c) {
                noise = noise * 1664525u + 1013904223u;
                in[c][f] = static_cast<float>(static_cast<int32_t>(noise)) * (0.5f / 2147483648.0f);
            }
        record->processReplacing(record, inputs, outputs, kBlock);
        for (const auto& channel : out) {
            unsigned char bytes[sizeof channel];
            std::memcpy(bytes, channel, sizeof channel);
            for (const unsigned char b : bytes)
                hash = (hash ^ b) * 1099511628211ull;
        }
    }
    outcome.hash = hash;
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    return true;
}

} // namespace

ParameterSteps findParameterSteps(EffectFactory create, int32_t index) {
    ParameterSteps result;
    Outcome outcomes[kGridPoints];
    for (int k = 0; k < kGridPoints; ++k)
        if (!playProbe(create, index, static_cast<float>(k) / (kGridPoints - 1), outcomes[k]))
            return result;

    // Runs of equal outcomes; the parameter takes steps when no outcome comes back after
    // another one, and there are a few of them.
    std::vector<std::pair<int, int>> runs; // first and last grid point
    for (int k = 0; k < kGridPoints; ++k) {
        if (k > 0 && outcomes[k].hash == outcomes[k - 1].hash) {
            runs.back().second = k;
            continue;
        }
        for (const auto& run : runs)
            if (outcomes[run.first].hash == outcomes[k].hash) return result;
        runs.emplace_back(k, k);
        if (static_cast<int>(runs.size()) > kMaxSteps) return result;
    }
    if (runs.size() < 2) return result;

    // The effect's texts name the steps when each step keeps one text and no two share it.
    bool textsName = true;
    for (size_t r = 0; r < runs.size(); ++r) {
        for (int k = runs[r].first; k <= runs[r].second; ++k)
            textsName = textsName && outcomes[k].text == outcomes[runs[r].first].text;
        for (size_t q = 0; q < r; ++q)
            textsName = textsName && outcomes[runs[q].first].text != outcomes[runs[r].first].text;
        textsName = textsName && !outcomes[runs[r].first].text.empty();
    }
    for (size_t r = 0; r < runs.size(); ++r) {
        const int point = r == 0                 ? 0
                          : r + 1 == runs.size() ? kGridPoints - 1
                                                 : (runs[r].first + runs[r].second) / 2;
        result.steps.push_back({static_cast<float>(point) / (kGridPoints - 1),
                                textsName ? outcomes[runs[r].first].text : std::to_string(r + 1)});
    }
    // Off at 0 and on for anything above it is what hosts take a toggle to mean; the smallest
    // positive value must already switch it on.
    Outcome smallest;
    const bool toggle = runs.size() == 2 && runs[0].second == 0 &&
                        playProbe(create, index, 1e-6f, smallest) &&
                        smallest.hash == outcomes[1].hash;
    result.kind = toggle ? ParameterSteps::Toggled : ParameterSteps::Enumeration;
    return result;
}
