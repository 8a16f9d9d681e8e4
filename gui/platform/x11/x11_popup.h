// X11PopupLayer: an open menu's panels as override-redirect windows on the root window of the
// frame window's connection, with the pointer and the keyboard grabbed on the first panel
// (events anywhere on the screen report there, in root coordinates). The grabs are taken when
// the first panel is shown; when they cannot be had, or are lost, the layer is not usable.
//
// State: the connection (not owned), the visual, each panel's window, presenter and picture,
// whether the grabs are held. GUI thread only.
#pragma once

#include "gui/platform/pixel_surface.h"
#include "gui/platform/platform.h"
#include "gui/platform/x11/x11_presenter.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>
#include <vector>

class X11Connection;

namespace x11_popup {
// Whether `window` is a panel of a popup layer open now (its events are the layer's).
bool isPanelWindow(unsigned long window);
} // namespace x11_popup

class X11PopupLayer final : public platform::PopupLayer {
  public:
    // Null when the screen has no true-colour default visual.
    static std::unique_ptr<X11PopupLayer> open(X11Connection& connection);
    ~X11PopupLayer() override;

    bool isUsable() const override;
    platform::Area screenArea() override;
    void showPanels(const platform::PopupPanel* panels, size_t count) override;
    void processEvents(platform::PopupListener& listener) override;

    // For tests.
    size_t panelCount() const { return panels.size(); }
    unsigned long panelWindow(size_t index) const { return panels[index]->window; }
    bool hasGrabs() const { return grabbed; }

  private:
    struct Panel {
        ::Window window = 0;
        platform::Area area;
        std::unique_ptr<X11Presenter> presenter;
        PixelSurface picture;
    };

    explicit X11PopupLayer(X11Connection& connection) : connection(connection) {}
    std::unique_ptr<Panel> makePanel(const platform::Area& area);
    void destroyPanel(Panel& panel);
    bool grab();
    void ungrab();
    bool owns(::Window window) const;

    X11Connection& connection;
    Visual* visual = nullptr;
    int depth = 0;
    std::vector<std::unique_ptr<Panel>> panels;
    bool grabbed = false;
    bool lost = false;
};
