// plughost process: runs an audio file through a plug-in block by block and writes the result.
#include "tools/plughost/audio_file.h"
#include "tools/plughost/commands.h"
#include "tools/plughost/options.h"

#include <algorithm>
#include <cstdio>

int runProcess(const Arguments& args) {
    std::vector<std::string> positional;
    PresetOptions preset;
    long block = 512;
    bool accumulate = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        std::string error;
        if (parsePresetOption(args, i, preset, error)) {
            if (!error.empty()) return fail(error);
        } else if (arg == "--block") {
            if (!hasValue || !parseInt(args[++i], block) || block < 1 || block > 1 << 20)
                return fail("--block needs a block size from 1 to 1048576 frames");
        } else if (arg == "--accumulate") {
            accumulate = true;
        } else if (arg.rfind("--", 0) == 0) {
            return fail("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) return fail("process expects PLUGIN.so IN OUT");

    std::string error;
    AudioFile input;
    if (!readAudioFile(positional[1], input, error)) return fail(error);
    auto host = PluginHost::load(positional[0], error);
    if (!host) return fail(error);
    if (host->effect()->numInputs < 1 || host->effect()->numOutputs < 1)
        return fail(positional[0] + " has no audio inputs or outputs");
    if (accumulate && !host->effect()->process) return fail("the plug-in has no adding process");
    if (!accumulate && !(host->effect()->flags & effFlagsCanReplacing))
        return fail("the plug-in cannot process by replacing; try --accumulate");

    host->start(static_cast<float>(input.sampleRate), static_cast<int32_t>(block));
    if (!applyPreset(*host, preset, error)) return fail(error);

    // Channel arrays sized for the plug-in's declared pins; our stereo goes into the first two.
    const size_t frames = input.audio.frames();
    const size_t blockFrames = static_cast<size_t>(block);
    const int32_t pins = std::max({host->effect()->numInputs, host->effect()->numOutputs, 2});
    std::vector<std::vector<float>> ins(pins, std::vector<float>(blockFrames, 0.0f));
    std::vector<std::vector<float>> outs(pins, std::vector<float>(blockFrames, 0.0f));
    std::vector<float*> inPointers(pins), outPointers(pins);
    for (int32_t c = 0; c < pins; ++c) {
        inPointers[c] = ins[c].data();
        outPointers[c] = outs[c].data();
    }
    StereoBuffer output{std::vector<float>(frames), std::vector<float>(frames)};
    for (size_t start = 0; start < frames; start += blockFrames) {
        const size_t n = std::min(blockFrames, frames - start);
        std::copy_n(input.audio.left.begin() + start, n, ins[0].begin());
        std::copy_n(input.audio.right.begin() + start, n, ins[1].begin());
        for (auto& channel : outs)
            std::fill(channel.begin(), channel.end(), 0.0f);
        if (accumulate)
            host->process(inPointers.data(), outPointers.data(), static_cast<int32_t>(n));
        else
            host->processReplacing(inPointers.data(), outPointers.data(), static_cast<int32_t>(n));
        std::copy_n(outs[0].begin(), n, output.left.begin() + start);
        std::copy_n(outs[host->effect()->numOutputs > 1 ? 1 : 0].begin(), n,
                    output.right.begin() + start);
    }
    host->dispatch(effMainsChanged, 0, 0);
    host->close();

    if (!writeAudioFile(positional[2], output, input.sampleRate, input.format, error))
        return fail(error);
    std::printf("processed %zu frames at %d Hz into %s\n", frames, input.sampleRate,
                positional[2].c_str());
    return 0;
}
