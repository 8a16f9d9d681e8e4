// ModalIdle: keeps the editor and the host going while a system modal loop (a popup menu's,
// a file dialog's) holds the GUI thread: a thread timer that those loops dispatch runs `idle`
// every kPeriodMs until the object goes. When `idle` answers false the loop is asked to end
// through `cancel` (once), e.g. the host closed the editor meanwhile.
//
// State: the timer, the two functions, whether a call is running (a call that takes longer
// than a period is not entered again) and whether the loop was cancelled. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

class ModalIdle {
  public:
    static constexpr uint32_t kPeriodMs = 20;

    ModalIdle(std::function<bool()> idle, std::function<void()> cancel);
    ~ModalIdle();
    ModalIdle(const ModalIdle&) = delete;
    ModalIdle& operator=(const ModalIdle&) = delete;

    bool wasCancelled() const { return cancelled; }

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD);

    std::function<bool()> idle;
    std::function<void()> cancel;
    UINT_PTR timer = 0;
    bool running = false;
    bool cancelled = false;
};
