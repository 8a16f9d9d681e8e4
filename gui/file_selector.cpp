// File selector: the host's selector when it offers both requests, else the system's dialog;
// the answer laid out in the host's record.
#include "gui/file_selector.h"

#include "frame/effect_base.h"
#include "gui/platform/common/path_limit.h"
#include "gui/platform/platform.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using platform::DialogFilter;
using platform::DialogMode;
using platform::DialogRequest;
using platform::DialogStatus;

namespace {

// A dialog is open somewhere in this process (the idle pump may reach another run).
bool dialogOpen = false;

// Room of the array of a multiple selection: at least this many entries, more when needed.
constexpr size_t kMultiplePathRoom = 1024;

bool hostCan(EffectBase* effect, const char* word) {
    char text[32];
    std::snprintf(text, sizeof text, "%s", word);
    return effect->canHostDo(text);
}

// A text field of the record, which may lack its zero: at most `room` bytes. The system's
// dialogs show it in their own encoding.
std::string fieldText(const char* field, size_t room) {
    return std::string(field, strnlen(field, room));
}

// The extension of a type: the Unix one when given, else the DOS one; empty when neither is a
// plain extension (letters, digits and a few marks) that can go into a glob pattern safely.
std::string extensionOf(const VstFileType& type) {
    std::string extension(type.unixType, strnlen(type.unixType, sizeof type.unixType));
    if (extension.empty())
        extension.assign(type.dosType, strnlen(type.dosType, sizeof type.dosType));
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    for (char c : extension)
        if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("_-+~.", c)) return "";
    return extension;
}

// The file-type list: "All Types" (when there are several), one entry per type, "Any Type".
std::vector<DialogFilter> filtersOf(const VstFileSelect& request) {
    std::vector<DialogFilter> filters;
    if (!request.fileTypes || request.nbFileTypes <= 0) return filters;
    DialogFilter all{"", {}};
    for (int32_t i = 0; i < request.nbFileTypes; ++i) {
        const VstFileType& type = request.fileTypes[i];
        const std::string extension = extensionOf(type);
        if (extension.empty()) continue;
        std::string name = fieldText(type.name, sizeof type.name);
        std::replace(name.begin(), name.end(), '|', '/'); // the dialog programs' separator
        filters.push_back({name + " (." + extension + ")", {"*." + extension}});
        all.patterns.push_back("*." + extension);
    }
    if (filters.empty()) return filters;
    if (filters.size() > 1) {
        std::string joined;
        for (const std::string& pattern : all.patterns)
            joined += (joined.empty() ? "" : ";") + pattern;
        all.label = "All Types: (" + joined + ")";
        filters.insert(filters.begin(), all);
    }
    // "*", not "*.*": on this system a file name need not have a dot.
    filters.push_back({"Any Type (*.*)", {"*"}});
    return filters;
}

// The folder the dialog starts in: the request's initial path when it is an existing folder.
std::string initialDirectoryOf(const VstFileSelect& request) {
    if (!request.initialPath) return "";
    const std::string path(request.initialPath,
                           strnlen(request.initialPath, platform::kMaxPathBytes + 1));
    if (!platform::current().isDirectory(path)) return "";
    for (char c : path)
        if (static_cast<unsigned char>(c) < 0x20) return "";
    for (char c : path)
        if (static_cast<unsigned char>(c) < 0x20) return "";
    return path;
}

DialogRequest dialogRequestOf(const VstFileSelect& request) {
    DialogRequest dialog;
    switch (request.command) {
    case kVstFileSave:
        dialog.mode = DialogMode::Save;
        break;
    case kVstMultipleFilesLoad:
        dialog.mode = DialogMode::LoadMultiple;
        break;
    case kVstDirectorySelect:
        dialog.mode = DialogMode::Directory;
        break;
    default:
        dialog.mode = DialogMode::Load;
        break;
    }
    dialog.title = fieldText(request.title, sizeof request.title);
    dialog.initialDirectory = initialDirectoryOf(request);
    if (dialog.mode != DialogMode::Directory) dialog.filters = filtersOf(request);
    return dialog;
}

} // namespace

FileSelector::FileSelector(EffectBase* effect) : effect(effect) {}

FileSelector::~FileSelector() {
    releaseLastRequest();
}

