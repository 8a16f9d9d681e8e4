// Dialog answer checks: path shape, encoding and what the path names on disk.
#include "gui/platform/desktop_dialogs/path_check.h"

#include <cstdint>
#include <sys/stat.h>

namespace desktop_dialogs {

bool isCleanUtf8(const std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            if (lead < 0x20 || lead == 0x7f) return false;
            ++i;
            continue;
        }
        int extra = 0;
        uint32_t code = 0;
        if (lead >= 0xc2 && lead <= 0xdf) {
            extra = 1;
            code = lead & 0x1f;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            extra = 2;
            code = lead & 0x0f;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + extra >= size) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = bytes[i + k];
            if ((next & 0xc0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10ffff)))
            return false;
        if (code >= 0xd800 && code <= 0xdfff) return false;
        if (code >= 0x80 && code <= 0x9f) return false;
        i += extra + 1;
    }
    return true;
}

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
        if (!isCleanUtf8(path)) return false;
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
