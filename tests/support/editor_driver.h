// Helpers for end-to-end editor tests: a `plughost editor` child process whose host output goes
// to a file, the child's window found by process id and its place on the screen, and whole
// screen captures to compare before and after real input. Every child is ended when its
// object goes, also when a test fails half-way.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// True when `tool` is found on PATH.
bool toolOnPath(const char* tool);
// Everything a shell command printed on its standard output.
std::string captureOutput(const std::string& command);
std::string readWholeFile(const std::string& path);

// A child process ended with SIGTERM (then SIGKILL) when the object goes.
struct ChildProcess {
    pid_t pid = -1;
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { stop(); }
    // Exit status after a SIGTERM, or -1 when it had to be killed.
    int stop();
};

// Runs `plughost editor <plugin>` on `display` with its output going to `outputPath`.
void startPluginEditor(ChildProcess& child, const std::string& plughost, const std::string& plugin,
                       const std::string& display, const std::string& outputPath);

// The first window of process `pid` on `display`, waiting up to `seconds`; empty if none.
std::string findWindowOf(pid_t pid, const std::string& display, int seconds);
// The window's top-left corner on the screen; false when xdotool does not say.
bool windowOrigin(const std::string& window, const std::string& display, int& x, int& y);

// Reads the host output file until it contains `text`, waiting up to `seconds`.
std::string waitForOutput(const std::string& outputPath, const std::string& text, int seconds);

struct Screen {
    int width = 0;
    std::string rgb; // 8-bit RGB rows of the whole screen
    bool sameBlock(const Screen& other, int x, int y, int w, int h) const;
};
// The whole screen of `display` (`width` pixels wide) through a file at `path`.
Screen captureScreen(const std::string& display, const std::string& path, int width);

// Host output lines "name index value", in order.
struct HostCall {
    std::string name;
    int index = -1;
    float value = 0.0f;
};
std::vector<HostCall> parseHostCalls(const std::string& output);
