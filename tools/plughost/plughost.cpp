// plughost: the team's command-line host. Loads Linux plug-ins of the effect interface, shows
// their record, parameters and programs, processes audio files, benchmarks them, shows their
// editors in a window and renders them to PNG files.
#include "tools/plughost/commands.h"

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(const Arguments&);
    const char* usage;
};

const Command kCommands[] = {
    {"info", runInfo, "info PLUGIN.so"},
    {"process", runProcess,
     "process PLUGIN.so IN.wav OUT.wav [--set NAME=VALUE]... [--program N] [--block N] "
     "[--accumulate]"},
    {"bench", runBench, "bench PLUGIN.so [--block N] [--seconds S] [--rate R]"},
    {"signal", runSignal, "signal OUT.wav [--seconds S] [--rate R]   (the built-in test signal)"},
    {"editor", runEditor, "editor PLUGIN.so   (the editor in a window, with the test signal)"},
    {"snapshot", runSnapshot,
     "snapshot PLUGIN.so OUT.png [--set NAME=VALUE]... [--program N]   (the editor as a PNG)"},
};

int usage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command& command : kCommands)
        std::fprintf(stderr, "  plughost %s\n", command.usage);
    return 2;
}

} // namespace

int fail(const std::string& message) {
    std::fprintf(stderr, "plughost: %s\n", message.c_str());
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    Arguments args(argv + 2, argv + argc);
    for (const Command& command : kCommands)
        if (std::strcmp(argv[1], command.name) == 0) return command.run(args);
    std::fprintf(stderr, "plughost: unknown command \"%s\"\n", argv[1]);
    return usage();
}
