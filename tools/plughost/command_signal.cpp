// plughost signal: writes the built-in test signal to a file.
#include "tools/plughost/audio_file.h"
#include "tools/plughost/commands.h"
#include "tools/plughost/options.h"

#include <cstdio>

int runSignal(const Arguments& args) {
    std::string path;
    float seconds = 4.0f;
    float rate = 44100.0f;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--seconds") {
            if (!hasValue || !parseFloat(args[++i], seconds) || seconds <= 0 || seconds > 600)
                return fail("--seconds needs a duration from 0 to 600");
        } else if (args[i] == "--rate") {
            if (!hasValue || !parseFloat(args[++i], rate) || rate < 8000 || rate > 384000)
                return fail("--rate needs a sample rate from 8000 to 384000 Hz");
        } else if (path.empty() && args[i].rfind("--", 0) != 0) {
            path = args[i];
        } else {
            return fail("signal expects OUT.wav [--seconds S] [--rate R]");
        }
    }
    if (path.empty()) return fail("signal expects OUT.wav");
    std::string error;
    const int sampleRate = static_cast<int>(rate);
    if (!writeAudioFile(path, makeTestSignal(seconds, sampleRate), sampleRate, 0, error))
        return fail(error);
    std::printf("wrote %.1f s of the test signal at %d Hz to %s\n", static_cast<double>(seconds),
                sampleRate, path.c_str());
    return 0;
}
