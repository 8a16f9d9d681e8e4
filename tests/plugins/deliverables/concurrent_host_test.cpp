// Host threads at work while the audio thread processes, as hosts are allowed to do: one
// automates parameters and switches programs, one reads values and texts. Under ThreadSanitizer
// (tools/run-sanitized-tests.sh thread) an access the language leaves undefined fails the run.
#include "tests/plugins/deliverables/each_plugin.h"

#include <atomic>
#include <thread>

class ConcurrentHost : public EachPlugin {};

TEST_P(ConcurrentHost, HostThreadsChangeAndReadParametersWhileAudioRuns) {
    auto host = load(44100.0f, 256);
    ASSERT_TRUE(host);
    const int32_t params = host->effect()->numParams;
    std::atomic<bool> done{false};
    std::thread automation([&] {
        for (int32_t i = 0; !done; ++i) {
            host->setParameter(i % params, static_cast<float>(i * 37 % 101) / 100.0f);
            if (i % 64 == 63) host->dispatch(effSetProgram, 0, i / 64 % host->effect()->numPrograms);
        }
    });
    std::thread display([&] {
        for (int32_t i = 0; !done; i = (i + 1) % params) {
            host->getParameter(i);
            host->paramDisplay(i);
            host->paramName(i);
            host->programName();
        }
    });
    StereoBuffer buffer(256);
    bool finite = true;
    for (int block = 0; block < 300; ++block) {
        buffer.noise(0.5f).fillOutput(0.0f);
        if (block % 2) host->process(buffer.in, buffer.out, buffer.frames());
        else host->processReplacing(buffer.in, buffer.out, buffer.frames());
        finite = finite && buffer.outputFinite();
    }
    done = true;
    automation.join();
    display.join();
    EXPECT_TRUE(finite);
}

INSTANTIATE_FOR_EACH_PLUGIN(ConcurrentHost);
