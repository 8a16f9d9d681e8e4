// PosixServices: dladdr, the monotonic clock, xdg-open, the desktop dialogs, stat and realpath.
#include "gui/platform/posix/posix_services.h"

#include "gui/platform/common/embedded_resources.h"
#include "gui/platform/common/path_limit.h"
#include "gui/platform/common/utf8.h"
#include "gui/platform/posix/desktop_dialog.h"
#include "gui/platform/posix/monotonic_clock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool isWebAddress(const char* url) {
    return std::strncmp(url, "https://", 8) == 0 || std::strncmp(url, "http://", 7) == 0;
}

} // namespace

uintptr_t PosixServices::moduleHandle() {
    // The load address of the library holding this function: the toolkit's own library.
    static const int anchor = 0;
    Dl_info info{};
    if (!dladdr(&anchor, &info)) return 0;
    return reinterpret_cast<uintptr_t>(info.dli_fbase);
}

bool PosixServices::findResource(int32_t id, const unsigned char*& data, size_t& size) {
    return ::findResource(linkedBitmapTable(), id, data, size);
}

uint32_t PosixServices::ticks() {
    return platform::monotonicTicks();
}

void PosixServices::sleep(uint32_t milliseconds) {
    platform::sleepMilliseconds(milliseconds);
}

bool PosixServices::openWebPage(const char* url) {
    if (!url || !isWebAddress(url) || std::strlen(url) > platform::kMaxPathBytes) return false;
    // The page opens in a grandchild: the child exits at once and is reaped here, so the host
    // neither waits for the browser nor collects a zombie; the grandchild belongs to init.
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (fork() == 0) {
            char program[] = "xdg-open";
            char* argv[] = {program, const_cast<char*>(url), nullptr};
            execvp(program, argv);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

platform::DialogOutcome PosixServices::runFileDialog(const platform::DialogRequest& request,
                                                     const platform::IdlePump& idle) {
    // The host's texts are 8-bit; the desktop's dialogs speak UTF-8.
    platform::DialogRequest shown = request;
    shown.title = utf8::forDisplay(request.title);
    for (platform::DialogFilter& filter : shown.filters)
        filter.label = utf8::forDisplay(filter.label);
    return desktop_dialogs::runDesktopDialog(shown, idle);
}

bool PosixServices::isDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && path[0] == '/' && stat(path.c_str(), &info) == 0 &&
           S_ISDIR(info.st_mode);
}

std::string PosixServices::resolveLink(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char target[PATH_MAX];
    if (!realpath(path.c_str(), target)) return path;
    return target;
}
