// plughost process: runs an audio file through a plug-in block by block and writes the result.
#include "tools/plughost/audio_file.h"
#include "tools/plughost/commands.h"
#include "tools/plughost/options.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// Inputs at least this long show a progress bar when stderr is a terminal.
constexpr double kProgressFromSeconds = 5.0;

// A one-line progress bar with the time left, redrawn in place on stderr at most ten times a
// second and erased when the work is done. Prints nothing unless it was switched on.
class ProgressBar {
  public:
    ProgressBar(bool on, size_t total, int sampleRate)
        : on(on), total(total), rate(sampleRate), started(Clock::now()), lastDrawn(started) {}
    ~ProgressBar() { finish(); }
    // Erases the bar, leaving the cursor where it was before the first one.
    void finish() {
        if (drawn) std::fprintf(stderr, "\r\033[K");
        drawn = false;
        on = false;
    }
    void update(size_t done) {
        if (!on || done == 0) return;
        const auto now = Clock::now();
        if (drawn && now - lastDrawn < std::chrono::milliseconds(100)) return;
        lastDrawn = now;
        drawn = true;
        const double elapsed = std::chrono::duration<double>(now - started).count();
        const double fraction = static_cast<double>(done) / static_cast<double>(total);
        const long left = static_cast<long>(elapsed / fraction - elapsed + 0.5);
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(fraction * kWidth);
        char bar[kWidth + 1];
        for (int i = 0; i < kWidth; ++i)
            bar[i] = i < filled ? '#' : '.';
        bar[kWidth] = 0;
        std::fprintf(stderr, "\r%3d%% [%s] %.1f of %.1f s, %ld:%02ld left\033[K",
                     static_cast<int>(fraction * 100.0), bar, static_cast<double>(done) / rate,
                     static_cast<double>(total) / rate, left / 60, left % 60);
        std::fflush(stderr);
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool on;
    size_t total;
    double rate;
    Clock::time_point started, lastDrawn;
    bool drawn = false;
};

} // namespace

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
    if (accumulate && !host->effect()->process)
        return fail(positional[0] + " has no adding process");
    if (!accumulate && !(host->effect()->flags & effFlagsCanReplacing))
        return fail(positional[0] + " cannot process by replacing; try --accumulate");

    host->start(static_cast<float>(input.sampleRate), static_cast<int32_t>(block));
    if (!applyPreset(*host, preset, error)) return fail(positional[0] + ": " + error);

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
    const bool showProgress =
        ::isatty(STDERR_FILENO) &&
        static_cast<double>(frames) >= kProgressFromSeconds * input.sampleRate;
    ProgressBar progress(showProgress, frames, input.sampleRate);
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
        progress.update(start + n);
    }
    progress.finish();
    host->dispatch(effMainsChanged, 0, 0);
    host->close();

    if (!writeAudioFile(positional[2], output, input.sampleRate, input.format, error))
        return fail(error);
    std::printf("processed %zu frames at %d Hz into %s\n", frames, input.sampleRate,
                positional[2].c_str());
    return 0;
}
