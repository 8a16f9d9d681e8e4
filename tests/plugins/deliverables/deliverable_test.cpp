// Every deliverable as a host's loader sees it: exactly two exported entries, its C++ runtime
// inside, nothing but system libraries needed at run time, and an entry that refuses a host
// of version 0.
#include "tests/plugins/deliverables/each_plugin.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(Deliverables, TheBuildProducedSome) {
    EXPECT_FALSE(builtPlugins().empty());
}

using Deliverable = EachPlugin;

// The Windows DLLs' export and import tables are read with objdump on the build machine.
#ifndef _WIN32
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

TEST_P(Deliverable, ExportsExactlyTheTwoEntries) {
    std::set<std::string> symbols;
    for (const std::string& line :
         commandLines("nm -D --defined-only " + pluginPath(GetParam()) + " | awk '{print $3}'"))
        if (!line.empty()) symbols.insert(line);
    EXPECT_EQ(symbols, (std::set<std::string>{"VSTPluginMain", "main"}));
}

TEST_P(Deliverable, NeedsOnlySystemLibrariesAtRunTime) {
    const std::set<std::string> allowed = {"libc.so.6",       "libm.so.6",           "libX11.so.6",
                                           "libXext.so.6",    "libfreetype.so.6",    "libdl.so.2",
                                           "libpthread.so.0", "ld-linux-x86-64.so.2"};
    const auto needed = commandLines("readelf -d " + pluginPath(GetParam()) +
                                     " | sed -n 's/.*(NEEDED).*\\[\\(.*\\)\\]/\\1/p'");
    EXPECT_FALSE(needed.empty());
    for (const std::string& library : needed)
        EXPECT_TRUE(allowed.count(library)) << "needs " << library;
}
#endif

TEST_P(Deliverable, EntryMakesAStereoEffectWithSixteenProgramsThatCloseEnds) {
    auto host = load(0.0f);
    ASSERT_TRUE(host);
    EXPECT_EQ(host->effect()->magic, kEffectMagic);
    EXPECT_EQ(host->effect()->numInputs, 2);
    EXPECT_EQ(host->effect()->numOutputs, 2);
    EXPECT_EQ(host->effect()->numPrograms, 16);
    EXPECT_GT(host->effect()->numParams, 0);
    EXPECT_EQ(host->close(), 1);
    EXPECT_FALSE(host->isOpen());
}

TEST_P(Deliverable, AHostOfVersionZeroGetsNothing) {
    std::string error;
    EXPECT_FALSE(PluginHost::load(pluginPath(GetParam()), error, 0));
    EXPECT_NE(error.find("returned no effect"), std::string::npos) << error;
}

INSTANTIATE_FOR_EACH_PLUGIN(Deliverable);

} // namespace
