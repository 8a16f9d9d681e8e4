// XvfbServer: a private virtual X server for one test program. It picks a free display
// number, starts Xvfb there (no TCP), waits until it accepts connections and points DISPLAY
// at it; stop() (or the destructor) ends it. Tests skip when Xvfb is not installed.
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
    // Kills the server (the connections of the toolkit then see it vanish).
    void stop();
    bool isRunning() const { return pid > 0; }
    const std::string& displayName() const { return name; }

    static bool isInstalled();

  private:
    pid_t pid = -1;
    std::string name;
    std::string previousDisplay;
    bool hadDisplay = false;
};
