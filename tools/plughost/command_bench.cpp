// plughost bench: the cost of processing the built-in signal, per stereo frame.
#include "tools/plughost/commands.h"
#include "tools/plughost/options.h"
#include "tools/plughost/test_signal.h"

#include <chrono>
#include <cstdio>

int runBench(const Arguments& args) {
    std::string path;
    long block = 64;
    float seconds = 10.0f;
    float rate = 48000.0f;
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
        } else if (arg.rfind("--", 0) == 0) {
            return fail("unknown option " + arg);
        } else if (path.empty()) {
            path = arg;
        } else {
            return fail("bench expects one plug-in");
        }
    }
    if (path.empty()) return fail("bench expects PLUGIN.so");
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
