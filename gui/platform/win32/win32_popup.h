// Win32PopupLayer: an open menu's panels as top-level popup windows (topmost tool windows that
// never take the activation) owned by the frame window's top-level window, with the mouse
// captured by the first panel and every mouse and key message of the thread read by the layer
// while it is open, wherever it was headed. The capture is taken when the first panel is
// shown; when another window takes it (the user switched programs), the layer is not usable.
//
// State: the frame window (not owned), the owner and the panel class, each panel's window,
// place and pixels, whether the capture is held or was lost. GUI thread only.
#pragma once

#include "gui/platform/pixel_surface.h"
#include "gui/platform/platform.h"
#include "gui/platform/win32/win32_window.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class Win32PopupLayer final : public platform::PopupLayer {
  public:
    // Null when the frame window is gone.
    static std::unique_ptr<Win32PopupLayer> open(HWND frameWindow);
    ~Win32PopupLayer() override;

    bool isUsable() const override;
    platform::Area screenArea() override;
    void showPanels(const platform::PopupPanel* panels, size_t count) override;
    void processEvents(platform::PopupListener& listener) override;

    // For tests.
    size_t panelCount() const { return panels.size(); }
    HWND panelWindow(size_t index) const { return panels[index]->window; }
    bool hasCapture() const { return captured; }

  private:
    struct Panel final : win32_window::MessageTarget {
        Win32PopupLayer* layer = nullptr;
        HWND window = nullptr;
        platform::Area area;
        PixelSurface picture;
        LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    explicit Win32PopupLayer(HWND frameWindow) : frameWindow(frameWindow) {}
    std::unique_ptr<Panel> makePanel(const platform::Area& area);
    void destroyPanel(Panel& panel);
    void releaseCapture();
    bool isPanel(HWND window) const;

    HWND frameWindow;
    HWND owner = nullptr;
    std::wstring panelClass;
    std::vector<std::unique_ptr<Panel>> panels;
    bool captured = false;
    bool releasing = false;
    bool lost = false;
};
