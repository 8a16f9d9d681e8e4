// plughost editor: shows a plug-in's editor in a top-level X11 window while the built-in test
// signal runs through the effect in real time, and prints each automate, begin-edit and
// end-edit call the plug-in makes, until the window is closed or SIGTERM/SIGINT arrives.
//
// Threads: the main thread is the host's GUI thread (window events, effEditIdle about 30
// times a second, the echo of the plug-in's calls); a second thread plays the audio through
// processReplacing in blocks paced to the sample rate, the output discarded.
#include "tools/plughost/commands.h"
#include "tools/plughost/editor_host.h"
#include "tools/plughost/options.h"
#include "tools/plughost/test_signal.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// Plays the test signal through the effect, looping, one block per block period.
void playAudio(PluginHost& host, const std::atomic<bool>& running, float rate, int32_t block) {
    const StereoBuffer signal = makeTestSignal(4.0, rate);
    const auto blockSize = static_cast<size_t>(block);
    const int32_t pins = std::max({host.effect()->numInputs, host.effect()->numOutputs, 2});
    std::vector<std::vector<float>> ins(pins, std::vector<float>(blockSize, 0.0f));
    std::vector<std::vector<float>> outs(pins, std::vector<float>(blockSize, 0.0f));
    std::vector<float*> inPointers(pins), outPointers(pins);
    for (int32_t c = 0; c < pins; ++c) {
        inPointers[c] = ins[c].data();
        outPointers[c] = outs[c].data();
    }
    const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(static_cast<double>(block) / rate));
    auto next = std::chrono::steady_clock::now();
    size_t position = 0;
    while (running.load()) {
        for (size_t i = 0; i < blockSize; ++i) {
            ins[0][i] = signal.left[position];
            ins[1][i] = signal.right[position];
            position = (position + 1) % signal.frames();
        }
        host.processReplacing(inPointers.data(), outPointers.data(), block);
        next += period;
        std::this_thread::sleep_until(next);
    }
}

} // namespace

int runEditor(const Arguments& args) {
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg.rfind("--", 0) == 0) return fail("unknown option " + arg);
        positional.push_back(arg);
    }
    if (positional.size() != 1) return fail("editor expects PLUGIN.so");
    const std::string& path = positional[0];

    std::string error;
    int32_t width = 0, height = 0;
    auto host = loadWithEditor(path, width, height, error);
    if (!host) return fail(error);

    constexpr float kRate = 44100.0f;
    constexpr int32_t kBlock = 512;
    host->start(kRate, kBlock);
    const std::string title = editorTitle(*host, path);
    auto window = HostWindow::create(width, height, title, error);
    if (!window) return fail(error);

        // Each call the plug-in makes is one line, seen at once by whoever reads the output (the
        // Windows C runtime buffers lines as it buffers everything: there, no buffer at all).
#ifdef _WIN32
    std::setvbuf(stdout, nullptr, _IONBF, 0);
#else
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
#endif
    host->setEchoEvents(true);
    if (host->dispatch(effEditOpen, 0, 0, window->parentHandle()) == 0)
        return fail("the editor of " + path + " did not open");

    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    std::fprintf(stderr, "plughost: showing \"%s\" (%d x %d); close the window to stop\n",
                 title.c_str(), width, height);

    std::atomic<bool> running{true};
    std::thread audio(playAudio, std::ref(*host), std::cref(running), kRate, kBlock);

    const auto tick = std::chrono::milliseconds(33);
    auto next = std::chrono::steady_clock::now();
    while (!stopRequested && window->pump()) {
        host->dispatch(effEditIdle);
        host->clearEvents(); // echoed already
        next += tick;
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now; // a long drag inside the editor: no catching up
        std::this_thread::sleep_until(next);
    }

    running = false;
    audio.join();
    host->dispatch(effEditClose);
    window.reset();
    host->dispatch(effMainsChanged, 0, 0);
    host->close();
    return 0;
}
