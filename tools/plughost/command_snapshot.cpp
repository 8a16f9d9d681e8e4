// plughost snapshot: renders a plug-in's editor, at a chosen program and parameter values,
// into a PNG file. The editor is embedded in a host window (on X11 on the display named by
// DISPLAY, a private virtual server started when there is none) and read back from it.
#include "tools/plughost/commands.h"
#include "tools/plughost/editor_host.h"
#include "tools/plughost/options.h"

#include <chrono>
#include <cstdio>
#include <thread>

int runSnapshot(const Arguments& args) {
    std::vector<std::string> positional;
    PresetOptions preset;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string error;
        if (parsePresetOption(args, i, preset, error)) {
            if (!error.empty()) return fail(error);
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
    int32_t width = 0, height = 0;
    auto host = loadWithEditor(path, width, height, error);
    if (!host) return fail(error);
    host->start(44100.0f, 512);
    if (!applyPreset(*host, preset, error)) return fail(path + ": " + error);

    const std::unique_ptr<DisplaySession> display = openDisplaySession(error);
    if (!display) return fail(error);
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
    if (!captured) return fail("the window of " + path + "'s editor could not be read back");
    if (!writePng(output, rgb, shotWidth, shotHeight, error)) return fail(error);
    std::printf("wrote %s (%d x %d)\n", output.c_str(), shotWidth, shotHeight);
    return 0;
}
