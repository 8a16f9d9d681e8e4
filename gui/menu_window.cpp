// WindowMenuPresenter: the open menu's event loop over a platform popup layer.
#include "gui/menu_window.h"

#include "gui/editor_frame.h"
#include "gui/menu_look.h"
#include "gui/menu_navigation.h"
#include "gui/menu_painter.h"
#include "gui/platform/pixel_surface.h"
#include "gui/platform/platform.h"

#include <vector>

namespace {

// Turns the layer's events into navigator calls and tells whether what is shown changed.
class MenuEvents final : public platform::PopupListener {
  public:
    MenuEvents(MenuNavigator& navigator, bool rightButton)
        : navigator(navigator), rightButton(rightButton) {}

    void popupKey(const platform::KeyEvent& key) override {
        using platform::KeyCode;
        if (!key.pressed) return;
        switch (key.code) {
        case KeyCode::Up:
            navigator.key(MenuKey::Up);
            break;
        case KeyCode::Down:
            navigator.key(MenuKey::Down);
            break;
        case KeyCode::Home:
            navigator.key(MenuKey::Home);
            break;
        case KeyCode::End:
            navigator.key(MenuKey::End);
            break;
        case KeyCode::Left:
            navigator.key(MenuKey::Left);
            break;
        case KeyCode::Right:
            navigator.key(MenuKey::Right);
            break;
        case KeyCode::Enter:
        case KeyCode::KeypadEnter:
            navigator.key(MenuKey::Enter);
            break;
        case KeyCode::Escape:
            navigator.key(MenuKey::Escape);
            break;
        default:
            break;
        }
    }

    void popupPointer(platform::PopupPointer kind, int32_t x, int32_t y, int32_t button) override {
        const Point where(x, y);
        switch (kind) {
        case platform::PopupPointer::Move:
            moved = moved || where != opening;
            navigator.pointerMove(where);
            break;
        case platform::PopupPointer::Press:
            pressed = true;
            navigator.pointerPress(where);
            break;
        case platform::PopupPointer::Release:
            // The release of the click that opened the menu chooses nothing unless the
            // pointer went somewhere first (press, drag onto an entry, release).
            if (!pressed && !moved) break;
            if (button == 1 || (button == 3 && rightButton)) navigator.pointerRelease(where);
            break;
        }
    }

    void setOpening(const Point& where) { opening = where; }

  private:
    MenuNavigator& navigator;
    bool rightButton;
    bool pressed = false;
    bool moved = false;
    Point opening{-100000, -100000};
};

// What the panels show: the open levels and their highlights.
std::vector<int32_t> shownState(const MenuNavigator& navigator) {
    std::vector<int32_t> state;
    for (const MenuNavigator::OpenPanel& panel : navigator.getOpenPanels()) {
        state.push_back(panel.panel);
        state.push_back(panel.highlighted);
    }
    return state;
}

} // namespace

int32_t WindowMenuPresenter::track(const MenuTree& tree, const MenuPlacement& placement) {
    EditorFrame* frame = placement.frame;
    if (!frame || tree.panels.empty()) return -1;
    platform::Window* window = frame->getPlatformWindow();
    if (!window || !window->isUsable()) return -1;

    frame->remember(); // the host may close the editor while the menu is open
    const int32_t holding = frame->getReferenceCount();
    int32_t chosen = -1;
    {
        std::unique_ptr<platform::PopupLayer> layer = window->openPopupLayer();
        if (layer) {
            MenuLook defaultLook;
            MenuLook& look = tree.look ? *tree.look : defaultLook;
            LookMeasure measure(look);
            const platform::Area screen = layer->screenArea();
            MenuNavigator navigator(tree, measure,
                                    Rect(screen.left, screen.top, screen.right, screen.bottom),
                                    placement.position);
            MenuEvents events(navigator, placement.rightButton);
            PointerSource* source = frame->getPointerSource();
            events.setOpening(source->getPointerPosition());

            std::vector<PixelSurface> pictures;
            std::vector<platform::PopupPanel> panels;
            std::vector<int32_t> shown;
            bool first = true;
            while (navigator.getOutcome() == MenuNavigator::Outcome::Open) {
                std::vector<int32_t> state = shownState(navigator);
                if (first || state != shown) {
                    first = false;
                    shown = std::move(state);
                    const auto& open = navigator.getOpenPanels();
                    pictures.resize(open.size());
                    panels.resize(open.size());
                    for (size_t i = 0; i < open.size(); ++i) {
                        paintMenuPanel(tree, open[i], look, pictures[i]);
                        const Rect& bounds = open[i].bounds;
                        panels[i].area = {bounds.left, bounds.top, bounds.right, bounds.bottom};
                        panels[i].pixels = &pictures[i];
                    }
                    layer->showPanels(panels.data(), panels.size());
                }
                layer->processEvents(events);
                if (navigator.getOutcome() != MenuNavigator::Outcome::Open) break;
                if (!layer->isUsable() || !window->isUsable()) break;
                frame->runIdlePump();
                if (frame->getReferenceCount() < holding || !frame->isOpen()) break;
                if (!frame->hasEditor()) {
                    frame->idle();
                    platform::current().sleep(5);
                }
            }
            if (navigator.getOutcome() == MenuNavigator::Outcome::Chosen)
                chosen = navigator.getChosenId();
        }
    } // the layer's windows and grabs go before anything is reported
    frame->forget();
    return chosen;
}

WindowMenuPresenter& windowMenuPresenter() {
    static WindowMenuPresenter instance;
    return instance;
}
