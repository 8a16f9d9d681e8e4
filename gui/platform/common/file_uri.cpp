// File URIs: decoding "file" URIs, alone or in a dropped list, into local paths.
#include "gui/platform/common/file_uri.h"

#include <cstring>

namespace file_uri {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool startsWithIgnoringCase(const char* text, size_t length, const char* prefix) {
    const size_t prefixLength = std::strlen(prefix);
    if (length < prefixLength) return false;
    for (size_t i = 0; i < prefixLength; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

bool filePathFromUri(const char* uri, size_t length, std::string& path) {
    path.clear();
    if (!startsWithIgnoringCase(uri, length, "file:")) return false;
    size_t at = 5;
    if (length - at >= 2 && uri[at] == '/' && uri[at + 1] == '/') {
        // An authority: only this machine, written as nothing or "localhost".
        at += 2;
        const char* slash = static_cast<const char*>(std::memchr(uri + at, '/', length - at));
        const size_t hostEnd = slash ? static_cast<size_t>(slash - uri) : length;
        const size_t hostLength = hostEnd - at;
        if (hostLength != 0 &&
            !(hostLength == 9 && startsWithIgnoringCase(uri + at, hostLength, "localhost")))
            return false;
        at = hostEnd;
    }
    // The path is absolute; a query or fragment (never part of a file's name unescaped) ends it.
    if (at >= length || uri[at] != '/') return false;
    for (; at < length; ++at) {
        char c = uri[at];
        if (c == '?' || c == '#') break;
        if (c == '%') {
            if (length - at < 3) return false;
            const int high = hexValue(uri[at + 1]);
            const int low = hexValue(uri[at + 2]);
            if (high < 0 || low < 0) return false;
            c = static_cast<char>(high * 16 + low);
            if (c == '\0') return false;
            at += 2;
        } else if (c == '\0' || c == '\n') {
            return false;
        }
        path.push_back(c);
        if (path.size() > kMaxPathBytes) {
            path.clear();
            return false;
        }
    }
    return true;
}

std::vector<std::string> filePaths(const char* data, size_t size) {
    std::vector<std::string> paths;
    if (!data) return paths;
    size_t start = 0;
    std::string path;
    while (start < size) {
        const char* newline =
            static_cast<const char*>(std::memchr(data + start, '\n', size - start));
        size_t end = newline ? static_cast<size_t>(newline - data) : size;
        const size_t next = end + 1;
        // Blanks around a URI are not part of it (a URI cannot hold an unescaped one).
        while (start < end && isBlank(data[start]))
            ++start;
        while (end > start && isBlank(data[end - 1]))
            --end;
        if (end > start && data[start] != '#' && filePathFromUri(data + start, end - start, path))
            paths.push_back(path);
        start = next;
    }
    return paths;
}

std::vector<std::string> droppedFiles(const char* data, size_t size, platform::System& system) {
    std::vector<std::string> paths = filePaths(data, size);
    for (std::string& path : paths)
        path = system.resolveLink(path);
    return paths;
}

} // namespace file_uri
