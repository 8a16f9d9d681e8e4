// The plughost commands. Each takes the arguments after its name and returns the exit status;
// failures print one line to stderr and return non-zero.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int runInfo(const Arguments& args);
int runProcess(const Arguments& args);
int runBench(const Arguments& args);
int runSignal(const Arguments& args);
int runEditor(const Arguments& args);
int runSnapshot(const Arguments& args);
int runList(const Arguments& args);
// The hidden command plughost list starts its child processes with on Windows: prints the
// report of one plug-in (list_probe.h) and ends.
int runReport(const Arguments& args);

// The folders `plughost list` searches when it is given none: VST_PATH and LXVST_PATH (both
// colon-separated), ~/.vst, ~/.lxvst, and vst, lxvst and linux_vst under /usr/local/lib and
// /usr/lib; on Windows VST_PATH (semicolon-separated) and VSTPlugins and Common Files\VST2
// under the Program Files folder of plughost's own architecture.
std::vector<std::string> standardPluginFolders();

// Prints "plughost: <message>" on stderr and answers 1 (the exit status of a failed command).
int fail(const std::string& message);
