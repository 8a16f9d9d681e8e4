// plughost bench: the cost of processing the built-in signal, per stereo frame; with --editor
// the editor's three drawing costs in a real host window: a full paint (the whole window
// exposed, then an idle call), the redraw after one parameter change, and an idle call with
// nothing to redraw.
#include "tools/plughost/commands.h"
#include "tools/plughost/editor_host.h"
#include "tools/plughost/options.h"
#include "tools/plughost/plugin_host.h"
#include "tools/plughost/test_signal.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

// Runs `step` for about `seconds` and answers its mean duration in microseconds.
double microsecondsPer(float seconds, const std::function<void(long)>& step) {
    using Clock = std::chrono::steady_clock;
    const auto budget = std::chrono::duration<double>(seconds);
    long count = 0;
    const auto begin = Clock::now();
    auto now = begin;
    while (now - begin < budget) {
        step(count++);
        now = Clock::now();
    }
    return std::chrono::duration<double, std::micro>(now - begin).count() /
           static_cast<double>(count);
}

int benchEditor(const std::string& path, float seconds) {
    std::string error;
    int32_t width = 0, height = 0;
    auto host = loadWithEditor(path, width, height, error);
    if (!host) return fail(error);
    host->start(44100.0f, 512);
    const std::unique_ptr<DisplaySession> display = openDisplaySession(error);
    if (!display) return fail(error);
    auto window = HostWindow::create(width, height, editorTitle(*host, path), error);
    if (!window) return fail(error);
    if (host->dispatch(effEditOpen, 0, 0, window->parentHandle()) == 0)
        return fail("the editor of " + path + " did not open");
    for (int i = 0; i < 10; ++i) { // the first paints
        window->pump();
        host->dispatch(effEditIdle);
        window->sync();
    }
    const double fullPaint = microsecondsPer(seconds, [&](long) {
        window->exposeAll();
        host->dispatch(effEditIdle);
        window->sync();
    });
    const double knobRedraw = microsecondsPer(seconds, [&](long step) {
        host->setParameter(0, (step & 1) ? 0.25f : 0.75f);
        host->dispatch(effEditIdle);
        window->sync();
    });
    const double idle = microsecondsPer(seconds, [&](long) {
        host->dispatch(effEditIdle);
        window->sync();
    });
    host->dispatch(effEditClose);
    window.reset();
    host->close();
    std::printf("%s: editor %d x %d\n", path.c_str(), width, height);
    std::printf("full paint %.1f us, parameter 0 redraw %.1f us, idle with nothing dirty %.2f us\n",
                fullPaint, knobRedraw, idle);
    return 0;
}

} // namespace

int runBench(const Arguments& args) {
    std::string path;
    long block = 64;
    float seconds = 10.0f;
    float rate = 48000.0f;
    bool editor = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--block") {
            if (!hasValue || !parseInt(args[++i], block) || block < 1 || block > 1 << 20)
                return fail("--block needs a block size from 1 to 1048576 frames");
        } else if (arg == "--seconds") {
            if (!hasValue || !parseFloat(args[++i], seconds) || seconds <= 0 || seconds > 3600)
                return fail("--seconds needs a duration from 0 to 3600");
        } else if (arg == "--rate") {
            if (!hasValue || !parseFloat(args[++i], rate) || rate < 1 || rate > 1536000)
                return fail("--rate needs a sample rate from 1 to 1536000 Hz");
        } else if (arg == "--editor") {
            editor = true;
        } else if (arg.rfind("--", 0) == 0) {
            return fail("unknown option " + arg);
        } else if (path.empty()) {
            path = arg;
        } else {
            return fail("bench expects one plug-in");
        }
    }
    if (path.empty()) return fail("bench expects PLUGIN.so");
    if (editor) return benchEditor(path, seconds);
    std::string error;
    auto host = PluginHost::load(path, error);
    if (!host) return fail(error);
    host->start(rate, static_cast<int32_t>(block));

    // One second of the test signal, looped for the whole run.
    const StereoBuffer signal = makeTestSignal(1.0, rate);
    const size_t signalFrames = signal.frames();
    const size_t blockFrames = static_cast<size_t>(block);
    const size_t totalFrames = static_cast<size_t>(static_cast<double>(seconds) * rate);
    std::vector<float> outL(blockFrames), outR(blockFrames), inL(blockFrames), inR(blockFrames);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    size_t position = 0;
    std::chrono::nanoseconds spent{0};
    for (size_t done = 0; done < totalFrames; done += blockFrames) {
        for (size_t i = 0; i < blockFrames; ++i) {
            inL[i] = signal.left[position];
            inR[i] = signal.right[position];
            position = (position + 1) % signalFrames;
        }
        const auto begin = std::chrono::steady_clock::now();
        host->processReplacing(in, out, static_cast<int32_t>(blockFrames));
        spent += std::chrono::steady_clock::now() - begin;
    }
    const size_t processed = (totalFrames + blockFrames - 1) / blockFrames * blockFrames;
    const double nsPerFrame = static_cast<double>(spent.count()) / static_cast<double>(processed);
    std::printf("%s: block %ld, %.0f Hz, %zu frames\n", path.c_str(), block,
                static_cast<double>(rate), processed);
    std::printf("%.2f ns per stereo frame, %.1f times realtime\n", nsPerFrame,
                1e9 / (nsPerFrame * static_cast<double>(rate)));
    return 0;
}
