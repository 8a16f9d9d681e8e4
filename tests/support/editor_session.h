// EditorSession: a plug-in's editor shown by `plughost editor` in a private Xvfb, for tests
// that drive it with real input events (xdotool) and read the screen back (ImageMagick's
// import). start() brings up the server, runs plughost with its output in a private folder,
// finds the window by the process id and its position on the screen; the destructor ends
// plughost (SIGTERM, then SIGKILL), the server and the folder, also when a test fails.
//
// Also here: the host calls plughost prints ("beginEdit 3 0", "automate 3 0.52", ...) parsed
// into records, and screenshots that compare rectangles of the screen.
#pragma once

#include "tools/xvfb/xvfb_server.h"

#include <chrono>
#include <cmath>
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
#include <utility>
#include <vector>

namespace e2e {

using Clock = std::chrono::steady_clock;

inline bool onPath(const char* tool) {
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// The first of the tools these tests need that is not installed, or null.
inline const char* missingTool() {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
        if (!onPath(tool)) return tool;
    return nullptr;
}

// What a command printed on its standard output.
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

// A child process ended with SIGTERM (then SIGKILL) when the object goes.
struct Child {
    pid_t pid = -1;
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
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

// A rectangle of the screen.
struct Block {
    int x, y, w, h;
};

// The whole screen as 8-bit RGB rows.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::string rgb;
    bool valid() const { return width > 0 && rgb.size() == size_t(width) * size_t(height) * 3; }
    // Whether the block is the same on both screens.
    bool sameBlock(const ScreenImage& other, const Block& b) const {
        if (other.rgb.size() != rgb.size()) return false;
        for (int r = b.y; r < b.y + b.h; ++r) {
            const auto at = static_cast<size_t>((r * width + b.x) * 3);
            if (rgb.compare(at, static_cast<size_t>(b.w * 3), other.rgb, at,
                            static_cast<size_t>(b.w * 3)) != 0)
                return false;
        }
        return true;
    }
    bool sameBlock(const ScreenImage& other, int x, int y, int w, int h) const {
        return sameBlock(other, Block{x, y, w, h});
    }
    // Whether every pixel that differs between the screens lies inside one of the blocks; a
    // screen of another size differs everywhere.
    bool differsOnlyIn(const ScreenImage& other, const std::vector<Block>& blocks) const {
        if (other.rgb.size() != rgb.size()) return false;
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c) {
                const size_t at = (size_t(r) * width + c) * 3;
                if (rgb.compare(at, 3, other.rgb, at, 3) == 0) continue;
                bool inside = false;
                for (const Block& b : blocks)
                    inside = inside || (c >= b.x && c < b.x + b.w && r >= b.y && r < b.y + b.h);
                if (!inside) return false;
            }
        return true;
    }
};

// One call the plug-in made, as plughost prints it.
struct HostCall {
    std::string name;
    int index = -1;
    float value = 0.0f;
};

inline std::vector<HostCall> parseCalls(const std::string& output) {
    std::vector<HostCall> calls;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        HostCall call;
        if (words >> call.name >> call.index >> call.value) calls.push_back(call);
    }
    return calls;
}

// The calls on parameter `index`, in order.
inline std::vector<HostCall> callsOn(const std::vector<HostCall>& calls, int index) {
    std::vector<HostCall> on;
    for (const HostCall& call : calls)
        if (call.index == index) on.push_back(call);
    return on;
}

// The kinds of calls in order, runs of the same kind folded into one:
// {"beginEdit", "automate", "endEdit"} for one gesture.
inline std::vector<std::string> gestureShape(const std::vector<HostCall>& calls) {
    std::vector<std::string> kinds;
    for (const HostCall& call : calls)
        if (kinds.empty() || kinds.back() != call.name) kinds.push_back(call.name);
    return kinds;
}

inline const std::vector<std::string> kGesture{"beginEdit", "automate", "endEdit"};

