// plughost: the team's command-line host. Lists the Linux plug-ins of the effect interface that
// are installed, shows their record, parameters and programs, processes audio files,
// benchmarks them, shows their editors in a window and renders them to PNG files.
#include "tools/plughost/commands.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifndef PLUGHOST_VERSION
#error "the build passes PLUGHOST_VERSION, the project's version"
#endif

namespace {

// Help texts name the plug-in files of the system the host was built for.
#ifdef _WIN32
#define PLUGIN_EXT ".dll"
#else
#define PLUGIN_EXT ".so"
#endif

struct Command {
    const char* name;
    int (*run)(const Arguments&);
    const char* usage;   // the arguments, after "plughost NAME"
    const char* summary; // one line for the overview
    const char* details; // what `plughost help NAME` adds
    const char* example;
};

const Command kCommands[] = {
    {"list", runList, "[DIR|FILE...] [--timeout S]",
     "find the installed plug-ins and show what each one is",
     "Finds every " PLUGIN_EXT
     " file in the folders named (searched down to four levels), or without\n"
     "any in the folders hosts scan (listed below), loads each in a child process of its own\n"
     "and prints its unique ID, inputs/outputs, parameter count, whether it has an editor,\n"
     "its name, vendor and file. A plug-in that fails to load, crashes or exits in its entry,\n"
     "or does not answer within the time limit (--timeout, 10 s) is listed with the reason\n"
     "and does not stop the listing.\n",
     "plughost list ~/.vst"},
    {"info", runInfo, "PLUGIN" PLUGIN_EXT,
     "the record, flags, parameters and programs of a plug-in",
     "Loads the plug-in, starts it at 44100 Hz and prints its names, unique ID, version, pins,\n"
     "flags by name, every parameter (name, label, value text, value) and every program.\n",
     "plughost info build/plugins/swirlet" PLUGIN_EXT},
    {"process", runProcess,
     "PLUGIN" PLUGIN_EXT " IN OUT [--program N] [--set NAME=VALUE]... [--block N] [--accumulate]",
     "run an audio file through a plug-in",
     "Reads any file libsndfile reads (a mono file feeds both inputs), processes it in blocks\n"
     "of --block frames (512) by replacing, or by adding with --accumulate, at the file's\n"
     "sample rate, and writes OUT, whose type follows its extension, only once it is\n"
     "complete. --program is applied before the --set values; NAME is a parameter's name or\n"
     "index and VALUE runs from 0 to 1. On a terminal a progress bar with the time left is\n"
     "shown for inputs longer than a few seconds.\n",
     "plughost process tloom" PLUGIN_EXT " in.wav out.flac --program 2 --set Mix=0.5"},
    {"bench", runBench, "PLUGIN" PLUGIN_EXT " [--block N] [--seconds S] [--rate R] [--editor]",
     "measure the processing cost of a plug-in",
     "Processes S seconds (10) of the built-in test signal at rate R (48000) in blocks of N\n"
     "frames (64) and prints the cost per stereo frame and how many times faster than real\n"
     "time that is. With --editor it opens the editor in a window instead and prints the mean\n"
     "cost of a full paint, of the redraw after a change of parameter 0 and of an idle call\n"
     "with nothing to redraw, each measured for S seconds.\n",
     "plughost bench grimfold" PLUGIN_EXT " --block 64"},
    {"signal", runSignal, "OUT.wav [--seconds S] [--rate R]", "write the built-in test signal",
     "Writes the test signal the demo and the benchmarks use: a chord and a noise burst,\n"
     "S seconds (4) long at rate R (44100).\n",
     "plughost signal test.wav --seconds 10"},
    {"editor", runEditor, "PLUGIN" PLUGIN_EXT, "open a plug-in's editor in a window",
     "Opens a window titled with the plug-in's name, embeds its editor, plays the test signal\n"
     "through the effect (the output is discarded) and prints every automate, beginEdit and\n"
     "endEdit call the plug-in makes, until the window is closed or SIGTERM arrives.\n",
     "plughost editor swirlet" PLUGIN_EXT},
    {"snapshot", runSnapshot, "PLUGIN" PLUGIN_EXT " OUT.png [--program N] [--set NAME=VALUE]...",
     "render a plug-in's editor into a PNG file",
     "Opens the editor at the program and values given and writes what it shows as a PNG.\n"
#ifndef _WIN32
     "Without a display a private virtual X server is started for the moment it is needed.\n"
#endif
     ,
     "plughost snapshot swirlet" PLUGIN_EXT " swirlet.png --program 3"},
};

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

void printOverview(FILE* to) {
#ifdef _WIN32
    std::fprintf(to, "plughost %s: a command-line host for Windows VST 2.x plug-ins (%s)\n\n",
                 PLUGHOST_VERSION, sizeof(void*) == 8 ? "64-bit" : "32-bit");
#else
    std::fprintf(to, "plughost %s: a command-line host for Linux VST 2.x plug-ins\n\n",
                 PLUGHOST_VERSION);
#endif
    std::fprintf(to, "usage: plughost COMMAND [ARGUMENTS]\n       plughost help COMMAND\n"
                     "       plughost --help | --version\n\ncommands:\n");
    for (const Command& command : kCommands)
        std::fprintf(to, "  %-9s %s\n", command.name, command.summary);
    std::fprintf(to, "\n'plughost help COMMAND' shows a command's arguments and an example.\n");
}

void printCommandHelp(const Command& command) {
    std::printf("usage: plughost %s %s\n\n%s", command.name, command.usage, command.details);
    if (command.run == runList) {
        std::printf("\nFolders searched when none is named, in this order:\n");
        for (const std::string& folder : standardPluginFolders())
            std::printf("  %s\n", folder.c_str());
#ifdef _WIN32
        std::printf("(VST_PATH is a semicolon-separated list of folders.)\n");
#else
        std::printf("(VST_PATH and LXVST_PATH are colon-separated lists of folders.)\n");
#endif
    }
    std::printf("\nexample:\n  %s\n", command.example);
}

bool isHelpOption(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

int fail(const std::string& message) {
    std::fprintf(stderr, "plughost: %s\n", message.c_str());
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        printOverview(stderr);
        return 2;
    }
    const std::string name = argv[1];
    Arguments args(argv + 2, argv + argc);
    if (isHelpOption(name) || (name == "help" && args.empty())) {
        printOverview(stdout);
        return 0;
    }
    if (name == "--report") return runReport(args);
    if (name == "--version" || name == "-V") {
        std::printf("plughost %s\n", PLUGHOST_VERSION);
        return 0;
    }
    if (name == "help") {
        const Command* command = findCommand(args[0]);
        if (!command)
            return fail("unknown command \"" + args[0] + "\"; plughost --help lists the commands");
        if (args.size() > 1) return fail("help expects one command name");
        printCommandHelp(*command);
        return 0;
    }
    const Command* command = findCommand(name);
    if (!command) {
        std::fprintf(stderr,
                     "plughost: unknown command \"%s\"; plughost --help lists the commands\n",
                     name.c_str());
        return 2;
    }
    if (args.size() == 1 && isHelpOption(args[0])) {
        printCommandHelp(*command);
        return 0;
    }
    return command->run(args);
}
