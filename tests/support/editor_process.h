// Helpers for the end-to-end editor tests: a child process ended when its object goes, running
// `plughost editor` against a display, reading what the window system and the host print, and
// screenshots of the whole virtual screen.
#pragma once

#include <string>
#include <sys/types.h>

// Whether a program is on PATH.
bool onPath(const char* tool);

// A child process ended with SIGTERM (then SIGKILL) when the object goes.
struct Child {
    pid_t pid = -1;
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }
    // Exit status after a SIGTERM, or -1 when it had to be killed.
    int stop();
};

// Runs `plughost editor plugin` on `display` with its output going to `outputPath`; the child
// inherits the rest of the environment.
void startEditor(Child& child, const std::string& plughost, const std::string& plugin,
                 const std::string& display, const std::string& outputPath);

// What a shell command prints.
std::string capture(const std::string& command);
std::string readFile(const std::string& path);

// The window a process shows on `display` (waiting up to 20 seconds) and its position; an empty
// id when none appeared.
struct ShownWindow {
    std::string id;
    int x = -1;
    int y = -1;
};
ShownWindow findWindow(const std::string& display, pid_t pid);

// Waits up to `seconds` for `text` to appear in a file; answers the file's text.
std::string waitForText(const std::string& path, const std::string& text, int seconds);

struct Screen {
    int width = 1024;
    std::string rgb; // 8-bit RGB rows of the whole screen
    bool sameBlock(const Screen& other, int x, int y, int w, int h) const;
};
Screen screenshot(const std::string& display, const std::string& path);
