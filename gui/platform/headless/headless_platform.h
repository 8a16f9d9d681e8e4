// HeadlessPlatform: the platform without a display, for tests. It owns a scripted clock (ticks
// move only when told to or when the toolkit sleeps), one scripted pointer for the whole
// process (screen coordinates, like a real mouse) and a record of window classes and windows.
//
// Pointer scripts: a list of steps, each a position and a button word held for `polls` reads
// of the buttons. Every read of the buttons takes one poll from the first step; a position
// read shows the step that the next buttons read will answer, so a tracking loop sees each
// position with its own buttons. When the script runs out the pointer rests at the last
// step's position with the mouse buttons released (modifiers stay).
//
// Keys and focus changes are queued on a window (HeadlessWindow); the two selections are
// process-wide texts here. Popup layers take their events from a popup script: each
// processEvents call of an open layer delivers the next step; a layer whose script has run out
// is lost (the scripted user walked away), so a menu never waits for ever.
//
// Tests install it explicitly with platform::setCurrent(&instance) (or HeadlessPlatform::Scope);
// the system services other than the clock are this system's own (posix/, or win32/'s
// services on Windows). GUI thread only.
// This back end is linked only into tests, and with it the switch below.
#pragma once

#include "gui/platform/common/window_registry.h"
#include "gui/platform/pixel_surface.h"
#if defined(_WIN32)
#include "gui/platform/win32/win32_services.h"
using HeadlessSystemServices = Win32Services;
#else
#include "gui/platform/posix/posix_services.h"
using HeadlessSystemServices = PosixServices;
#endif

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class HeadlessPlatform;
class HeadlessWindow;

namespace platform {
// Makes every frame created afterwards (and the tick clock) use `replacement`; null goes back
// to a platform that nobody scripts. The caller keeps ownership.
void setCurrent(HeadlessPlatform* replacement);
} // namespace platform

class HeadlessPlatform final : public HeadlessSystemServices {
  public:
    struct Step {
        int32_t x = 0;
        int32_t y = 0;
        uint32_t buttons = 0;
        int32_t polls = 1;
    };

    // One step of the popup script: a key, or a pointer move, press or release (screen
    // coordinates, button 1 to 3).
    struct PopupStep {
        bool isKey = false;
        platform::KeyEvent key;
        platform::PopupPointer kind = platform::PopupPointer::Move;
        int32_t x = 0;
        int32_t y = 0;
        int32_t button = 0;
    };

    // Makes a HeadlessPlatform the current platform for its lifetime.
    class Scope {
      public:
        explicit Scope(HeadlessPlatform& platform);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    HeadlessPlatform() = default;
    ~HeadlessPlatform() override;
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    // ---- platform::Platform ----
    bool registerWindowClass(const char* name) override;
    void unregisterWindowClass(const char* name) override;
    std::unique_ptr<platform::Window>
    createChildWindow(const platform::WindowSpec& windowSpec) override;
    uint32_t ticks() override { return now; }
    void sleep(uint32_t milliseconds) override;
    uint32_t doubleClickTime() override { return doubleClickMs; }

    // ---- clock ----
    void setTicks(uint32_t ticks) { now = ticks; }
    void advance(uint32_t milliseconds) { now += milliseconds; }
    uint32_t totalSlept() const { return sleptMs; }
    int sleepCount() const { return sleepCalls; }
    void setDoubleClickTime(uint32_t milliseconds) { doubleClickMs = milliseconds; }

    // ---- pointer ----
    void setPointer(int32_t x, int32_t y);
    // Mouse buttons and modifiers of the resting pointer (PointerBits).
    void setButtons(uint32_t buttons) { resting.buttons = buttons; }
    void script(const std::vector<Step>& steps);
    void addStep(const Step& step) { steps.push_back(step); }
    bool scriptDone() const { return steps.empty(); }
    int buttonReads() const { return buttonReadCount; }
    uint32_t readButtons();
    void readPosition(int32_t& x, int32_t& y) const;

