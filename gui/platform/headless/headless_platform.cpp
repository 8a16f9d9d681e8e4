// HeadlessPlatform: scripted clock and pointer, window and class records.
#include "gui/platform/headless/headless_platform.h"

#include "gui/platform/headless/headless_window.h"

#include <algorithm>
#include <new>

namespace {
// The platform a test installed.
HeadlessPlatform* installed = nullptr;
} // namespace

void platform::setCurrent(HeadlessPlatform* replacement) {
    installed = replacement;
}

platform::Platform& platform::current() {
    // A program that installed none gets one of its own: windows, but nobody scripting them.
    static HeadlessPlatform unscripted;
    return installed ? *installed : unscripted;
}

HeadlessPlatform::Scope::Scope(HeadlessPlatform& platform) {
    platform::setCurrent(&platform);
}
HeadlessPlatform::Scope::~Scope() {
    platform::setCurrent(nullptr);
}

HeadlessPlatform::~HeadlessPlatform() {
    // Windows that outlive the platform are gone as far as the toolkit can tell, and must not
    // call back into it.
    for (HeadlessWindow* window : live) {
        window->destroyed = true;
        window->owner = nullptr;
    }
}

bool HeadlessPlatform::registerWindowClass(const char* name) {
    if (!name || !*name) return false;
    ++registrations;
    lastClass = name;
    classes.addClass(name);
    return true;
}

void HeadlessPlatform::unregisterWindowClass(const char* name) {
    if (!name) return;
    if (!classes.hasClass(name)) return;
    classes.removeClass(name);
    ++unregistrations;
}

bool HeadlessPlatform::hasClass(const std::string& name) const {
    return classes.hasClass(name.c_str());
}

std::unique_ptr<platform::Window>
HeadlessPlatform::createChildWindow(const platform::WindowSpec& windowSpec) {
    if (refuseWindows || !windowSpec.parent || !windowSpec.className ||
        !hasClass(windowSpec.className))
        return nullptr;
    auto* window = new (std::nothrow) HeadlessWindow(*this, windowSpec);
    if (!window) return nullptr;
    live.push_back(window);
    ++createdCount;
    if (exposeOnCreate) window->exposeAll();
    return std::unique_ptr<platform::Window>(window);
}

void HeadlessPlatform::forgetWindow(HeadlessWindow* window) {
    live.erase(std::remove(live.begin(), live.end(), window), live.end());
}

void HeadlessPlatform::sleep(uint32_t milliseconds) {
    now += milliseconds;
    sleptMs += milliseconds;
    ++sleepCalls;
}

void HeadlessPlatform::setPointer(int32_t x, int32_t y) {
    resting.x = x;
    resting.y = y;
}

void HeadlessPlatform::script(const std::vector<Step>& list) {
    steps.assign(list.begin(), list.end());
}

uint32_t HeadlessPlatform::readButtons() {
    ++buttonReadCount;
    if (steps.empty()) return resting.buttons;
    Step& step = steps.front();
    const uint32_t buttons = step.buttons;
    if (--step.polls <= 0) {
        const Step finished = step;
        steps.pop_front();
        if (steps.empty()) {
            resting.x = finished.x;
            resting.y = finished.y;
            resting.buttons = finished.buttons & ~platform::kMouseButtonBits;
        }
    }
    return buttons;
}

void HeadlessPlatform::readPosition(int32_t& x, int32_t& y) const {
    const Step& head = steps.empty() ? resting : steps.front();
    x = head.x;
    y = head.y;
}

void HeadlessPlatform::click(HeadlessWindow& window, int32_t x, int32_t y, uint32_t modifiers) {
    int32_t originX = 0, originY = 0;
    window.screenOrigin(originX, originY);
    window.queuePress(x, y);
    steps.clear();
    steps.push_back({originX + x, originY + y, platform::kButtonLeft | modifiers, 1});
}

void HeadlessPlatform::drag(HeadlessWindow& window, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                            int32_t moves, uint32_t modifiers) {
    int32_t originX = 0, originY = 0;
    window.screenOrigin(originX, originY);
    window.queuePress(x0, y0);
    steps.clear();
    const uint32_t held = platform::kButtonLeft | modifiers;
    steps.push_back({originX + x0, originY + y0, held, 1});
    const int32_t count = std::max(moves, 1);
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t x = x0 + static_cast<int32_t>((static_cast<int64_t>(x1 - x0) * i) / count);
        const int32_t y = y0 + static_cast<int32_t>((static_cast<int64_t>(y1 - y0) * i) / count);
        steps.push_back({originX + x, originY + y, held, 1});
    }
    // The release is read at the end position.
    steps.push_back({originX + x1, originY + y1, modifiers, 1});
}

// ---- selections ----

void HeadlessPlatform::setSelection(platform::Selection which, const std::string& text) {
    const auto index = static_cast<size_t>(which);
    selections[index] = text;
    selectionOwners[index] = nullptr;
}

const std::string& HeadlessPlatform::selection(platform::Selection which) const {
    return selections[static_cast<size_t>(which)];
}

bool HeadlessPlatform::selectionOwnedByToolkit(platform::Selection which) const {
    return selectionOwners[static_cast<size_t>(which)] != nullptr;
}

// ---- popup script ----

void HeadlessPlatform::popupKey(platform::KeyCode code, uint32_t modifiers) {
    PopupStep step;
    step.isKey = true;
    step.key.code = code;
    step.key.modifiers = modifiers;
    popupSteps.push_back(step);
}

void HeadlessPlatform::popupPointer(platform::PopupPointer kind, int32_t x, int32_t y,
                                    int32_t button) {
    PopupStep step;
    step.kind = kind;
    step.x = x;
    step.y = y;
    step.button = kind == platform::PopupPointer::Move ? 0 : button;
    popupSteps.push_back(step);
}

void HeadlessPlatform::popupClick(int32_t x, int32_t y) {
    popupPointer(platform::PopupPointer::Press, x, y, 1);
    popupPointer(platform::PopupPointer::Release, x, y, 1);
}
