// Dialog answer checks: path shape, encoding and what the path names on disk.
#include "gui/platform/posix/path_check.h"

#include "gui/platform/common/utf8.h"

#include <cstdint>
#include <sys/stat.h>

namespace desktop_dialogs {

namespace {

bool isDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool namesWhatModeSelects(DialogMode mode, const std::string& path) {
    struct stat info;
    switch (mode) {
    case DialogMode::Load:
    case DialogMode::LoadMultiple:
        return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    case DialogMode::Directory:
        return isDirectory(path);
    case DialogMode::Save: {
        if (path.back() == '/') return false;
        if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return false;
        const size_t slash = path.rfind('/');
        return isDirectory(slash == 0 ? std::string("/") : path.substr(0, slash));
    }
    }
    return false;
}

} // namespace

bool acceptDialogPaths(DialogMode mode, const std::vector<std::string>& paths) {
    if (paths.empty()) return false;
    if (paths.size() > 1 && mode != DialogMode::LoadMultiple) return false;
    for (const std::string& path : paths) {
        if (path.empty() || path.size() > kMaxPathBytes || path[0] != '/') return false;
        if (!utf8::isClean(path)) return false;
        if (!namesWhatModeSelects(mode, path)) return false;
    }
    return true;
}

std::vector<std::string> splitLines(const std::string& output) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        lines.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace desktop_dialogs
