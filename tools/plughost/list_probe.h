// The child process in which plughost list loads each candidate, so that a plug-in that
// crashes, hangs or ends the process in its entry costs only its own line of the listing.
#pragma once

#include <string>

struct ProbeAnswer {
    std::string report;  // the child's pluginReport, complete with its "end" line
    std::string failure; // why there is none: crashed, ended the process, no answer in time
};

// Loads `path` in a child process and answers its report, stopping the child when no complete
// report has come within timeLimit seconds (one implementation per system).
ProbeAnswer probeInChild(const std::string& path, double timeLimit);

// What the child reports about the plug-in at `path`: one "key<TAB>value" line per field
// (name, vendor, id, inputs, outputs, parameters, editor, synth, or error) and "end".
std::string pluginReport(const std::string& path);
