// ModalIdle: a thread timer per modal loop, found again by its id when it fires.
#include "gui/platform/win32/win32_modal_idle.h"

#include <vector>

namespace {
// The timers alive now (a dialog opened from a menu nests a second one).
std::vector<std::pair<UINT_PTR, ModalIdle*>>& liveTimers() {
    static std::vector<std::pair<UINT_PTR, ModalIdle*>> timers;
    return timers;
}
} // namespace

ModalIdle::ModalIdle(std::function<bool()> idleCall, std::function<void()> cancelCall)
    : idle(std::move(idleCall)), cancel(std::move(cancelCall)) {
    timer = SetTimer(nullptr, 0, kPeriodMs, &ModalIdle::tick);
    if (timer) liveTimers().emplace_back(timer, this);
}

ModalIdle::~ModalIdle() {
    if (!timer) return;
    KillTimer(nullptr, timer);
    auto& timers = liveTimers();
    for (auto at = timers.begin(); at != timers.end(); ++at)
        if (at->first == timer) {
            timers.erase(at);
            break;
        }
}

void CALLBACK ModalIdle::tick(HWND, UINT, UINT_PTR timer, DWORD) {
    ModalIdle* self = nullptr;
    for (const auto& [id, owner] : liveTimers())
        if (id == timer) self = owner;
    if (!self || self->running || self->cancelled) return;
    self->running = true;
    const bool goOn = self->idle();
    self->running = false;
    if (!goOn) {
        self->cancelled = true;
        if (self->cancel) self->cancel();
    }
}
