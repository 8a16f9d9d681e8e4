// Helpers of the end-to-end editor tests: a child process ended when the object goes,
// `plughost editor` started with its output in a file, shell captures, whole-screen shots of
// the X server, and finding the editor's window and where it sits.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

using Clock = std::chrono::steady_clock;

inline bool onPath(const char* tool) {
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// A child process ended with SIGTERM (then SIGKILL) when the object goes.
struct Child {
    pid_t pid = -1;
    ~Child() { stop(); }
    // Exit status after a SIGTERM, or -1 when it had to be killed.
    int stop() {
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
};

// Runs `plughost editor PLUGIN` with its output going to `outputPath`.
inline void startEditor(Child& child, const std::string& display, const std::string& plugin,
                        const std::string& outputPath) {
    child.pid = fork();
    if (child.pid == 0) {
        const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        setenv("DISPLAY", display.c_str(), 1);
        execl(PLUGHOST_PATH, PLUGHOST_PATH, "editor", plugin.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

inline std::string capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

inline std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct Screen {
    int width = 1024;
    std::string rgb; // 8-bit RGB rows of the whole screen
    bool sameBlock(const Screen& other, int x, int y, int w, int h) const {
        for (int r = y; r < y + h; ++r)
            if (rgb.compare(static_cast<size_t>((r * width + x) * 3), static_cast<size_t>(w * 3),
                            other.rgb, static_cast<size_t>((r * width + x) * 3),
                            static_cast<size_t>(w * 3)) != 0)
                return false;
        return true;
    }
};

inline Screen screenshot(const std::string& display, const std::string& path) {
    std::system(("import -display " + display + " -window root -depth 8 rgb:" + path).c_str());
    Screen screen;
    screen.rgb = readFile(path);
    return screen;
}

// The first window of process `pid`, waited for up to 20 seconds; empty when none appeared.
inline std::string findWindow(const std::string& display, pid_t pid) {
    const std::string xdotool = "DISPLAY=" + display + " xdotool ";
    std::string window;
    for (auto deadline = Clock::now() + std::chrono::seconds(20);
         window.empty() && Clock::now() < deadline;) {
        std::istringstream found(capture(xdotool + "search --pid " + std::to_string(pid)));
        found >> window;
        if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return window;
}

// The window's position on the screen; false when xdotool does not tell.
inline bool windowOrigin(const std::string& display, const std::string& window, int& x, int& y) {
    const std::string geometry =
        capture("DISPLAY=" + display + " xdotool getwindowgeometry --shell " + window);
    x = y = -1;
    std::istringstream lines(geometry);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("X=", 0) == 0) x = std::atoi(line.c_str() + 2);
        if (line.rfind("Y=", 0) == 0) y = std::atoi(line.c_str() + 2);
    }
    return x >= 0 && y >= 0;
}

// Waits up to 10 seconds for `text` in the file at `path`, then answers the file.
inline std::string waitForOutput(const std::string& path, const std::string& text) {
    std::string output = readFile(path);
    for (auto deadline = Clock::now() + std::chrono::seconds(10);
         output.find(text) == std::string::npos && Clock::now() < deadline;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        output = readFile(path);
    }
    return output;
}

} // namespace e2e
