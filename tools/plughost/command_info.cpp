// plughost info: the record, the flags by name, the parameters and the programs.
#include "tools/plughost/commands.h"
#include "tools/plughost/options.h"
#include "tools/plughost/plugin_host.h"

#include <cstdio>
#include <string>

namespace {

std::string quoted(const std::string& text) {
    std::string result;
    result.reserve(text.size() + 2);
    result.push_back('"');
    result.append(text);
    result.push_back('"');
    return result;
}

void appendWord(std::string& words, const char* word) {
    if (!words.empty()) words.push_back(' ');
    words.append(word);
}

std::string flagNames(int32_t flags) {
    static const struct {
        int32_t bit;
        const char* name;
    } kFlags[] = {
        {effFlagsHasEditor, "HasEditor"},
        {effFlagsHasClip, "HasClip"},
        {effFlagsHasVu, "HasVu"},
        {effFlagsCanMono, "CanMono"},
        {effFlagsCanReplacing, "CanReplacing"},
        {effFlagsProgramChunks, "ProgramChunks"},
        {effFlagsIsSynth, "IsSynth"},
        {effFlagsNoSoundInStop, "NoSoundInStop"},
        {effFlagsExtIsAsync, "ExtIsAsync"},
        {effFlagsExtHasBuffer, "ExtHasBuffer"},
    };
    std::string names;
    int32_t known = 0;
    for (const auto& flag : kFlags) {
        known |= flag.bit;
        if (flags & flag.bit) appendWord(names, flag.name);
    }
    if (flags & ~known) {
        char other[32];
        std::snprintf(other, sizeof other, "0x%x", static_cast<unsigned>(flags & ~known));
        appendWord(names, other);
    }
    return names.empty() ? "none" : names;
}

} // namespace

int runInfo(const Arguments& args) {
    if (args.size() != 1) return fail("info expects exactly one argument: PLUGIN.so");
    std::string error;
    auto host = PluginHost::load(args[0], error);
    if (!host) return fail(error);
    host->start(44100.0f, 512);
    const AEffect* record = host->effect();

    std::printf("plugin:        %s\n", args[0].c_str());
    std::printf("effect name:   %s\n", host->effectName().c_str());
    std::printf("vendor:        %s\n", host->vendorString().c_str());
    std::printf("product:       %s\n", host->productString().c_str());
    std::printf("magic:         %s\n", fourCharacters(record->magic).c_str());
    std::printf("unique ID:     %s (0x%08x)\n", fourCharacters(record->uniqueID).c_str(),
                static_cast<unsigned>(record->uniqueID));
    std::printf("version:       %d\n", record->version);
    std::printf("interface:     %ld\n", static_cast<long>(host->dispatch(effGetVstVersion)));
    std::printf("category:      %ld\n", static_cast<long>(host->dispatch(effGetPlugCategory)));
    std::printf("inputs:        %d\n", record->numInputs);
    std::printf("outputs:       %d\n", record->numOutputs);
    std::printf("programs:      %d\n", record->numPrograms);
    std::printf("parameters:    %d\n", record->numParams);
    std::printf("initial delay: %d\n", record->initialDelay);
    std::printf("flags:         %d (%s)\n", record->flags, flagNames(record->flags).c_str());

    std::printf("\nparameters:\n");
    std::printf("  %5s  %-24s %-10s %-16s %s\n", "index", "name", "label", "display", "value");
    for (int32_t i = 0; i < record->numParams; ++i) {
        std::printf("  %5d  %-24s %-10s %-16s %.6f\n", i, host->paramName(i).c_str(),
                    quoted(host->paramLabel(i)).c_str(), quoted(host->paramDisplay(i)).c_str(),
                    static_cast<double>(host->getParameter(i)));
    }

    std::printf("\nprograms:\n");
    const intptr_t current = host->dispatch(effGetProgram);
    for (int32_t p = 0; p < record->numPrograms; ++p) {
        char name[256] = {0};
        if (!host->dispatch(effGetProgramNameIndexed, p, 0, name)) {
            host->dispatch(effSetProgram, 0, p);
            host->dispatch(effGetProgramName, 0, 0, name);
        }
        name[sizeof name - 1] = 0;
        std::printf("  %5d  %s\n", p, name);
    }
    host->dispatch(effSetProgram, 0, current);
    host->dispatch(effMainsChanged, 0, 0);
    return 0;
}