    // A left click at (x, y) of `window`: the press, then the button held for one read.
    void click(HeadlessWindow& window, int32_t x, int32_t y, uint32_t modifiers = 0);
    // A left-button drag from (x0, y0) to (x1, y1) in `moves` equal steps: the press, then
    // one read at each position, then the release at the end.
    void drag(HeadlessWindow& window, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t moves,
              uint32_t modifiers = 0);

    // ---- selections ----
    void setSelection(platform::Selection which, const std::string& text);
    const std::string& selection(platform::Selection which) const;
    // Whether a window of the toolkit set the selection last (and still exists).
    bool selectionOwnedByToolkit(platform::Selection which) const;

    // Windows destroyed while they still held the keyboard focus they took.
    int focusesLeftBehind() const { return focusLeftCount; }

    // ---- popup layers ----
    void popupKey(platform::KeyCode code, uint32_t modifiers = 0);
    void popupPointer(platform::PopupPointer kind, int32_t x, int32_t y, int32_t button = 1);
    // A left click at a screen point: press and release.
    void popupClick(int32_t x, int32_t y);
    void setScreenArea(const platform::Area& area) { screen = area; }
    const platform::Area& getScreenArea() const { return screen; }
    void setRefusePopups(bool refuse) { refusePopups = refuse; }
    int popupsOpened() const { return popupOpenCount; }
    // Layers alive now (each holds the grabs).
    int popupsOpen() const { return popupLiveCount; }
    // The panels the last showPanels call showed (kept after the layer is gone), with copies
    // of their pixels.
    const std::vector<platform::Area>& shownPanelAreas() const { return panelAreas; }
    const std::vector<PixelSurface>& shownPanelPixels() const { return panelPixels; }
    // Steps taken by layers so far, and steps still waiting.
    int popupStepsTaken() const { return popupStepCount; }
    size_t popupStepsLeft() const { return popupSteps.size(); }

    // ---- windows and classes ----
    // Makes the next createChildWindow calls answer null (a bad parent, no display).
    void setRefuseWindows(bool refuse) { refuseWindows = refuse; }
    // New windows start with an exposure of their whole area queued, as a mapped window on a
    // real display does (on by default).
    void setExposeOnCreate(bool expose) { exposeOnCreate = expose; }
    bool exposesOnCreate() const { return exposeOnCreate; }
    const std::vector<HeadlessWindow*>& windows() const { return live; }
    HeadlessWindow* lastWindow() const { return live.empty() ? nullptr : live.back(); }
    int windowsCreated() const { return createdCount; }
    bool hasClass(const std::string& name) const;
    int classRegistrations() const { return registrations; }
    int classUnregistrations() const { return unregistrations; }
    const std::string& lastClassName() const { return lastClass; }

  private:
    friend class HeadlessWindow;
    friend class HeadlessPopupLayer;
    void forgetWindow(HeadlessWindow* window);

    uint32_t now = 1000;
    uint32_t sleptMs = 0;
    int sleepCalls = 0;
    uint32_t doubleClickMs = 400;
    Step resting;
    std::deque<Step> steps;
    int buttonReadCount = 0;
    bool refuseWindows = false;
    bool exposeOnCreate = true;
    std::vector<HeadlessWindow*> live;
    int createdCount = 0;
    platform::WindowRegistry classes;
    int registrations = 0;
    int unregistrations = 0;
    std::string lastClass;
    int focusLeftCount = 0;
    std::string selections[2];
    const HeadlessWindow* selectionOwners[2] = {};
    platform::Area screen{0, 0, 1024, 768};
    bool refusePopups = false;
    int popupOpenCount = 0;
    int popupLiveCount = 0;
    int popupStepCount = 0;
    std::deque<PopupStep> popupSteps;
    std::vector<platform::Area> panelAreas;
    std::vector<PixelSurface> panelPixels;
};
