// Loading a built plug-in by name the way a host does (through tools/plughost's PluginHost),
// and reading its texts. Needs PLUGIN_DIR, the folder the build puts the plug-ins in, and
// PLUGIN_SUFFIX, their file suffix; the list of built plug-ins needs BUILT_PLUGINS (names
// separated by commas).
#pragma once

#include "tools/plughost/plugin_host.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#ifndef PLUGIN_SUFFIX
#define PLUGIN_SUFFIX ".so"
#endif

inline std::string pluginPath(const std::string& name) {
    return std::string(PLUGIN_DIR) + "/" + name + PLUGIN_SUFFIX;
}

// The flags every deliverable's record reports: editor, VU, mono and replacing.
constexpr int32_t kDeliverableFlags =
    effFlagsHasEditor | effFlagsHasVu | effFlagsCanMono | effFlagsCanReplacing; // 29

#ifdef BUILT_PLUGINS
inline std::vector<std::string> builtPlugins() {
    std::vector<std::string> names;
    std::stringstream list(BUILT_PLUGINS);
    for (std::string name; std::getline(list, name, ',');)
        if (!name.empty()) names.push_back(name);
    return names;
}
#endif

// A fresh instance, started (open, rate, block size, resume) unless sampleRate is 0. Null,
// with the reason on standard error, when the library cannot be loaded.
inline std::unique_ptr<PluginHost> loadPlugin(const std::string& name, float sampleRate = 44100.0f,
                                              int32_t blockSize = 512) {
    std::string error;
    auto host = PluginHost::load(pluginPath(name), error);
    if (!host) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
    }
    if (sampleRate != 0.0f) host->start(sampleRate, blockSize);
    return host;
}

// Reads a text opcode into a buffer filled with a marker and answers the text, or a
// description of the fault when there is no terminating zero or bytes after it were written.
inline std::string exactText(PluginHost& host, int32_t opcode, int32_t index = 0) {
    char buffer[256];
    std::memset(buffer, 0x7f, sizeof buffer);
    host.dispatch(opcode, index, 0, buffer, 0.0f);
    const void* zero = std::memchr(buffer, 0, sizeof buffer);
    if (!zero) return "<no terminator>";
    const size_t length = static_cast<size_t>(static_cast<const char*>(zero) - buffer);
    for (size_t i = length + 1; i < sizeof buffer; ++i)
        if (buffer[i] != 0x7f) return "<wrote past the terminator>";
    return std::string(buffer, length);
}
