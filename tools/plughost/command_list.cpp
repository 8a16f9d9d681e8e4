// plughost list: finds the Linux plug-ins in the folders hosts scan (or in the folders named)
// and shows what each one is. Every candidate is loaded in a child process of its own, under a
// time limit, so a plug-in that crashes, hangs or exits in its entry costs only its own line.
#include "tools/plughost/commands.h"
#include "tools/plughost/list_probe.h"
#include "tools/plughost/options.h"
#include "tools/plughost/plugin_host.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Folders below a search folder are scanned this deep (bundles keep their library one or two
// levels down); deeper trees are more likely a mistake than a plug-in collection.
constexpr int kMaxDepth = 4;

struct Listing {
    std::string path;
    std::map<std::string, std::string> fields; // from the child: name, vendor, id, ...
    std::string failure;                       // empty when the plug-in was read
};

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
constexpr const char* kLibrarySuffix = ".dll";
#else
constexpr char kPathListSeparator = ':';
constexpr const char* kLibrarySuffix = ".so";
#endif

void splitPathList(const char* list, std::vector<std::string>& into) {
    if (!list) return;
    std::stringstream stream(list);
    for (std::string entry; std::getline(stream, entry, kPathListSeparator);)
        if (!entry.empty()) into.push_back(entry);
}

bool isLibraryName(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == kLibrarySuffix;
}

// Adds the libraries in folder (recursively) to candidates, once per real file.
void collect(const fs::path& folder, int depth, std::set<fs::path>& seen,
             std::vector<std::string>& candidates) {
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        const fs::path real = fs::weakly_canonical(entry, error);
        if (error) continue;
        if (fs::is_directory(real, error)) {
            if (depth < kMaxDepth && seen.insert(real).second)
                collect(entry, depth + 1, seen, candidates);
        } else if (isLibraryName(entry) && fs::is_regular_file(real, error)) {
            if (seen.insert(real).second) candidates.push_back(entry.string());
        }
    }
}

// What the child writes back: one "key<TAB>value" line per field and "end" after the last.
std::string clean(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

} // namespace

std::string pluginReport(const std::string& path) {
    std::string report;
    std::string error;
    auto host = PluginHost::load(path, error);
    if (!host) {
        report = "error\t" + clean(error) + "\n";
    } else {
        host->dispatch(effOpen);
        const AEffect* record = host->effect();
        std::string name = host->effectName();
        if (name.empty()) name = host->productString();
        if (name.empty()) name = fs::path(path).stem().string();
        report += "name\t" + clean(name) + "\n";
        report += "vendor\t" + clean(host->vendorString()) + "\n";
        report += "id\t" + clean(fourCharacters(record->uniqueID)) + "\n";
        report += "inputs\t" + std::to_string(record->numInputs) + "\n";
        report += "outputs\t" + std::to_string(record->numOutputs) + "\n";
        report += "parameters\t" + std::to_string(record->numParams) + "\n";
        report += "editor\t" + std::string(record->flags & effFlagsHasEditor ? "yes" : "no") + "\n";
        report += "synth\t" + std::string(record->flags & effFlagsIsSynth ? "yes" : "no") + "\n";
    }
    return report + "end\n";
}

namespace {

Listing describe(const std::string& path, double timeLimit) {
    Listing listing{path, {}, {}};
    const ProbeAnswer answer = probeInChild(path, timeLimit);
    if (!answer.failure.empty()) {
        listing.failure = answer.failure;
        return listing;
    }
    const std::string& received = answer.report;
    std::stringstream lines(received);
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) listing.fields[line.substr(0, tab)] = line.substr(tab + 1);
    }
    if (listing.fields.count("error")) {
        // The loader's reasons start with the path; the listing names the file itself.
        // (dlerror's reason names the path a second time).
        std::string reason = listing.fields["error"];
        for (bool stripped = true; stripped;) {
            stripped = false;
            for (const std::string& prefix :
                 {path + ": ", "cannot load " + path + ": ", path + " "})
                if (reason.rfind(prefix, 0) == 0) {
                    reason = reason.substr(prefix.size());
                    stripped = true;
                }
        }
        listing.failure = reason;
    }
    return listing;
}

std::string padded(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

} // namespace

