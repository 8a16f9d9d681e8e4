// X11Presenter: pushes rectangles of a PixelSurface into one window, through a shared-memory
// image when the server offers MIT-SHM on this machine, else with plain XPutImage.
//
// State: the connection, window, GC and visual format; the shared image (window-sized) or a
// scratch image for visuals whose pixels are not the surface's own 0x00RRGGBB words.
// GUI thread only; every call happens inside the caller's X11ErrorTrap.
#pragma once

#include "gui/platform/platform.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <vector>

class X11Presenter {
  public:
    X11Presenter(Display* display, ::Window window, Visual* visual, int depth, int width,
                 int height);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // False when the graphics context could not be made; put() then does nothing.
    bool isReady() const { return gc != nullptr; }
    bool usesSharedMemory() const { return sharedImage != nullptr; }
    // Process-wide: whether presenters made from now on may use MIT-SHM (on by default; off
    // gives the path a remote display takes, for tests).
    static void allowSharedMemory(bool allow);
    // Shows `area` of the surface at the same place in the window. `area` must already be
    // clipped to the surface and the window.
    void put(const PixelSurface& surface, const platform::Area& area);

  private:
    struct ChannelFormat {
        int shift = 0; // position of the channel's lowest bit
        int bits = 0;  // width of the channel in the pixel
    };

    void attachSharedImage();
    void releaseSharedImage();
    bool isNativeFormat(const XImage* image) const;
    void convertRows(const PixelSurface& surface, const platform::Area& area, XImage* target,
                     int targetX, int targetY) const;

    Display* display;
    ::Window window;
    Visual* visual;
    int depth;
    int width;
    int height;
    GC gc = nullptr;
    ChannelFormat red, green, blue;
    unsigned long fillBits = 0; // bits outside the colour masks (alpha of 32-bit visuals)
    XShmSegmentInfo segment{};
    XImage* sharedImage = nullptr;
    std::vector<uint32_t> scratch; // converted pixels for the plain path
};
