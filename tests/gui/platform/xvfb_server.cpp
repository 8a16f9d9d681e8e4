// XvfbServer: starting and stopping a private Xvfb for a test program.
#include "tests/gui/platform/xvfb_server.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

void pause(int milliseconds) {
    timespec delay{0, static_cast<long>(milliseconds) * 1000000L};
    nanosleep(&delay, nullptr);
}

bool displayNumberIsFree(int number) {
    const std::string digits = std::to_string(number);
    std::string lock = "/tmp/.X";
    lock += digits;
    lock += "-lock";
    std::string socket = "/tmp/.X11-unix/X";
    socket += digits;
    struct stat info {};
    return stat(lock.c_str(), &info) != 0 && stat(socket.c_str(), &info) != 0;
}

} // namespace

bool XvfbServer::isInstalled() {
    return access("/usr/bin/Xvfb", X_OK) == 0;
}

XvfbServer::~XvfbServer() {
    stop();
}

bool XvfbServer::start(int width, int height) {
    if (pid > 0) return true;
    if (!isInstalled()) return false;
    // Spread the numbers by process so that test programs running side by side rarely meet.
    const int base = 140 + static_cast<int>(getpid() % 400);
    for (int attempt = 0; attempt < 40; ++attempt) {
        const int number = base + attempt * 7;
        if (!displayNumberIsFree(number)) continue;
        std::string display = ":";
        display += std::to_string(number);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const pid_t child = fork();
        if (child < 0) return false;
        if (child == 0) {
            const int quiet = open("/dev/null", O_WRONLY);
            if (quiet >= 0) {
                dup2(quiet, STDOUT_FILENO);
                dup2(quiet, STDERR_FILENO);
            }
            execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-nolisten", "tcp", "-noreset",
                  "-screen", "0", screen.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Up to 10 s for the server to accept a connection.
        for (int wait = 0; wait < 200; ++wait) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) break; // it gave up (number taken)
            if (Display* probe = XOpenDisplay(display.c_str())) {
                XCloseDisplay(probe);
                const char* previous = std::getenv("DISPLAY");
                hadDisplay = previous != nullptr;
                previousDisplay = previous ? previous : "";
                setenv("DISPLAY", display.c_str(), 1);
                pid = child;
                name = display;
                return true;
            }
            pause(50);
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return false;
}

void XvfbServer::stop() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    if (hadDisplay)
        setenv("DISPLAY", previousDisplay.c_str(), 1);
    else
        unsetenv("DISPLAY");
}