// Whether every automate value is above the one before, the first above `from`.
inline bool automateRises(const std::vector<HostCall>& calls, float from) {
    for (const HostCall& call : calls) {
        if (call.name != "automate") continue;
        if (!(call.value > from)) return false;
        from = call.value;
    }
    return true;
}

// The value of the last automate call, or NaN when there is none.
inline float lastAutomate(const std::vector<HostCall>& calls) {
    float value = std::nanf("");
    for (const HostCall& call : calls)
        if (call.name == "automate") value = call.value;
    return value;
}

class EditorSession {
  public:
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;

    // What a test may add to plughost's start.
    struct Options {
        // "NAME=value" settings for plughost's environment.
        std::vector<std::string> environment;
        // Puts the session's folder first on plughost's PATH: stand-in programs the test
        // wrote there (folder()) are found before the system's.
        bool folderFirstOnPath = false;
        // The program showing the editor and its arguments before the plug-in's path (none:
        // this build's plughost with "editor"), and the xdotool search that finds its window
        // (none: by the process id).
        std::vector<std::string> command;
        std::string windowSearch;
    };

    // The private folder is made at once, so a test can write into it before start().
    EditorSession() {
        char name[] = "/tmp/editor-e2e-XXXXXX";
        if (mkdtemp(name)) dir = name;
    }
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;
    ~EditorSession() {
        editor.stop();
        server.stop();
        if (!dir.empty()) std::system(("rm -rf " + dir).c_str());
    }

    // Shows the editor of the plug-in at `pluginPath`; false with a message when it did not
    // come up.
    bool start(const std::string& pluginPath, std::string& error) {
        return start(pluginPath, {}, error);
    }