#ifdef _WIN32
std::vector<std::string> standardPluginFolders() {
    std::vector<std::string> folders;
    splitPathList(std::getenv("VST_PATH"), folders);
    // A 32-bit process sees the 32-bit Program Files as ProgramFiles; ProgramFiles(x86) names
    // it in a 64-bit one. Each host scans the folders of its own architecture.
    const char* programFiles =
        std::getenv(sizeof(void*) == 4 && std::getenv("ProgramFiles(x86)") ? "ProgramFiles(x86)"
                                                                           : "ProgramFiles");
    if (programFiles && *programFiles) {
        folders.push_back(std::string(programFiles) + "\\VSTPlugins");
        folders.push_back(std::string(programFiles) + "\\Common Files\\VST2");
    }
    return folders;
}
#else
std::vector<std::string> standardPluginFolders() {
    std::vector<std::string> folders;
    splitPathList(std::getenv("VST_PATH"), folders);
    splitPathList(std::getenv("LXVST_PATH"), folders);
    if (const char* home = std::getenv("HOME"); home && *home) {
        folders.push_back(std::string(home) + "/.vst");
        folders.push_back(std::string(home) + "/.lxvst");
    }
    for (const char* prefix : {"/usr/local/lib", "/usr/lib"})
        for (const char* name : {"vst", "lxvst", "linux_vst"})
            folders.push_back(std::string(prefix) + "/" + name);
    return folders;
}
#endif

int runReport(const Arguments& args) {
    if (args.size() != 1) return fail("--report expects one plug-in");
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the report's lines end in "\n" alone
#endif
    const std::string report = pluginReport(args[0]);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fflush(stdout);
    // No effClose, no destructors: the process ends here whatever the plug-in left running.
    std::_Exit(0);
}

int runList(const Arguments& args) {
    std::vector<std::string> named;
    double timeLimit = 10.0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--timeout") {
            float seconds = 0.0f;
            if (i + 1 >= args.size() || !parseFloat(args[++i], seconds) || seconds <= 0.0f ||
                seconds > 3600.0f)
                return fail("--timeout needs a time limit from 0 to 3600 seconds");
            timeLimit = seconds;
        } else if (arg.rfind("--", 0) == 0) {
            return fail("unknown option " + arg);
        } else {
            named.push_back(arg);
        }
    }

    std::set<fs::path> seen;
    std::vector<std::string> candidates;
    if (named.empty()) {
        for (const std::string& folder : standardPluginFolders())
            if (fs::is_directory(folder)) collect(folder, 0, seen, candidates);
    } else {
        for (const std::string& entry : named) {
            std::error_code error;
            const fs::file_status status = fs::status(entry, error);
            if (error || !fs::exists(status)) return fail(entry + ": no such file or folder");
            if (fs::is_directory(status)) {
                collect(entry, 0, seen, candidates);
            } else if (seen.insert(fs::weakly_canonical(entry, error)).second) {
                candidates.push_back(entry); // a file named on purpose is tried whatever its name
            }
        }
    }

    std::vector<Listing> found, failed;
    for (const std::string& candidate : candidates) {
        Listing listing = describe(candidate, timeLimit);
        (listing.failure.empty() ? found : failed).push_back(std::move(listing));
    }

    if (!found.empty()) {
        const char* headings[] = {"ID", "IN/OUT", "PARAMS", "EDITOR", "NAME", "VENDOR", "FILE"};
        std::vector<std::vector<std::string>> rows;
        rows.push_back(std::vector<std::string>(std::begin(headings), std::end(headings)));
        for (Listing& listing : found) {
            auto& f = listing.fields;
            rows.push_back({f["id"], f["inputs"] + "/" + f["outputs"], f["parameters"], f["editor"],
                            f["name"] + (f["synth"] == "yes" ? " (instrument)" : ""), f["vendor"],
                            listing.path});
        }
        std::vector<size_t> widths(rows[0].size(), 0);
        for (const auto& row : rows)
            for (size_t c = 0; c < row.size(); ++c)
                widths[c] = std::max(widths[c], row[c].size());
        for (const auto& row : rows) {
            std::string line;
            for (size_t c = 0; c < row.size(); ++c)
                line += c + 1 < row.size() ? padded(row[c], widths[c] + 2) : row[c];
            std::printf("%s\n", line.c_str());
        }
    }
    if (!failed.empty()) {
        std::printf("%snot loaded:\n", found.empty() ? "" : "\n");
        for (const Listing& listing : failed)
            std::printf("  %s: %s\n", listing.path.c_str(), listing.failure.c_str());
    }
    if (candidates.empty()) {
        std::printf("no plug-ins found in");
        if (named.empty())
            for (const std::string& folder : standardPluginFolders())
                std::printf(" %s", folder.c_str());
        else
            for (const std::string& entry : named)
                std::printf(" %s", entry.c_str());
        std::printf("\n");
        return 0;
    }
    std::printf("\n%zu plug-in%s", found.size(), found.size() == 1 ? "" : "s");
    if (!failed.empty())
        std::printf(", %zu file%s not loaded", failed.size(), failed.size() == 1 ? "" : "s");
    std::printf("\n");
    return 0;
}
