// Command lines for the dialog programs, built from the request alone.
#include "gui/platform/posix/dialog_programs.h"

#include "gui/platform/posix/path_check.h"
#include "gui/platform/posix/process_runner.h"

#include <cstdlib>

namespace desktop_dialogs {

namespace {

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += separator;
        text += part;
    }
    return text;
}

// Where a dialog starts: the request's folder, else the user's home, else the root.
std::string startDirectory(const DialogRequest& request) {
    if (!request.initialDirectory.empty()) return request.initialDirectory;
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? home : "/";
}

} // namespace

std::vector<std::string> zenityArguments(const DialogRequest& request) {
    std::vector<std::string> argv{"zenity", "--file-selection"};
    if (!request.title.empty()) argv.push_back("--title=" + request.title);
    switch (request.mode) {
    case DialogMode::Load:
        break;
    case DialogMode::Save:
        argv.push_back("--save");
        break;
    case DialogMode::LoadMultiple:
        argv.push_back("--multiple");
        argv.push_back("--separator=\n");
        break;
    case DialogMode::Directory:
        argv.push_back("--directory");
        break;
    }
    // A trailing slash makes the folder the starting place rather than a proposed name.
    if (!request.initialDirectory.empty()) {
        std::string start = request.initialDirectory;
        if (start.back() != '/') start += '/';
        argv.push_back("--filename=" + start);
    }
    if (request.mode != DialogMode::Directory)
        for (const DialogFilter& filter : request.filters)
            argv.push_back("--file-filter=" + filter.label + " | " + joined(filter.patterns, " "));
    return argv;
}

std::vector<std::string> kdialogArguments(const DialogRequest& request) {
    std::vector<std::string> argv{"kdialog"};
    if (!request.title.empty()) {
        argv.push_back("--title");
        argv.push_back(request.title);
    }
    switch (request.mode) {
    case DialogMode::Load:
    case DialogMode::LoadMultiple:
        argv.push_back("--getopenfilename");
        break;
    case DialogMode::Save:
        argv.push_back("--getsavefilename");
        break;
    case DialogMode::Directory:
        argv.push_back("--getexistingdirectory");
        break;
    }
    argv.push_back(startDirectory(request));
    if (request.mode != DialogMode::Directory && !request.filters.empty()) {
        std::vector<std::string> entries;
        for (const DialogFilter& filter : request.filters)
            entries.push_back(filter.label + " (" + joined(filter.patterns, " ") + ")");
        argv.push_back(joined(entries, "\n"));
    }
    if (request.mode == DialogMode::LoadMultiple) {
        argv.push_back("--multiple");
        argv.push_back("--separate-output");
    }
    return argv;
}

DialogOutcome runDialogProgram(const std::vector<std::string>& argv, const IdlePump& idle) {
    DialogOutcome outcome;
    const ProgramResult ran = runProgram(argv, idle);
    switch (ran.ending) {
    case ProgramResult::Ending::NotStarted:
        outcome.status = DialogStatus::Unavailable;
        break;
    case ProgramResult::Ending::Failed:
        outcome.status = DialogStatus::Failed;
        break;
    case ProgramResult::Ending::Abandoned:
        outcome.status = DialogStatus::Cancelled;
        break;
    case ProgramResult::Ending::Exited:
        if (ran.exitStatus == 0) {
            outcome.status = DialogStatus::Chosen;
            outcome.paths = splitLines(ran.output);
        } else {
            outcome.status = ran.exitStatus == 1 ? DialogStatus::Cancelled : DialogStatus::Failed;
        }
        break;
    }
    return outcome;
}

} // namespace desktop_dialogs
