// Helpers for end-to-end editor tests (see editor_process.h).
#include "tests/support/editor_driver.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
}

bool toolOnPath(const char* tool) {
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string captureOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int ChildProcess::stop() {
    if (pid <= 0) return -1;
    kill(pid, SIGTERM);
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    pid = -1;
    return -1;
}

void startPluginEditor(ChildProcess& child, const std::string& plughost, const std::string& plugin,
                       const std::string& display, const std::string& outputPath) {
    child.pid = fork();
    if (child.pid == 0) {
        const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        setenv("DISPLAY", display.c_str(), 1);
        execl(plughost.c_str(), plughost.c_str(), "editor", plugin.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
}

std::string findWindowOf(pid_t pid, const std::string& display, int seconds) {
    const std::string command =
        "DISPLAY=" + display + " xdotool search --pid " + std::to_string(pid);
    std::string window;
    for (auto deadline = Clock::now() + std::chrono::seconds(seconds);
         window.empty() && Clock::now() < deadline;) {
        std::istringstream found(captureOutput(command));
        found >> window;
        if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return window;
}

bool windowOrigin(const std::string& window, const std::string& display, int& x, int& y) {
    x = y = -1;
    std::istringstream lines(
        captureOutput("DISPLAY=" + display + " xdotool getwindowgeometry --shell " + window));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("X=", 0) == 0) x = std::atoi(line.c_str() + 2);
        if (line.rfind("Y=", 0) == 0) y = std::atoi(line.c_str() + 2);
    }
    return x >= 0 && y >= 0;
}

std::string waitForOutput(const std::string& outputPath, const std::string& text, int seconds) {
    std::string output = readWholeFile(outputPath);
    for (auto deadline = Clock::now() + std::chrono::seconds(seconds);
         output.find(text) == std::string::npos && Clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        output = readWholeFile(outputPath);
    }
    return output;
}

bool Screen::sameBlock(const Screen& other, int x, int y, int w, int h) const {
    for (int r = y; r < y + h; ++r)
        if (rgb.compare(static_cast<size_t>((r * width + x) * 3), static_cast<size_t>(w * 3),
                        other.rgb, static_cast<size_t>((r * width + x) * 3),
                        static_cast<size_t>(w * 3)) != 0)
            return false;
    return true;
}

Screen captureScreen(const std::string& display, const std::string& path, int width) {
    std::system(("import -display " + display + " -window root -depth 8 rgb:" + path).c_str());
    Screen screen;
    screen.width = width;
    screen.rgb = readWholeFile(path);
    return screen;
}

std::vector<HostCall> parseHostCalls(const std::string& output) {
    std::vector<HostCall> calls;
    std::istringstream in(output);
    for (HostCall call; in >> call.name >> call.index >> call.value;)
        calls.push_back(call);
    return calls;
}