    bool start(const std::string& pluginPath, const Options& options, std::string& error) {
        if (dir.empty()) {
            error = "no temporary folder";
            return false;
        }
        if (!server.start(kScreenWidth, kScreenHeight)) {
            error = "Xvfb did not come up";
            return false;
        }
        display = server.displayName();
        xdotool = "DISPLAY=" + display + " xdotool ";
        outputPath = dir + "/plughost.out";
        editor.pid = fork();
        if (editor.pid == 0) {
            const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, STDOUT_FILENO);
            const int devNull = open("/dev/null", O_RDWR);
            dup2(devNull, STDIN_FILENO);
            setenv("DISPLAY", display.c_str(), 1);
            for (const std::string& setting : options.environment) {
                const size_t equals = setting.find('=');
                if (equals != std::string::npos)
                    setenv(setting.substr(0, equals).c_str(), setting.c_str() + equals + 1, 1);
            }
            if (options.folderFirstOnPath) {
                const char* path = std::getenv("PATH");
                setenv("PATH", (dir + ":" + (path ? path : "")).c_str(), 1);
            }
            std::vector<std::string> words = options.command;
            if (words.empty()) words = {PLUGHOST_PATH, "editor"};
            words.push_back(pluginPath);
            std::vector<char*> argv;
            for (std::string& word : words)
                argv.push_back(word.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        if (editor.pid < 0) {
            error = "fork failed";
            return false;
        }
        // The window appears within some seconds (a slow machine loads and maps it late).
        for (auto deadline = Clock::now() + std::chrono::seconds(20);
             window.empty() && Clock::now() < deadline;) {
            std::istringstream found(
                capture(xdotool + "search " +
                        (options.windowSearch.empty() ? "--pid " + std::to_string(editor.pid)
                                                      : options.windowSearch)));
            found >> window;
            if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (window.empty()) {
            error = "no window of plughost; output: " + output();
            return false;
        }
        const std::string geometry = capture(xdotool + "getwindowgeometry --shell " + window);
        std::istringstream lines(geometry);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("X=", 0) == 0) left = std::atoi(line.c_str() + 2);
            if (line.rfind("Y=", 0) == 0) top = std::atoi(line.c_str() + 2);
        }
        if (left < 0 || top < 0) {
            error = "no window position in: " + geometry;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the first paints
        return true;
    }

    // Runs `xdotool ARGS`; "%w" in ARGS stands for the editor's window.
    bool xdo(const std::string& args) const {
        return std::system((xdotool + withWindow(args)).c_str()) == 0;
    }
    // What `xdotool ARGS` printed.
    std::string query(const std::string& args) const { return capture(xdotool + withWindow(args)); }

    // A press at (x, y) in the window, held `heldSeconds`, moved through `path` (window
    // coordinates) and released.
    bool drag(int x, int y, const std::vector<std::pair<int, int>>& path,
              double heldSeconds = 0.1) const {
        std::string args =
            "mousemove --window %w " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1";
        for (const auto& step : path)
            args += " sleep 0.05 mousemove --window %w " + std::to_string(step.first) + " " +
                    std::to_string(step.second);
        args += " sleep " + std::to_string(heldSeconds) + " mouseup 1";
        return xdo(args);
    }

    bool click(int x, int y, double heldSeconds = 0.1) const { return drag(x, y, {}, heldSeconds); }

    // Turns the knob in the w x h rectangle at (x, y) clockwise by dragging round its rim in
    // circular mode: from its top to a little below its right side.
    bool turnKnob(int x, int y, int w, int h) const {
        const double cx = x + w / 2, cy = y + h / 2, r = h / 2 - 2;
        std::vector<std::pair<int, int>> path;
        for (int degrees = -70; degrees <= 20; degrees += 15) {
            const double a = degrees * M_PI / 180.0;
            path.emplace_back(static_cast<int>(std::lround(cx + r * std::cos(a))),
                              static_cast<int>(std::lround(cy + r * std::sin(a))));
        }
        return drag(static_cast<int>(cx), static_cast<int>(cy - r), path);
    }

    std::string output() const { return readFile(outputPath); }

    // The output once it holds `marker` `count` times (or after `seconds`), with time for the
    // redraw that follows to reach the server.
    std::string waitForOutput(const std::string& marker, int count = 1, int seconds = 10) const {
        for (auto deadline = Clock::now() + std::chrono::seconds(seconds);
             Clock::now() < deadline;) {
            const std::string text = output();
            int found = 0;
            for (size_t at = text.find(marker); at != std::string::npos;
                 at = text.find(marker, at + 1))
                ++found;
            if (found >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return output();
    }

    ScreenImage screenshot(const std::string& name) const {
        const std::string path = dir + "/" + name + ".rgb";
        std::system(("import -display " + display + " -window root -depth 8 rgb:" + path).c_str());
        ScreenImage screen;
        screen.width = kScreenWidth;
        screen.height = kScreenHeight;
        screen.rgb = readFile(path);
        return screen;
    }

    // Writes the whole screen as a PNG file at `path`, for a person to look at.
    bool savePicture(const std::string& path) const {
        return std::system(("import -display " + display + " -window root " + path).c_str()) == 0;
    }

    // Ends plughost with SIGTERM: its exit status.
    int stopEditor() { return editor.stop(); }

    // The private folder, removed with the session.
    const std::string& folder() const { return dir; }
    const std::string& windowId() const { return window; }
    // The window's top-left corner on the screen.
    int windowLeft() const { return left; }
    int windowTop() const { return top; }
    // A rectangle of the window (window coordinates) on the screen.
    Block onScreen(int x, int y, int w, int h) const { return {left + x, top + y, w, h}; }

  private:
    std::string withWindow(std::string args) const {
        for (size_t at; (at = args.find("%w")) != std::string::npos;)
            args.replace(at, 2, window);
        return args;
    }

    XvfbServer server;
    Child editor;
    std::string display;
    std::string xdotool;
    std::string dir;
    std::string outputPath;
    std::string window;
    int left = -1;
    int top = -1;
};

} // namespace e2e
