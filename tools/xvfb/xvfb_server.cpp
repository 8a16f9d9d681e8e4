// XvfbServer: starting and stopping a private Xvfb.
#include "tools/xvfb/xvfb_server.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kServerProgram = "Xvfb";

// Reads the display number the server writes to its -displayfd pipe once it accepts
// connections; empty when it ended first or took longer than the deadline.
std::string readDisplayNumber(int fd, std::chrono::seconds patience) {
    std::string number;
    pollfd waiting{fd, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(&waiting, 1, 100) <= 0) continue;
        char c = 0;
        if (read(fd, &c, 1) <= 0 || c == '\n') break;
        number.push_back(c);
    }
    return number;
}

} // namespace

bool XvfbServer::isInstalled() {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (access((folder + "/" + kServerProgram).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

XvfbServer::~XvfbServer() {
    stop();
}

bool XvfbServer::start(int width, int height) {
    if (pid > 0) return true;
    if (!isInstalled()) return false;
    int fds[2];
    if (pipe(fds) != 0) return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_RDWR);
        if (quiet >= 0) {
            dup2(quiet, STDIN_FILENO);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        const std::string fd = std::to_string(fds[1]);
        execlp(kServerProgram, kServerProgram, "-displayfd", fd.c_str(), "-nolisten", "tcp",
               "-noreset", "-screen", "0", screen.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    pid = child;
    const std::string number = readDisplayNumber(fds[0], std::chrono::seconds(20));
    close(fds[0]);
    const std::string display = ":" + number;
    Display* probe = number.empty() ? nullptr : XOpenDisplay(display.c_str());
    if (!probe) {
        stop();
        return false;
    }
    XCloseDisplay(probe);
    const char* previous = std::getenv("DISPLAY");
    hadDisplay = previous != nullptr;
    previousDisplay = previous ? previous : "";
    setenv("DISPLAY", display.c_str(), 1);
    name = display;
    return true;
}

void XvfbServer::stop() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    if (name.empty()) return; // never came up: DISPLAY was not touched
    name.clear();
    if (hadDisplay)
        setenv("DISPLAY", previousDisplay.c_str(), 1);
    else
        unsetenv("DISPLAY");
}
