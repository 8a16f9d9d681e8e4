// plughost snapshot: renders a plug-in's editor, at a chosen program and parameter values,
// into a PNG file. The editor is embedded in a window of the X display named by DISPLAY (a
// private virtual server is started when there is none) and read back from the server.
#include "commands.h"
#include "editor_host.h"
#include "options.h"

#include <chrono>
#include <cstdio>
#include <thread>

int runSnapshot(const Arguments& args) {
    std::vector<std::string> positional;
    std::vector<ParameterSetting> settings;
    long program = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--set") {
            if (!hasValue) return fail("--set needs NAME=VALUE");
            ParameterSetting setting;
            std::string error;
            if (!parseSetting(args[++i], setting, error)) return fail(error);
            settings.push_back(setting);
        } else if (arg == "--program") {
            if (!hasValue || !parseInt(args[++i], program) || program < 0)
                return fail("--program needs a program number from 0");
        } else if (arg.rfind("--", 0) == 0) {
            return fail("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return fail("snapshot expects PLUGIN.so OUT.png");
    const std::string& path = positional[0];
    const std::string& output = positional[1];

    std::string error;
    auto host = PluginHost::load(path, error);
    if (!host) return fail(error);
    if (!(host->effect()->flags & effFlagsHasEditor)) return fail(path + " has no editor");
    if (program >= host->effect()->numPrograms) {
        char message[96];
        std::snprintf(message, sizeof message, "program %ld does not exist (the plug-in has %d)",
                      program, host->effect()->numPrograms);
        return fail(message);
    }
    int32_t width = 0, height = 0;
    if (!editorSize(*host, width, height)) return fail(path + " does not tell its editor's size");
    host->start(44100.0f, 512);
    if (program >= 0) host->dispatch(effSetProgram, 0, program);
    if (!applySettings(*host, settings, error)) return fail(error);

    PrivateXServer server;
    if (!displayAvailable() && !server.start(error)) return fail(error);
    auto window = HostWindow::create(width, height, editorTitle(*host, path), error);
    if (!window) return fail(error);
    if (host->dispatch(effEditOpen, 0, 0, window->parentHandle()) == 0)
        return fail("the editor of " + path + " did not open");
    // Idle calls as a host makes them, until the editor has painted and shown its picture.
    for (int i = 0; i < 10; ++i) {
        window->pump();
        host->dispatch(effEditIdle);
        window->sync();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<uint8_t> rgb;
    int32_t shotWidth = 0, shotHeight = 0;
    const bool captured = window->capture(rgb, shotWidth, shotHeight);
    host->dispatch(effEditClose);
    window.reset();
    host->close();
    if (!captured) return fail("the editor's window could not be read back");
    if (!writePng(output, rgb, shotWidth, shotHeight, error)) return fail(error);
    std::printf("wrote %s (%d x %d)\n", output.c_str(), shotWidth, shotHeight);
    return 0;
}
