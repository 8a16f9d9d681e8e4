// XvfbServer: a private virtual X server for one test program. The server picks a free display
// number itself (-displayfd, so programs running side by side never race for one), listens on
// no TCP port, and DISPLAY points at it while it runs; stop() (or the destructor) ends it and
// puts DISPLAY back. Tests skip when Xvfb is not installed.
#pragma once

#include <string>
#include <sys/types.h>

class XvfbServer {
  public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server and sets DISPLAY; false when Xvfb is missing or does not come up.
    bool start(int width = 800, int height = 600);
    // Ends the server (connections still open to it then see it vanish).
    void stop();
    bool isRunning() const { return pid > 0; }
    // ":<number>" while running.
    const std::string& displayName() const { return name; }

    static bool isInstalled();

  private:
    pid_t pid = -1;
    std::string name;
    std::string previousDisplay;
    bool hadDisplay = false;
};
