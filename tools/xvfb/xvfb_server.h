// XvfbServer: a private virtual X server for one program (plughost without a display, the tests
// and benchmarks that need a real X server). The server picks a free display number itself
// (-displayfd, so programs running side by side never race for one), listens on no TCP port,
// and DISPLAY points at it while it runs; stop() (or the destructor) ends it and puts DISPLAY
// back. The server program is "Xvfb", looked up on PATH.
//
// State: the server's process id, its display name and the DISPLAY it replaced. One thread.
#pragma once

#include <string>
#include <sys/types.h>

class XvfbServer {
  public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts a width x height x 24 server and sets DISPLAY; false when Xvfb is missing or does
    // not accept a connection within 20 seconds.
    bool start(int width = 800, int height = 600);
    // Ends the server (connections still open to it then see it vanish).
    void stop();
    bool isRunning() const { return pid > 0; }
    // ":<number>" while running.
    const std::string& displayName() const { return name; }

    // Whether an executable Xvfb is on PATH.
    static bool isInstalled();

  private:
    pid_t pid = -1;
    std::string name;
    std::string previousDisplay;
    bool hadDisplay = false;
};
