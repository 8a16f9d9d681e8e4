// What plughost's editor commands share: a top-level window that an editor is embedded in
// (on X11 named, with the window-manager properties desktop tools look for; on Windows a
// captioned window of plughost's own class) and reading its pixels back, PNG output, and the
// title and size of a plug-in's editor. Without a display the X11 commands start a private X
// server (tools/xvfb). host_window_x11.cpp and host_window_win32.cpp hold the two systems'
// windows.
//
// State: HostWindow holds its window (on X11 with a display connection of its own), used from
// plughost's main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
struct HWND__;
#else
struct _XDisplay;
#endif
class PluginHost;

// The plug-in's name for a window title: its effect name, else its product, else the stem of
// its file name.
std::string editorTitle(PluginHost& host, const std::string& path);
// The editor's size from effEditGetRect; false when the plug-in answers none.
bool editorSize(PluginHost& host, int32_t& width, int32_t& height);
// Loads a plug-in that has an editor and reads the editor's size; null with a one-line error
// for a plug-in that cannot be loaded, has no editor or tells no size.
std::unique_ptr<PluginHost> loadWithEditor(const std::string& path, int32_t& width, int32_t& height,
                                           std::string& error);

class HostWindow {
  public:
    // Shows a window whose inside is width x height, titled `title` (on X11 on the display
    // named by DISPLAY); null (with error) when the display or the window is not available.
    static std::unique_ptr<HostWindow> create(int32_t width, int32_t height,
                                              const std::string& title, std::string& error);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // The window id, as effEditOpen takes it.
    void* parentHandle() const;
    // Handles waiting events; false once the user closed the window or it was destroyed.
    bool pump();
    // Exposes the whole window, the editor in it included, as if it had been uncovered.
    void exposeAll();
    // Waits until the server has handled every request of this connection.
    void sync();
    // The window's pixels (child windows included) as rows of 8-bit RGB.
    bool capture(std::vector<uint8_t>& rgb, int32_t& width, int32_t& height);

  private:
    HostWindow() = default;
#if defined(_WIN32)
    HWND__* window = nullptr;
#else
    _XDisplay* display = nullptr;
    unsigned long window = 0;
    unsigned long deleteAtom = 0;
#endif
    int32_t width = 0;
    int32_t height = 0;
    bool closed = false;
};

// What showing a window needs while it lives: on X11 a private X server when DISPLAY names
// none that can be reached; on Windows nothing.
class DisplaySession {
  public:
    virtual ~DisplaySession() = default;
};
// Null (with error) when no display can be had.
std::unique_ptr<DisplaySession> openDisplaySession(std::string& error);

// Writes 8-bit RGB rows as a PNG file; false (with error) when the file cannot be written.
bool writePng(const std::string& path, const std::vector<uint8_t>& rgb, int32_t width,
              int32_t height, std::string& error);
