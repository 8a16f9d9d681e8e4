// Every deliverable as a host's loader sees it: exactly two exported entries, its C++ runtime
// inside, and nothing but system libraries needed at run time.
#include "tests/plugins/deliverables/built_plugins.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> commandLines(const std::string& command) {
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return lines;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        lines.push_back(text);
    }
    pclose(pipe);
    return lines;
}

std::string pluginPath(const std::string& name) {
    return std::string(PLUGIN_DIR) + "/" + name + ".so";
}

TEST(Deliverables, ExportExactlyTheTwoEntries) {
    ASSERT_FALSE(builtPlugins().empty());
    for (const std::string& name : builtPlugins()) {
        std::set<std::string> symbols;
        for (const std::string& line :
             commandLines("nm -D --defined-only " + pluginPath(name) + " | awk '{print $3}'"))
            if (!line.empty()) symbols.insert(line);
        EXPECT_EQ(symbols, (std::set<std::string>{"VSTPluginMain", "main"})) << name;
    }
}

TEST(Deliverables, NeedOnlySystemLibrariesAtRunTime) {
    const std::set<std::string> allowed = {"libc.so.6",       "libm.so.6",           "libX11.so.6",
                                           "libXext.so.6",    "libfreetype.so.6",    "libdl.so.2",
                                           "libpthread.so.0", "ld-linux-x86-64.so.2"};
    for (const std::string& name : builtPlugins()) {
        const auto needed = commandLines("readelf -d " + pluginPath(name) +
                                         " | sed -n 's/.*(NEEDED).*\\[\\(.*\\)\\]/\\1/p'");
        EXPECT_FALSE(needed.empty()) << name;
        for (const std::string& library : needed)
            EXPECT_TRUE(allowed.count(library)) << name << " needs " << library;
    }
}

TEST(Deliverables, BothEntriesCreateAWorkingEffect) {
    for (const std::string& name : builtPlugins()) {
        std::string error;
        auto host = PluginHost::load(pluginPath(name), error);
        ASSERT_TRUE(host) << error;
        EXPECT_EQ(host->effect()->numInputs, 2) << name;
        EXPECT_EQ(host->effect()->numOutputs, 2) << name;
        EXPECT_EQ(host->effect()->numPrograms, 16) << name;
        EXPECT_EQ(host->close(), 1) << name;
    }
}

TEST(Deliverables, AHostOfVersionZeroGetsNothing) {
    for (const std::string& name : builtPlugins()) {
        std::string error;
        EXPECT_FALSE(PluginHost::load(pluginPath(name), error, 0)) << name;
        EXPECT_NE(error.find("returned no effect"), std::string::npos) << error;
    }
}

} // namespace