void FileSelector::releaseLastRequest() {
    if (!lastRequest) return;
    if (hostAnswered) {
        effect->closeFileSelector(lastRequest);
    } else {
        if (ownedReturnPath) {
            if (lastRequest->returnPath == ownedReturnPath) {
                lastRequest->returnPath = nullptr;
                lastRequest->sizeReturnPath = 0;
                lastRequest->reserved = 0;
            }
            std::free(ownedReturnPath);
        }
        if (ownedPaths) {
            for (int32_t i = 0; i < ownedPathCount; ++i)
                std::free(ownedPaths[i]);
            if (lastRequest->returnMultiplePaths == ownedPaths) {
                lastRequest->returnMultiplePaths = nullptr;
                lastRequest->nbReturnPath = 0;
            }
            std::free(ownedPaths);
        }
    }
    lastRequest = nullptr;
    hostAnswered = false;
    ownedReturnPath = nullptr;
    ownedPaths = nullptr;
    ownedPathCount = 0;
}

int32_t FileSelector::run(VstFileSelect* request) {
    if (!request || dialogOpen || abandoned) return 0;
    releaseLastRequest();
    lastRequest = request;
    request->nbReturnPath = 0;
    if (request->returnPath && request->sizeReturnPath > 0) request->returnPath[0] = 0;

    dialogOpen = true;
    int32_t count = 0;
    if (effect && hostCan(effect, "openFileSelector") && hostCan(effect, "closeFileSelector")) {
        hostAnswered = true;
        // A count below zero from a broken host is no paths.
        count = effect->openFileSelector(request) ? std::max(request->nbReturnPath, 0) : 0;
    } else {
        count = runSystemDialog(request);
    }
    dialogOpen = false;
    return count;
}

int32_t FileSelector::runSystemDialog(VstFileSelect* request) {
    // A command this selector does not know gets no dialog rather than a guessed one.
    if (request->command < kVstFileLoad || request->command > kVstDirectorySelect) return 0;
    DialogRequest dialog = dialogRequestOf(*request);
    EditorInterface* editor = effect ? effect->getEditor() : nullptr;
    if (editor) dialog.parentWindow = reinterpret_cast<uintptr_t>(editor->getSystemWindow());
    // The idle pump may let the host close the effect, and with it the editor and whatever
    // holds the request: then the dialog is given up and nothing of theirs is touched again.
    EditorInterface::LifeWatch watch(editor);
    auto ownerGone = [&] { return editor && watch.gone(); };
    const platform::DialogOutcome outcome = platform::current().runFileDialog(dialog, [&] {
        if (ownerGone()) return false;
        idleEditor();
        return !ownerGone();
    });
    if (ownerGone()) {
        effect = nullptr;
        lastRequest = nullptr;
        abandoned = true;
        return 0;
    }
    if (outcome.status != DialogStatus::Chosen || outcome.paths.empty()) return 0;

    if (dialog.mode == DialogMode::LoadMultiple) {
        const size_t room = std::max(outcome.paths.size(), kMultiplePathRoom);
        auto** paths = static_cast<char**>(std::calloc(room, sizeof(char*)));
        if (!paths) return 0;
        for (size_t i = 0; i < outcome.paths.size(); ++i) {
            paths[i] = strdup(outcome.paths[i].c_str());
            if (!paths[i]) {
                for (size_t k = 0; k < i; ++k)
                    std::free(paths[k]);
                std::free(paths);
                return 0;
            }
        }
        ownedPaths = paths;
        ownedPathCount = static_cast<int32_t>(outcome.paths.size());
        request->returnMultiplePaths = paths;
        request->nbReturnPath = ownedPathCount;
        return ownedPathCount;
    }

    const std::string& path = outcome.paths[0];
    if (request->returnPath) {
        // The caller's buffer takes the whole path with its zero, or nothing: a cut path would
        // name another file.
        if (request->sizeReturnPath <= 0 ||
            path.size() >= static_cast<size_t>(request->sizeReturnPath))
            return 0;
        std::memcpy(request->returnPath, path.c_str(), path.size() + 1);
    } else {
        char* copy = strdup(path.c_str());
        if (!copy) return 0;
        ownedReturnPath = copy;
        request->returnPath = copy;
        request->sizeReturnPath = static_cast<int32_t>(path.size() + 1);
        request->reserved = 1;
    }
    request->nbReturnPath = 1;
    return 1;
}

void FileSelector::idleEditor() {
    if (!effect) return;
    if (EditorInterface* editor = effect->getEditor())
        editor->doIdleStuff();
    else
        effect->hostIdle();
}
