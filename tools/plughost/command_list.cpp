// plughost list: finds the Linux plug-ins in the folders hosts scan (or in the folders named)
// and shows what each one is. Every candidate is loaded in a child process of its own, under a
// time limit, so a plug-in that crashes, hangs or exits in its entry costs only its own line.
#include "tools/plughost/commands.h"
#include "tools/plughost/options.h"
#include "tools/plughost/plugin_host.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
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

void splitPathList(const char* list, std::vector<std::string>& into) {
    if (!list) return;
    std::stringstream stream(list);
    for (std::string entry; std::getline(stream, entry, ':');)
        if (!entry.empty()) into.push_back(entry);
}

bool isLibraryName(const fs::path& path) {
    return path.extension() == ".so";
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

[[noreturn]] void describeInChild(const std::string& path, int out) {
    // The plug-in's own chatter must not reach the listing.
    const int quiet = ::open("/dev/null", O_RDWR);
    if (quiet >= 0) {
        ::dup2(quiet, STDIN_FILENO);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
    }
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
    report += "end\n";
    for (size_t done = 0; done < report.size();) {
        const ssize_t wrote = ::write(out, report.data() + done, report.size() - done);
        if (wrote <= 0) break;
        done += static_cast<size_t>(wrote);
    }
    // No effClose, no destructors: the process ends here whatever the plug-in left running.
    ::_exit(0);
}

std::string describeSignal(int number) {
    const char* name = ::strsignal(number);
    return "signal " + std::to_string(number) + (name ? std::string(", ") + name : std::string());
}

Listing describe(const std::string& path, double timeLimit) {
    Listing listing{path, {}, {}};
    int channel[2];
    if (::pipe(channel) != 0) {
        listing.failure = std::string("cannot start a loader: ") + std::strerror(errno);
        return listing;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        listing.failure = std::string("cannot start a loader: ") + std::strerror(errno);
        ::close(channel[0]);
        ::close(channel[1]);
        return listing;
    }
    if (child == 0) {
        ::setpgid(0, 0); // its own group, so whatever it starts is stopped with it
        ::close(channel[0]);
        describeInChild(path, channel[1]);
    }
    ::setpgid(child, child);
    ::close(channel[1]);

    std::string received;
    bool complete = false;
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(timeLimit));
    while (!complete) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd wait{channel[0], POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[4096];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break; // the child is gone
        received.append(buffer, static_cast<size_t>(got));
        complete = received.size() >= 4 && received.compare(received.size() - 4, 4, "end\n") == 0;
    }
    ::close(channel[0]);
    if (!complete) ::kill(-child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (complete) ::kill(-child, SIGKILL); // threads are gone with the child; helpers are not

    if (timedOut) {
        char text[96];
        std::snprintf(text, sizeof text, "no answer within %g s: its entry hangs (stopped)",
                      timeLimit);
        listing.failure = text;
        return listing;
    }
    if (!complete) {
        if (WIFSIGNALED(status))
            listing.failure = "crashed while loading (" + describeSignal(WTERMSIG(status)) + ")";
        else
            listing.failure = "the plug-in ended the process while loading (exit status " +
                              std::to_string(WEXITSTATUS(status)) + ")";
        return listing;
    }
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
