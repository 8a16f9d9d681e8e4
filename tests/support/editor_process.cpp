// Helpers for the end-to-end editor tests; see editor_process.h.
#include "tests/support/editor_process.h"

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

using Clock = std::chrono::steady_clock;

bool onPath(const char* tool) {
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

int Child::stop() {
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

void startEditor(Child& child, const std::string& plughost, const std::string& plugin,
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

std::string capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

ShownWindow findWindow(const std::string& display, pid_t pid) {
    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    ShownWindow shown;
    for (auto deadline = Clock::now() + std::chrono::seconds(20);
         shown.id.empty() && Clock::now() < deadline;) {
        std::istringstream found(capture(xdotool + "search --pid " + std::to_string(pid)));
        found >> shown.id;
        if (shown.id.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (shown.id.empty()) return shown;
    std::istringstream lines(capture(xdotool + "getwindowgeometry --shell " + shown.id));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("X=", 0) == 0) shown.x = std::atoi(line.c_str() + 2);
        if (line.rfind("Y=", 0) == 0) shown.y = std::atoi(line.c_str() + 2);
    }
    return shown;
}

std::string waitForText(const std::string& path, const std::string& text, int seconds) {
    std::string content = readFile(path);
    for (auto deadline = Clock::now() + std::chrono::seconds(seconds);
         content.find(text) == std::string::npos && Clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        content = readFile(path);
    }
    return content;
}

bool Screen::sameBlock(const Screen& other, int x, int y, int w, int h) const {
    for (int r = y; r < y + h; ++r)
        if (rgb.compare(static_cast<size_t>((r * width + x) * 3), static_cast<size_t>(w * 3),
                        other.rgb, static_cast<size_t>((r * width + x) * 3),
                        static_cast<size_t>(w * 3)) != 0)
            return false;
    return true;
}

Screen screenshot(const std::string& display, const std::string& path) {
    std::system(("import -display " + display + " -window root -depth 8 rgb:" + path).c_str());
    Screen screen;
    screen.rgb = readFile(path);
    return screen;
}
